// Stack budget for recursive steps: the innermost active guard of this thread marks a base
// address; a frame further than the budget away from it is "exhausted".
#include "stack_guard.h"

#include "run_context.h"

#include <cstdint>

namespace {

// One object, so a check costs one thread-local look-up (a call on some hosts).
thread_local StackGuardState guard;

}  // namespace

StackGuard::StackGuard(std::size_t budget) : previous_(guard) {
    // The budget reaches either way from here, short of the ends of the address space.
    const std::size_t base = FrameAddress();
    guard.low = base > budget ? base - budget : 0;
    guard.high = budget < SIZE_MAX - base ? base + budget : SIZE_MAX;
}

StackGuard::~StackGuard() { guard = previous_; }

bool StackGuard::Exhausted() { return Exhausted(guard); }

const StackGuardState& ThisThreadGuard() { return guard; }
