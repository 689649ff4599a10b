// Tools > System Tray Launcher...: CConfigureLauncherDlg (dialog 134) edits the launcher's menu
// entries and the two start-up check boxes, then saves the menu file and tells the launcher.
#pragma once
#include <windows.h>

#include <string>

#include "launcher_control.h"
#include "launcher_menu_file.h"

class ToolSettings;

class CConfigureLauncherDlg {
public:
    // `activeScriptPath` is the active script's full path (empty: none), the suggestion for Add.
    CConfigureLauncherDlg(ToolSettings& settings, LauncherHost host, std::string activeScriptPath);
    INT_PTR DoModal(HWND parent);
    const LauncherConfig& config() const { return config_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
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
    HWND dialog_ = nullptr;
};

// The command itself: opens the dialog over `parent`.
void ConfigureLauncherCommand(HWND parent, ToolSettings& settings,
                              const std::string& startDirectory,
                              const std::string& activeScriptPath);
