// Buttons, check boxes and edit fields of the foreground window: pressing, checking, and
// writing and reading texts. Each polls one second for its control.
#include <windows.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "window_search.h"

namespace {

constexpr int32_t kControlTimeout = 1000;
constexpr WORD kEditChange = 0x300;  // EN_CHANGE

}  // namespace

int Builtin_ClickButton(BuiltinCall& call) {
    SetIntResult(call, 0);
    ControlName name;
    if (int error = GetControlParam(call, 0, name)) return error;
    return Poll(call, "Click button...", kControlTimeout, [&] {
        FoundControl found;
        if (!FindControl(name, found)) return PollStep::kRetry;
        // Posted: the script goes on while the program handles the click (it may open a
        // modal dialog and not return for a long time).
        if (!PostMessageA(found.control, BM_CLICK, 0, 0)) return PollStep::kRetry;
        SetIntResult(call, 1);
        return PollStep::kDone;
    });
}

int Builtin_CheckDlgButton(BuiltinCall& call) {
    SetIntResult(call, 0);
    ControlName name;
    int32_t state = 0;
    if (int error = GetControlParam(call, 0, name)) return error;
    if (int error = GetIntParam(call, 1, state)) return error;
    return Poll(call, "Check dialog button...", kControlTimeout, [&] {
        FoundControl found;
        if (!FindControl(name, found)) return PollStep::kRetry;
        if (!CheckDlgButton(found.parent, found.id, static_cast<UINT>(state)))
            return PollStep::kRetry;
        NotifyParent(found, BN_CLICKED);
        SetIntResult(call, 1);
        return PollStep::kDone;
    });
}

int Builtin_IsDlgButtonChecked(BuiltinCall& call) {
    SetIntResult(call, 0);
    ControlName name;
    if (int error = GetControlParam(call, 0, name)) return error;
    SetIntResult(call, -1);
    return Poll(call, "Is dialog button checked...", kControlTimeout, [&] {
        FoundControl found;
        if (!FindControl(name, found)) return PollStep::kRetry;
        SetIntResult(call, static_cast<int32_t>(IsDlgButtonChecked(found.parent, found.id)));
        return PollStep::kDone;
    });
}

int Builtin_SetDlgItemText(BuiltinCall& call) {
    SetIntResult(call, 0);
    ControlTextRequest request;
    if (int error = GetControlTextParams(call, request)) return error;
    const std::string& text = request.text;
    return Poll(call, "Set dialog item text...", kControlTimeout, [&] {
        FoundControl found;
        if (!FindControlAfterLabel(request.name, found)) return PollStep::kRetry;
        if (!IsWindowVisible(found.control) || !IsWindowEnabled(found.control))
            return PollStep::kRetry;
        // A message rather than SetWindowText: it reaches controls of other programs too.
        LRESULT set = FALSE;
        if (!AskControl(found.control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        set) ||
            !set)
            return PollStep::kRetry;
        if (request.flags & 1) NotifyParent(found, kEditChange);
        SetIntResult(call, 1);
        return PollStep::kDone;
    });
}

int Builtin_GetDlgItemText(BuiltinCall& call) {
    SetStringResult(call, "");
    ControlName name;
    if (int error = GetControlParam(call, 0, name)) return error;
    return Poll(call, "Get dialog item text...", kControlTimeout, [&] {
        FoundControl found;
        if (!FindControlAfterLabel(name, found) || !IsWindowVisible(found.control))
            return PollStep::kRetry;
        // Asked of the control itself, so an edit of another program gives what was typed.
        LRESULT length = 0;
        if (!AskControl(found.control, WM_GETTEXTLENGTH, 0, 0, length) || length <= 0)
            return PollStep::kRetry;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        LRESULT read = 0;
        AskControl(found.control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                   read);
        if (read == length) {
            text.resize(static_cast<size_t>(length));
            SetStringResult(call, text);
        }
        return PollStep::kDone;  // one read of a non-empty control ends the poll
    });
}
