#include "dialog_window.h"

#include "win_handles.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE EngineModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

CDialogWindow::~CDialogWindow() { Destroy(); }

bool CDialogWindow::Create(int templateId, HWND owner) {
    HWND created = CreateDialogParamA(EngineModule(), MAKEINTRESOURCEA(templateId), owner,
                                      DialogProc, reinterpret_cast<LPARAM>(this));
    if (!created) hwnd_ = nullptr;
    return created != nullptr;
}

void CDialogWindow::Destroy() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    hwnd_ = nullptr;
    SetWindowLongPtrA(window, DWLP_USER, 0);  // no more calls into a dying object
    DestroyWindow(window);
}

INT_PTR CALLBACK CDialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogWindow*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
        self->OnInitDialog();
        return TRUE;
    }
    auto* self = reinterpret_cast<CDialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (message != WM_COMMAND) return self->OnMessage(message, wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDOK: self->OnOK(); break;
    case IDCANCEL: self->OnCancel(); break;
    default: self->OnCommand(LOWORD(wParam)); break;
    }
    return TRUE;
}

RECT WorkAreaOf(HWND window) {
    RECT area{};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcWork;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void CenterInWorkArea(HWND window) {
    RECT area = WorkAreaOf(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveChild(HWND child, const RECT& rect) {
    SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowChild(HWND child, bool show) {
    EnableWindow(child, show);
    ShowWindow(child, show ? SW_SHOW : SW_HIDE);
}

SIZE MeasureControlText(HWND control, const std::string& text) {
    RECT bounds = ChildRect(control);
    RECT measured{0, 0, bounds.right - bounds.left, 0};
    WindowDC dc(control);
    if (!dc) return SIZE{0, 0};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(control), WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc.get(), font) : nullptr;
    DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    if (old) SelectObject(dc.get(), old);
    return SIZE{measured.right - measured.left, measured.bottom - measured.top};
}

std::string WindowTextOf(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::string NormalizeLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\n' && c != '\r') {
            out += c;
            continue;
        }
        // A pair of different break characters is one break.
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if ((next == '\n' || next == '\r') && next != c) ++i;
        out += "\r\n";
    }
    return out;
}
