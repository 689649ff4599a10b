#include "recent_files.h"

#include <algorithm>

#include "profile.h"
#include "resource.h"

namespace {

const char kSection[] = "Recent File List";

std::string EntryName(int index) { return "File" + std::to_string(index + 1); }

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The menu shows a long path by its drive, "..." and its last parts.
std::string MenuText(int index, const std::string& path) {
    std::string shown = path;
    const size_t kLongest = 60;
    if (shown.size() > kLongest) {
        size_t keep = shown.find_last_of('\\');
        std::string tail = keep == std::string::npos ? shown : shown.substr(keep);
        shown = shown.substr(0, 3) + "..." + tail;
    }
    std::string escaped;
    for (char c : shown) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    return (index < 9 ? "&" : "") + std::to_string(index + 1) + " " + escaped;
}

}  // namespace

void CRecentFileList::Load(const CProfile& profile) {
    files_.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string path = profile.GetString(kSection, EntryName(i).c_str(), "");
        if (!path.empty()) files_.push_back(path);
    }
}

void CRecentFileList::Save(CProfile& profile) const {
    for (int i = 0; i < kSize; ++i) {
        if (i < static_cast<int>(files_.size()))
            profile.WriteString(kSection, EntryName(i).c_str(), files_[i]);
        else
            profile.RemoveEntry(kSection, EntryName(i).c_str());
    }
}

void CRecentFileList::Add(const std::string& path) {
    files_.erase(std::remove_if(files_.begin(), files_.end(),
                                [&](const std::string& f) { return SamePath(f, path); }),
                 files_.end());
    files_.insert(files_.begin(), path);
    if (files_.size() > kSize) files_.resize(kSize);
}

void CRecentFileList::Remove(size_t index) {
    if (index < files_.size()) files_.erase(files_.begin() + index);
}

void CRecentFileList::UpdateMenu(HMENU fileMenu) const {
    // Find where the recent-file items sit, then remove them all.
    int position = -1;
    for (int i = GetMenuItemCount(fileMenu) - 1; i >= 0; --i) {
        UINT id = GetMenuItemID(fileMenu, i);
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
            position = i;
            DeleteMenu(fileMenu, i, MF_BYPOSITION);
        }
    }
    if (position < 0) return;
    if (files_.empty()) {
        InsertMenuA(fileMenu, position, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1,
                    "Recent File");
        return;
    }
    for (size_t i = 0; i < files_.size(); ++i)
        InsertMenuA(fileMenu, position + static_cast<int>(i), MF_BYPOSITION | MF_STRING,
                    ID_FILE_MRU_FILE1 + i, MenuText(static_cast<int>(i), files_[i]).c_str());
}
