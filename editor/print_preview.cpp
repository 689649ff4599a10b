#include "print_preview.h"

#include "resource.h"
#include "vexedit_app.h"

namespace {

constexpr char kClassName[] = "VexaScriptPrintPreview";
constexpr int kButtonBar = 36;  // height of the row of buttons, pixels
constexpr int kGap = 12;
enum ButtonId { kPrintButton = 1, kNextButton, kPrevButton, kCloseButton };

}  // namespace

void CPrintPreview::Show(const std::string& text, const EditorFont& font,
                         const std::string& title) {
    RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr,
                        LoadCursor(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    HDC printer = CreatePrinterDC();
    // Without a printer the pages are laid out for the screen on Letter paper.
    HDC target = printer ? printer : CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    auto* preview = new CPrintPreview(text, font, target);
    RECT frame;
    GetWindowRect(TheApp().MainWindow(), &frame);
    if (!preview->CreateEx(0, kClassName, ("Print Preview - " + title).c_str(),
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, frame.left, frame.top,
                           frame.right - frame.left, frame.bottom - frame.top,
                           TheApp().MainWindow(), nullptr)) {
        delete preview;
        return;
    }
    preview->CreateButtons();
    preview->ShowPage(0);
    ShowWindow(preview->hwnd(), SW_SHOW);
}

CPrintPreview::CPrintPreview(const std::string& text, const EditorFont& font, HDC target)
    : target_(target), layout_(std::make_unique<CPageLayout>(text, font, target)) {}

CPrintPreview::~CPrintPreview() {
    layout_.reset();
    DeleteDC(target_);
}

void CPrintPreview::OnFinalDestroy() { delete this; }

void CPrintPreview::CreateButtons() {
    const struct {
        int id;
        const char* text;
    } buttons[] = {{kPrintButton, "&Print..."},
                   {kNextButton, "&Next Page"},
                   {kPrevButton, "Pre&v Page"},
                   {kCloseButton, "&Close"}};
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    int x = kGap / 2;
    for (const auto& button : buttons) {
        HWND control = CreateWindowExA(
            0, "BUTTON", button.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 6, 90,
            kButtonBar - 12, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
            AppInstance(), nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        x += 90 + kGap / 2;
    }
}

void CPrintPreview::ShowPage(int index) {
    page_ = index < 0 ? 0 : (index >= layout_->PageCount() ? layout_->PageCount() - 1 : index);
    EnableWindow(GetDlgItem(hwnd(), kNextButton), page_ + 1 < layout_->PageCount());
    EnableWindow(GetDlgItem(hwnd(), kPrevButton), page_ > 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

// The page as large as the window allows below the buttons, keeping the paper's proportions.
RECT CPrintPreview::PageRect() const {
    RECT client;
    GetClientRect(hwnd(), &client);
    const SIZE paper = layout_->PageSize();
    const int roomWidth = client.right - 2 * kGap,
              roomHeight = client.bottom - kButtonBar - 2 * kGap;
    int width = roomWidth, height = MulDiv(roomWidth, paper.cy, paper.cx);
    if (height > roomHeight) {
        height = roomHeight;
        width = MulDiv(roomHeight, paper.cx, paper.cy);
    }
    const int left = (client.right - width) / 2, top = kButtonBar + kGap;
    return {left, top, left + width, top + height};
}

void CPrintPreview::Paint(HDC dc) {
    const RECT page = PageRect();
    if (page.right <= page.left || page.bottom <= page.top) return;
    // The page is drawn at the screen's resolution in a bitmap, then scaled into the window.
    HDC memory = CreateCompatibleDC(dc);
    const SIZE paper = layout_->PageSize();
    const int width = MulDiv(paper.cx, GetDeviceCaps(dc, LOGPIXELSX), 1440);
    const int height = MulDiv(paper.cy, GetDeviceCaps(dc, LOGPIXELSY), 1440);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT whole{0, 0, width, height};
    FillRect(memory, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    layout_->Render(memory, page_, false);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, page.left, page.top, page.right - page.left, page.bottom - page.top, memory, 0,
               0, width, height, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    char text[64];
    wsprintfA(text, "Page %d of %d", page_ + 1, layout_->PageCount());
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT label{4 * (90 + kGap / 2) + kGap, 0, page.right, kButtonBar};
    DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

LRESULT CPrintPreview::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd(), &paint);
        Paint(dc);
        EndPaint(hwnd(), &paint);
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kNextButton: ShowPage(page_ + 1); return 0;
        case kPrevButton: ShowPage(page_ - 1); return 0;
        case kPrintButton:
            DestroyWindow(hwnd());
            PostMessageA(TheApp().MainWindow(), WM_COMMAND, ID_FILE_PRINT, 0);
            return 0;
        case kCloseButton: DestroyWindow(hwnd()); return 0;
        default: break;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(hwnd());
        if (wParam == VK_NEXT) ShowPage(page_ + 1);
        if (wParam == VK_PRIOR) ShowPage(page_ - 1);
        return 0;
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}
