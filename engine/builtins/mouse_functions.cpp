// MouseClick: a left-button press and release where the pointer is, played through a journal
// playback hook, or through SendInput where the system refuses or ignores such a hook.
#include <windows.h>

#include "builtin_api.h"
#include "dialog_window.h"
#include "error_codes.h"
#include "wait_loop.h"

namespace {

// The hook procedure takes no context, so the click lives here: one click at a time.
HHOOK g_hook = nullptr;
POINT g_point{};
int g_played = 0;      // events the system reported as played
bool g_asked = false;  // the system asked the hook for an event at least once

// Current Windows refuses the hook to ordinary programs, Wine accepts it and never calls it:
// a hook not asked within this time is given up; one that stalls, after the second limit.
constexpr uint64_t kFirstRequestMs = 250;
constexpr uint64_t kPlaybackLimitMs = 2000;
constexpr int kClickEvents = 2;

void RemoveHook() {
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

// The system may ask for the same event several times; only a reported play moves on.
LRESULT CALLBACK PlaybackHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_GETNEXT) {
        auto* event = reinterpret_cast<EVENTMSG*>(lParam);
        event->message = g_played == 0 ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        event->paramL = static_cast<UINT>(g_point.x);
        event->paramH = static_cast<UINT>(g_point.y);
        event->time = static_cast<DWORD>(g_played);
        event->hwnd = GetForegroundWindow();
        g_asked = true;
        return 0;  // no delay
    }
    if (code == HC_SKIP) {
        if (++g_played >= kClickEvents) RemoveHook();
        return 0;
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Drains the queue; false when a quit message came, which is posted again for the caller's
// own loop. Cancel is not looked at: a click is over within moments.
bool PumpUntilQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

// The events of the click not played yet, injected at the pointer's current position.
bool SendRemainingEvents(int played) {
    INPUT inputs[kClickEvents]{};
    UINT count = 0;
    for (int event = played; event < kClickEvents; ++event) {
        inputs[count].type = INPUT_MOUSE;
        inputs[count].mi.dwFlags = event == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        ++count;
    }
    return count == 0 || SendInput(count, inputs, sizeof(INPUT)) == count;
}

// Waits while the hook plays; false when the application is quitting.
bool WaitForPlayback() {
    const uint64_t start = TickNow();
    while (g_hook) {
        if (!PumpUntilQuit()) return false;
        if (!g_hook) break;
        const uint64_t waited = TickNow() - start;
        if (waited >= kPlaybackLimitMs || (!g_asked && waited >= kFirstRequestMs)) {
            RemoveHook();
            break;
        }
        Sleep(10);
    }
    return true;
}

}  // namespace

int Builtin_MouseClick(BuiltinCall& call) {
    SetIntResult(call, 0);
    if (g_hook) return kOk;  // a click is already in progress further up this thread
    g_played = 0;
    g_asked = false;
    GetCursorPos(&g_point);
    StatusLine status(call.window, "Click mouse...");
    g_hook = SetWindowsHookExA(WH_JOURNALPLAYBACK, PlaybackHook, EngineModule(), 0);
    if (g_hook && !WaitForPlayback()) {
        RemoveHook();
        return kOk;
    }
    // Played means read: a window of this thread gets the click before the script goes on.
    if (SendRemainingEvents(g_played) && PumpUntilQuit()) SetIntResult(call, 1);
    return kOk;
}
