// CVexaScriptApp: the editor program. Start-up in the documented order (common controls, OLE,
// profile, template and main frame, the switches, run mode or the shell command), the message
// loop with accelerators and idle updates, and the application-level commands.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "command_target.h"
#include "profile.h"
#include "recent_files.h"

class CMainFrame;
class CDocTemplate;

inline constexpr char kAppName[] = "Vexa Script";

// The current directory when the program started; empty when it could not be kept.
const std::string& StartDirectory();

class CVexaScriptApp : public CCommandTarget {
public:
    CVexaScriptApp();
    ~CVexaScriptApp() override;

    // The whole program: start-up, message loop, exit; returns the process exit code.
    int Main(int showCommand);

    CProfile& Profile() { return *profile_; }
    CMainFrame& MainFrame() { return *mainFrame_; }
    HWND MainWindow() const;
    CDocTemplate& DocTemplate() { return *template_; }
    CRecentFileList& RecentFiles() { return recentFiles_; }
    void AddToRecentFileList(const std::string& path);
    bool UsesIniFile() const { return iniFile_; }

    // Opens a script (or activates it when open); null on failure.
    class CDocument* OpenDocumentFile(const std::string& path);

    // More command handlers (build, tools, help modules) join the route after the application.
    void AddCommandTarget(CCommandTarget* target) { targets_.push_back(target); }
    // Modeless dialogs (Find, Replace...) get their keyboard messages first.
    void AddModelessDialog(HWND dialog) { modeless_.push_back(dialog); }
    void RemoveModelessDialog(HWND dialog);

    // The printer chosen in Print Setup (null handles: the default printer).
    HGLOBAL PrinterDevMode() const { return devMode_; }
    HGLOBAL PrinterDevNames() const { return devNames_; }

    bool RouteToTargets(int id);
    bool QueryTargets(CCmdUI& ui);
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    bool InitInstance(int showCommand);
    bool ChooseProfile();
    void RegisterShellFileTypes();
    // The shell's print verbs: /p on the chosen or default printer, /pt on the printer, driver
    // and port after the path; nothing is shown.
    void PrintFromShell(std::string_view commandLine, const std::string& file);
    int MessageLoop();
    bool PreTranslateMessage(MSG& message);
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnViewFont();
    void OnAppAbout();

    std::unique_ptr<CProfile> profile_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<CDocTemplate> template_;
    CRecentFileList recentFiles_;
    std::vector<CCommandTarget*> targets_;
    std::vector<HWND> modeless_;
    HACCEL accelerators_ = nullptr;
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
    bool iniFile_ = false;
    bool oleStarted_ = false;
    int runResult_ = 0;  // the engine's result in run mode: the exit code
};

CVexaScriptApp& TheApp();
