// What a call site's name denotes. It depends only on the name and the name rule, never on
// the program, so it is resolved once per call site instead of at every call.
#pragma once
#include <cstdint>
#include <string_view>

struct BuiltinEntry;

struct CallTarget {
    const BuiltinEntry* builtin = nullptr;  // the built-in it names; null for a user function
    bool exit = false;                      // `exit`: a statement in call form, never a function
    // For a user function: where the last call found it in the program's function table, a
    // guess checked at every call (ScriptProgram::FindFunction).
    mutable uint32_t functionHint = UINT32_MAX;
};

// Built-ins are found before user functions; a user function is looked up when the call runs.
CallTarget ResolveCallTarget(std::string_view name, bool strict);
