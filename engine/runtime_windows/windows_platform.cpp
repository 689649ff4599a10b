#include "windows_platform.h"

#include <windows.h>

#include <cstdint>
#include <ctime>

#include "error_codes.h"
#include "progress_dialog.h"

namespace {
// 1970-01-01 in 100 ns units since 1601-01-01.
constexpr uint64_t kUnixEpochInFileTime = 116444736000000000;
}  // namespace

std::unique_ptr<RunWindow> WindowsPlatform::CreateRunningWindow(void* owner, bool compileOnly) {
    auto window = std::make_unique<CProgressDlg>();
    if (!window->CreateRunningWindow(static_cast<HWND>(owner), compileOnly)) return nullptr;
    return window;
}

bool WindowsPlatform::GetCurrentDir(std::string& directory) {
    // A directory that needs more than 260 characters is not remembered (nothing to restore).
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return false;
    directory.assign(buffer, length);
    return true;
}

bool WindowsPlatform::SetCurrentDir(const std::string& directory) {
    return SetCurrentDirectoryA(directory.c_str()) != FALSE;
}

uint32_t WindowsPlatform::RandomSeed() {
    // The calendar seconds time() gives, read from the system clock: time() first loads the
    // time zone, a trip to the registry on each engine call of a fresh process.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    const uint64_t seconds = (ticks - kUnixEpochInFileTime) / 10000000;
    // Unsigned arithmetic: the sum wraps instead of overflowing.
    return static_cast<uint32_t>(seconds) + static_cast<uint32_t>(GetTickCount()) +
           static_cast<uint32_t>(clock());
}

std::size_t WindowsPlatform::ScriptStackBudget() { return kScriptStackBudget; }

namespace {

struct FiberJob {
    int (*body)(void*);
    void* argument;
    void* caller;  // the fiber to return to
    int result;
};

void CALLBACK ScriptFiber(void* parameter) {
    auto* job = static_cast<FiberJob*>(parameter);
    job->result = job->body(job->argument);
    SwitchToFiber(job->caller);  // never returns: the caller deletes this fiber
}

// GCC takes the TEB read behind GetCurrentFiber for an out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
void* CurrentFiber() { return GetCurrentFiber(); }
#pragma GCC diagnostic pop

}  // namespace

// The script runs on a fiber of the calling thread: a deep stack of its own, while its
// windows and message queue stay with the thread that called the engine. Always a fiber, even
// for a caller with a large stack: running in place on a runner linked with a 72 MiB stack
// saved 0.25 ms a call under Wine, but one clean test run then had such a runner fail to start,
// a cause not yet understood.
int WindowsPlatform::RunWithScriptStack(int (*body)(void*), void* argument) {
    FiberJob job{body, argument, nullptr, 0};
    bool converted = false;
    if (IsThreadAFiber()) {
        job.caller = CurrentFiber();
    } else {
        job.caller = ConvertThreadToFiber(nullptr);
        if (!job.caller) return kErrOutOfMemory;
        converted = true;
    }
    void* fiber =
        CreateFiberEx(64 * 1024, kScriptStackReserve, FIBER_FLAG_FLOAT_SWITCH, ScriptFiber, &job);
    int result = kErrOutOfMemory;
    if (fiber) {
        SwitchToFiber(fiber);
        DeleteFiber(fiber);
        result = job.result;
    }
    if (converted) ConvertFiberToThread();
    return result;
}
