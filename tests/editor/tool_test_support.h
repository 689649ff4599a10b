// Helpers of the editor tool tests: waiting on conditions, driving a modal dialog of this
// process from a second thread, and keeping registry settings as they were.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

// A visible top-level window of this process, for owners and main windows.
class TestMainWindow {
public:
    explicit TestMainWindow(const char* className = "VexaToolTestMain", int show = SW_SHOW);
    ~TestMainWindow();
    HWND get() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Waits on a second thread for a dialog of this process with the given caption, then runs
// `drive` on it. The dialog itself runs modally on the test's thread.
class DialogDriver {
public:
    DialogDriver(std::string caption, std::function<void(HWND)> drive);
    ~DialogDriver();
    bool found() const { return found_; }

private:
    std::thread thread_;
    bool found_ = false;
};

// Finds a visible dialog ("#32770") of this process by caption; nullptr when none.
HWND FindOwnDialog(const std::string& caption);
std::string ControlText(HWND dialog, int id);
void ClickControl(HWND dialog, int id);

// Remembers values under HKCU\Software\Vexa\Vexa Script\Settings and restores them.
class SettingsGuard {
public:
    explicit SettingsGuard(std::vector<std::string> entries);
    ~SettingsGuard();

private:
    struct Saved {
        std::string name;
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    std::vector<Saved> saved_;
};

// Saves the Run value "Vexa Script Launcher" and puts it back afterwards.
class RunValueGuard {
public:
    RunValueGuard();
    ~RunValueGuard();

private:
    bool had_ = false;
    std::string value_;
};
