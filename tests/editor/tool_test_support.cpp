#include "tool_test_support.h"

#include "launcher_control.h"
#include "launcher_menu_file.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Vexa\\Vexa Script\\Settings";

struct FindContext {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {}, text[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    if (pid == GetCurrentProcessId() && std::string(className) == "#32770" &&
        IsWindowVisible(window) && *context->caption == text) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TestMainWindow::TestMainWindow(const char* className, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, className, "Tool test main window", WS_OVERLAPPEDWINDOW, 20, 20,
                              400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window_, show);
    UpdateWindow(window_);
}

TestMainWindow::~TestMainWindow() {
    if (window_) DestroyWindow(window_);
}

HWND FindOwnDialog(const std::string& caption) {
    FindContext context{&caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

DialogDriver::DialogDriver(std::string caption, std::function<void(HWND)> drive) {
    thread_ = std::thread([this, caption, drive] {
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindOwnDialog(caption)) != nullptr; }, 15000)) return;
        found_ = true;
        drive(dialog);
    });
}

DialogDriver::~DialogDriver() {
    if (thread_.joinable()) thread_.join();
}

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int n = GetWindowTextLengthA(control);
    std::string text(n + 1, '\0');
    GetWindowTextA(control, text.data(), n + 1);
    text.resize(n);
    return text;
}

void ClickControl(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

SettingsGuard::SettingsGuard(std::vector<std::string> entries) {
    for (const std::string& name : entries) {
        Saved saved;
        saved.name = name;
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_ANY, &saved.type,
                         nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.present = RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_ANY,
                                         &saved.type, saved.data.data(), &size) == ERROR_SUCCESS;
        }
        saved_.push_back(saved);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str());
    }
}

SettingsGuard::~SettingsGuard() {
    for (const Saved& saved : saved_) {
        if (!saved.present) {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, saved.name.c_str());
            continue;
        }
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            continue;
        RegSetValueExA(key, saved.name.c_str(), 0, saved.type, saved.data.data(),
                       DWORD(saved.data.size()));
        RegCloseKey(key);
    }
}

RunValueGuard::RunValueGuard() {
    char value[1024] = {};
    DWORD size = sizeof value;
    had_ = RegGetValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName, RRF_RT_REG_SZ, nullptr, value,
                        &size) == ERROR_SUCCESS;
    value_ = value;
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName);
}

RunValueGuard::~RunValueGuard() {
    if (had_)
        RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName, REG_SZ, value_.c_str(),
                        DWORD(value_.size() + 1));
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName);
}
