#include "wait_loop.h"

uint64_t TickNow() { return GetTickCount64(); }

void ForegroundKeeper::Note() {
    HWND now = GetForegroundWindow();
    if (now && now != window_.hwnd()) last_ = now;
}

void ForegroundKeeper::Restore() const {
    if (last_ && IsWindow(last_)) BringWindowToForeground(last_);
}

WaitOutcome WaitLoop(CProgressDlg& window, const std::string& status, uint32_t timeoutMs,
                     const std::function<bool()>& condition) {
    window.SetStatusText(status);
    ForegroundKeeper foreground(window);
    window.ShowContinueButton(true);
    const uint64_t end = TickNow() + timeoutMs;
    WaitOutcome outcome = WaitOutcome::kTimedOut;
    while (TickNow() < end) {
        if (window.PumpMessages()) {
            outcome = WaitOutcome::kCancelled;
            break;
        }
        if (window.ContinueRequested()) {
            foreground.Restore();
            outcome = WaitOutcome::kContinued;
            break;
        }
        foreground.Note();
        if (condition()) {
            outcome = WaitOutcome::kMet;
            break;
        }
        Sleep(static_cast<DWORD>(window.waitIncrement()));
    }
    window.ShowContinueButton(false);
    window.SetStatusText("");
    return outcome;
}

WaitOutcome DialogWaitLoop(CProgressDlg& window, HWND dialog, uint32_t timeoutMs,
                           const std::function<bool()>& answered) {
    const uint64_t end = TickNow() + timeoutMs;
    while (timeoutMs == 0 || TickNow() < end) {
        if (window.PumpDialogMessages(dialog)) return WaitOutcome::kCancelled;
        if (answered()) return WaitOutcome::kMet;
        Sleep(static_cast<DWORD>(window.waitIncrement()));
    }
    return WaitOutcome::kTimedOut;
}
