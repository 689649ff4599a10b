// Stands in for the installing program: records its command line beside itself, stays alive
// a few seconds (so a test sees its starter exit first), then records that it ended.
#include <windows.h>

#include <string>

static std::string SelfFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\'));
}

static void Record(const std::string& file, const std::string& text) {
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string folder = SelfFolder();
    Record(folder + "\\vltrix_cmdline.txt", GetCommandLineA());
    Sleep(4000);
    Record(folder + "\\vltrix_done.txt", "done");
    return 0;
}
