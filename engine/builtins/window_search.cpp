#include "window_search.h"

#include <algorithm>

#include "error_codes.h"
#include "progress_dialog.h"

namespace {

constexpr int kTitleBuffer = 256;
constexpr int kTextBuffer = 512;
// Long enough for a busy program, short enough that a hung one cannot hang the script.
constexpr UINT kAnswerTimeoutMs = 5000;

std::string ClassNameOf(HWND window) {
    char name[kTextBuffer] = "";
    int length = GetClassNameA(window, name, kTextBuffer);
    return std::string(name, static_cast<size_t>(std::max(length, 0)));
}

bool Usable(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

bool Matches(const ControlName& name, HWND child) {
    if (!Usable(child)) return false;
    if (name.byId) return GetDlgCtrlID(child) == name.id;
    // An edit's text is what the user typed, never a caption.
    if (lstrcmpiA(ClassNameOf(child).c_str(), "edit") == 0) return false;
    std::string text = WindowText(child);
    return !text.empty() && text == name.caption;
}

}  // namespace

std::string WindowTitle(HWND window) {
    // A longer title would come back cut short: it must not pass for a shorter one.
    if (GetWindowTextLengthA(window) >= kTitleBuffer) return "";
    char title[kTitleBuffer] = "";
    int length = GetWindowTextA(window, title, kTitleBuffer);
    return std::string(title, static_cast<size_t>(std::max(length, 0)));
}

std::string WindowText(HWND window) {
    char text[kTextBuffer] = "";
    int length = GetWindowTextA(window, text, kTextBuffer);
    return std::string(text, static_cast<size_t>(std::max(length, 0)));
}

HWND ActiveForegroundWindow() {
    HWND window = GetForegroundWindow();
    return window && Usable(window) ? window : nullptr;
}

HWND FindTopLevelWindow(const std::string& className, const std::string& title) {
    // The system would stop at a NUL and find the window of a shorter name.
    if (!IsSystemText(className) || !IsSystemText(title)) return nullptr;
    return FindWindowA(className.empty() ? nullptr : className.c_str(),
                       title.empty() ? nullptr : title.c_str());
}

int GetControlParam(BuiltinCall& call, int position, ControlName& name) {
    return GetIntOrStringParam(call, position, name.byId, name.id, name.caption);
}

int GetControlTextParams(BuiltinCall& call, ControlTextRequest& request) {
    if (int error = GetControlParam(call, 0, request.name)) return error;
    if (int error = GetStringParam(call, 1, request.text)) return error;
    return GetOptionalIntParam(call, 2, request.flags);
}

HWND WalkDescendants(HWND parent, const std::function<bool(HWND)>& match, HWND* matchParent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HWND first = GetWindow(child, GW_CHILD);
        if (first && IsWindowEnabled(first)) {
            if (HWND found = WalkDescendants(child, match, matchParent)) return found;
        }
        if (match(child)) {
            if (matchParent) *matchParent = parent;
            return child;
        }
    }
    return nullptr;
}

bool FindControl(const ControlName& name, FoundControl& found) {
    HWND foreground = ActiveForegroundWindow();
    if (!foreground) return false;
    found.control = WalkDescendants(
        foreground, [&](HWND child) { return Matches(name, child); }, &found.parent);
    if (!found.control) return false;
    found.id = GetDlgCtrlID(found.control);
    return true;
}

bool FindControlAfterLabel(const ControlName& name, FoundControl& found) {
    if (!FindControl(name, found)) return false;
    if (name.byId) return true;
    HWND target = GetWindow(found.control, GW_HWNDNEXT);
    if (!target) return false;
    found.control = target;
    found.id = GetDlgCtrlID(target);
    return true;
}

bool AskControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer,
                bool wide) {
    DWORD_PTR result = 0;
    auto send = wide ? SendMessageTimeoutW : SendMessageTimeoutA;
    if (!send(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result))
        return false;
    answer = static_cast<LRESULT>(result);
    return true;
}

void NotifyParent(const FoundControl& found, WORD code) {
    LRESULT ignored = 0;
    AskControl(found.parent, WM_COMMAND, MAKEWPARAM(found.id & 0xFFFF, code),
               reinterpret_cast<LPARAM>(found.control), ignored);
}

int Poll(BuiltinCall& call, const char* status, int32_t limitMs,
         const std::function<PollStep()>& attempt) {
    WaitOutcome outcome = PollLoop(ProgressWindow(call.window), status,
                                   static_cast<uint32_t>(std::max<int32_t>(limitMs, 0)), attempt);
    return outcome == WaitOutcome::kCancelled ? kErrCancelled : kOk;
}

int WaitWithContinue(BuiltinCall& call, const char* status, int32_t limitMs,
                     const std::function<bool()>& condition, bool& met) {
    WaitOutcome outcome = WaitLoop(ProgressWindow(call.window), status,
                                   static_cast<uint32_t>(std::max<int32_t>(limitMs, 0)), condition);
    met = outcome == WaitOutcome::kMet;
    return outcome == WaitOutcome::kCancelled ? kErrCancelled : kOk;
}
