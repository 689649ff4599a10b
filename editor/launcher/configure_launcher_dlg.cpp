// The System Tray Launcher dialog: a report list of the menu entries with Add, Edit, Delete and
// Move Up/Down, and OK that writes the menu file, the settings and the Run value.
#include "configure_launcher_dlg.h"

#include <commctrl.h>

#include <utility>

#include "add_launcher_dlg.h"
#include "editor_tools_resource.h"
#include "tool_settings.h"

namespace {

constexpr char kRunLauncher[] = "RunLauncher";

// File name without folder and extension: the name Add suggests for the active script.
std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

CConfigureLauncherDlg::CConfigureLauncherDlg(ToolSettings& settings, LauncherHost host,
                                             std::string activeScriptPath)
    : settings_(settings), host_(std::move(host)) {
    // A missing or damaged file opens as an empty menu and is rewritten on OK.
    if (!LoadMenuFile(MenuFilePath(host_), config_)) config_ = LauncherConfig();
    if (!activeScriptPath.empty()) {
        suggestedName_ = BaseName(activeScriptPath);
        suggestedPath_ = activeScriptPath;
    }
}

INT_PTR CConfigureLauncherDlg::DoModal(HWND parent) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIGURE_LAUNCHER),
                           parent, DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CConfigureLauncherDlg::List() const { return GetDlgItem(dialog_, IDC_SHORTCUT_LIST); }

INT_PTR CALLBACK CConfigureLauncherDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    auto* self = reinterpret_cast<CConfigureLauncherDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self = reinterpret_cast<CConfigureLauncherDlg*>(lParam);
        self->dialog_ = dialog;
        self->OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: self->OnOK(); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDC_ADD_SHORTCUT: self->OnAdd(); return TRUE;
        case IDC_EDIT_SHORTCUT: self->OnEdit(); return TRUE;
        case IDC_DELETE_SHORTCUT: self->OnDelete(); return TRUE;
        case IDC_MOVE_UP: self->OnMove(-1); return TRUE;
        case IDC_MOVE_DOWN: self->OnMove(+1); return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        // Clicks, and selection changes from the keyboard too, keep the buttons right.
        if (header->idFrom == IDC_SHORTCUT_LIST &&
            (header->code == NM_CLICK || header->code == LVN_ITEMCHANGED))
            self->UpdateButtons();
        return FALSE;
    }
    }
    return FALSE;
}

void CConfigureLauncherDlg::OnInitDialog() {
    CheckDlgButton(dialog_, IDC_RUN_WITH_EDITOR,
                   settings_.ReadInt(kRunLauncher, 1) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_RUN_WITH_WINDOWS,
                   LauncherStartsWithWindows() ? BST_CHECKED : BST_UNCHECKED);
    // The INI profile is for a copy that leaves no trace in the registry.
    if (settings_.IniMode()) EnableWindow(GetDlgItem(dialog_, IDC_RUN_WITH_WINDOWS), FALSE);
    ListView_SetExtendedListViewStyle(List(), LVS_EX_FULLROWSELECT);
    CreateColumns();
    int select = -1;
    if (!suggestedPath_.empty()) {
        for (size_t i = 0; i < config_.entries.size(); ++i) {
            if (_stricmp(config_.entries[i].scriptPath.c_str(), suggestedPath_.c_str()) == 0) {
                suggestedName_.clear();
                suggestedPath_.clear();
                select = int(i);
                break;
            }
        }
    }
    FillList(select);
}

void CConfigureLauncherDlg::CreateColumns() {
    HWND list = List();
    HWND header = ListView_GetHeader(list);
    if (header && Header_GetItemCount(header) > 0) return;
    struct Column {
        const char* heading;
        const char* sample;
    };
    const Column columns[] = {{"Name", "WWWWWWWW"}, {"File Name", "-"}};
    int widths[2];
    int blanks = ListView_GetStringWidth(list, "      ");
    for (int i = 0; i < 2; ++i) {
        int heading = ListView_GetStringWidth(list, columns[i].heading);
        int sample = ListView_GetStringWidth(list, columns[i].sample);
        widths[i] = (heading > sample ? heading : sample) + blanks;
    }
    // The "-" column takes the rest of the list's width.
    RECT client;
    GetClientRect(list, &client);
    int rest = client.right - GetSystemMetrics(SM_CXVSCROLL) - widths[0];
    if (rest > widths[1]) widths[1] = rest;
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].heading);
        column.cx = widths[i];
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void CConfigureLauncherDlg::FillList(int select) {
    HWND list = List();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    ListView_SetItemCount(list, int(config_.entries.size()));
    for (size_t i = 0; i < config_.entries.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = int(i);
        item.pszText = const_cast<char*>(config_.entries[i].name.c_str());
        item.lParam = LPARAM(i);
        int at = int(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMA path{};
        path.iSubItem = 1;
        path.pszText = const_cast<char*>(config_.entries[i].scriptPath.c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&path));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    if (select >= 0 && select < int(config_.entries.size())) {
        ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, select, FALSE);
    }
    InvalidateRect(list, nullptr, TRUE);
    UpdateButtons();
}

