// What the portable core needs from its host: the running-script window (status text,
// message pump, Cancel flag, error box) and a few platform services for the drivers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Statements a window lets pass between two looks into its queue when each look costs more
// than reading a flag (see RunWindow::CancelBeforeStatement).
constexpr int kStatementsPerPump = 16;

class RunWindow {
public:
    virtual ~RunWindow() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    // Drains the thread's queue; true when the run must stop (Cancel or a quit message).
    virtual bool PumpMessages() = 0;
    // The look at Cancel before a statement: PumpMessages before every `statementsPerPump`th
    // one, and always before the first after a built-in. Cancel arrives only while a queue is
    // pumped (here or in a built-in), so the statement after the pump that saw it still stops.
    bool CancelBeforeStatement() {
        if (--untilPump_ > 0) return false;
        untilPump_ = statementsPerPump_;
        return PumpMessages();
    }
    // A built-in may have pumped (and seen Cancel) or waited long: the next statement looks.
    void PumpBeforeNextStatement() { untilPump_ = 1; }
    virtual bool IsCancelled() const = 0;
    // The error box: caption "Vexa Script", warning icon, OK, owned by this window; waits.
    virtual void ShowErrorReport(const std::string& text) = 0;
    // Makes a window whose making was deferred; built-ins that look at or drive windows call it
    // first, so that the running window is there as it always was.
    virtual void EnsureOpen() {}

protected:
    explicit RunWindow(int statementsPerPump = 1) : statementsPerPump_(statementsPerPump) {}

private:
    int statementsPerPump_;
    int untilPump_ = 1;
};

class EnginePlatform {
public:
    virtual ~EnginePlatform() = default;
    // Null when the window cannot be created (the drivers then fail with -6, no box).
    virtual std::unique_ptr<RunWindow> CreateRunningWindow(void* owner, bool compileOnly) = 0;
    virtual bool GetCurrentDir(std::string& directory) = 0;  // false: nothing to restore
    virtual bool SetCurrentDir(const std::string& directory) = 0;
    // Calendar seconds + tick count + process clock, summed in 32-bit unsigned arithmetic.
    virtual uint32_t RandomSeed() = 0;
    // Runs `body` with enough stack for 1002 nested user calls; returns its result.
    virtual int RunWithScriptStack(int (*body)(void*), void* argument) { return body(argument); }
    // Bytes of stack the script may use inside RunWithScriptStack before deep recursion ends
    // with "Stack overflow"; the default fits a plain 8 MiB thread with room to spare.
    virtual std::size_t ScriptStackBudget() { return std::size_t{4} << 20; }
};
