// Cancellable workers of the Internet built-ins: the library-wide table of worker slots with
// their two events, the start-and-wait routine of the script's side, and the calls a worker
// makes to report. The parameter block is shared by the built-in and its worker, so a worker
// that outlives a cancelled wait only ever writes into storage that is still alive.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

struct BuiltinCall;
class CProgressDlg;

// What a built-in hands to its worker. Built-ins derive their own block with copies of their
// strings and integers; the worker reports only through the Post* calls below.
struct WorkerBlock {
    virtual ~WorkerBlock() = default;

    int slot = 0;
    int waitIncrement = 1;  // the running window's, copied when the worker starts
    HANDLE busy = nullptr;  // the slot's events, valid while the worker runs
    HANDLE go = nullptr;

    // The built-in's return code: 0, or -19 when the worker stopped for Cancel.
    std::atomic<int> returnCode{0};

    // Written by the worker while the go event is signalled; read by the built-in after the wait.
    bool hasResult = false;
    int32_t intResult = 0;
    std::string stringResult;

    // The latest status text, handed to the waiting side that shows it.
    std::mutex statusLock;
    std::string status;
    bool statusPending = false;
};

using WorkerRoutine = void (*)(WorkerBlock& block);

// The waiting side of RunWorker: the running-script window, or a dialog that polls its own
// messages (the FTP open dialog).
class WorkerWaiter {
public:
    virtual ~WorkerWaiter() = default;
    // Drains the messages of one round; true when the wait must stop.
    virtual bool Pump() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual bool IsCancelled() const = 0;
    virtual int WaitIncrement() const = 0;
};

// The running-script window as a waiter.
class RunningWindowWaiter : public WorkerWaiter {
public:
    explicit RunningWindowWaiter(CProgressDlg& window) : window_(window) {}
    bool Pump() override;
    void ShowStatus(const std::string& text) override;
    bool IsCancelled() const override;
    int WaitIncrement() const override;

private:
    CProgressDlg& window_;
};

// A free slot (its last thread has ended) or a new one, with both events created signalled.
// Returns -1 only when the events cannot be created.
int AllocateWorkerSlot();

// Runs `routine` on a worker thread in `slot` and waits, pumping messages and showing its
// status, until it ends or the wait stops. After Cancel it shows "Waiting to cancel..." and
// waits for the worker to end (at most 300 s), so what the worker cleans up is cleaned up
// before the script goes on. Returns at once when the thread cannot be created.
void RunWorker(WorkerWaiter& waiter, WorkerRoutine routine, std::shared_ptr<WorkerBlock> block,
               int slot);

// Worker side.
bool IsStopRequested(const WorkerBlock& block);
void PostIntResult(WorkerBlock& block, int32_t value);
void PostStringResult(WorkerBlock& block, std::string text);
void PostStatus(WorkerBlock& block, std::string text);

// The common frame of the transfer built-ins: allocate a slot, run the worker against the
// running window, clear the status, copy the worker's result into the call's result value.
// Returns the built-in's code: 0, or -19 after Cancel.
int RunInternetWorker(BuiltinCall& call, WorkerRoutine routine, std::shared_ptr<WorkerBlock> block);
