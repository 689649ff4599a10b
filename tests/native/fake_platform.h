// A native stand-in for the Windows host of the drivers: a running window that records what it
// was asked to show and can be told to cancel, and a platform with a real current directory.
// Only the host window is faked; the engine under test is the real one.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "run_window.h"

class FakePlatform;

class FakeRunWindow : public RunWindow {
public:
    FakeRunWindow(FakePlatform& platform, void* owner, bool compileOnly);
    ~FakeRunWindow() override;

    void SetStatusText(const std::string& text) override;
    bool PumpMessages() override;
    bool IsCancelled() const override;
    void ShowErrorReport(const std::string& text) override;

private:
    FakePlatform& platform_;
};

class FakePlatform : public EnginePlatform {
public:
    // What the test arranges.
    bool failWindowCreation = false;
    bool cancelledFromStart = false;  // Cancel pressed before the run began
    int cancelAtPump = -1;            // the 1-based pump that sees Cancel; -1: never
    int statementsPerPump = 1;        // the real window's kStatementsPerPump for benchmarks
    // Run the script on a thread with a 64 MiB stack and a 48 MiB budget, as the Windows host
    // does on its fiber; otherwise on the test's own thread with the default budget.
    bool largeScriptStack = false;
    uint32_t seed = 12345;
    // The host step that runs out of memory (throws std::bad_alloc): "GetCurrentDir",
    // "CreateRunningWindow", "ShowErrorReport" or a status text such as "Loading...".
    std::string failAllocationAt;

    // What the engine did.
    std::vector<std::string> statusTexts;
    std::vector<std::string> errorBoxes;
    int pumps = 0;
    bool cancelled = false;
    int windowsCreated = 0;
    int windowsOpen = 0;
    int directorySets = 0;
    bool lastCompileOnly = false;
    void* lastOwner = nullptr;

    std::unique_ptr<RunWindow> CreateRunningWindow(void* owner, bool compileOnly) override;
    bool GetCurrentDir(std::string& directory) override;
    bool SetCurrentDir(const std::string& directory) override;
    uint32_t RandomSeed() override { return seed; }
    int RunWithScriptStack(int (*body)(void*), void* argument) override;
    std::size_t ScriptStackBudget() override;

    bool Showed(const std::string& status) const;
    // Forgets what an earlier engine call did; the arranged settings stay.
    void ClearObservations();
};
