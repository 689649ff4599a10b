// CDocTemplate: the one kind of document the editor has (scripts). It creates each document with
// its child frame and view, numbers untitled scripts VexEng1, VexEng2..., finds an already open
// file, and closes documents whose last view went away.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

class CDocument;
class CChildFrame;
class CMainFrame;

class CDocTemplate {
public:
    explicit CDocTemplate(CMainFrame& mainFrame) : mainFrame_(mainFrame) {}
    ~CDocTemplate();

    // File > New: an untitled script in a new frame; null on failure.
    CDocument* NewDocument();
    // Opens `path`, or activates its frame when it is open already; null on failure.
    CDocument* OpenDocumentFile(const std::string& path);
    // The open document of `path` (compared by full path, ignoring case); null when none.
    CDocument* FindDocument(const std::string& path) const;

    // Asks to save every modified document; false when the user cancelled.
    bool SaveAllModified();
    // Closes all documents without asking.
    void CloseAllDocuments();
    const std::vector<std::unique_ptr<CDocument>>& Documents() const { return documents_; }

    // Called by a child frame as it goes: the document closes with its last view.
    void OnFrameDestroyed(CDocument* document);

private:
    CChildFrame* CreateFrame(CDocument* document);
    void Discard(CDocument* document);
    void CloseFrame(HWND frame);

    CMainFrame& mainFrame_;
    std::vector<std::unique_ptr<CDocument>> documents_;
    int untitledCount_ = 0;
};
