#include "tool_test_support.h"

#include "launcher_control.h"
#include "launcher_menu_file.h"

TestMainWindow::TestMainWindow(const char* className, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, className, "Tool test window", WS_OVERLAPPEDWINDOW, 20, 20, 400,
                              300, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window_, show);
    UpdateWindow(window_);
}

HWND FindOwnDialog(const std::string& caption) {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", caption.c_str())) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

DialogDriver::DialogDriver(std::string caption, std::function<void(HWND)> drive)
    : thread_([this, caption, drive] {
          HWND dialog = nullptr;
          found_ = WaitUntil([&] { return (dialog = FindOwnDialog(caption)) != nullptr; }, 15000);
          if (found_) drive(dialog);
      }) {}

std::string ControlText(HWND dialog, int id) {
    char text[4096] = {};
    GetWindowTextA(GetDlgItem(dialog, id), text, sizeof text);
    return text;
}

void ClickControl(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

SettingsGuard::SettingsGuard(std::vector<std::string> entries) : entries_(std::move(entries)) {
    Remove();
}

void SettingsGuard::Remove() {
    for (const std::string& entry : entries_)
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Vexa\\Vexa Script\\Settings",
                           entry.c_str());
}

void RunValueGuard::Remove() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName); }
