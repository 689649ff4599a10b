// The "Add"/"Edit" dialog of the System Tray Launcher (dialog 135): a unique name and an
// existing script file for one menu entry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CAddLauncherDlg {
public:
    // `otherNames` are the names of all other entries, for the uniqueness test.
    CAddLauncherDlg(std::string caption, std::vector<std::string> otherNames, std::string name,
                    std::string scriptPath);
    INT_PTR DoModal(HWND parent);
    const std::string& name() const { return name_; }
    const std::string& scriptPath() const { return scriptPath_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnOK();
    void OnBrowse();
    // Shows `text`, then puts the focus into the field `id`; the dialog stays open.
    void Refuse(const std::string& text, int id);

    std::string caption_;
    std::vector<std::string> otherNames_;
    std::string name_;
    std::string scriptPath_;
    HWND dialog_ = nullptr;
};

std::string DialogItemText(HWND dialog, int id);
