// Folder listing and the folder browser.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "builtin_api.h"
#include "current_folder.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "text_codepage.h"
#include "win_handles.h"

namespace {

constexpr int32_t kListFolders = 1;  // GFL_FOLDERS
constexpr int32_t kListFiles = 2;    // GFL_FILES
constexpr int32_t kListSort = 4;     // GFL_SORT

struct ItemIdListDeleter {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using UniqueItemIdList = std::unique_ptr<ITEMIDLIST, ItemIdListDeleter>;

// Ascending without regard to case; the fold goes through the system code page so the
// trail byte of a double-byte name is never folded on its own.
void SortWithoutCase(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) {
        std::string key = name;
        ToLowerText(key);
        keyed.emplace_back(std::move(key), std::move(name));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return std::lexicographical_compare(
            a.first.begin(), a.first.end(), b.first.begin(), b.first.end(), [](char x, char y) {
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
            });
    });
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

bool IsDotEntry(const char* name) {
    return std::string_view(name) == "." || std::string_view(name) == "..";
}

}  // namespace

int Builtin_GetFolderListing(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string pattern;
    int32_t flags = kListFolders | kListFiles | kListSort;
    if (int error = GetStringParam(call, 0, pattern)) return error;
    if (int error = GetOptionalIntParam(call, 1, flags)) return error;
    if (!IsSystemText(pattern)) return kOk;
    StatusLine status(call.window, "Get folder listing...");

    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle find(FindFirstFileA(pattern.c_str(), &entry));
    for (bool more = static_cast<bool>(find); more;
         more = FindNextFileA(find.get(), &entry) != FALSE) {
        if (call.window.PumpMessages()) return kErrCancelled;
        if (IsDotEntry(entry.cFileName)) continue;
        bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((flags & (folder ? kListFolders : kListFiles)) != 0)
            names.emplace_back(entry.cFileName);
    }
    if (flags & kListSort) SortWithoutCase(names);

    std::string listing;
    for (const auto& name : names) {
        listing += name;
        listing += '\n';
    }
    SetStringResult(call, std::move(listing));
    return kOk;
}

int Builtin_BrowseForFolder(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string root, title;
    if (int error = GetOptionalStringParam(call, 0, root)) return error;
    if (int error = GetOptionalStringParam(call, 1, title)) return error;
    if (!IsSystemText(root) || !IsSystemText(title)) return kOk;
    if (title.empty()) title = "Choose a folder";
    StatusLine status(call.window, "Browse for folder...");

    UniqueItemIdList rootList;
    if (!root.empty()) {
        int length = MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, nullptr, 0);
        std::wstring wide(length > 0 ? length : 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wide.data(), length);
        PIDLIST_ABSOLUTE parsed = nullptr;
        if (SUCCEEDED(SHParseDisplayName(wide.c_str(), nullptr, &parsed, 0, nullptr)))
            rootList.reset(parsed);
    }
    char display[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = ProgressWindow(call.window).hwnd();
    info.pidlRoot = rootList.get();
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    CurrentFolderKeeper keeper;
    UniqueItemIdList chosen(SHBrowseForFolderA(&info));
    char path[MAX_PATH] = "";
    if (chosen && SHGetPathFromIDListA(chosen.get(), path)) SetStringResult(call, path);
    return kOk;
}
