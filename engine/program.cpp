// Program tables: the function lookup (first definition in table order wins).
#include "program.h"

FunctionDef* ScriptProgram::FindFunction(std::string_view name) {
    for (FunctionDef& function : functions) {
        if (NamesEqual(function.name, name, strict)) return &function;
    }
    return nullptr;
}

FunctionDef* ScriptProgram::FindFunction(std::string_view name, uint32_t& hint) {
    if (hint < functions.size() && NamesEqual(functions[hint].name, name, strict))
        return &functions[hint];
    FunctionDef* function = FindFunction(name);
    if (function) hint = static_cast<uint32_t>(function - functions.data());
    return function;
}
