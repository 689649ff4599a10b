#include "dialog_base.h"

#include <algorithm>

#include "window_base.h"

namespace {

// Like the framework's dialogs: in the middle of the owner, kept on its monitor's work area.
void CenterOverOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT area, self, around;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    area = monitor.rcWork;
    GetWindowRect(dialog, &self);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &around))
        around = area;
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = (around.left + around.right - width) / 2, y = (around.top + around.bottom - height) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

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
        CenterOverOwner(hwnd);
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