int CConfigureLauncherDlg::Selected() const {
    return ListView_GetNextItem(List(), -1, LVNI_SELECTED);
}

void CConfigureLauncherDlg::UpdateButtons() {
    int selected = Selected();
    bool one = ListView_GetSelectedCount(List()) == 1;
    int last = int(config_.entries.size()) - 1;
    EnableWindow(GetDlgItem(dialog_, IDC_EDIT_SHORTCUT), one);
    EnableWindow(GetDlgItem(dialog_, IDC_DELETE_SHORTCUT), one);
    EnableWindow(GetDlgItem(dialog_, IDC_MOVE_UP), selected > 0);
    EnableWindow(GetDlgItem(dialog_, IDC_MOVE_DOWN), selected >= 0 && selected < last);
}

std::vector<std::string> CConfigureLauncherDlg::NamesExcept(int index) const {
    std::vector<std::string> names;
    for (size_t i = 0; i < config_.entries.size(); ++i)
        if (int(i) != index) names.push_back(config_.entries[i].name);
    return names;
}

void CConfigureLauncherDlg::OnAdd() {
    CAddLauncherDlg add("Add", NamesExcept(-1), suggestedName_, suggestedPath_);
    if (add.DoModal(dialog_) != IDOK) return;
    config_.entries.push_back({add.name(), add.scriptPath(), 1});
    suggestedName_.clear();
    suggestedPath_.clear();
    FillList(int(config_.entries.size()) - 1);
}

void CConfigureLauncherDlg::OnEdit() {
    int selected = Selected();
    if (selected < 0 || selected >= int(config_.entries.size())) return;
    CLauncherCommand& entry = config_.entries[selected];
    CAddLauncherDlg edit("Edit", NamesExcept(selected), entry.name, entry.scriptPath);
    if (edit.DoModal(dialog_) != IDOK) return;
    entry = {edit.name(), edit.scriptPath(), 1};
    suggestedName_.clear();
    suggestedPath_.clear();
    FillList(selected);
}

void CConfigureLauncherDlg::OnDelete() {
    int selected = Selected();
    if (selected < 0 || selected >= int(config_.entries.size())) return;
    config_.entries.erase(config_.entries.begin() + selected);
    FillList(-1);
}

void CConfigureLauncherDlg::OnMove(int step) {
    int selected = Selected(), other = selected + step;
    if (selected < 0 || other < 0 || other >= int(config_.entries.size())) return;
    std::swap(config_.entries[selected], config_.entries[other]);
    FillList(other);
}

void CConfigureLauncherDlg::OnOK() {
    bool withEditor = Checked(dialog_, IDC_RUN_WITH_EDITOR);
    bool withWindows = Checked(dialog_, IDC_RUN_WITH_WINDOWS);
    SetEditorHeader(config_, host_.editorProgram, kEditorWindowClass, host_.startDirectory);
    SaveMenuFile(MenuFilePath(host_), config_);  // failures are not reported
    settings_.WriteInt(kRunLauncher, withEditor ? 1 : 0);
    if (withEditor || withWindows) StartLauncher(host_);
    NotifyLauncher(host_);
    SetLauncherStartsWithWindows(withWindows, host_);
    EndDialog(dialog_, IDOK);
}

void ConfigureLauncherCommand(HWND parent, ToolSettings& settings,
                              const std::string& startDirectory,
                              const std::string& activeScriptPath) {
    CConfigureLauncherDlg dialog(settings, CurrentLauncherHost(startDirectory), activeScriptPath);
    dialog.DoModal(parent);
}
