// The built-ins that act on the running-script window itself: SetWaitIncrement, Pause and
// SetRunningScriptWindow.
#include <algorithm>
#include <cstdio>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "script_result.h"
#include "wait_loop.h"

namespace {

// The flag bits of SetRunningScriptWindow.
constexpr int kAlwaysOnTop = 1, kNotAlwaysOnTop = 2, kHide = 4, kShow = 8;
constexpr int kMoveCoordinates = 16, kMoveCenter = 32, kMoveLowerLeft = 48, kMoveLowerRight = 64,
              kMoveUpperLeft = 80, kMoveUpperRight = 96;

// The countdown display; its form (h:mm:ss, m:ss or s) is chosen once from the whole pause.
enum class PauseForm { kSeconds, kMinutes, kHours };

std::string PauseText(PauseForm form, uint64_t remainingMs) {
    uint64_t seconds = (remainingMs + 999) / 1000;
    char text[64];
    switch (form) {
    case PauseForm::kHours:
        snprintf(text, sizeof(text), "Pause %llu:%02llu:%02llu",
                 static_cast<unsigned long long>((remainingMs + 999) / 3600000),
                 static_cast<unsigned long long>((remainingMs + 999) / 60000 % 60),
                 static_cast<unsigned long long>(seconds % 60));
        break;
    case PauseForm::kMinutes:
        snprintf(text, sizeof(text), "Pause %llu:%02llu",
                 static_cast<unsigned long long>((remainingMs + 999) / 60000),
                 static_cast<unsigned long long>(seconds % 60));
        break;
    default:
        snprintf(text, sizeof(text), "Pause %llu", static_cast<unsigned long long>(seconds));
        break;
    }
    return text;
}

// Where RSW_MOVE_* puts a window of the given size inside the work area.
POINT MoveTarget(int where, const RECT& area, int width, int height, int x, int y) {
    switch (where) {
    case kMoveCoordinates: return {x, y};
    case kMoveCenter:
        return {area.left + (area.right - area.left - width) / 2,
                area.top + (area.bottom - area.top - height) / 2};
    case kMoveLowerLeft: return {area.left, area.bottom - height};
    case kMoveUpperLeft: return {area.left, area.top};
    case kMoveUpperRight: return {area.right - width, area.top};
    case kMoveLowerRight:
    default: return {area.right - width, area.bottom - height};
    }
}

}  // namespace

int Builtin_SetWaitIncrement(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t milliseconds = 1;
    if (int error = GetOptionalIntParam(call, 0, milliseconds)) return error;
    ProgressWindow(call.window).setWaitIncrement(std::clamp<int32_t>(milliseconds, 0, 100));
    return 0;
}

int Builtin_Pause(BuiltinCall& call) {
    SetVoidResult(call);
    int32_t milliseconds = 0;
    if (int error = GetIntParam(call, 0, milliseconds)) return error;
    CProgressDlg& window = ProgressWindow(call.window);

    window.ShowContinueButton(true);
    ForegroundKeeper foreground(window);
    const uint64_t total = static_cast<uint64_t>(std::max<int32_t>(milliseconds, 0));
    const uint64_t totalSeconds = (total + 999) / 1000;
    const PauseForm form = totalSeconds >= 3600 ? PauseForm::kHours
                           : totalSeconds >= 60 ? PauseForm::kMinutes
                                                : PauseForm::kSeconds;
    // 64-bit ticks: the pause lasts its full time even across the 32-bit tick wrap.
    const uint64_t end = TickNow() + total;
    uint64_t shownSeconds = 0;
    int result = 0;
    for (uint64_t now = TickNow(); now < end && !window.ContinueRequested(); now = TickNow()) {
        uint64_t remaining = end - now;
        uint64_t seconds = (remaining + 999) / 1000;
        if (seconds != shownSeconds && seconds > 0) {
            window.SetStatusText(PauseText(form, remaining));
            shownSeconds = seconds;
        }
        foreground.Note();
        if (window.PumpMessages()) {
            result = kErrCancelled;
            break;
        }
        Sleep(static_cast<DWORD>(
            std::min<uint64_t>(static_cast<uint64_t>(window.waitIncrement()), remaining)));
    }
    window.SetStatusText("");
    if (result == 0 && window.ContinueRequested()) foreground.Restore();
    window.ShowContinueButton(false);
    return result;
}

int Builtin_SetRunningScriptWindow(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t flags = 0, x = 0, y = 0;
    std::string title;
    if (int error = GetIntParam(call, 0, flags)) return error;
    if (int error = GetOptionalStringParam(call, 1, title)) return error;
    if (call.args.size() > 2) {
        // x and y come together: with x given, a missing y is a missing parameter.
        if (int error = GetIntParam(call, 2, x)) return error;
        if (int error = GetIntParam(call, 3, y)) return error;
    }

    HWND window = ProgressWindow(call.window).hwnd();
    if (!window || !IsSystemText(title)) return kOk;
    if (!title.empty()) SetWindowTextA(window, title.c_str());
    if (flags & kAlwaysOnTop)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else if (flags & kNotAlwaysOnTop)
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Showing does not activate: the script keeps working with the window the user is in.
    if (flags & kShow)
        ShowWindow(window, SW_SHOWNA);
    else if (flags & kHide)
        ShowWindow(window, SW_HIDE);
    if (flags > 15) {
        RECT rect{};
        GetWindowRect(window, &rect);
        POINT target = MoveTarget(flags & 0xF0, WorkAreaOf(window), rect.right - rect.left,
                                  rect.bottom - rect.top, x, y);
        SetWindowPos(window, nullptr, target.x, target.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}
