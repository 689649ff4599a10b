// The "Add"/"Edit" dialog of the System Tray Launcher (dialog 135): a unique name and an
// existing script file for one menu entry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "dialog_base.h"

class CAddLauncherDlg : public CModalDialog {
public:
    // `otherNames` are the names of all other entries, for the uniqueness test.
    CAddLauncherDlg(std::string caption, std::vector<std::string> otherNames, std::string name,
                    std::string scriptPath);
    const std::string& name() const { return name_; }
    const std::string& scriptPath() const { return scriptPath_; }

protected:
    void OnInitDialog() override;
    void OnCommand(int id, int notification) override;

private:
    void OnOK();
    void OnBrowse();
    // Shows `text`, then puts the focus into the field `id`; the dialog stays open.
    void Refuse(const std::string& text, int id);

    std::string caption_;
    std::vector<std::string> otherNames_;
    std::string name_;
    std::string scriptPath_;
};

std::string DialogItemText(HWND dialog, int id);
