// Keeps the process's current folder across a call into a system dialog or the shell: the open
// dialog moves it to the picked file's folder whatever its flags say, and every later relative
// path of the script would resolve there.
#pragma once
#include <windows.h>

#include <string>

class CurrentFolderKeeper {
public:
    CurrentFolderKeeper() : folder_(CurrentFolder()) {}
    ~CurrentFolderKeeper() {
        // Setting it is a round trip to the system; most calls never moved it.
        if (!folder_.empty() && CurrentFolder() != folder_) SetCurrentDirectoryA(folder_.c_str());
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

private:
    // Empty when it cannot be read.
    static std::string CurrentFolder() {
        std::string folder;
        DWORD size = GetCurrentDirectoryA(0, nullptr);
        if (size == 0) return folder;
        folder.resize(size);
        DWORD length = GetCurrentDirectoryA(size, folder.data());
        folder.resize(length == 0 || length >= size ? 0 : length);
        return folder;
    }

    std::string folder_;
};
