// Pass 2: the check pass 1 cannot make while it reads, since a function may be defined after
// (or in a file included after) the local or parameter that bears its name.
#include <unordered_map>
#include <vector>

#include "compiler.h"
#include "error_codes.h"
#include "run_window.h"
#include "script_result.h"

namespace {

// The first function of each name in table order, so every lookup is one hash probe.
class FunctionIndex {
public:
    explicit FunctionIndex(const ScriptProgram& program) : strict_(program.strict) {
        for (const FunctionDef& function : program.functions)
            byName_.emplace(NameKey(function.name, strict_), &function);
    }
    const FunctionDef* Find(const std::string& name) const {
        auto found = byName_.find(NameKey(name, strict_));
        return found == byName_.end() ? nullptr : found->second;
    }

private:
    bool strict_;
    std::unordered_map<std::string, const FunctionDef*> byName_;
};

int NameClash(ScriptResult& record, const FunctionDef& owner, const std::string& name, int line) {
    SetResultName(record, name);
    SetResultFile(record, owner.file);
    record.line = line;
    return kErrNameAlreadyDefined;
}

// The locals of a body, block by block in statement order; a list of blocks still to visit
// keeps deeply nested bodies off the call stack.
int CheckLocals(ScriptResult& record, const FunctionIndex& functions, const FunctionDef& function) {
    std::vector<const Block*> pending{&function.body};
    while (!pending.empty()) {
        const Block* block = pending.back();
        pending.pop_back();
        for (const ScriptValue& local : block->locals) {
            if (functions.Find(local.name))
                return NameClash(record, function, local.name, static_cast<int>(local.line));
        }
        for (auto statement = block->statements.rbegin(); statement != block->statements.rend();
             ++statement) {
            if (statement->block) pending.push_back(statement->block.get());
        }
    }
    return kOk;
}

}  // namespace

int Pass2(RunContext& context) {
    context.window.SetStatusText("Compiling Pass 2...");
    const FunctionIndex functions(context.program);
    for (const FunctionDef& function : context.program.functions) {
        if (int error = CheckLocals(context.record, functions, function)) return error;
        for (const ScriptValue& parameter : function.parameters) {
            if (const FunctionDef* clash = functions.Find(parameter.name))
                return NameClash(context.record, function, clash->name, function.line);
        }
    }
    return kOk;
}
