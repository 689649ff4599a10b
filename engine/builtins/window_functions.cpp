// Top-level windows: finding, activating, verifying the one in front and waiting for one to
// appear or close; and the colour of a screen pixel.
#include <windows.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "text_codepage.h"
#include "win_handles.h"
#include "window_search.h"

namespace {

constexpr int32_t kVerifyTimeout = 1000;
constexpr int32_t kForegroundTitleTime = 100;

// className, title: the two parameters of FindWindow and SetForegroundWindow.
int GetClassAndTitle(BuiltinCall& call, std::string& className, std::string& title) {
    if (int error = GetStringParam(call, 0, className)) return error;
    return GetStringParam(call, 1, title);
}

bool Contains(const std::string& text, const std::string& part) {
    return FindText(text, part, 0) != std::string::npos;
}

// The four VerifyActive... functions: text, optional time-out, a test of the foreground
// window (visible and enabled) repeated until it holds.
int VerifyActive(BuiltinCall& call, const char* status,
                 bool (*holds)(HWND foreground, const std::string& text)) {
    SetIntResult(call, 0);
    std::string text;
    int32_t timeout = kVerifyTimeout;
    if (int error = GetStringParam(call, 0, text)) return error;
    if (int error = GetOptionalIntParam(call, 1, timeout)) return error;
    return Poll(call, status, timeout, [&] {
        HWND foreground = ActiveForegroundWindow();
        if (!foreground || !holds(foreground, text)) return PollStep::kRetry;
        SetIntResult(call, 1);
        return PollStep::kDone;
    });
}

bool TitleIs(HWND foreground, const std::string& title) {
    std::string now = WindowTitle(foreground);
    return !now.empty() && now == title;
}

bool TitleContains(HWND foreground, const std::string& part) {
    std::string now = WindowTitle(foreground);
    return !now.empty() && Contains(now, part);
}

// The active document of a multiple-document frame is the first child of its client window.
bool MDIChildTitleIs(HWND foreground, const std::string& title) {
    for (HWND child = GetWindow(foreground, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowEnabled(child)) continue;
        HWND first = GetWindow(child, GW_CHILD);
        if (first && TitleIs(first, title)) return true;
    }
    return false;
}

bool SomeControlTextContains(HWND foreground, const std::string& text) {
    auto match = [&](HWND child) {
        return IsWindowVisible(child) && IsWindowEnabled(child) &&
               Contains(WindowText(child), text);
    };
    return WalkDescendants(foreground, match, nullptr) != nullptr;
}

struct TitlePart {
    const std::string& part;
    HWND found = nullptr;
};

BOOL CALLBACK FindTitlePart(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TitlePart*>(data);
    std::string title = WindowTitle(window);
    if (title.empty() || title.find(search.part) == std::string::npos) return TRUE;
    search.found = window;
    return FALSE;
}

// Any top-level window with this whole title that is visible (the first one found may be a
// hidden twin).
bool VisibleWindowTitled(const std::string& title) {
    if (!IsSystemText(title)) return false;
    const char* name = title.empty() ? nullptr : title.c_str();
    for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, name); window;
         window = FindWindowExA(nullptr, window, nullptr, name)) {
        if (IsWindowVisible(window)) return true;
    }
    return false;
}

}  // namespace

int Builtin_FindWindow(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string className, title;
    if (int error = GetClassAndTitle(call, className, title)) return error;
    StatusLine status(call.window, "Find window...");
    SetIntResult(call, FindTopLevelWindow(className, title) ? 1 : 0);
    return kOk;
}

int Builtin_SetForegroundWindow(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string className, title;
    if (int error = GetClassAndTitle(call, className, title)) return error;
    HWND window = FindTopLevelWindow(className, title);
    SetIntResult(call, window && BringWindowToForeground(window) ? 1 : 0);
    return kOk;
}

int Builtin_SetForegroundWindowTitleSub(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string part;
    if (int error = GetStringParam(call, 0, part)) return error;
    TitlePart search{part};
    EnumWindows(FindTitlePart, reinterpret_cast<LPARAM>(&search));
    SetIntResult(call, search.found && BringWindowToForeground(search.found) ? 1 : 0);
    return kOk;
}

int Builtin_VerifyActiveWindowTitle(BuiltinCall& call) {
    return VerifyActive(call, "Verifying active window title...", TitleIs);
}

int Builtin_VerifyActiveWindowTitleSub(BuiltinCall& call) {
    return VerifyActive(call, "Verifying active window title...", TitleContains);
}

int Builtin_VerifyActiveMDIWindowTitle(BuiltinCall& call) {
    return VerifyActive(call, "Verifying active MDI window title...", MDIChildTitleIs);
}

int Builtin_VerifyActiveWindowText(BuiltinCall& call) {
    return VerifyActive(call, "Verifying active window text...", SomeControlTextContains);
}

int Builtin_WaitWindowTitleVisible(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string title;
    int32_t timeout = 0;
    if (int error = GetStringParam(call, 0, title)) return error;
    if (int error = GetIntParam(call, 1, timeout)) return error;
    bool met = false;
    int error = WaitWithContinue(
        call, "Waiting for window to be visible...", timeout,
        [&] { return VisibleWindowTitled(title); }, met);
    SetIntResult(call, met ? 1 : 0);
    return error;
}

int Builtin_WaitWindowClosed(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string className, title;
    int32_t timeout = 0;
    if (int error = GetClassAndTitle(call, className, title)) return error;
    if (int error = GetIntParam(call, 2, timeout)) return error;
    bool met = false;
    int error = WaitWithContinue(
        call, "Waiting for window to close...", timeout,
        [&] { return !FindTopLevelWindow(className, title); }, met);
    SetIntResult(call, met ? 1 : 0);
    return error;
}

int Builtin_GetForegroundWindowTitle(BuiltinCall& call) {
    SetStringResult(call, "");
    return Poll(call, "Get foreground window title...", kForegroundTitleTime, [&] {
        HWND foreground = GetForegroundWindow();
        std::string title = foreground ? WindowTitle(foreground) : std::string();
        if (title.empty()) return PollStep::kRetry;
        SetStringResult(call, title);
        return PollStep::kDone;
    });
}

int Builtin_GetPixelColor(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t x = 0, y = 0;
    if (int error = GetIntParam(call, 0, x)) return error;
    if (int error = GetIntParam(call, 1, y)) return error;
    SetIntResult(call, -1);
    WindowDC screen(nullptr);
    if (!screen) return kOk;
    COLORREF colour = GetPixel(screen.get(), x, y);
    SetIntResult(call, colour == CLR_INVALID ? -1 : static_cast<int32_t>(colour));
    return kOk;
}
