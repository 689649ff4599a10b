// Tools > System Tray Launcher...: CConfigureLauncherDlg (dialog 134) edits the launcher's menu
// entries and the two start-up check boxes, then saves the menu file and tells the launcher.
#pragma once
#include <windows.h>

#include <string>

#include "dialog_base.h"
#include "launcher_control.h"
#include "launcher_menu_file.h"

class ToolSettings;

class CConfigureLauncherDlg : public CModalDialog {
public:
    // `activeScriptPath` is the active script's full path (empty: none), the suggestion for Add.
    CConfigureLauncherDlg(ToolSettings& settings, LauncherHost host, std::string activeScriptPath);
    const LauncherConfig& config() const { return config_; }

protected:
    void OnInitDialog() override;
    void OnCommand(int id, int notification) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnOK();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnMove(int step);
    void CreateColumns();
    void FillList(int select);
    void UpdateButtons();
    int Selected() const;
    std::vector<std::string> NamesExcept(int index) const;
    HWND List() const;

    ToolSettings& settings_;
    LauncherHost host_;
    LauncherConfig config_;
    std::string suggestedName_;
    std::string suggestedPath_;
};

// The command itself: opens the dialog over `parent`.
void ConfigureLauncherCommand(HWND parent, ToolSettings& settings,
                              const std::string& startDirectory,
                              const std::string& activeScriptPath);
