// What the window and dialog-control built-ins share: reading titles and texts, the foreground
// window they work on, finding a control by identifier or caption (the descendant walk, targets
// by label), messages to other programs' controls, and their polling loop.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "builtin_api.h"
#include "wait_loop.h"

// A title counts only when it is 1 to 255 bytes long; anything else reads as "".
std::string WindowTitle(HWND window);
// A control's window text as the window manager holds it, at most 511 bytes.
std::string WindowText(HWND window);
// The foreground window when it is visible and enabled, else null.
HWND ActiveForegroundWindow();
// The platform's top-level search by class and whole title; "" means any for that part.
HWND FindTopLevelWindow(const std::string& className, const std::string& title);

// A control as the script names it: an int argument is an identifier, a string a caption.
struct ControlName {
    bool byId = false;
    int32_t id = 0;
    std::string caption;
};
int GetControlParam(BuiltinCall& call, int position, ControlName& name);

// Control, text and optional flags (bit 0 sends the change notification): the parameters of
// SetDlgItemText and of the two SelectString functions.
struct ControlTextRequest {
    ControlName name;
    std::string text;
    int32_t flags = 0;
};
int GetControlTextParams(BuiltinCall& call, ControlTextRequest& request);

struct FoundControl {
    HWND control = nullptr;
    HWND parent = nullptr;  // the window whose children were being visited
    int id = 0;
};

// Visits the descendants of `parent` depth-first, a child's own children before the child when
// its first child is enabled; the first window `match` accepts, with its parent, or null.
HWND WalkDescendants(HWND parent, const std::function<bool(HWND)>& match, HWND* matchParent);
// One attempt at finding the named control in the visible, enabled foreground window.
bool FindControl(const ControlName& name, FoundControl& found);
// As FindControl, but a caption names a label and the target is the window after it.
bool FindControlAfterLabel(const ControlName& name, FoundControl& found);

// A message to a control that may belong to another program, given a few seconds to answer;
// false when it did not answer. `wide` sends the Unicode form of the message.
bool AskControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer,
                bool wide = false);
// The command message a dialog receives from its control: identifier (low 16 bits) and code.
void NotifyParent(const FoundControl& found, WORD code);

// The polling loop for one built-in: a negative limit counts as 0. Returns 0 or -19.
int Poll(BuiltinCall& call, const char* status, int32_t limitMs,
         const std::function<PollStep()>& attempt);
// The Continue-enabled wait: 1 / 0 into `met`. Returns 0 or -19.
int WaitWithContinue(BuiltinCall& call, const char* status, int32_t limitMs,
                     const std::function<bool()>& condition, bool& met);

// A poll attempt for a plain true/false test.
inline PollStep DoneIf(bool success) { return success ? PollStep::kDone : PollStep::kRetry; }
