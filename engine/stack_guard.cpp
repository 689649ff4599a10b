// Stack budget for recursive steps: the innermost active guard of this thread marks a base
// address; a frame further than the budget away from it is "exhausted".
#include "stack_guard.h"

#include <cstdint>

namespace {

thread_local std::size_t guardBase = 0;
thread_local std::size_t guardBudget = 0;
thread_local bool guardActive = false;

std::size_t FrameAddress()
{
    // The real frame, also under sanitizers that move locals to a fake stack.
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

}  // namespace

StackGuard::StackGuard(std::size_t budget)
    : previousBase_(guardBase), previousBudget_(guardBudget), previousActive_(guardActive)
{
    guardBase = FrameAddress();
    guardBudget = budget;
    guardActive = true;
}

StackGuard::~StackGuard()
{
    guardBase = previousBase_;
    guardBudget = previousBudget_;
    guardActive = previousActive_;
}

bool StackGuard::Exhausted()
{
    if (!guardActive)
        return false;
    std::size_t here = FrameAddress();
    std::size_t used = here < guardBase ? guardBase - here : here - guardBase;
    return used > guardBudget;
}
