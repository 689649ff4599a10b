// System built-ins: log-off and shut-down, the screen saver, services, the default printer,
// the clock, the environment, the user name and the password change.
#include <windows.h>
#include <lmcons.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "time_format.h"
#include "win_handles.h"

namespace {

constexpr unsigned kWindows95 = 0x1;
constexpr unsigned kWindows98 = 0x11;
constexpr unsigned kWindowsNt4 = 0x1100;
constexpr unsigned kNtFamilyBit = 0x100;

// Enables or disables one privilege of this process; failures are ignored.
void SetPrivilege(const char* name, bool enable) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (!LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) return;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

// Screen saver on or off for this session: broadcast, never written to the user profile.
void SetScreenSaverActive(bool active) {
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr,
                          SPIF_SENDWININICHANGE);
}

bool ScreenSaverRunning() {
    switch (WindowsVersionCode() & 0xFFFF) {
    case kWindows95: return FindWindowA("WindowsScreenSaverClass", nullptr) != nullptr;
    case kWindowsNt4: {
        HDESK desktop = OpenDesktopA("screen-saver", 0, FALSE, MAXIMUM_ALLOWED);
        if (desktop) CloseDesktop(desktop);
        return desktop != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
    }
    default: {
        BOOL running = FALSE;
        return SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
    }
    }
}

BOOL CALLBACK CloseVisibleWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// The service functions bound from advapi32 for one call, with the manager handle closed
// through the bound CloseServiceHandle.
struct ServiceApi {
    using OpenManager = SC_HANDLE(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    using EnumServices = BOOL(WINAPI*)(SC_HANDLE, DWORD, DWORD, LPENUM_SERVICE_STATUSA, DWORD,
                                       LPDWORD, LPDWORD, LPDWORD);
    using CloseHandle = BOOL(WINAPI*)(SC_HANDLE);

    UniqueLibrary library{LoadLibraryA("advapi32.dll")};
    OpenManager open = BindFunction<OpenManager>(library, "OpenSCManagerA");
    EnumServices enumerate = BindFunction<EnumServices>(library, "EnumServicesStatusA");
    CloseHandle close = BindFunction<CloseHandle>(library, "CloseServiceHandle");

    bool complete() const { return open && enumerate && close; }
};

bool ServiceIsActive(const std::string& name) {
    ServiceApi api;
    if (!api.complete()) return false;
    // Enumerating needs only this right; asking for full access would fail for every user
    // without administrator rights and report running services as inactive.
    SC_HANDLE manager = api.open(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager) return false;
    bool found = false;
    alignas(ENUM_SERVICE_STATUSA) char buffer[0x4800];
    DWORD resume = 0;
    for (;;) {
        DWORD needed = 0, count = 0;
        BOOL done = api.enumerate(manager, SERVICE_WIN32, SERVICE_ACTIVE,
                                  reinterpret_cast<LPENUM_SERVICE_STATUSA>(buffer), sizeof buffer,
                                  &needed, &count, &resume);
        bool more = !done && GetLastError() == ERROR_MORE_DATA;
        if (!done && !more) break;
        auto* services = reinterpret_cast<LPENUM_SERVICE_STATUSA>(buffer);
        for (DWORD i = 0; i < count && !found; ++i)
            found = lstrcmpiA(services[i].lpServiceName, name.c_str()) == 0;
        if (found || !more || count == 0) break;
    }
    api.close(manager);
    return found;
}

// NT family: the default printer is the "device" entry of the "windows" profile section.
bool MakeDefaultPrinter(const std::string& printer) {
    if (printer.empty()) return false;
    char current[1024];
    GetProfileStringA("windows", "device", ",,", current, sizeof current);
    std::string currentName(current);
    currentName = currentName.substr(0, currentName.find(','));
    if (currentName == printer) return true;
    char entry[1024];
    GetProfileStringA("devices", printer.c_str(), ",", entry, sizeof entry);
    if (std::string_view(entry).size() < 2) return false;
    std::string device = printer + "," + entry;
    WriteProfileStringA("windows", "device", device.c_str());
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("windows"),
                        SMTO_NORMAL, 1000, nullptr);
    return true;
}

// Fetches an optional time part: missing or -1 keeps the current value.
int TimePart(BuiltinCall& call, int position, WORD current, int32_t& part) {
    part = -1;
    if (int error = GetOptionalIntParam(call, position, part)) return error;
    if (part == -1) part = current;
    return kOk;
}

// Converts script text to wide text of at most 256 characters; false when it does not fit.
bool ToWide(const std::string& text, wchar_t (&wide)[257]) {
    if (text.empty()) {
        wide[0] = L'\0';
        return true;
    }
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide, 256);
    if (length <= 0) return false;
    wide[length] = L'\0';
    return true;
}

}  // namespace

int Builtin_ExitWindows(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t flags = EWX_LOGOFF;
    if (int error = GetOptionalIntParam(call, 0, flags)) return error;
    StatusLine status(call.window, "Exiting Windows...");
    SetPrivilege("SeShutdownPrivilege", true);
    ExitWindowsEx(static_cast<UINT>(flags), 0);
    return kOk;
}

int Builtin_EnableScreenSaver(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t enable = 0;
    if (int error = GetIntParam(call, 0, enable)) return error;
    SetScreenSaverActive(enable != 0);
    return kOk;
}

int Builtin_IsScreenSaverRunning(BuiltinCall& call) {
    SetIntResult(call, ScreenSaverRunning() ? 1 : 0);
    return kOk;
}

