// Program tables: the function lookup (first definition in table order wins).
#include "program.h"

FunctionDef* ScriptProgram::FindFunction(std::string_view name) {
    for (FunctionDef& function : functions) {
        if (NamesEqual(function.name, name, strict)) return &function;
    }
    return nullptr;
}
