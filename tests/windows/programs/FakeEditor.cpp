// Stands in for vexedit.exe in the launcher tests: appends its command line, one per line, to
// "editor_cmdline.txt" beside itself and exits.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, n);
    file = file.substr(0, file.find_last_of('\\') + 1) + "editor_cmdline.txt";
    std::string line = std::string(GetCommandLineA()) + "\n";
    HANDLE out = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(out, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(out);
    return 0;
}
