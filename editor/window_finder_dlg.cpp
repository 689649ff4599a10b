// The Window Information Finder dialog and its finder control.
#include "window_finder_dlg.h"

#include <windowsx.h>

#include <cstdio>

#include "editor_tools_resource.h"

namespace {

constexpr char kFinderClass[] = "VexaFinderCtrl";

HINSTANCE ResourceModule() { return GetModuleHandleA(nullptr); }

long long Area(const RECT& r) { return (long long)(r.right - r.left) * (r.bottom - r.top); }

bool RegisterFinderClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(ResourceModule(), kFinderClass, &wc)) return true;
    wc.lpfnWndProc = DefWindowProcA;  // replaced per window once its object is known
    wc.hInstance = ResourceModule();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kFinderClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

bool CFinderCtrl::Create(CWindowFinderDlg& owner, HWND dialog, const RECT& rect) {
    owner_ = &owner;
    if (!RegisterFinderClass()) return false;
    window_ =
        CreateWindowExA(0, kFinderClass, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, dialog,
                        reinterpret_cast<HMENU>(IDC_FINDER_PLACE + 100), ResourceModule(), nullptr);
    if (!window_) return false;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    return true;
}

LRESULT CALLBACK CFinderCtrl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CFinderCtrl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT: self->OnPaint(); return 0;
    case WM_LBUTTONDOWN: self->OnButtonDown(point); return 0;
    case WM_MOUSEMOVE: self->OnMouseMove(point); return 0;
    case WM_LBUTTONUP: self->OnButtonUp(point); return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-drag (another window, Alt+Tab): leave the screen clean.
        if (self->dragging_ && reinterpret_cast<HWND>(lParam) != window) {
            self->RemoveOutline();
            SetCursor(self->previousCursor_);
            self->dragging_ = false;
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CFinderCtrl::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    HBITMAP bitmap = LoadBitmapA(ResourceModule(), MAKEINTRESOURCEA(IDB_FINDER));
    if (bitmap) {
        BITMAP size = {};
        GetObjectA(bitmap, sizeof size, &size);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    EndPaint(window_, &paint);
}

void CFinderCtrl::OnButtonDown(POINT point) {
    if (dragging_) return;
    dragging_ = true;
    previousCursor_ = SetCursor(LoadCursorA(ResourceModule(), MAKEINTRESOURCEA(IDC_FINDER_CURSOR)));
    SetCapture(window_);
    Track(point);
}

void CFinderCtrl::OnMouseMove(POINT point) {
    if (dragging_) Track(point);
}

void CFinderCtrl::OnButtonUp(POINT point) {
    if (!dragging_) return;
    Track(point);
    RemoveOutline();
    dragging_ = false;  // before the release, so the capture change is not taken for a loss
    ReleaseCapture();
    SetCursor(previousCursor_);
}

void CFinderCtrl::Track(POINT point) {
    ClientToScreen(window_, &point);
    HWND found = owner_->WindowToDescribe(point);
    if (!found) {
        RemoveOutline();
        return;
    }
    owner_->Describe(found);
    if (found == outlined_) return;
    RemoveOutline();
    outlined_ = found;
    DrawOutline(found);
}

void CFinderCtrl::RemoveOutline() {
    if (!outlined_) return;
    DrawOutline(outlined_);
    outlined_ = nullptr;
}

void CFinderCtrl::DrawOutline(HWND target) {
    RECT r;
    if (!GetWindowRect(target, &r)) return;
    HDC dc = GetWindowDC(target);
    if (!dc) return;
    int oldRop = SetROP2(dc, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    int width = r.right - r.left, height = r.bottom - r.top;
    for (int i = 0; i < 3; ++i) Rectangle(dc, i, i, width - i, height - i);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetROP2(dc, oldRop);
    ReleaseDC(target, dc);
}

INT_PTR CWindowFinderDlg::DoModal() {
    return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_WINDOW_FINDER), mainWindow_,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CWindowFinderDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = reinterpret_cast<CWindowFinderDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self = reinterpret_cast<CWindowFinderDlg*>(lParam);
        self->dialog_ = dialog;
        self->OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_HIDE_EDITOR && HIWORD(wParam) == BN_CLICKED)
            self->OnHideToggled();
        else if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
            self->OnClose();
        return TRUE;
    }
    return FALSE;
}

void CWindowFinderDlg::OnInitDialog() {
    RECT place;
    HWND placeholder = GetDlgItem(dialog_, IDC_FINDER_PLACE);
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
    finder_.Create(*this, dialog_, place);
}

void CWindowFinderDlg::OnHideToggled() {
    if (IsDlgButtonChecked(dialog_, IDC_HIDE_EDITOR) == BST_CHECKED) {
        ShowWindow(mainWindow_, SW_HIDE);
    } else {
        ShowWindow(mainWindow_, SW_SHOW);
        SetFocus(GetDlgItem(dialog_, IDC_HIDE_EDITOR));
    }
}

void CWindowFinderDlg::OnClose() {
    if (IsDlgButtonChecked(dialog_, IDC_HIDE_EDITOR) == BST_CHECKED)
        ShowWindow(mainWindow_, SW_SHOW);
    EndDialog(dialog_, IDCANCEL);
}

HWND CWindowFinderDlg::WindowToDescribe(POINT screen) const {
    HWND found = WindowFromPoint(screen);
    if (!found || found == mainWindow_ || found == dialog_ || IsChild(dialog_, found))
        return nullptr;
    // Descend to the deepest visible child under the point.
    for (;;) {
        POINT client = screen;
        ScreenToClient(found, &client);
        HWND child = ChildWindowFromPointEx(found, client, CWP_SKIPINVISIBLE);
        if (!child || child == found) break;
        found = child;
    }
    // A control under a group box or a larger overlapping control: the smallest later sibling
    // that contains the point wins.
    LONG style = GetWindowLongA(found, GWL_STYLE);
    if ((style & WS_CHILD) && (style & WS_CAPTION) != WS_CAPTION) {
        RECT r;
        GetWindowRect(found, &r);
        long long best = Area(r);
        for (HWND sibling = GetWindow(found, GW_HWNDNEXT); sibling;
             sibling = GetWindow(sibling, GW_HWNDNEXT)) {
            if (!IsWindowVisible(sibling) || !GetWindowRect(sibling, &r) || !PtInRect(&r, screen))
                continue;
            if (Area(r) < best) {
                best = Area(r);
                found = sibling;
            }
        }
    }
    return found;
}

void CWindowFinderDlg::Describe(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    SetDlgItemTextA(dialog_, IDC_FOUND_CAPTION, text);
    char className[257] = {};
    GetClassNameA(window, className, sizeof className);
    SetDlgItemTextA(dialog_, IDC_FOUND_CLASS, className);
    char id[32];
    std::snprintf(id, sizeof id, "%d", int(GetWindowLongPtrA(window, GWLP_ID)));
    SetDlgItemTextA(dialog_, IDC_FOUND_ID, id);
}
