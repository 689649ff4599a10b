// The Tip of the Day dialog: paints the bulb, the heading and the tip text itself.
#include "tip_of_the_day_dlg.h"

#include <commctrl.h>

#include <ctime>

#include "editor_tools_resource.h"
#include "tips.h"
#include "tool_settings.h"

namespace {

constexpr char kIndexEntry[] = "TipOfTheDay";
constexpr char kShowEntry[] = "ShowTipOfTheDay";

// GDI objects selected for one paint and deleted afterwards.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

HFONT MakeFont(const char* face, int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

HINSTANCE ResourceModule() { return GetModuleHandleA(nullptr); }

// Waits up to five seconds for the main window to be shown, keeping the program responsive.
bool WaitMainWindowVisible(HWND mainWindow) {
    std::clock_t start = std::clock();
    while (!IsWindowVisible(mainWindow)) {
        Sleep(10);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(int(message.wParam));  // the program's own loop must see it
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if ((std::clock() - start) * 1000 / CLOCKS_PER_SEC > 5000) return false;
    }
    return true;
}

}  // namespace

const char* CTipOfTheDayDlg::HeadingFor(int index) {
    return index == 0 ? "Welcome" : "Did you know...";
}

INT_PTR CTipOfTheDayDlg::DoModal(HWND parent) {
    return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_TIP_OF_THE_DAY), parent,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CTipOfTheDayDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<CTipOfTheDayDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self = reinterpret_cast<CTipOfTheDayDlg*>(lParam);
        self->dialog_ = dialog;
        self->OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NEXT_TIP) self->OnNextTip();
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_PAINT: self->OnPaint(); return TRUE;
    case WM_DESTROY:
        if (self)
            self->settings_.WriteInt(kShowEntry,
                                     IsDlgButtonChecked(dialog, IDC_SHOW_TIPS) == BST_CHECKED);
        return FALSE;
    }
    return FALSE;
}

void CTipOfTheDayDlg::OnInitDialog() {
    index_ = settings_.ReadInt(kIndexEntry, 0);
    CheckDlgButton(dialog_, IDC_SHOW_TIPS,
                   settings_.ReadInt(kShowEntry, 1) ? BST_CHECKED : BST_UNCHECKED);
    WrapIndex();
}

void CTipOfTheDayDlg::OnNextTip() {
    ++index_;
    settings_.WriteInt(kIndexEntry, index_);
    WrapIndex();
    InvalidateRect(dialog_, nullptr, TRUE);
}

// After the last tip the tips start over. The hidden tip area also carries the heading and
// text, so the tip shown can be read without looking at the pixels.
void CTipOfTheDayDlg::WrapIndex() {
    if (index_ < 0 || index_ >= kTipCount) index_ = 0;
    std::string text = std::string(HeadingFor(index_)) + "\n" + kTips[index_];
    SetDlgItemTextA(dialog_, IDC_TIP_AREA, text.c_str());
}

void CTipOfTheDayDlg::OnPaint() {
    WrapIndex();
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog_, &paint);
    RECT r;
    GetWindowRect(GetDlgItem(dialog_, IDC_TIP_AREA), &r);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
    int m = r.left / 7;

    COLORMAP magenta = {RGB(255, 0, 255), GetSysColor(COLOR_WINDOW)};
    GdiObject bulb(CreateMappedBitmap(ResourceModule(), IDB_TIP_BULB, 0, &magenta, 1));
    BITMAP size = {};
    if (bulb.get()) GetObjectA(bulb.get(), sizeof size, &size);

    HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
    RECT band = {r.left, r.top, r.right, r.top + size.bmHeight + 2 * m};
    FillRect(dc, &band, window);
    RECT lower = {r.left, band.bottom + m, r.right, r.bottom};
    FillRect(dc, &lower, window);

    if (bulb.get()) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bulb.get());
        BitBlt(dc, r.left + m, r.top + m, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    GdiObject heading(MakeFont("Times New Roman", size.bmHeight - 10));
    HGDIOBJ oldFont = SelectObject(dc, heading.get());
    const char* title = HeadingFor(index_);
    TextOutA(dc, r.left + size.bmWidth + 3 * m, r.top + m + 4, title, lstrlenA(title));

    GdiObject body(MakeFont("Arial", -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72)));
    SelectObject(dc, body.get());
    RECT text = {lower.left + m, lower.top + m, lower.right - m, lower.bottom - m};
    DrawTextA(dc, kTips[index_], -1, &text, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(dialog_, &paint);
}

void ShowTipOfTheDay(HWND mainWindow, ToolSettings& settings) {
    if (!WaitMainWindowVisible(mainWindow)) return;
    CTipOfTheDayDlg dialog(settings);
    dialog.DoModal(mainWindow);
    // The next showing starts with the tip after the one on screen.
    settings.WriteInt(kIndexEntry, dialog.index() + 1);
}

void ShowTipOfTheDayAtStartup(HWND mainWindow, ToolSettings& settings) {
    if (!settings.ReadInt(kShowEntry, 1) || IsIconic(mainWindow)) return;
    ShowTipOfTheDay(mainWindow, settings);
}
