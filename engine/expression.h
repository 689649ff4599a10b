// Expression evaluation: operands are evaluated (and calls made) strictly left to right,
// then the item list is reduced by the fixed operator levels. Nothing short-circuits.
#pragma once
#include "int_operations.h"
#include "run_context.h"
#include "script_result.h"
#include "script_value.h"

// The record's line as `lines` past the evaluation's first line `base` (the lines a text spans
// before the token that may fail or start a nested run).
inline void SetLine(ScriptResult& record, int32_t base, uint32_t lines) {
    record.line = Wrap(static_cast<uint32_t>(base) + lines);
}

// Returns 0, kSignalExit (an exit ran inside; its value is in the running function's slot)
// or a negative error. `result` keeps its type as the expected type of an expression text.
int EvaluateExpression(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                       ScriptValue& result);
