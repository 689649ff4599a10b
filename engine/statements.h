// Statement execution over the flat statement lists that pass 1 builds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "error_codes.h"
#include "program.h"
#include "run_context.h"

int ExecuteStatement(RunContext& context, const Statement& statement, VariableTable& locals);
int ExecuteStatementList(RunContext& context, const std::vector<Statement>& list,
                         VariableTable& locals);
// Index of the last statement of the construct that starts at `index`.
std::size_t SkipStatement(const std::vector<Statement>& list, std::size_t index);
// Pushes the block's locals, runs its list, pops them again.
int RunBlock(RunContext& context, const Block& block, VariableTable& locals);

// What a statement is; the kind is read off once, since statements do not change while a
// program runs.
StatementKind KindOf(const Statement& statement);
bool IsElse(const Statement& statement);

// What a statement does with its evaluated value, shared by the walker and bound bodies.
// An assignment's store into its variable, converted to the variable's type: kSignalNext.
int StoreAssigned(RunContext& context, ScriptValue& variable, ScriptValue& value);
// The declared type of the running function's result: the expected type of a return value.
uint32_t ReturnType(const RunContext& context);
// A return value into the running function's slot: kSignalReturn.
int StoreReturned(RunContext& context, ScriptValue& value);
// A condition's value: kSignalIfTrue or kSignalIfFalse.
inline int IfOutcome(const ScriptValue& value) {
    bool holds = false;
    switch (value.type) {
    case kTypeInt:
    case kTypeHbrowser:
    case kTypeHfile: holds = value.integer != 0; break;
    case kTypeHkey: holds = value.handle != 0; break;
    default: return kErrInvalidReturnType;
    }
    return holds ? kSignalIfTrue : kSignalIfFalse;
}

// A loop header's value: kSignalWhileTrue or kSignalWhileFalse.
inline int WhileOutcome(const ScriptValue& value) {
    if (value.type == kTypeVoid) return kSignalWhileFalse;
    if (value.type != kTypeInt) return kErrInvalidReturnType;
    return value.integer != 0 ? kSignalWhileTrue : kSignalWhileFalse;
}

// A repeat count's value: kSignalRepeat and the count.
inline int RepeatOutcome(const ScriptValue& value, int32_t& count) {
    if (value.type == kTypeVoid) {
        count = 0;
    } else if (value.type != kTypeInt) {
        return kErrInvalidReturnType;
    } else {
        count = value.integer;
    }
    return kSignalRepeat;
}

// A block's declarations enter the table as it starts; leaving drops exactly that range, since
// implicit variables made inside the block come after it and belong to the function.
void EnterBlock(const Block& block, VariableTable& locals);
void LeaveBlock(const Block& block, VariableTable& locals, std::size_t outer);
