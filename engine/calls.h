// Function calls: argument preparation, built-in dispatch before user functions,
// user-function entry with by-reference write-back.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "builtin_api.h"
#include "call_target.h"
#include "program.h"
#include "run_context.h"

// Nested user calls allowed; the next one fails with "Stack overflow".
constexpr int kMaxCallDepth = 1002;

// A name in scope: the local table first, then the globals, each newest first; nullptr when absent.
inline ScriptValue* LookupVariable(RunContext& context, VariableTable& locals,
                                   std::string_view name) {
    const bool strict = context.program.strict;
    if (ScriptValue* local = FindVariable(locals, name, strict)) return local;
    return FindVariable(context.program.globals, name, strict);
}

// A call statement or a call inside an expression: prepares `itemArgs`, dispatches by name.
// Returns 0, kSignalExit or an error; the call's value lands in `result`.
// `target` is ResolveCallTarget(name) under the program's name rule, resolved once per site.
int ExecuteCall(RunContext& context, std::string_view name, const CallTarget& target,
                const VariableTable& itemArgs, VariableTable& locals, ScriptValue& result);
// Calls a user function with prepared arguments (also the entry call of the run driver).
// `hint` is the call site's memory of where it found the function (CallTarget::function).
int CallUserFunction(RunContext& context, std::string_view name, VariableTable& args,
                     ScriptValue& result, FunctionHint* hint = nullptr);
