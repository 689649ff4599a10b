#include <cstdint>

#include "progress_dialog.h"

namespace {

bool IsForeground(HWND window) { return GetForegroundWindow() == window; }

// Asks for the foreground with the system's foreground lock time-out lifted for the moment.
void RequestForeground(HWND window) {
    DWORD lockTimeout = 0;
    bool haveTimeout =
        SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0) != FALSE;
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetForegroundWindow(window);
    if (haveTimeout)
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<void*>(static_cast<uintptr_t>(lockTimeout)), 0);
}

}  // namespace

bool BringWindowToForeground(HWND window) {
    if (!window || !IsWindow(window)) return false;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    if (IsForeground(window)) return true;
    RequestForeground(window);
    if (IsForeground(window)) return true;
    // Minimising and restoring makes newer systems hand over the foreground after all;
    // NT 4.0 and Windows 95 do not need (or like) the trick.
    unsigned version = WindowsVersionCode();
    if (version != 0x1100 && version != 1) {
        ShowWindow(window, SW_MINIMIZE);
        ShowWindow(window, SW_RESTORE);
    }
    return IsForeground(window);
}
