// Function calls: argument preparation, built-in dispatch before user functions,
// user-function entry with by-reference write-back, and the one built-in convention.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "program.h"
#include "run_context.h"

class RunWindow;

// Everything a built-in handler receives.
struct BuiltinCall {
    RunWindow& window;
    ScriptProgram& program;
    VariableTable& args;    // prepared arguments; args.size() is the actual count
    ScriptValue& result;    // set to the empty value of the result type first
    ScriptResult& record;   // `param` / `name` of the errors a handler raises
    std::string_view name;  // the built-in's name as the table spells it
};

// Returns 0 or a negative error that stops the run (-19 for a cancelled wait).
using BuiltinHandler = int (*)(BuiltinCall& call);

// Nested user calls allowed; the next one fails with "Stack overflow".
constexpr int kMaxCallDepth = 1002;

// Parameter accessors: position is 0-based; on error they store position + 1 in record.param.
int GetIntParam(BuiltinCall& call, int position, int32_t& value);
int GetStringParam(BuiltinCall& call, int position, std::string& value);
int GetFileParam(BuiltinCall& call, int position, int32_t& slot);
int GetBrowserParam(BuiltinCall& call, int position, int32_t& slot);
int GetHandleParam(BuiltinCall& call, int position, uint32_t type, uint32_t& handle);
// Optional parameters: a position beyond the actual count leaves `value` at its default.
int GetOptionalIntParam(BuiltinCall& call, int position, int32_t& value);
int GetOptionalStringParam(BuiltinCall& call, int position, std::string& value);
int GetIntOrStringParam(BuiltinCall& call, int position, bool& isInt, int32_t& value,
                        std::string& text);
// Result setters.
void SetIntResult(BuiltinCall& call, int32_t value);
void SetStringResult(BuiltinCall& call, std::string text);
void SetVoidResult(BuiltinCall& call);
void SetHandleResult(BuiltinCall& call, uint32_t type, uint32_t value);

// A name in scope: the local table first, then the globals, each newest first; nullptr when absent.
ScriptValue* LookupVariable(RunContext& context, VariableTable& locals, std::string_view name);

// A call statement or a call inside an expression: prepares `itemArgs`, dispatches by name.
// Returns 0, kSignalExit or an error; the call's value lands in `result`.
int ExecuteCall(RunContext& context, std::string_view name, const VariableTable& itemArgs,
                VariableTable& locals, ScriptValue& result);
// Calls a user function with prepared arguments (also the entry call of the run driver).
int CallUserFunction(RunContext& context, std::string_view name, VariableTable& args,
                     ScriptValue& result);
