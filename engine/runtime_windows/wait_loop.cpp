#include "wait_loop.h"

uint64_t TickNow() { return GetTickCount64(); }

void ForegroundKeeper::Note() {
    HWND now = GetForegroundWindow();
    if (now && now != window_.hwnd()) last_ = now;
}

void ForegroundKeeper::Restore() const {
    if (last_ && IsWindow(last_)) BringWindowToForeground(last_);
}

namespace {

// One loop for both kinds of poll; `keeper` is null when Continue is not offered.
WaitOutcome Poll(CProgressDlg& window, const std::string& status, uint32_t timeoutMs,
                 ForegroundKeeper* keeper, const std::function<PollStep()>& attempt) {
    window.SetStatusText(status);
    if (keeper) window.ShowContinueButton(true);
    const uint64_t end = TickNow() + timeoutMs;
    WaitOutcome outcome = WaitOutcome::kTimedOut;
    while (TickNow() < end) {
        if (window.PumpMessages()) {
            outcome = WaitOutcome::kCancelled;
            break;
        }
        if (keeper && window.ContinueRequested()) {
            keeper->Restore();
            outcome = WaitOutcome::kContinued;
            break;
        }
        if (keeper) keeper->Note();
        PollStep step = attempt();
        if (step != PollStep::kRetry) {
            outcome = step == PollStep::kDone ? WaitOutcome::kMet : WaitOutcome::kCancelled;
            break;
        }
        Sleep(static_cast<DWORD>(window.waitIncrement()));
    }
    if (keeper) window.ShowContinueButton(false);
    window.SetStatusText("");
    return outcome;
}

}  // namespace

WaitOutcome PollLoop(CProgressDlg& window, const std::string& status, uint32_t timeoutMs,
                     const std::function<PollStep()>& attempt) {
    return Poll(window, status, timeoutMs, nullptr, attempt);
}

WaitOutcome WaitLoop(CProgressDlg& window, const std::string& status, uint32_t timeoutMs,
                     const std::function<bool()>& condition) {
    // The window in front before Continue is shown: clicking Continue later activates ours.
    ForegroundKeeper keeper(window);
    return Poll(window, status, timeoutMs, &keeper,
                [&] { return condition() ? PollStep::kDone : PollStep::kRetry; });
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
