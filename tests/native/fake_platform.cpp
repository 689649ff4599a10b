#include "fake_platform.h"

#include <pthread.h>
#include <sys/mman.h>
#include <ucontext.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

namespace {

constexpr std::size_t kLargeStack = std::size_t{64} << 20;
constexpr std::size_t kLargeBudget = std::size_t{48} << 20;

struct ThreadCall {
    int (*body)(void*);
    void* argument;
    int result;
};

void* RunThreadCall(void* data) {
    auto* call = static_cast<ThreadCall*>(data);
    call->result = call->body(call->argument);
    return nullptr;
}

// AddressSanitizer loses track of a stack switched by hand: under it the large stack is a
// thread's (GCC and Clang both define the macro).
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

int RunOnThread(ThreadCall& call) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kLargeStack);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attributes, &RunThreadCall, &call) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) return call.body(call.argument);
    pthread_join(thread, nullptr);
    return call.result;
}

// The context switch hands over no argument: the call in progress waits here.
thread_local ThreadCall* switchedCall;

void RunSwitchedCall() { RunThreadCall(switchedCall); }

// As the Windows host runs a script on a fiber of the calling thread: a stack switch, with no
// thread to start and no second heap arena for the run's allocations.
int RunOnOwnStack(ThreadCall& call) {
    void* stack = mmap(nullptr, kLargeStack, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (stack == MAP_FAILED) return RunOnThread(call);
    ucontext_t caller, script;
    getcontext(&script);
    script.uc_stack.ss_sp = stack;
    script.uc_stack.ss_size = kLargeStack;
    script.uc_link = &caller;
    makecontext(&script, &RunSwitchedCall, 0);
    ThreadCall* outer = std::exchange(switchedCall, &call);
    swapcontext(&caller, &script);
    switchedCall = outer;
    munmap(stack, kLargeStack);
    return call.result;
}

}  // namespace

FakeRunWindow::FakeRunWindow(FakePlatform& platform, void* owner, bool compileOnly)
    : RunWindow(platform.statementsPerPump), platform_(platform) {
    ++platform_.windowsCreated;
    ++platform_.windowsOpen;
    platform_.lastOwner = owner;
    platform_.lastCompileOnly = compileOnly;
    platform_.cancelled = platform_.cancelledFromStart;
}

FakeRunWindow::~FakeRunWindow() { --platform_.windowsOpen; }

void FakeRunWindow::SetStatusText(const std::string& text) {
    if (!text.empty() && text == platform_.failAllocationAt) throw std::bad_alloc();
    platform_.statusTexts.push_back(text);
}

bool FakeRunWindow::PumpMessages() {
    ++platform_.pumps;
    if (platform_.cancelAtPump > 0 && platform_.pumps >= platform_.cancelAtPump)
        platform_.cancelled = true;
    return platform_.cancelled;
}

bool FakeRunWindow::IsCancelled() const { return platform_.cancelled; }

void FakeRunWindow::ShowErrorReport(const std::string& text) {
    if (platform_.failAllocationAt == "ShowErrorReport") throw std::bad_alloc();
    platform_.errorBoxes.push_back(text);
}

std::unique_ptr<RunWindow> FakePlatform::CreateRunningWindow(void* owner, bool compileOnly) {
    if (failWindowCreation) return nullptr;
    if (failAllocationAt == "CreateRunningWindow") throw std::bad_alloc();
    return std::make_unique<FakeRunWindow>(*this, owner, compileOnly);
}

bool FakePlatform::GetCurrentDir(std::string& directory) {
    if (failAllocationAt == "GetCurrentDir") throw std::bad_alloc();
    std::error_code error;
    directory = std::filesystem::current_path(error).string();
    return !error;
}

bool FakePlatform::SetCurrentDir(const std::string& directory) {
    ++directorySets;
    std::error_code error;
    std::filesystem::current_path(directory, error);
    return !error;
}

int FakePlatform::RunWithScriptStack(int (*body)(void*), void* argument) {
    if (!largeScriptStack) return body(argument);
    ThreadCall call{body, argument, 0};
    return kSanitized ? RunOnThread(call) : RunOnOwnStack(call);
}

std::size_t FakePlatform::ScriptStackBudget() {
    return largeScriptStack ? kLargeBudget : EnginePlatform::ScriptStackBudget();
}

bool FakePlatform::Showed(const std::string& status) const {
    return std::find(statusTexts.begin(), statusTexts.end(), status) != statusTexts.end();
}

void FakePlatform::ClearObservations() {
    statusTexts.clear();
    errorBoxes.clear();
    pumps = 0;
    cancelled = false;
    windowsCreated = 0;
    windowsOpen = 0;
    directorySets = 0;
    lastCompileOnly = false;
    lastOwner = nullptr;
}
