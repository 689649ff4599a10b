#include <windows.h>

#include "document.h"

#include <commdlg.h>

#include <algorithm>

#include "resource.h"
#include "vexedit_app.h"

namespace {

const char kFileFilter[] = "Vexa Script Files (*.vxs)\0*.vxs\0All Files (*.*)\0*.*\0";

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void CDocument::SetPathName(const std::string& path, bool addToRecent) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    path_ = length > 0 && length < MAX_PATH ? std::string(full, length) : path;
    SetTitle(FileNameOf(path_));
    if (addToRecent) TheApp().AddToRecentFileList(path_);
}

void CDocument::SetTitle(const std::string& title) { title_ = title; }

bool CDocument::OnNewDocument() {
    path_.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::DoFileSave() {
    DWORD attributes = path_.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path_.c_str());
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (path_.empty() || readOnly) return DoSaveAs();
    return OnSaveDocument(path_);
}

bool CDocument::DoSaveAs() {
    char name[MAX_PATH] = {};
    std::string proposal = path_.empty() ? title_ : path_;
    proposal.copy(name, MAX_PATH - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = TheApp().MainWindow();
    dialog.lpstrFilter = kFileFilter;
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = "vxs";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog)) return false;
    if (!OnSaveDocument(name)) return false;
    SetPathName(name);
    return true;
}

bool CDocument::SaveModified() {
    if (!IsModified()) return true;
    std::string prompt = "Save changes to " + (path_.empty() ? title_ : path_) + "?";
    switch (MessageBoxA(TheApp().MainWindow(), prompt.c_str(), kAppName,
                        MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES: return DoFileSave();
    case IDNO: return true;
    default: return false;
    }
}

void CDocument::AddView(CView* view) { views_.push_back(view); }

void CDocument::RemoveView(CView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

bool CDocument::OnCommand(int id) {
    switch (id) {
    case ID_FILE_SAVE: DoFileSave(); return true;
    case ID_FILE_SAVE_AS: DoSaveAs(); return true;
    default: return false;
    }
}

bool CDocument::OnUpdateCommand(CCmdUI& ui) {
    return ui.id == ID_FILE_SAVE || ui.id == ID_FILE_SAVE_AS;
}
