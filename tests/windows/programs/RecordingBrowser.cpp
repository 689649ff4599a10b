// Stands in for the user's web browser in the help tests: writes its command line to the file
// named by the environment variable VEX_BROWSER_RECORD, then exits.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char record[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VEX_BROWSER_RECORD", record, MAX_PATH)) return 2;
    HANDLE file = CreateFileA(record, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    CloseHandle(file);
    return 0;
}
