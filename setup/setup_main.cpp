// setup.exe: starts the installing program in its self-install mode and gets out of the way.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const char kInstallCommandLine[] = "Vltrix /install";
const char kUnableToRun[] = "Unable to run \"Vltrix /install\".";

// Starts a process for `commandLine`; never waits for it and keeps none of its handles.
bool run_command_line(const char* commandLine) {
    // CreateProcess may write into the command line, so it gets a private copy.
    size_t size = std::strlen(commandLine) + 1;
    char* writable = static_cast<char*>(std::malloc(size));
    if (!writable) return false;
    std::memcpy(writable, commandLine, size);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    bool started = CreateProcessA(nullptr, writable, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                                  nullptr, nullptr, &startup, &process) != FALSE;
    if (started) {
        if (process.hProcess) CloseHandle(process.hProcess);
        if (process.hThread) CloseHandle(process.hThread);
    }
    std::free(writable);
    return started;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!run_command_line(kInstallCommandLine))
        MessageBoxA(nullptr, kUnableToRun, "Error", MB_OK | MB_ICONEXCLAMATION);
    return 0;
}
