// Stack budget for recursive steps: the innermost active guard of this thread marks a base
// address; a frame further than the budget away from it is "exhausted".
#include "stack_guard.h"

#include "run_context.h"

#include <cstdint>

namespace {

// One object, so a check costs one thread-local look-up (a call on some hosts).
thread_local StackGuardState guard;

}  // namespace

StackGuard::StackGuard(std::size_t budget)
    : previousBase_(guard.base), previousBudget_(guard.budget), previousActive_(guard.active) {
    guard.base = FrameAddress();
    guard.budget = budget;
    guard.active = true;
}

StackGuard::~StackGuard() {
    StackGuardState& state = guard;
    state.base = previousBase_;
    state.budget = previousBudget_;
    state.active = previousActive_;
}

bool StackGuard::Exhausted() { return Exhausted(guard); }

const StackGuardState& ThisThreadGuard() { return guard; }
