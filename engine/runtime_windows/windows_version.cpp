#include "progress_dialog.h"

unsigned WindowsVersionCode() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return 0;
#pragma GCC diagnostic pop
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (info.dwMinorVersion == 0) return 1;      // Windows 95
        if (info.dwMinorVersion == 10) return 0x11;  // Windows 98
        return 0;
    }
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (info.dwMajorVersion == 4) return 0x1100;
        if (info.dwMajorVersion == 5) return 0x2100;
        return 0x100;
    }
    return 0;
}
