// The Add/Edit dialog: checks run in a fixed order and each refusal keeps the dialog open.
#include "add_launcher_dlg.h"

#include <commdlg.h>

#include "editor_message.h"
#include "editor_tools_resource.h"

std::string DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    int n = GetWindowTextLengthA(item);
    std::string text(size_t(n) + 1, '\0');
    GetWindowTextA(item, text.data(), n + 1);
    text.resize(strlen(text.c_str()));
    return text;
}

CAddLauncherDlg::CAddLauncherDlg(std::string caption, std::vector<std::string> otherNames,
                                 std::string name, std::string scriptPath)
    : CModalDialog(IDD_ADD_LAUNCHER),
      caption_(std::move(caption)),
      otherNames_(std::move(otherNames)),
      name_(std::move(name)),
      scriptPath_(std::move(scriptPath)) {}

void CAddLauncherDlg::OnCommand(int id, int notification) {
    if (id == IDOK)
        OnOK();
    else if (id == IDC_BROWSE_SCRIPT)
        OnBrowse();
    else
        CModalDialog::OnCommand(id, notification);
}

void CAddLauncherDlg::OnInitDialog() {
    SetWindowTextA(hwnd(), caption_.c_str());
    SetDlgItemTextA(hwnd(), IDC_SHORTCUT_NAME, name_.c_str());
    SetDlgItemTextA(hwnd(), IDC_SHORTCUT_SCRIPT, scriptPath_.c_str());
}

void CAddLauncherDlg::Refuse(const std::string& text, int id) {
    EditorMessageBox(hwnd(), text, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(hwnd(), id));
}

void CAddLauncherDlg::OnOK() {
    std::string name = DialogItemText(hwnd(), IDC_SHORTCUT_NAME);
    std::string script = DialogItemText(hwnd(), IDC_SHORTCUT_SCRIPT);
    if (name.empty()) return Refuse("Please enter a unique name.", IDC_SHORTCUT_NAME);
    for (const std::string& other : otherNames_) {
        if (_stricmp(other.c_str(), name.c_str()) == 0)
            return Refuse(name + " already exists. Please enter a unique name.", IDC_SHORTCUT_NAME);
    }
    if (script.empty())
        return Refuse("Please enter an existing script file name.", IDC_SHORTCUT_SCRIPT);
    // A folder is no script file: the launcher could not run it.
    DWORD attributes = GetFileAttributesA(script.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Refuse(script + " does not exist. Please enter an existing script file name.",
                      IDC_SHORTCUT_SCRIPT);
    name_ = name;
    scriptPath_ = script;
    End(IDOK);
}

void CAddLauncherDlg::OnBrowse() {
    char file[MAX_PATH] = {};
    lstrcpynA(file, DialogItemText(hwnd(), IDC_SHORTCUT_SCRIPT).c_str(), sizeof file);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = "Script Files (*.vxs)\0*.vxs\0All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = "Script File Name";
    ofn.lpstrDefExt = "vxs";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    // A save-style dialog: the name need not exist here, OK checks that.
    if (GetSaveFileNameA(&ofn)) SetDlgItemTextA(hwnd(), IDC_SHORTCUT_SCRIPT, file);
}
