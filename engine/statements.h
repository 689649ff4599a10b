// Statement execution over the flat statement lists that pass 1 builds.
#pragma once
#include <cstddef>
#include <vector>

#include "program.h"
#include "run_context.h"

enum ExecSignal : int {
    kSignalNext = 0,
    kSignalReturn = 1,
    kSignalIfFalse = 2,
    kSignalRepeat = 5,
    kSignalIfTrue = 6,
    kSignalBreak = 7,
    kSignalExit = 9,
    kSignalWhileTrue = 10,
    kSignalWhileFalse = 11,
};

int ExecuteStatement(RunContext& context, const Statement& statement, VariableTable& locals);
int ExecuteStatementList(RunContext& context, const std::vector<Statement>& list,
                         VariableTable& locals);
// Index of the last statement of the construct that starts at `index`.
std::size_t SkipStatement(const std::vector<Statement>& list, std::size_t index);
// Pushes the block's locals, runs its list, pops them again.
int RunBlock(RunContext& context, const Block& block, VariableTable& locals);