// Only the oldest systems are handled; later ones end the screen saver themselves on input.
int Builtin_StopScreenSaver(BuiltinCall& call) {
    SetIntResult(call, 0);
    if (!ScreenSaverRunning()) return kOk;
    unsigned version = WindowsVersionCode() & 0xFFFF;
    if (version == kWindows95 || version == kWindows98) {
        if (HWND foreground = GetForegroundWindow()) PostMessageA(foreground, WM_CLOSE, 0, 0);
    } else if (version == kWindowsNt4) {
        HDESK desktop =
            OpenDesktopA("screen-saver", 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_WRITEOBJECTS);
        if (desktop) {
            EnumDesktopWindows(desktop, CloseVisibleWindow, 0);
            CloseDesktop(desktop);
        }
    } else {
        return kOk;
    }
    SetScreenSaverActive(true);  // restarts the screen saver's timer
    return kOk;
}

int Builtin_IsServiceActive(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string name;
    if (int error = GetStringParam(call, 0, name)) return error;
    if (!name.empty() && IsSystemText(name) && ServiceIsActive(name)) SetIntResult(call, 1);
    return kOk;
}

// A 64-bit engine only ever runs on the NT family, where the profile entry decides.
int Builtin_SetDefaultPrinter(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string printer;
    if (int error = GetStringParam(call, 0, printer)) return error;
    if (!IsSystemText(printer)) return kOk;
    StatusLine status(call.window, "Setting default printer...");
    SetIntResult(call, MakeDefaultPrinter(printer) ? 1 : 0);
    return kOk;
}

int Builtin_SetSystemTime(BuiltinCall& call) {
    SetIntResult(call, 0);
    SYSTEMTIME now;
    GetLocalTime(&now);
    int32_t year, month, day, hour, minute, second;
    if (int error = GetIntParam(call, 0, year)) return error;
    if (year == -1) year = now.wYear;
    if (int error = TimePart(call, 1, now.wMonth, month)) return error;
    if (int error = TimePart(call, 2, now.wDay, day)) return error;
    if (int error = TimePart(call, 3, now.wHour, hour)) return error;
    if (int error = TimePart(call, 4, now.wMinute, minute)) return error;
    if (int error = TimePart(call, 5, now.wSecond, second)) return error;
    // The year is also held to what a SYSTEMTIME stores, so a huge one cannot wrap around.
    if (year < 0 || year > 0xFFFF || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return kOk;

    SYSTEMTIME wanted = now;
    wanted.wYear = static_cast<WORD>(year);
    wanted.wMonth = static_cast<WORD>(month);
    wanted.wDay = static_cast<WORD>(day);
    wanted.wHour = static_cast<WORD>(hour);
    wanted.wMinute = static_cast<WORD>(minute);
    wanted.wSecond = static_cast<WORD>(second);
    if (wanted.wYear == now.wYear && wanted.wMonth == now.wMonth && wanted.wDay == now.wDay &&
        wanted.wHour == now.wHour && wanted.wMinute == now.wMinute &&
        wanted.wSecond == now.wSecond) {
        SetIntResult(call, 1);
        return kOk;
    }
    StatusLine status(call.window, "Set system time...");
    SetPrivilege("SeSystemtimePrivilege", true);
    if (SetLocalTime(&wanted)) {
        SendNotifyMessageA(HWND_BROADCAST, WM_TIMECHANGE, 0, 0);
        SetIntResult(call, 1);
    }
    SetPrivilege("SeSystemtimePrivilege", false);
    return kOk;
}

int Builtin_CurrentTimeString(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string format = "%x %X";
    if (int error = GetOptionalStringParam(call, 0, format)) return error;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::string text;
    if (FormatLocalTime(format, now, text)) SetStringResult(call, std::move(text));
    return kOk;
}

int Builtin_GetEnvironmentVariable(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string name;
    if (int error = GetStringParam(call, 0, name)) return error;
    if (name.empty() || !IsSystemText(name)) return kOk;
    char value[512];
    DWORD length = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
    if (length >= 1 && length < sizeof value) SetStringResult(call, std::string(value, length));
    return kOk;
}

int Builtin_GetUserName(BuiltinCall& call) {
    SetStringResult(call, "");
    char name[UNLEN + 1];
    DWORD size = sizeof name;
    if (GetUserNameA(name, &size)) SetStringResult(call, name);
    return kOk;
}

int Builtin_NetUserChangePassword(BuiltinCall& call) {
    SetIntResult(call, 0);
    if ((WindowsVersionCode() & kNtFamilyBit) == 0) return kOk;
    std::string domain, user, oldPassword, newPassword;
    if (int error = GetStringParam(call, 0, domain)) return error;
    if (int error = GetStringParam(call, 1, user)) return error;
    if (int error = GetStringParam(call, 2, oldPassword)) return error;
    if (int error = GetStringParam(call, 3, newPassword)) return error;
    if (!IsSystemText(domain) || !IsSystemText(user) || !IsSystemText(oldPassword) ||
        !IsSystemText(newPassword))
        return kOk;
    StatusLine status(call.window, "Changing user password...");
    // A text that does not fit is refused rather than cut: a cut password would be set.
    wchar_t wideDomain[257], wideUser[257], wideOld[257], wideNew[257];
    if (!ToWide(domain, wideDomain) || !ToWide(user, wideUser) || !ToWide(oldPassword, wideOld) ||
        !ToWide(newPassword, wideNew))
        return kOk;
    using ChangePassword = DWORD(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);
    UniqueLibrary library(LoadLibraryA("netapi32.dll"));
    auto change = BindFunction<ChangePassword>(library, "NetUserChangePassword");
    if (change && change(domain.empty() ? nullptr : wideDomain, user.empty() ? nullptr : wideUser,
                         wideOld, wideNew) == 0)
        SetIntResult(call, 1);
    SecureZeroMemory(wideOld, sizeof wideOld);
    SecureZeroMemory(wideNew, sizeof wideNew);
    return kOk;
}
