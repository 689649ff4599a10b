// CRecentFileList: the 16 most recently opened scripts, kept in the profile's "Recent File List"
// section and shown in the File menu, newest first.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CProfile;

class CRecentFileList {
public:
    static constexpr int kSize = 16;

    void Load(const CProfile& profile);
    void Save(CProfile& profile) const;
    // Moves `path` to the top (adding it when new, dropping the oldest when full).
    void Add(const std::string& path);
    void Remove(size_t index);
    const std::vector<std::string>& Files() const { return files_; }
    // Rewrites the recent-file items of a File menu (a greyed "Recent File" when empty).
    void UpdateMenu(HMENU fileMenu) const;

private:
    std::vector<std::string> files_;
};
