// A program for the process tests: RecordingChild RECORD-FILE SLEEP-MS EXIT-CODE [ANY...].
// Writes its process id and command line to RECORD-FILE (unless "-"), stays SLEEP-MS
// milliseconds, then exits with EXIT-CODE.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 4) return 2;
    std::string record = __argv[1];
    if (record != "-") {
        std::string text =
            "pid=" + std::to_string(GetCurrentProcessId()) + "\n" + GetCommandLineA();
        HANDLE file = CreateFileA(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
        }
    }
    // Waits in a message loop, so a starter's wait for input idle sees it idle at once.
    UINT delay = static_cast<UINT>(std::strtoul(__argv[2], nullptr, 10));
    MSG message;
    if (delay > 0 && SetTimer(nullptr, 0, delay, nullptr)) {
        while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
            DispatchMessageA(&message);
    }
    return std::atoi(__argv[3]);
}
