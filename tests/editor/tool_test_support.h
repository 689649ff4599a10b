// Helpers of the editor tool tests: waiting on conditions, driving a modal dialog of this
// process from a second thread, and settings that start and end absent.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
    for (DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}

// A visible top-level window of this process, for owners, main windows and targets.
class TestMainWindow {
public:
    explicit TestMainWindow(const char* className = "VexaToolTestMain", int show = SW_SHOW);
    ~TestMainWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Waits on a second thread for a visible dialog of this process with `caption`, then runs
// `drive` on it while the dialog runs modally on the test's thread.
class DialogDriver {
public:
    DialogDriver(std::string caption, std::function<void(HWND)> drive);
    ~DialogDriver() { thread_.join(); }
    bool found() const { return found_; }

private:
    bool found_ = false;
    std::thread thread_;
};

HWND FindOwnDialog(const std::string& caption);
std::string ControlText(HWND dialog, int id);
void ClickControl(HWND dialog, int id);

// Entries of HKCU\Software\Vexa\Vexa Script\Settings (or, for RunValueGuard, the launcher's
// Run value) removed when a test starts and when it ends, so every test sees the defaults.
class SettingsGuard {
public:
    explicit SettingsGuard(std::vector<std::string> entries);
    ~SettingsGuard() { Remove(); }

private:
    void Remove();
    std::vector<std::string> entries_;
};
class RunValueGuard {
public:
    RunValueGuard() { Remove(); }
    ~RunValueGuard() { Remove(); }

private:
    static void Remove();
};
