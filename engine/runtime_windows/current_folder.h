// Keeps the process's current folder across a call into a system dialog or the shell: the open
// dialog moves it to the picked file's folder whatever its flags say, and every later relative
// path of the script would resolve there.
#pragma once
#include <windows.h>

#include <string>

class CurrentFolderKeeper {
public:
    CurrentFolderKeeper() {
        DWORD size = GetCurrentDirectoryA(0, nullptr);
        if (size == 0) return;
        folder_.resize(size);
        DWORD length = GetCurrentDirectoryA(size, folder_.data());
        if (length == 0 || length >= size) {
            folder_.clear();
            return;
        }
        folder_.resize(length);
    }
    ~CurrentFolderKeeper() {
        if (!folder_.empty()) SetCurrentDirectoryA(folder_.c_str());
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

private:
    std::string folder_;
};
