// Statement execution over the flat statement lists that pass 1 builds.
#pragma once
#include <cstddef>
#include <vector>

#include "program.h"
#include "run_context.h"

int ExecuteStatement(RunContext& context, const Statement& statement, VariableTable& locals);
int ExecuteStatementList(RunContext& context, const std::vector<Statement>& list,
                         VariableTable& locals);
// Index of the last statement of the construct that starts at `index`.
std::size_t SkipStatement(const std::vector<Statement>& list, std::size_t index);
// Pushes the block's locals, runs its list, pops them again.
int RunBlock(RunContext& context, const Block& block, VariableTable& locals);
