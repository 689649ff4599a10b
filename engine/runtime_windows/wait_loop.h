// The one wait loop of every built-in that waits for a condition, a time or a transfer:
// status line, Continue button, message pump with Cancel, one wait increment between polls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "progress_dialog.h"

enum class WaitOutcome {
    kMet,        // the condition held
    kTimedOut,   // the end time passed
    kContinued,  // the user pressed Continue (treated by callers as "not met")
    kCancelled,  // Cancel or a quit message: callers return kErrCancelled
};

// How one attempt of a poll went.
enum class PollStep {
    kRetry,      // not yet: sleep one wait increment and try again while time is left
    kDone,       // success: the poll ends
    kCancelled,  // the attempt itself saw Cancel (it pumps while it works)
};

// The polling loop of the waiting built-ins: shows `status`, then until `timeoutMs` passes
// pumps messages (Cancel ends it), makes one attempt and sleeps one wait increment; clears
// the status at the end. The end time is 64-bit (no wrap) and is tested before every
// attempt, so a time-out of 0 makes no attempt. An attempt that never reports kDone polls
// for the whole period.
WaitOutcome PollLoop(CProgressDlg& window, const std::string& status, uint32_t timeoutMs,
                     const std::function<PollStep()>& attempt);

// The same loop with the Continue button offered: pressing it ends the wait at once and gives
// the foreground back to the window the user worked in (see ForegroundKeeper).
WaitOutcome WaitLoop(CProgressDlg& window, const std::string& status, uint32_t timeoutMs,
                     const std::function<bool()>& condition);

// The loop of the script's own dialogs (MessageBox, InputString): pumps with the dialog's
// keyboard handling until `answered`, Cancel, or the time-out (0: none). No Continue button.
WaitOutcome DialogWaitLoop(CProgressDlg& window, HWND dialog, uint32_t timeoutMs,
                           const std::function<bool()>& answered);

// The window the user works in while a wait lasts: a click on Continue activates the running
// window, so the wait gives the foreground back to this one when it ends through Continue.
class ForegroundKeeper {
public:
    explicit ForegroundKeeper(CProgressDlg& window)
        : window_(window), last_(GetForegroundWindow()) {}
    // Called once per poll: any foreground window but the running window is remembered.
    void Note();
    void Restore() const;

private:
    CProgressDlg& window_;
    HWND last_;
};

// Milliseconds since an arbitrary start, never wrapping (GetTickCount64).
uint64_t TickNow();
