// The once-a-day update check: fetch a small text document from the update location in the
// background and, when it announces a newer version, offer to open the download page.
#pragma once
#include <windows.h>

#include <string>

class ToolSettings;

// The keys of an update document: "file=" (another document to fetch instead), "url=" (the
// download page) and "text=" (the notice, to the end of the document).
struct UpdateDocument {
    std::string redirect;  // empty: no redirection
    std::string url;
    std::string text;
    bool hasUrl = false;
    bool hasText = false;
};
UpdateDocument ParseUpdateDocument(const std::string& document);

// "Vexa Script" + version with blanks and full stops turned into underscores, as in
// "Vexa_Script1_63"; the document is this name plus ".txt" at the update location.
std::string UpdateDocumentName(const std::string& version);
// The setting "UpdateLocation" (default: the product's site) + name + ".txt".
std::string UpdateDocumentAddress(ToolSettings& settings, const std::string& version);
// Today in the locale's short date form ("%x").
std::string TodayText();

class CUpdateCheck {
public:
    // `version` is the editor's version text as the About box shows it ("1.63 Beta 2").
    CUpdateCheck(ToolSettings& settings, std::string version);
    ~CUpdateCheck();
    CUpdateCheck(const CUpdateCheck&) = delete;
    CUpdateCheck& operator=(const CUpdateCheck&) = delete;

    // From the main window's WM_SIZE: the first restored or maximised size starts the check.
    void OnMainWindowSize(HWND mainWindow, UINT sizeType);
    // Starts the check now when it is due and the machine is connected; false otherwise.
    bool Start(HWND mainWindow);
    // True while a document is being fetched or its notice is open.
    bool Busy() const { return pending_ > 0; }

private:
    static LRESULT CALLBACK MessageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Fetch(const std::string& address);
    void Received(const std::string& address, bool ok, const std::string& document);
    void ShowNotice(const UpdateDocument& document);

    ToolSettings& settings_;
    std::string version_;
    HWND mainWindow_ = nullptr;
    HWND messageWindow_ = nullptr;  // receives the fetched documents on the editor's thread
    bool sizeSeen_ = false;
    int pending_ = 0;
};
