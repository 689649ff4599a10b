// The tools' command target and hooks, over the application's profile and main frame.
#include "tool_commands.h"

#include <memory>

#include "about_dialog.h"
#include "configure_launcher_dlg.h"
#include "desktop_shortcut.h"
#include "document.h"
#include "launcher_control.h"
#include "main_frame.h"
#include "resource.h"
#include "tip_of_the_day_dlg.h"
#include "tool_settings.h"
#include "update_check.h"
#include "vexedit_app.h"
#include "window_finder_dlg.h"

namespace {

class CToolCommands : public CCommandTarget {
public:
    explicit CToolCommands(CVexaScriptApp& app)
        : app_(app), settings_(app.Profile(), app.UsesIniFile()) {}

    bool OnCommand(int id) override {
        HWND main = app_.MainWindow();
        switch (id) {
        case ID_TOOLS_WINDOW_INFO: {
            CWindowFinderDlg finder(main);
            finder.DoModal();
            return true;
        }
        case ID_TOOLS_DESKTOP_SHORTCUT:
            CreateDesktopShortcutCommand(main, ActivePath(), settings_);
            return true;
        case ID_TOOLS_LAUNCHER:
            ConfigureLauncherCommand(main, settings_, StartDirectory(), ActivePath());
            return true;
        case ID_HELP_TIP_OF_THE_DAY: ShowTipOfTheDay(main, settings_); return true;
        }
        return false;
    }

    bool OnUpdateCommand(CCmdUI& ui) override {
        switch (ui.id) {
        case ID_TOOLS_WINDOW_INFO:
        case ID_TOOLS_LAUNCHER:
        case ID_HELP_TIP_OF_THE_DAY: return true;
        case ID_TOOLS_DESKTOP_SHORTCUT: ui.enabled = app_.MainFrame().ActiveDocument(); return true;
        }
        return false;
    }

    void Startup() {
        if (settings_.ReadInt("RunLauncher", 1)) StartLauncher(Host());
        ShowTipOfTheDayAtStartup(app_.MainWindow(), settings_);
    }
    void OnSize(HWND main, UINT type) {
        if (!update_) update_ = std::make_unique<CUpdateCheck>(settings_, ProgramVersionText());
        update_->OnMainWindowSize(main, type);
    }
    LauncherHost Host() const { return CurrentLauncherHost(StartDirectory()); }

private:
    std::string ActivePath() const {
        CDocument* document = app_.MainFrame().ActiveDocument();
        return document ? document->PathName() : std::string();
    }

    CVexaScriptApp& app_;
    ProfileToolSettings settings_;
    std::unique_ptr<CUpdateCheck> update_;
};

std::unique_ptr<CToolCommands> g_tools;

}  // namespace

void InstallToolCommands(CVexaScriptApp& app) {
    g_tools = std::make_unique<CToolCommands>(app);
    app.AddCommandTarget(g_tools.get());
}

void RunStartupTools() {
    if (g_tools) g_tools->Startup();
}

void ToolsOnMainWindowSize(HWND mainWindow, UINT sizeType) {
    if (g_tools) g_tools->OnSize(mainWindow, sizeType);
}

void ToolsOnMainFrameClosed() {
    if (g_tools) CloseLauncherIfLastEditor(g_tools->Host());
}
