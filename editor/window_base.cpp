#include "window_base.h"

namespace {

const char kObjectProperty[] = "VexaWindowObject";
thread_local CWindow* pendingWindow = nullptr;

}  // namespace

HINSTANCE AppInstance() { return GetModuleHandleA(nullptr); }

CWindow::~CWindow() {
    if (hwnd_) {
        RemovePropA(hwnd_, kObjectProperty);
        if (original_)
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        HWND window = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(window);
    }
}

CWindow* CWindow::FromHandle(HWND window) {
    return window ? static_cast<CWindow*>(GetPropA(window, kObjectProperty)) : nullptr;
}

bool CWindow::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                       int y, int width, int height, HWND parent, HMENU menu, void* param) {
    HWND created = CreateHooked([&] {
        return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                               AppInstance(), param);
    });
    return created != nullptr && created == hwnd_;
}

void CWindow::BeginCreation() {
    pendingWindow = this;
    hook_ = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}

void CWindow::EndCreation() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    if (pendingWindow == this) pendingWindow = nullptr;
}

// The first window created while an object waits is that object's window.
LRESULT CALLBACK CWindow::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    CWindow* waiting = pendingWindow;
    if (code == HCBT_CREATEWND && waiting) {
        pendingWindow = nullptr;
        waiting->Attach(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CWindow::Attach(HWND window) {
    hwnd_ = window;
    SetPropA(window, kObjectProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* self = FromHandle(hwnd);
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kObjectProperty);
        self->hwnd_ = nullptr;
        self->original_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

LRESULT CWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_) return CallWindowProcA(original_, hwnd_, message, wParam, lParam);
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool RegisterWindowClass(const char* className, UINT style, HICON icon, HCURSOR cursor,
                         HBRUSH background, WNDPROC procedure) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(AppInstance(), className, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = AppInstance();
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), length + 1));
    return text;
}

std::string LoadResourceString(UINT id) {
    char buffer[512] = {};
    int length = LoadStringA(AppInstance(), id, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? length : 0);
}
