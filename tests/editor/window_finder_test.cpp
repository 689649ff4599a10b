// The Window Information Finder over real windows: a drag shows caption, class and signed
// identifier, finds a button under its group box, skips the editor and the finder itself, and
// leaves the screen exactly as it was once the outline is gone.
#include <gtest/gtest.h>

#include <cstdint>

#include "editor_tools_resource.h"
#include "tool_test_support.h"
#include "window_finder_dlg.h"

namespace {

// The pixels a window shows, read through its whole-window device context (where the outline
// is drawn), so no copy to the display can lag behind.
std::vector<uint32_t> Screenshot(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetWindowDC(window), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(size_t(w) * h);
    GetDIBits(memory, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

std::string Fields(HWND dialog) {
    return ControlText(dialog, IDC_FOUND_CAPTION) + "|" + ControlText(dialog, IDC_FOUND_CLASS) +
           "|" + ControlText(dialog, IDC_FOUND_ID);
}

// A mouse message to the finder control, for a point `dx`, `dy` inside `window`.
void Mouse(HWND finder, UINT message, HWND window, int dx, int dy) {
    RECT r;
    GetWindowRect(window, &r);
    POINT p = {r.left + dx, r.top + dy};
    ScreenToClient(finder, &p);
    SendMessageA(finder, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
}

TEST(WindowFinder, DragDescribesWindowsAndLeavesTheScreenAsItWas) {
    TestMainWindow main;
    // A target without a caption (nothing in it repaints as focus moves) holding a group box,
    // a button inside it (the group box first in sibling order) and a static with identifier -1.
    HWND target = CreateWindowExA(WS_EX_NOACTIVATE, "Static", "", WS_POPUP | WS_BORDER, 800, 560,
                                  320, 220, nullptr, nullptr, nullptr, nullptr);
    auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                     INT_PTR id) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, target,
                               HMENU(id), nullptr, nullptr);
    };
    HWND group = child("Button", "Group", BS_GROUPBOX, 10, 10, 200, 130, 50);
    HWND button = child("Button", "Inner", BS_PUSHBUTTON, 40, 50, 100, 30, 42);
    HWND label = child("Static", "Label", SS_LEFT, 220, 20, 80, 20, -1);
    ShowWindow(target, SW_SHOWNOACTIVATE);
    RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT b, t;
    GetWindowRect(button, &b);
    GetWindowRect(target, &t);
    size_t width = t.right - t.left, at = (b.top - t.top) * width + (b.left - t.left) + 10;
    std::vector<uint32_t> before, during, leaving, released;

    std::vector<std::string> seen;
    CWindowFinderDlg finderDlg(main.get());
    DialogDriver driver("Window Information Finder", [&](HWND dialog) {
        HWND finder = FindWindowExA(dialog, nullptr, "VexaFinderCtrl", nullptr);
        // The target as painted, once the dialog's loop has painted everything.
        RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        before = Screenshot(target);
        Mouse(finder, WM_LBUTTONDOWN, button, 20, 10);
        seen.push_back(Fields(dialog));
        during = Screenshot(target);
        Mouse(finder, WM_MOUSEMOVE, group, 3, 60);  // the group box's frame, beside the button
        seen.push_back(Fields(dialog));
        Mouse(finder, WM_MOUSEMOVE, label, 5, 5);
        seen.push_back(Fields(dialog));
        // The editor's window and the finder dialog show nothing new and drop the outline.
        Mouse(finder, WM_MOUSEMOVE, main.get(), 100, 100);
        leaving = Screenshot(target);
        Mouse(finder, WM_MOUSEMOVE, GetDlgItem(dialog, IDC_FOUND_CLASS), 5, 5);
        seen.push_back(Fields(dialog));
        // Released over the button: the fields keep it, the outline is gone.
        Mouse(finder, WM_MOUSEMOVE, button, 20, 10);
        Mouse(finder, WM_LBUTTONUP, button, 20, 10);
        seen.push_back(Fields(dialog));
        released = Screenshot(target);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    finderDlg.DoModal();
    DestroyWindow(target);
    ASSERT_TRUE(driver.found());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Inner|Button|42", "Group|Button|50", "Label|Static|-1",
                                        "Label|Static|-1", "Inner|Button|42"}));
    // Over the button its three outer pixel rings were inverted, nothing inside them.
    ASSERT_EQ(during.size(), before.size());
    for (size_t ring = 0; ring < 3; ++ring)
        EXPECT_EQ(during[at + ring * (width + 1)], before[at + ring * (width + 1)] ^ 0xFFFFFF);
    EXPECT_EQ(during[at + 3 * (width + 1)], before[at + 3 * (width + 1)]);
    EXPECT_TRUE(leaving == before);
    EXPECT_TRUE(released == before);
}

TEST(WindowFinder, HideCheckBoxHidesTheEditorAndClosingBringsItBack) {
    TestMainWindow main;
    std::vector<bool> visible;
    CWindowFinderDlg finderDlg(main.get());
    DialogDriver driver("Window Information Finder", [&](HWND dialog) {
        for (WPARAM state : {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}) {
            SendMessageA(GetDlgItem(dialog, IDC_HIDE_EDITOR), BM_SETCHECK, state, 0);
            ClickControl(dialog, IDC_HIDE_EDITOR);
            visible.push_back(IsWindowVisible(main.get()));
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    finderDlg.DoModal();
    EXPECT_EQ(visible, (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(IsWindowVisible(main.get()));
}

}  // namespace
