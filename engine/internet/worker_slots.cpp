#include "worker_slots.h"

#include <vector>

#include "builtin_api.h"
#include "progress_dialog.h"
#include "wait_loop.h"
#include "win_handles.h"

namespace {

constexpr uint64_t kCancelWaitLimitMs = 300000;

struct WorkerSlot {
    UniqueKernelHandle thread;
    UniqueKernelHandle busy;
    UniqueKernelHandle go;
    // Taken by AllocateWorkerSlot until RunWorker has stored the thread, so a second run in the
    // process never takes a slot between allocation and start.
    bool reserved = false;
};

// Slots live as long as the library; each is allocated once and never moves.
struct SlotTable {
    std::mutex lock;
    std::vector<std::unique_ptr<WorkerSlot>> slots;
};

SlotTable& Slots() {
    static SlotTable table;
    return table;
}

bool ThreadHasEnded(HANDLE thread) {
    DWORD code = 0;
    return !thread || !GetExitCodeThread(thread, &code) || code != STILL_ACTIVE;
}

bool IsSignalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// What the thread starts with: its own reference to the block, so the block outlives the wait.
struct ThreadStart {
    WorkerRoutine routine;
    std::shared_ptr<WorkerBlock> block;
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    start->routine(*start->block);
    return 0;
}

void ShowPendingStatus(WorkerWaiter& waiter, WorkerBlock& block) {
    std::string text;
    {
        std::lock_guard<std::mutex> hold(block.statusLock);
        if (!block.statusPending) return;
        block.statusPending = false;
        text = block.status;
    }
    waiter.ShowStatus(text);
}

// Sleeps one wait increment, waking early when the worker ends or a message arrives.
void SleepOneIncrement(HANDLE thread, int increment) {
    MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(increment > 0 ? increment : 0),
                              QS_ALLINPUT);
}

// Holds the busy event reset while the worker writes, and writes only while it may go on.
template <typename Write>
void WriteWhileGoing(WorkerBlock& block, Write&& write) {
    ResetEvent(block.busy);
    if (IsSignalled(block.go)) write();
    SetEvent(block.busy);
}

}  // namespace

bool RunningWindowWaiter::Pump() { return window_.PumpMessages(); }
void RunningWindowWaiter::ShowStatus(const std::string& text) { window_.SetStatusText(text); }
bool RunningWindowWaiter::IsCancelled() const { return window_.IsCancelled(); }
int RunningWindowWaiter::WaitIncrement() const { return window_.waitIncrement(); }

int AllocateWorkerSlot() {
    SlotTable& table = Slots();
    std::lock_guard<std::mutex> hold(table.lock);
    WorkerSlot* slot = nullptr;
    int index = 0;
    for (; index < static_cast<int>(table.slots.size()); ++index) {
        WorkerSlot& candidate = *table.slots[index];
        if (!candidate.reserved && ThreadHasEnded(candidate.thread.get())) {
            slot = &candidate;
            break;
        }
    }
    if (!slot) {
        table.slots.push_back(std::make_unique<WorkerSlot>());
        slot = table.slots.back().get();
    }
    slot->busy.reset(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    slot->go.reset(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    slot->thread.reset();
    if (!slot->busy || !slot->go) return -1;
    slot->reserved = true;
    return index;
}

void RunWorker(WorkerWaiter& waiter, WorkerRoutine routine, std::shared_ptr<WorkerBlock> block,
               int slotIndex) {
    SlotTable& table = Slots();
    HANDLE thread = nullptr;
    HANDLE go = nullptr;
    {
        std::lock_guard<std::mutex> hold(table.lock);
        if (slotIndex < 0 || slotIndex >= static_cast<int>(table.slots.size())) return;
        WorkerSlot& slot = *table.slots[slotIndex];
        block->slot = slotIndex;
        block->busy = slot.busy.get();
        block->go = go = slot.go.get();
        block->waitIncrement = waiter.WaitIncrement();
        auto start = std::make_unique<ThreadStart>(ThreadStart{routine, block});
        slot.thread.reset(
            CreateThread(nullptr, 0, WorkerThread, start.get(), CREATE_SUSPENDED, nullptr));
        slot.reserved = false;
        if (!slot.thread) return;
        start.release();  // the thread owns it now
        thread = slot.thread.get();
    }
    ResumeThread(thread);

    bool stopped = false;
    while (!ThreadHasEnded(thread)) {
        stopped = waiter.Pump();
        ShowPendingStatus(waiter, *block);
        if (stopped) break;
        SleepOneIncrement(thread, waiter.WaitIncrement());
    }
    ShowPendingStatus(waiter, *block);
    // From here on the worker's writes are dropped and its own checks tell it to stop.
    ResetEvent(go);
    if (!stopped) return;

    // The worker stops at its next check and cleans up (handles, temporary files) before the
    // script goes on; only a worker stuck in the network for 300 s is left behind, and it then
    // writes nothing more, into a block it owns a share of.
    if (waiter.IsCancelled()) waiter.ShowStatus("Waiting to cancel...");
    const uint64_t started = TickNow();
    while (!ThreadHasEnded(thread)) {
        if (TickNow() - started >= kCancelWaitLimitMs && IsSignalled(block->busy)) break;
        waiter.Pump();
        SleepOneIncrement(thread, waiter.WaitIncrement());
    }
}

bool IsStopRequested(const WorkerBlock& block) { return !IsSignalled(block.go); }

void PostIntResult(WorkerBlock& block, int32_t value) {
    WriteWhileGoing(block, [&] {
        block.intResult = value;
        block.hasResult = true;
    });
}

void PostStringResult(WorkerBlock& block, std::string text) {
    WriteWhileGoing(block, [&] {
        block.stringResult = std::move(text);
        block.hasResult = true;
    });
}

void PostStatus(WorkerBlock& block, std::string text) {
    WriteWhileGoing(block, [&] {
        std::lock_guard<std::mutex> hold(block.statusLock);
        block.status = std::move(text);
        block.statusPending = true;
    });
}

int RunInternetWorker(BuiltinCall& call, WorkerRoutine routine,
                      std::shared_ptr<WorkerBlock> block) {
    CProgressDlg& window = ProgressWindow(call.window);
    int slot = AllocateWorkerSlot();
    if (slot >= 0) {
        RunningWindowWaiter waiter(window);
        RunWorker(waiter, routine, block, slot);
    }
    window.SetStatusText("");
    // After the wait no write can be in progress: the go event is reset and busy is signalled.
    if (block->hasResult) {
        if (call.result.type == kTypeString)
            SetStringResult(call, block->stringResult);
        else
            SetIntResult(call, block->intResult);
    }
    if (block->returnCode.load() == kErrCancelled || window.IsCancelled()) return kErrCancelled;
    return kOk;
}
