// MessageBox: the script's message box, a modeless dialog waited for in a polling loop so that
// it can time out with a preset answer and the script stays cancellable while it is open.
#include <algorithm>

#include "builtin_api.h"
#include "dialog_window.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "resource.h"
#include "wait_loop.h"

namespace {

constexpr int kTypeOkCancel = 0x1, kTypeYesNo = 0x4;

class CMessageDlg : public CDialogWindow {
public:
    int result = -1;  // the answer; -1 until the user gives one
    int okValue = IDOK;
    int cancelValue = IDCANCEL;

protected:
    void OnOK() override { result = okValue; }
    void OnCancel() override { result = cancelValue; }
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void OffsetChild(HWND child, int dx, int dy) {
    RECT rect = ChildRect(child);
    OffsetRect(&rect, dx, dy);
    MoveChild(child, rect);
}

// Bit 4 gives Yes/No; without bit 1 only OK shows, and Esc then answers OK as well.
void SetUpButtons(CMessageDlg& dialog, int type) {
    if (type & kTypeYesNo) {
        SetDlgItemTextA(dialog.hwnd(), IDOK, "&Yes");
        SetDlgItemTextA(dialog.hwnd(), IDCANCEL, "&No");
        dialog.okValue = IDYES;
        dialog.cancelValue = IDNO;
    } else if (!(type & kTypeOkCancel)) {
        ShowChild(dialog.Item(IDCANCEL), false);
        dialog.cancelValue = IDOK;
    }
}

void SetUpIcon(CMessageDlg& dialog, int type) {
    LPCSTR icon = nullptr;
    if (type & 0x40)
        icon = IDI_INFORMATION;
    else if ((type & 0x30) == 0x30)
        icon = IDI_EXCLAMATION;
    else if (type & 0x20)
        icon = IDI_QUESTION;
    if (icon)
        SendMessageA(dialog.Item(IDC_MESSAGE_ICON), STM_SETICON,
                     reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon)), 0);
}

// Centres the visible buttons as a group in a client area `clientWidth` wide and moves them by
// `dy`.
void PlaceButtons(CMessageDlg& dialog, bool okOnly, int clientWidth, int dy) {
    HWND ok = dialog.Item(IDOK), cancel = dialog.Item(IDCANCEL);
    RECT okRect = ChildRect(ok), cancelRect = ChildRect(cancel);
    int left = okRect.left, right = okOnly ? okRect.right : cancelRect.right;
    int dx = (clientWidth - (right - left)) / 2 - left;
    OffsetChild(ok, dx, dy);
    if (!okOnly) OffsetChild(cancel, dx, dy);
}

// A text that fits goes into the static and the dialog shrinks around it; a longer one goes
// into the scrolling edit and the dialog keeps its full size.
void LayOut(CMessageDlg& dialog, const std::string& text, bool okOnly) {
    HWND window = dialog.hwnd();
    HWND textStatic = dialog.Item(IDC_MESSAGE_TEXT), edit = dialog.Item(IDC_MESSAGE_EDIT);
    RECT client{};
    GetClientRect(window, &client);
    RECT textRect = ChildRect(textStatic), iconRect = ChildRect(dialog.Item(IDC_MESSAGE_ICON));
    SIZE need = MeasureControlText(textStatic, text);

    if (need.cy > Height(textRect) || need.cx > Width(textRect)) {
        ShowChild(textStatic, false);
        ShowChild(edit, true);
        SetWindowTextA(edit, text.c_str());
        if (okOnly) PlaceButtons(dialog, true, Width(client), 0);
        return;
    }
    SetWindowTextA(textStatic, text.c_str());
    // The text box is never lower than the icon; a short text sits centred against the icon.
    int boxHeight = std::max<int>(need.cy, Height(iconRect));
    int shrink = Height(textRect) - boxHeight;
    int margin = iconRect.left, rightMargin = client.right - textRect.right;
    RECT okRect = ChildRect(dialog.Item(IDOK)), cancelRect = ChildRect(dialog.Item(IDCANCEL));
    int buttonsSpan = (okOnly ? okRect.right : cancelRect.right) - okRect.left + 2 * margin;
    // A little room beyond the measured width: the static clips a line that fits only exactly.
    RECT slack{0, 0, 2, 0};
    MapDialogRect(window, &slack);
    int clientWidth =
        std::max<int>(textRect.left + need.cx + slack.right + rightMargin, buttonsSpan);

    int top = textRect.top + (boxHeight - need.cy) / 2;
    MoveChild(textStatic, RECT{textRect.left, top, clientWidth - rightMargin, top + need.cy});
    PlaceButtons(dialog, okOnly, clientWidth, -shrink);
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, Width(frame) - (Width(client) - clientWidth),
                 Height(frame) - shrink, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int Builtin_MessageBox(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string text, caption;
    int32_t type = 0, timeout = 0, timeoutAnswer = -1;
    if (int error = GetStringParam(call, 0, text)) return error;
    if (int error = GetOptionalStringParam(call, 1, caption)) return error;
    if (int error = GetOptionalIntParam(call, 2, type)) return error;
    if (int error = GetOptionalIntParam(call, 3, timeout)) return error;
    if (int error = GetOptionalIntParam(call, 4, timeoutAnswer)) return error;
    if (caption.empty()) caption = "Vexa Script";
    if (timeout < 0) timeout = 0;
    if (timeoutAnswer < 0) timeoutAnswer = (type & kTypeYesNo) ? IDYES : IDOK;

    StatusLine status(call.window, "Waiting for message box to close...");
    CProgressDlg& window = ProgressWindow(call.window);
    CMessageDlg dialog;
    if (!dialog.Create(IDD_MESSAGE, window.hwnd())) return 0;
    SetWindowTextA(dialog.hwnd(), caption.c_str());
    const bool okOnly = !(type & kTypeYesNo) && !(type & kTypeOkCancel);
    SetUpButtons(dialog, type);
    SetUpIcon(dialog, type);
    LayOut(dialog, NormalizeLineBreaks(text), okOnly);
    CenterInWorkArea(dialog.hwnd());
    ShowWindow(dialog.hwnd(), SW_SHOW);
    SetForegroundWindow(dialog.hwnd());
    MessageBeep(static_cast<UINT>(type & MB_ICONMASK));

    WaitOutcome outcome = DialogWaitLoop(window, dialog.hwnd(), static_cast<uint32_t>(timeout),
                                         [&] { return dialog.result != -1; });
    dialog.Destroy();
    if (outcome == WaitOutcome::kCancelled) return kErrCancelled;
    SetIntResult(call, outcome == WaitOutcome::kMet ? dialog.result : timeoutAnswer);
    return 0;
}
