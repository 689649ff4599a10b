// Program tables: the function lookup (first definition in table order wins).
#include "program.h"

FunctionDef* ScriptProgram::FindFunction(std::string_view name) {
    for (FunctionDef& function : functions) {
        if (NamesEqual(function.name, name, strict)) return &function;
    }
    return nullptr;
}

FunctionDef* ScriptProgram::FindFunction(std::string_view name, FunctionHint& hint) {
    if (hint.program == this && hint.index < functions.size()) return &functions[hint.index];
    FunctionDef* function = FindFunction(name);
    if (function) hint = {this, static_cast<uint32_t>(function - functions.data())};
    return function;
}

void ScriptProgram::GrowCallTables() {
    const std::size_t count = callTables.empty() ? 8 : callTables.size();
    callTables.reserve(callTables.size() + count);
    callTableBlocks.push_back(std::make_unique<CallTable[]>(count));
    CallTable* block = callTableBlocks.back().get();
    for (std::size_t i = 0; i < count; ++i) callTables.push_back(block + i);
}
