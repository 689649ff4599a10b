// vextarget.dll: the same target windows inside a host's process, on the host's thread. The
// host's message loop (the engine's wait loop while a script runs) serves them.
#include <windows.h>

#include "target_app.h"

namespace {
HINSTANCE g_module = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

// parts: 1 the dialog, 2 the MDI frame, 3 both. Returns the window now in front, or null.
extern "C" __declspec(dllexport) HWND VexTargetOpen(const char* logPath, int parts) {
    TargetOptions options;
    options.logPath = logPath ? logPath : "";
    options.dialog = (parts & 1) != 0;
    options.frame = (parts & 2) != 0;
    options.quitWhenClosed = false;  // the host's loop is not ours to end
    if (options.logPath.empty() || !OpenTarget(g_module, options)) return nullptr;
    return options.dialog ? TargetDialog() : TargetFrame();
}

extern "C" __declspec(dllexport) void VexTargetClose() { CloseTarget(); }
