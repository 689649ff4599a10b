// vextarget.exe [dialog|both] /log PATH [/life MS]
// Shows the dialog (and with "both" the MDI frame behind it) until the dialog is closed, or until
// MS milliseconds (default 120000) have passed, so a failed test never leaves it running.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "target_app.h"

// A run that failed half-way may have left a target behind; two windows of one title would
// confuse the next script, so an earlier instance is closed first.
void CloseEarlierInstances() {
    for (const char* title : {"Vexa Target Dialog", "Vexa Target"}) {
        HWND earlier = FindWindowA(nullptr, title);
        if (!earlier) continue;
        DWORD process = 0;
        GetWindowThreadProcessId(earlier, &process);
        HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process);
        if (!handle) continue;
        TerminateProcess(handle, 3);
        WaitForSingleObject(handle, 5000);
        CloseHandle(handle);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    TargetOptions options;
    UINT life = 120000;
    for (int i = 1; i < __argc; ++i) {
        std::string arg = __argv[i];
        if (arg == "/log" && i + 1 < __argc)
            options.logPath = __argv[++i];
        else if (arg == "/life" && i + 1 < __argc)
            life = static_cast<UINT>(std::strtoul(__argv[++i], nullptr, 10));
        else if (arg == "both")
            options.frame = true;
    }
    CloseEarlierInstances();
    if (options.logPath.empty() || !OpenTarget(instance, options)) return 2;
    SetTimer(nullptr, 0, life, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) break;
        if (TranslateTargetMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    CloseTarget();
    return 0;
}
