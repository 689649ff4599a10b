// What a call site's name denotes. It depends only on the name and the name rule, never on
// the program, so it is resolved once per call site instead of at every call.
#pragma once
#include <cstdint>
#include <string_view>

struct BuiltinEntry;
struct ScriptProgram;

// Where a call site last found its user function: the index in `program`'s function table.
// Functions are only ever appended and a call site belongs to one program, so the index stays
// right for that program; another program looks the name up afresh.
struct FunctionHint {
    const ScriptProgram* program = nullptr;
    uint32_t index = 0;
};

struct CallTarget {
    const BuiltinEntry* builtin = nullptr;  // the built-in it names; null for a user function
    bool exit = false;                      // `exit`: a statement in call form, never a function
    // For a user function: where the last call found it in the program's function table
    // (ScriptProgram::FindFunction).
    mutable FunctionHint function;
};

// Built-ins are found before user functions; a user function is looked up when the call runs.
CallTarget ResolveCallTarget(std::string_view name, bool strict);
