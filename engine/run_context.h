// What every compile and run step works with, bundled so signatures stay short.
#pragma once
#include <string>

class RunWindow;
struct ScriptProgram;
struct ScriptResult;
struct ScriptValue;
struct ItemStack;
struct StackGuardState;

// The running thread's evaluator item stack and stack guard (expression.cpp, stack_guard.cpp).
ItemStack& ThisThreadItemStack();
const StackGuardState& ThisThreadGuard();

// A context is made and used on the thread that runs the script; it looks up the thread's
// state once, so the hot paths never reach a thread-local (a call on some hosts).
struct RunContext {
    RunWindow& window;
    ScriptProgram& program;
    ScriptResult& record;
    // Result slot of the user function now running: `return` and `exit` store into it.
    ScriptValue* functionResult = nullptr;
    // The variable an assignment is about to store into, read (and cleared) by the evaluation
    // of its value: an append to that variable's own text can then happen in place.
    ScriptValue* assignedVariable = nullptr;
    // The string the record's `file` was last copied from while it still holds the same text
    // (a running function's file), or null: a call in that file then skips comparing texts.
    const std::string* recordFile = nullptr;
    // The same for the record's `call` and a function's name.
    const std::string* recordCall = nullptr;
    ItemStack* items = &ThisThreadItemStack();
    const StackGuardState* guard = &ThisThreadGuard();
};
