// InputString: asks for one line of text in a modeless dialog, with an optional time-out.
#include <algorithm>

#include "builtin_api.h"
#include "dialog_window.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "resource.h"
#include "wait_loop.h"

namespace {

class CInputStringDlg : public CDialogWindow {
public:
    int state = -1;    // -1 until answered, 1 after OK, 2 after Cancel
    std::string text;  // the edit field's contents taken at OK

protected:
    void OnOK() override {
        text = WindowTextOf(Item(IDC_INPUT_EDIT));
        state = 1;
    }
    void OnCancel() override { state = 2; }
};

// A short prompt lets the edit field and the buttons move up and the dialog shrink by the
// room it does not need; a long one keeps the template's layout.
void LayOut(CInputStringDlg& dialog, const std::string& prompt) {
    HWND promptStatic = dialog.Item(IDC_INPUT_PROMPT);
    SetWindowTextA(promptStatic, prompt.c_str());
    RECT promptRect = ChildRect(promptStatic), iconRect = ChildRect(dialog.Item(IDC_INPUT_ICON));
    SIZE need = MeasureControlText(promptStatic, prompt);
    int needHeight = std::max<int>(need.cy, iconRect.bottom - iconRect.top);
    int shrink = (promptRect.bottom - promptRect.top) - needHeight;
    if (shrink <= 0) return;
    MoveChild(promptStatic,
              RECT{promptRect.left, promptRect.top, promptRect.right, promptRect.top + needHeight});
    for (int id : {IDC_INPUT_EDIT, IDOK, IDCANCEL}) {
        RECT rect = ChildRect(dialog.Item(id));
        OffsetRect(&rect, 0, -shrink);
        MoveChild(dialog.Item(id), rect);
    }
    RECT frame{};
    GetWindowRect(dialog.hwnd(), &frame);
    SetWindowPos(dialog.hwnd(), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top - shrink, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int Builtin_InputString(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string prompt, defaultText, caption;
    int32_t timeout = 0, useDefault = 1;
    if (int error = GetStringParam(call, 0, prompt)) return error;
    if (int error = GetOptionalStringParam(call, 1, defaultText)) return error;
    if (int error = GetOptionalStringParam(call, 2, caption)) return error;
    if (int error = GetOptionalIntParam(call, 3, timeout)) return error;
    if (int error = GetOptionalIntParam(call, 4, useDefault)) return error;
    if (caption.empty()) caption = "Vexa Script";
    if (timeout < 0) timeout = 0;

    StatusLine status(call.window, "Input string...");
    CProgressDlg& window = ProgressWindow(call.window);
    CInputStringDlg dialog;
    if (!dialog.Create(IDD_INPUT_STRING, window.hwnd())) return 0;
    SetWindowTextA(dialog.hwnd(), caption.c_str());
    HWND edit = dialog.Item(IDC_INPUT_EDIT);
    SetWindowTextA(edit, defaultText.c_str());
    LayOut(dialog, prompt);
    CenterInWorkArea(dialog.hwnd());
    ShowWindow(dialog.hwnd(), SW_SHOW);
    SetForegroundWindow(dialog.hwnd());
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);  // typing replaces the default text

    WaitOutcome outcome = DialogWaitLoop(window, dialog.hwnd(), static_cast<uint32_t>(timeout),
                                         [&] { return dialog.state != -1; });
    dialog.Destroy();
    if (outcome == WaitOutcome::kCancelled) return kErrCancelled;
    if (outcome == WaitOutcome::kMet && dialog.state == 1)
        SetStringResult(call, dialog.text);
    else if (outcome == WaitOutcome::kTimedOut && useDefault == 1)
        SetStringResult(call, defaultText);
    return 0;
}
