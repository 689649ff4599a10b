#include "dialog_catcher.h"

#include <algorithm>

namespace {

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::string ClassName(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// Message boxes keep their text in a static of id 0xFFFF (Windows) or 100 (Wine).
HWND MessageTextControl(HWND dialog) {
    for (int id : {0xFFFF, 100}) {
        HWND control = GetDlgItem(dialog, id);
        if (control && ClassName(control) == "Static") return control;
    }
    return nullptr;
}

// A 32-bit top-down bitmap the size of a control, for comparing what icons look like.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> data;
};

// Draws into a fresh DIB section of the given size; `paint` gets its memory DC.
template <typename Paint>
Pixels Render(int width, int height, Paint paint) {
    Pixels result{width, height, std::vector<DWORD>(static_cast<size_t>(width) * height, 0)};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, screen);
        GdiFlush();
        std::copy_n(static_cast<DWORD*>(bits), result.data.size(), result.data.begin());
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return result;
}

// Share of equal pixels between two renderings of the same size.
double Similarity(const Pixels& a, const Pixels& b) {
    if (a.data.empty() || a.data.size() != b.data.size()) return 0;
    size_t same = 0;
    for (size_t i = 0; i < a.data.size(); ++i)
        same += (a.data[i] & 0xFFFFFF) == (b.data[i] & 0xFFFFFF);
    return static_cast<double>(same) / a.data.size();
}

// Which system icon an icon control shows. Another process's icon handle cannot be drawn
// here, so the control is read off the screen and compared with the known icons.
int IconKind(HWND control) {
    struct Known {
        LPCSTR id;
        int kind;
    };
    const Known known[] = {{IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                           {IDI_ASTERISK, MB_ICONINFORMATION},
                           {IDI_QUESTION, MB_ICONQUESTION},
                           {IDI_HAND, MB_ICONHAND}};
    HICON shown = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    if (!shown) return 0;
    for (const Known& k : known)
        if (LoadIconA(nullptr, k.id) == shown) return k.kind;

    // A dialog closed meanwhile leaves no rectangle: an unread one sized the bitmap by whatever
    // lay on the stack (gigabytes once, which hung a runner for a minute).
    RECT rect{};
    if (!GetWindowRect(control, &rect)) return 0;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return -1;
    Pixels screen = Render(width, height, [&](HDC memory, HDC screenDc) {
        BitBlt(memory, 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    });
    DWORD background = screen.data.empty() ? 0 : screen.data[0] & 0xFFFFFF;
    COLORREF fill = RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
    int best = -1;
    double bestScore = 0.9;  // below this nothing counts as a match
    for (const Known& k : known) {
        HICON icon = LoadIconA(nullptr, k.id);
        for (bool stretch : {false, true}) {
            Pixels drawn = Render(width, height, [&](HDC memory, HDC) {
                HBRUSH brush = CreateSolidBrush(fill);
                RECT all{0, 0, width, height};
                FillRect(memory, &all, brush);
                DeleteObject(brush);
                DrawIconEx(memory, 0, 0, icon, stretch ? width : 0, stretch ? height : 0, 0,
                           nullptr, DI_NORMAL | (stretch ? 0 : DI_DEFAULTSIZE));
            });
            double score = Similarity(screen, drawn);
            if (score > bestScore) bestScore = score, best = k.kind;
        }
    }
    return best;
}

}  // namespace

int AnswerDefault(const CaughtDialog& dialog) {
    for (int id : {IDOK, IDCANCEL})
        if (std::find(dialog.buttonIds.begin(), dialog.buttonIds.end(), id) !=
            dialog.buttonIds.end())
            return id;
    return dialog.buttonIds.empty() ? IDCANCEL : dialog.buttonIds.front();
}

CaughtDialog DialogCatcher::Describe(HWND dialog) {
    CaughtDialog d;
    d.hwnd = dialog;
    GetWindowThreadProcessId(dialog, &d.processId);
    d.caption = WindowText(dialog);
    if (HWND text = MessageTextControl(dialog)) {
        d.text = WindowText(text);
        d.messageBox = true;
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string cls = ClassName(child);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (cls == "Button" && (style & WS_VISIBLE)) {
            d.buttons.push_back(WindowText(child));
            d.buttonIds.push_back(GetDlgCtrlID(child));
        } else if (cls == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            d.icon = IconKind(child);
        } else if (d.text.empty() && (style & WS_VISIBLE) && (cls == "Static" || cls == "Edit")) {
            d.text = WindowText(child);
        }
    }
    return d;
}

DialogCatcher::DialogCatcher(DialogAnswer answer, DWORD processId) : answer_(std::move(answer)) {
    if (processId == static_cast<DWORD>(-1))
        anyProcess_ = true;
    else
        processes_.insert(processId ? processId : GetCurrentProcessId());
    thread_ = std::thread([this] { Watch(); });
}

DialogCatcher::~DialogCatcher() {
    stop_ = true;
    // The watcher may be waiting on a message it sent to a dialog of this thread (for its
    // text): this thread answers sent messages until the watcher is out, or both wait for good.
    while (!stopped_) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.join();
}

void DialogCatcher::AddProcess(DWORD processId) {
    std::lock_guard<std::mutex> lock(mutex_);
    processes_.insert(processId);
}

bool DialogCatcher::Wanted(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return anyProcess_ || processes_.count(processId) != 0;
}

std::vector<CaughtDialog> DialogCatcher::caught() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return caught_;
}

size_t DialogCatcher::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return caught_.size();
}

bool DialogCatcher::WaitFor(size_t n, DWORD timeoutMs) const {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    while (count() < n) {
        if (GetTickCount64() >= end) return false;
        Sleep(10);
    }
    return true;
}

void DialogCatcher::Watch() {
    while (!stop_) {
        std::vector<HWND> found;
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* list = reinterpret_cast<std::vector<HWND>*>(param);
                if (IsWindowVisible(window) && ClassName(window) == "#32770")
                    list->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        {
            // A closed dialog's handle may come back for a new one, which must be caught again.
            std::lock_guard<std::mutex> lock(mutex_);
            std::erase_if(seen_, [](HWND window) { return !IsWindow(window); });
        }
        for (HWND window : found) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (!Wanted(pid)) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (seen_.count(window)) continue;
            }
            Sleep(50);  // let the dialog finish laying out its controls
            if (!IsWindow(window)) continue;
            CaughtDialog dialog = Describe(window);
            int command = answer_ ? answer_(dialog) : 0;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.insert(window);
                caught_.push_back(dialog);
            }
            if (command) PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        }
        Sleep(20);
    }
    stopped_ = true;
}
