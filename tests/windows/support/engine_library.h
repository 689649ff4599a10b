// vexeng.dll of this build, bound by ordinal the way the editor binds it, plus what the host
// tests need around a run: a scratch script, the engine's windows in this process, waiting.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "script_result.h"
#include "support/test_support.h"

struct EngineLibrary {
    HMODULE module = nullptr;
    int(WINAPI* Version)() = nullptr;                                                       // 1
    int(WINAPI* RunScriptFile)(HWND, const char*, const char*) = nullptr;                   // 2
    int(WINAPI* TestCompileScriptFile)(HWND, const char*, ScriptResult*) = nullptr;         // 3
    int(WINAPI* RunScriptFileEx)(HWND, const char*, const char*, ScriptResult*) = nullptr;  // 4
    int(WINAPI* TestCompileScriptFile2)(HWND, const char*, int, ScriptResult*) = nullptr;   // 5
    int(WINAPI* RunScriptFile2)(HWND, const char*, const char*, int) = nullptr;             // 6
    int(WINAPI* RunScriptFileEx2)(HWND, const char*, const char*, int,
                                  ScriptResult*) = nullptr;  // 7

    // Loaded once per test process from the build folder.
    static const EngineLibrary& Get();
};

// The first top-level window of `processId` for which `wanted` holds; null when none.
HWND FindTopWindow(DWORD processId, const std::function<bool(HWND)>& wanted);
// A top-level dialog window of this process whose caption is `caption` (hidden ones included).
HWND FindOwnDialog(const std::string& caption);
// The engine's running-script window of this process, whatever its caption; null when none.
HWND FindRunningWindow();
std::string ControlText(HWND dialog, int id);
// Polls `condition` every 5 ms; false when it did not hold within `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// The running window's status text once it starts with `prefix`; empty after `timeoutMs`.
std::string WaitForStatus(const std::string& prefix, DWORD timeoutMs);
// Clicks a button of a dialog the way the button itself reports a click.
void ClickButton(HWND dialog, int id);
ULONGLONG Now();

struct ScriptRun {
    int result = 0;
    ScriptResult record{};
    ULONGLONG endedAt = 0;  // tick count when the engine returned
};

// Every test runs its script from a scratch folder and must leave the process as it found it:
// the same current directory and no running-script window.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `text` to script.vxs in the scratch folder and runs it through ordinal 7.
    ScriptRun Run(const std::string& text, const std::string& call = "main()", int strict = 0,
                  HWND owner = nullptr);
    std::string ScriptPath() const { return scratch_.File("script.vxs"); }

    ScratchDir scratch_;

private:
    std::string startDirectory_;
};

// A plain visible top-level window of the test thread, to act as the caller's window.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};
