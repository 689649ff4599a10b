// What every compile and run step works with, bundled so signatures stay short.
#pragma once
#include <string>

#include "stack_guard.h"

class RunWindow;
struct ScriptProgram;
struct ScriptResult;
struct ScriptValue;
struct ItemStack;

// What a run works with, made by its driver (or a test) and passed down: nothing of a run lives
// in a thread-local, whose first use costs some hosts a round trip to their threading runtime.
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
    // The evaluator's item stack, shared by the run's nested evaluations; the maker owns it.
    ItemStack* items = nullptr;
    const StackGuardState* guard = &kUnlimitedStack;
};
