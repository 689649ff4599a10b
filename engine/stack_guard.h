// Deep recursion through crafted input (nested parentheses, blocks, if-chains, calls) must end
// with "Stack overflow" instead of a crash, so recursive steps ask the run's guard first.
#pragma once
#include <cstddef>
#include <cstdint>

// The stack addresses a run may use: a frame outside them is "exhausted".
struct StackGuardState {
    std::size_t low = 0;
    std::size_t high = SIZE_MAX;
};

// Every address: a context that no guard limits (a test's, the default).
inline constexpr StackGuardState kUnlimitedStack{};

// The budget of one run, reaching either way from where it was made. It is the run's own,
// passed in its context (RunContext::guard): no thread-local, whose first use costs some hosts
// a round trip to their threading runtime.
class StackGuard {
public:
    [[gnu::always_inline]] explicit StackGuard(std::size_t budget) {
        // Short of the ends of the address space.
        const std::size_t base = FrameAddress();
        state_.low = base > budget ? base - budget : 0;
        state_.high = budget < SIZE_MAX - base ? base + budget : SIZE_MAX;
    }
    StackGuard(const StackGuard&) = delete;
    StackGuard& operator=(const StackGuard&) = delete;

    const StackGuardState& state() const { return state_; }

    // True when the calling frame lies outside `state`. Inline: the run checks before every
    // statement.
    static bool Exhausted(const StackGuardState& state) {
        const std::size_t here = FrameAddress();
        return here < state.low || here > state.high;
    }

private:
    // Where the stack of the caller it is inlined into stands: the real stack, also under
    // sanitizers that move locals to a fake stack. Reading the stack pointer spares the hot
    // callers the frame pointer that the frame's address would make them set up.
    [[gnu::always_inline]] static std::size_t FrameAddress() {
#if defined(__x86_64__)
        std::uintptr_t pointer;
        asm("mov %%rsp, %0" : "=r"(pointer));
        return pointer;
#else
        return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
#endif
    }

    StackGuardState state_;
};
