// The stack of items the evaluator reduces, and the budgets every evaluation checks first.
#pragma once
#include <cstddef>
#include <vector>

#include "run_context.h"
#include "stack_guard.h"

struct EvalItem;  // one entry of an item list (expression.cpp)

// The item lists of all evaluations active on this thread share one stack: each evaluation owns
// the entries from `used` up while it runs. Entries above `used` stay constructed with empty
// texts, so a statement run a million times neither allocates nor frees.
// A run reaches its stack through its context (RunContext::items).
struct ItemStack {
    ItemStack();
    ~ItemStack();  // where an entry is complete (expression.cpp)
    ItemStack(const ItemStack&) = delete;
    ItemStack& operator=(const ItemStack&) = delete;

    std::vector<EvalItem> items;
    std::size_t used = 0;
    std::size_t segments = 0;     // evaluations active; the storage shrinks only when none is
    std::size_t activeBytes = 0;  // lexed bytes held by the active evaluations
};

// Text bytes lexed along the active chain of nested evaluations; crafted nesting of long
// texts would otherwise hold depth x length bytes before the stack guard ever trips.
constexpr std::size_t kActiveBudget = std::size_t{128} << 20;

// A text's lexed bytes count against the budget while its evaluation runs.
class ActiveBytes {
public:
    ActiveBytes(ItemStack& stack, std::size_t bytes) : stack_(stack), bytes_(bytes) {
        stack_.activeBytes += bytes_;
    }
    ~ActiveBytes() { stack_.activeBytes -= bytes_; }
    ActiveBytes(const ActiveBytes&) = delete;
    ActiveBytes& operator=(const ActiveBytes&) = delete;

private:
    ItemStack& stack_;
    std::size_t bytes_;
};

// The general path refuses a text past these limits, checking the text before it is lexed and
// then its lexed form; a lexed form's cost counts its text, so the second check covers both.
// Every shortcut asks first, so it answers only where the general path would.
inline bool WithinBudgets(const RunContext& context, std::size_t cost) {
    return !StackGuard::Exhausted(*context.guard) &&
           context.items->activeBytes + cost <= kActiveBudget;
}
