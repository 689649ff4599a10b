// Expression evaluation: operands are evaluated (and calls made) strictly left to right,
// then the item list is reduced by the fixed operator levels. Nothing short-circuits.
#pragma once
#include "run_context.h"
#include "script_value.h"

// Returns 0, kSignalExit (an exit ran inside; its value is in the running function's slot)
// or a negative error. `result` keeps its type as the expected type of an expression text.
int EvaluateExpression(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                       ScriptValue& result);
