// The Window Information Finder under Wine: a drag over real windows shows the caption, class
// and signed identifier, finds a button under its group box, skips the editor and the finder
// itself, and leaves the pixels exactly as they were once the outline is gone.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editor_tools_resource.h"
#include "tool_test_support.h"
#include "window_finder_dlg.h"

namespace {

constexpr char kCaption[] = "Window Information Finder";

// A dialog-like window with a group box, a button inside it, and a static with identifier -1.
class TargetWindow {
public:
    TargetWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "FinderTarget";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "FinderTarget", "Finder Target", WS_POPUP | WS_BORDER, 800, 560,
                                 320, 220, nullptr, nullptr, wc.hInstance, nullptr);
        // The group box comes first, so it lies above the button in sibling order.
        group = Child("Button", "Group", BS_GROUPBOX, 10, 10, 200, 130, 50);
        button = Child("Button", "Inner", BS_PUSHBUTTON, 40, 50, 100, 30, 42);
        label = Child("Static", "Label", SS_LEFT, 220, 20, 80, 20, -1);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
    }
    ~TargetWindow() { DestroyWindow(window); }

    HWND window = nullptr, group = nullptr, button = nullptr, label = nullptr;

private:
    HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
               INT_PTR id) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                               reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr), nullptr);
    }
};

// A screenshot of the screen area a window covers.
std::vector<uint32_t> Pixels(HWND window) {
    GdiFlush();
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC source = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, source, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(size_t(w) * h);
    GetDIBits(memory, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, source);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

struct Fields {
    std::string caption, className, id;
    bool operator==(const Fields&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Fields& f) {
    return out << "{" << f.caption << ", " << f.className << ", " << f.id << "}";
}

Fields Read(HWND dialog) {
    return {ControlText(dialog, IDC_FOUND_CAPTION), ControlText(dialog, IDC_FOUND_CLASS),
            ControlText(dialog, IDC_FOUND_ID)};
}

// Sends a mouse message to the finder control for a point given in screen coordinates.
void Mouse(HWND finder, UINT message, POINT screen) {
    ScreenToClient(finder, &screen);
    SendMessageA(finder, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(screen.x, screen.y));
}

POINT Inside(HWND window, int dx = 5, int dy = 5) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left + dx, r.top + dy};
}

TEST(WindowFinder, DragDescribesWindowsAndLeavesThePixelsAsTheyWere) {
    TestMainWindow main;
    TargetWindow target;
    std::vector<uint32_t> before = Pixels(target.window);
    RECT buttonRect;
    GetWindowRect(target.button, &buttonRect);
    RECT targetRect;
    GetWindowRect(target.window, &targetRect);
    // Pixel index of a point of the target window, in window coordinates.
    auto at = [&](int x, int y) { return size_t(y) * (targetRect.right - targetRect.left) + x; };
    int bx = buttonRect.left - targetRect.left, by = buttonRect.top - targetRect.top;

    std::vector<Fields> seen;
    std::vector<HWND> outlined;
    std::vector<uint32_t> during, afterLeaving, afterRelease;
    CWindowFinderDlg finderDlg(main.get());
    DialogDriver driver(kCaption, [&](HWND dialog) {
        HWND finder = FindWindowExA(dialog, nullptr, "VexaFinderCtrl", nullptr);
        ASSERT_NE(finder, nullptr);
        // Over the button inside the group box: the button, outlined.
        Mouse(finder, WM_LBUTTONDOWN, Inside(target.button, 20, 10));
        seen.push_back(Read(dialog));
        outlined.push_back(target.button);
        during = Pixels(target.window);
        // Over the group box's frame, outside the button.
        Mouse(finder, WM_MOUSEMOVE, Inside(target.group, 3, 60));
        seen.push_back(Read(dialog));
        // The static with identifier -1.
        Mouse(finder, WM_MOUSEMOVE, Inside(target.label));
        seen.push_back(Read(dialog));
        // The editor's main window and the finder dialog show nothing new and drop the outline.
        Mouse(finder, WM_MOUSEMOVE, Inside(main.get(), 100, 100));
        seen.push_back(Read(dialog));
        afterLeaving = Pixels(target.window);
        Mouse(finder, WM_MOUSEMOVE, Inside(GetDlgItem(dialog, IDC_FOUND_CLASS)));
        seen.push_back(Read(dialog));
        // Released over the button: the fields keep it, the outline is gone.
        Mouse(finder, WM_MOUSEMOVE, Inside(target.button, 20, 10));
        Mouse(finder, WM_LBUTTONUP, Inside(target.button, 20, 10));
        seen.push_back(Read(dialog));
        afterRelease = Pixels(target.window);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    finderDlg.DoModal();
    ASSERT_TRUE(driver.found());

    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], (Fields{"Inner", "Button", "42"}));
    EXPECT_EQ(seen[1], (Fields{"Group", "Button", "50"}));
    EXPECT_EQ(seen[2], (Fields{"Label", "Static", "-1"}));
    EXPECT_EQ(seen[3], seen[2]);
    EXPECT_EQ(seen[4], seen[2]);
    EXPECT_EQ(seen[5], (Fields{"Inner", "Button", "42"}));

    // While over the button its three outer pixel rings were inverted, nothing inside them.
    ASSERT_EQ(during.size(), before.size());
    for (int ring = 0; ring < 3; ++ring)
        EXPECT_EQ(during[at(bx + ring + 10, by + ring)],
                  before[at(bx + ring + 10, by + ring)] ^ 0xFFFFFF)
            << "ring " << ring;
    EXPECT_EQ(during[at(bx + 20, by + 3)], before[at(bx + 20, by + 3)]);
    // Leaving for the editor's window, and releasing, left every pixel as it was.
    EXPECT_TRUE(afterLeaving == before);
    EXPECT_TRUE(afterRelease == before);
}

TEST(WindowFinder, HideCheckBoxHidesTheEditorAndClosingBringsItBack) {
    TestMainWindow main;
    bool hidden = false, shownAgain = false, hiddenAgain = false;
    CWindowFinderDlg finderDlg(main.get());
    DialogDriver driver(kCaption, [&](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_HIDE_EDITOR);
        SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
        ClickControl(dialog, IDC_HIDE_EDITOR);
        hidden = !IsWindowVisible(main.get());
        SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
        ClickControl(dialog, IDC_HIDE_EDITOR);
        shownAgain = IsWindowVisible(main.get());
        SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
        ClickControl(dialog, IDC_HIDE_EDITOR);
        hiddenAgain = !IsWindowVisible(main.get());
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    finderDlg.DoModal();
    ASSERT_TRUE(driver.found());
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(shownAgain);
    EXPECT_TRUE(hiddenAgain);
    EXPECT_TRUE(IsWindowVisible(main.get()));
}

}  // namespace
