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
    : caption_(std::move(caption)),
      otherNames_(std::move(otherNames)),
      name_(std::move(name)),
      scriptPath_(std::move(scriptPath)) {}

INT_PTR CAddLauncherDlg::DoModal(HWND parent) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ADD_LAUNCHER), parent,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CAddLauncherDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<CAddLauncherDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self = reinterpret_cast<CAddLauncherDlg*>(lParam);
        self->dialog_ = dialog;
        self->OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: self->OnOK(); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDC_BROWSE_SCRIPT: self->OnBrowse(); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void CAddLauncherDlg::OnInitDialog() {
    SetWindowTextA(dialog_, caption_.c_str());
    SetDlgItemTextA(dialog_, IDC_SHORTCUT_NAME, name_.c_str());
    SetDlgItemTextA(dialog_, IDC_SHORTCUT_SCRIPT, scriptPath_.c_str());
}

void CAddLauncherDlg::Refuse(const std::string& text, int id) {
    EditorMessageBox(dialog_, text, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog_, id));
}

void CAddLauncherDlg::OnOK() {
    std::string name = DialogItemText(dialog_, IDC_SHORTCUT_NAME);
    std::string script = DialogItemText(dialog_, IDC_SHORTCUT_SCRIPT);
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
    EndDialog(dialog_, IDOK);
}

void CAddLauncherDlg::OnBrowse() {
    char file[MAX_PATH] = {};
    lstrcpynA(file, DialogItemText(dialog_, IDC_SHORTCUT_SCRIPT).c_str(), sizeof file);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog_;
    ofn.lpstrFilter = "Script Files (*.vxs)\0*.vxs\0All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = "Script File Name";
    ofn.lpstrDefExt = "vxs";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    // A save-style dialog: the name need not exist here, OK checks that.
    if (GetSaveFileNameA(&ofn)) SetDlgItemTextA(dialog_, IDC_SHORTCUT_SCRIPT, file);
}
