// Deep recursion through crafted input (nested parentheses, blocks, if-chains, calls) must end
// with "Stack overflow" instead of a crash, so recursive steps ask this guard first.
#pragma once
#include <cstddef>
#include <cstdint>

// The innermost active guard of one thread: the frame addresses within its budget. With no
// guard active every address is.
struct StackGuardState {
    std::size_t low = 0;
    std::size_t high = SIZE_MAX;
};

class StackGuard {
public:
    // Marks the current stack position as the base and allows `budget` bytes below it.
    explicit StackGuard(std::size_t budget);
    ~StackGuard();
    StackGuard(const StackGuard&) = delete;
    StackGuard& operator=(const StackGuard&) = delete;
    // True when the calling frame lies beyond the budget of the innermost active guard.
    static bool Exhausted();
    // The same check against a state looked up once (RunContext::guard): the look-up of the
    // thread's state is a call on some hosts, and the run checks before every statement, so
    // this one is inline.
    static bool Exhausted(const StackGuardState& state) {
        const std::size_t here = FrameAddress();
        return here < state.low || here > state.high;
    }

private:
    // The frame of the caller it is inlined into: the real frame, also under sanitizers that
    // move locals to a fake stack.
    [[gnu::always_inline]] static std::size_t FrameAddress() {
#if defined(__x86_64__)
        std::uintptr_t pointer;
        asm("mov %%rsp, %0" : "=r"(pointer));
        return pointer;
#else
        return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
#endif
    }

    // The guard this one replaced, put back when it ends (guards nest).
    StackGuardState previous_;
};
