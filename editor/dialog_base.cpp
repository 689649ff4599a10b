#include "dialog_base.h"

#include "window_base.h"

INT_PTR CModalDialog::DoModal(HWND owner) {
    return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CModalDialog::OnCommand(int id, int notification) {
    if (id == IDOK || id == IDCANCEL) End(id);
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CModalDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
        self->OnInitDialog();
        return TRUE;
    }
    if (!self) return FALSE;
    INT_PTR result = 0;
    if (self->OnMessage(message, wParam, lParam, result)) return result;
    if (message == WM_COMMAND) {
        self->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    if (message == WM_NCDESTROY) self->hwnd_ = nullptr;
    return FALSE;
}
