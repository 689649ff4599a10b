// Function calls: arguments are prepared left to right, the name is resolved against the
// built-in table first, then a user function is entered with its own local table.
#include "calls.h"

#include <new>
#include <string>

#include "bound_body.h"
#include "builtin_table.h"
#include "error_codes.h"
#include "expression.h"
#include "script_result.h"
#include "stack_guard.h"
#include "statements.h"

// The helpers of a call stay out of line: the frames that remain on the stack while a nested
// user call runs should hold only what the call needs afterwards.
namespace {

// A table that grew past this many entries gives its storage back when its call ends.
constexpr std::size_t kKeptCapacity = 256;

// The program's table of the next nesting level, borrowed for the length of one call.
// Leases end in the reverse order of their start, so the tables in use are always the first
// `callTablesInUse` ones.
class TableLease {
public:
    [[gnu::always_inline]] explicit TableLease(ScriptProgram& program) : program_(program) {
        if (program.callTablesInUse == program.callTables.size()) program.GrowCallTables();
        table_ = program.callTables[program.callTablesInUse++];
    }
    [[gnu::always_inline]] ~TableLease() {
        Release();
        --program_.callTablesInUse;
    }
    TableLease(const TableLease&) = delete;
    TableLease& operator=(const TableLease&) = delete;

    // An empty table.
    VariableTable& Empty() {
        if (table_->parametersOf) {
            table_->values.clear();
            table_->parametersOf = nullptr;
        }
        return table_->values;
    }
    // A table that begins with `function`'s parameters, as declared but for their values.
    VariableTable& LocalsOf(const FunctionDef& function) {
        if (table_->parametersOf != &function) {
            table_->values.assign(function.parameters.begin(), function.parameters.end());
            table_->parametersOf = &function;
        }
        return table_->values;
    }

private:
    // What the call added goes; kept parameters let go of their texts and their callers.
    // Inline, with the rare cases out of line: it ends every call.
    [[gnu::always_inline]] void Release() {
        VariableTable& values = table_->values;
        if (values.capacity() > kKeptCapacity) return GiveBack();
        if (!table_->parametersOf) return values.clear();
        const std::size_t kept = table_->parametersOf->parameters.size();
        if (values.size() > kept) DropFrom(kept);
        for (ScriptValue& parameter : values) {
            parameter.text.clear();
            parameter.reference = nullptr;
        }
    }
    [[gnu::noinline]] void GiveBack() {
        VariableTable().swap(table_->values);
        table_->parametersOf = nullptr;
    }
    [[gnu::noinline]] void DropFrom(std::size_t kept) {
        VariableTable& values = table_->values;
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(kept), values.end());
    }

    ScriptProgram& program_;
    CallTable* table_;
};

int ParameterError(ScriptResult& record, std::size_t position, int code) {
    record.param = static_cast<int32_t>(position + 1);
    return code;
}

// `exit(value)`: the value (an int, NULL as 0, none as 0) goes into the running function's
// result slot and the Exit signal travels out through every expression and call. `evaluate`
// gives the value of the first argument item.
template <class Evaluate>
int ExitWith(RunContext& context, bool hasValue, Evaluate&& evaluate) {
    ScriptValue value = MakeInt(0);
    if (hasValue) {
        int outcome = evaluate(value);
        if (outcome != kOk) return outcome;
        if (value.type == kTypeVoid) value = MakeInt(0);
        if (value.type != kTypeInt) return kErrInvalidReturnType;
    }
    if (context.functionResult) MoveValue(*context.functionResult, value);
    return kSignalExit;
}

[[gnu::noinline]] int ExecuteExit(RunContext& context, const VariableTable& itemArgs,
                                  VariableTable& locals) {
    return ExitWith(context, !itemArgs.empty(), [&](ScriptValue& value) {
        return EvaluateExpression(context, itemArgs.front(), locals, value);
    });
}

[[gnu::noinline]] int ExecuteBoundExit(RunContext& context, const BoundCall& call,
                                       VariableTable& locals) {
    return ExitWith(context, !call.args.empty(), [&](ScriptValue& value) {
        return EvaluateBoundItem(context, call.args.front(), locals, value);
    });
}

// Turns one argument item into a value. A bare variable name keeps a pointer to the variable
// (`find` reaches it, null when not defined) so a by-reference parameter can write back;
// nothing appends to the caller's table meanwhile. `evaluate` gives an expression text's value.
template <class Find, class Evaluate>
[[gnu::always_inline]] inline int PrepareArgumentWith(RunContext& context, const ScriptValue& item,
                                                      std::size_t position, ScriptValue& argument,
                                                      Find&& find, Evaluate&& evaluate) {
    switch (item.type) {
    case kTypeVarRef: {
        ScriptValue* variable = find();
        if (!variable) {
            SetResultName(context.record, item.text);
            return kErrNotDefined;
        }
        CopyValue(argument, *variable);
        argument.reference = variable;
        return kOk;
    }
    case kTypeExpression: return evaluate();
    case kTypeString:
    case kTypeInt:
    case kTypeVoid:
    case kTypeHkey:
    case kTypeHbrowser:
    case kTypeHfile: CopyValue(argument, item); return kOk;
    default: return ParameterError(context.record, position, kErrBadParameterType);
    }
}

[[gnu::always_inline]] inline int PrepareArgument(RunContext& context, const ScriptValue& item,
                                                  std::size_t position, VariableTable& locals,
                                                  ScriptValue& argument) {
    return PrepareArgumentWith(
        context, item, position, argument,
        [&] { return LookupVariable(context, locals, item.text); },
        [&] { return EvaluateExpression(context, item, locals, argument); });
}

[[gnu::always_inline]] inline int PrepareBoundArgument(RunContext& context, const BoundItem& bound,
                                                       std::size_t position, VariableTable& locals,
                                                       ScriptValue& argument) {
    return PrepareArgumentWith(
        context, *bound.item, position, argument,
        [&]() __attribute__((always_inline)) {
            return &VariableAt(context, locals, bound.variable);
        },
        [&]() __attribute__((always_inline)) {
            return EvaluateBoundItem(context, bound, locals, argument);
        });
}

// Argument i of a bound call into `argument`: what CallDirect and PrepareArguments ask of it.
struct BoundArguments {
    RunContext& context;
    const BoundCall& call;
    VariableTable& locals;
    [[gnu::always_inline]] int operator()(std::size_t i, ScriptValue& argument) const {
        return PrepareBoundArgument(context, call.args[i], i, locals, argument);
    }
};

// The argument values of a built-in or a general call, left to right; `prepare(i, argument)`
// turns item i into its value.
template <class Prepare>
int PrepareArguments(std::size_t count, VariableTable& args, Prepare&& prepare) {
    args.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Built in place: the room is reserved, so `args` never moves meanwhile.
        if (int outcome = prepare(i, args.emplace_back()); outcome != kOk) return outcome;
    }
    return kOk;
}

// Each parameter holds its argument's value as evaluated and, in `reference`, the caller's
// variable it was read from. No int/string conversion here; NULL gives the parameter's empty
// value.
[[gnu::noinline]] int CheckParameters(RunContext& context, const VariableTable& declared,
                                      VariableTable& locals) {
    for (std::size_t i = 0; i < declared.size(); ++i) {
        ScriptValue& parameter = locals[i];
        if (parameter.type != declared[i].type) {
            if (parameter.type != kTypeVoid)
                return ParameterError(context.record, i, kErrBadParameterType);
            SetEmptyValue(parameter, declared[i].type);
        }
        if (context.program.strict && parameter.byReference && !parameter.reference)
            return ParameterError(context.record, i, kErrConstantByReference);
    }
    return kOk;
}

// By-reference parameters hand their final values back to the caller's variables, in order.
void WriteBack(const VariableTable& locals, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const ScriptValue& parameter = locals[i];
        if (parameter.byReference && parameter.reference)
            CopyValue(*parameter.reference, parameter);
    }
}

// The record's `call` names a call as spelled at its site.
void NameCall(RunContext& context, std::string_view name) {
    SetResultCall(context.record, name);
    context.recordCall = nullptr;
}

// The same for a function's own name: a call of the function the record names already (a
// recursion, a loop of calls) copies nothing.
void NameCall(RunContext& context, const std::string& name) {
    if (context.recordCall == &name) return;
    SetResultCall(context.record, name);
    context.recordCall = &name;
}

// An error before the body runs names the call as it is spelled.
[[gnu::noinline]] int Refuse(RunContext& context, std::string_view name, int error) {
    NameCall(context, name);
    return error;
}

// The body of `function` on its bound parameters in `locals`, the record already naming the
// function's file; `callerFile` is the file the caller's record named.
[[gnu::always_inline]] inline int RunBody(RunContext& context, std::string_view name,
                                          const FunctionDef& function, VariableTable& locals,
                                          ScriptValue& result, const std::string* callerFile) {
    ScriptResult& record = context.record;
    ScriptProgram& program = context.program;
    ++program.callDepth;
    record.line = function.line;
    context.recordFile = &function.file;
    NameCall(context, function.name);

    // The call's own result is its slot: a body that ends without `return` yields the empty
    // value of the declared type, never a value left over from an earlier or a recursive call.
    SetEmptyValue(result, function.result.type);
    ScriptValue* callerSlot = context.functionResult;
    context.functionResult = &result;
    const BoundBody* bound = BoundBodyOf(context, function);
    int outcome = bound ? RunBoundBody(context, function, *bound, locals)
                        : RunBlock(context, function.body, locals);
    context.functionResult = callerSlot;
    if (outcome == kSignalBreak) outcome = kErrIllegalBreak;
    if (outcome >= 0) {
        // The caller's record names this call again, as it did before entering.
        // A bound call site spelled like the definition names it by the definition's string.
        if (name.data() == function.name.data() && name.size() == function.name.size())
            NameCall(context, function.name);
        else
            NameCall(context, name);
        context.recordFile = callerFile;
    } else {
        // After an error the record keeps the place where it happened.
        context.recordFile = nullptr;
        context.recordCall = nullptr;
    }
    if (function.writesBack) WriteBack(locals, function.parameters.size());
    --program.callDepth;
    if (outcome < 0) return outcome;

    // The exit value travels on in the result slot of every function it leaves (the caller's
    // slot may be `result` itself).
    if (outcome != kSignalExit) return kOk;
    if (callerSlot) CopyValue(*callerSlot, result);
    return kSignalExit;
}

// A function of another file than the caller's: the record names its file while it runs, and
// the caller's again when it returns (a path rarely fits a short string, so only this case
// saves one). Six arguments at most, `name` by reference: a seventh would go on the stack and
// cost the hot caller its frame pointer register.
[[gnu::noinline]] int RunBodyInItsFile(RunContext& context, const std::string_view& name,
                                       const FunctionDef& function, VariableTable& locals,
                                       ScriptValue& result, const std::string* callerFile) {
    const std::string savedFile(context.record.file);
    SetResultFile(context.record, function.file);
    int outcome = RunBody(context, name, function, locals, result, callerFile);
    if (outcome >= 0) SetResultFile(context.record, savedFile);
    return outcome;
}

[[gnu::always_inline]] inline int RunFunction(RunContext& context, std::string_view name,
                                              const FunctionDef& function, VariableTable& locals,
                                              ScriptValue& result) {
    if (context.program.callDepth >= kMaxCallDepth || StackGuard::Exhausted(*context.guard))
        return Refuse(context, name, kErrStackOverflow);
    const std::string* callerFile = context.recordFile;
    if (callerFile == &function.file || function.file == context.record.file)
        return RunBody(context, name, function, locals, result, callerFile);
    return RunBodyInItsFile(context, name, function, locals, result, callerFile);
}

// The user function a call site may enter directly, its arguments evaluated straight into the
// new local table: found, not `main` (which takes extra arguments), with a matching count.
// A look-up changes nothing, so finding it before the arguments run is safe; every other case
// takes the general path, which refuses in its own order.
const FunctionDef* DirectTarget(RunContext& context, std::string_view name,
                                const CallTarget& target, std::size_t argumentCount) {
    const FunctionDef* function = context.program.FindFunction(name, target.function);
    if (!function || function->parameters.size() != argumentCount ||
        NamesEqual(function->name, "main", context.program.strict))
        return nullptr;
    return function;
}

// A call of `function` whose arguments go straight into its parameters: no argument table.
// `prepare(i, parameter)` evaluates argument i into its parameter.
template <class Prepare>
[[gnu::always_inline]] inline int CallDirect(RunContext& context, std::string_view name,
                                             const FunctionDef& function, ScriptValue& result,
                                             Prepare&& prepare) {
    TableLease lease(context.program);
    VariableTable& locals = lease.LocalsOf(function);
    // The check below finds nothing to say when every argument came with its parameter's type
    // and no reference can be missing.
    bool typed = !(context.program.strict && function.writesBack);
    for (std::size_t i = 0; i < function.parameters.size(); ++i) {
        ScriptValue& parameter = locals[i];
        parameter.type = kTypeUndetermined;  // a fresh slot, as an argument of its own would be
        if (int outcome = prepare(i, parameter); outcome != kOk) return outcome;
        typed &= parameter.type == function.parameters[i].type;
    }
    if (context.record.line < 0) context.record.line = function.line;
    if (!typed) {
        if (int error = CheckParameters(context, function.parameters, locals))
            return Refuse(context, name, error);
    }
    return RunFunction(context, name, function, locals, result);
}

// Out of line: its call record would otherwise widen the frame of every user call.
[[gnu::noinline]] int CallBuiltin(RunContext& context, const BuiltinEntry& builtin,
                                  VariableTable& args, ScriptValue& result) {
    BuiltinCall call{context.window, context.program, args, result, context.record, builtin.name};
    const int outcome = builtin.handler(call);
    context.window.PumpBeforeNextStatement();
    return outcome;
}

}  // namespace

int ExecuteCall(RunContext& context, std::string_view name, const CallTarget& target,
                const VariableTable& itemArgs, VariableTable& locals, ScriptValue& result) {
    // `exit` is a statement in call form, never a function, wherever it is written.
    if (target.exit) return ExecuteExit(context, itemArgs, locals);
    auto prepare = [&](std::size_t i, ScriptValue& argument) __attribute__((always_inline)) {
        return PrepareArgument(context, itemArgs[i], i, locals, argument);
    };
    if (!target.builtin) {
        if (const FunctionDef* function = DirectTarget(context, name, target, itemArgs.size()))
            return CallDirect(context, name, *function, result, prepare);
    }
    TableLease lease(context.program);
    VariableTable& args = lease.Empty();
    if (int outcome = PrepareArguments(itemArgs.size(), args, prepare); outcome != kOk)
        return outcome;
    if (target.builtin) return CallBuiltin(context, *target.builtin, args, result);
    return CallUserFunction(context, name, args, result, &target.function);
}

namespace {

// A bound call of a built-in, out of line: its argument table would otherwise widen the frame
// of every user call.
[[gnu::noinline]] int ExecuteBoundBuiltin(RunContext& context, const BoundCall& call,
                                          VariableTable& locals, ScriptValue& result) {
    const BoundArguments prepare{context, call, locals};
    TableLease lease(context.program);
    VariableTable& args = lease.Empty();
    if (int outcome = PrepareArguments(call.args.size(), args, prepare); outcome != kOk)
        return outcome;
    return CallBuiltin(context, *call.target->builtin, args, result);
}

// Inline: a lone call's evaluation makes its call in the same frame.
[[gnu::always_inline]] inline int ExecuteBound(RunContext& context, const BoundCall& call,
                                               VariableTable& locals, ScriptValue& result) {
    if (call.target->exit) return ExecuteBoundExit(context, call, locals);
    // Binding leaves only built-ins besides: a user call that cannot go direct is not bound.
    if (!call.function) return ExecuteBoundBuiltin(context, call, locals, result);
    const BoundArguments prepare{context, call, locals};
    return CallDirect(context, call.name, *call.function, result, prepare);
}

// A text that is one call makes its call in the frame of its caller, and the call's value goes
// straight into `result`: nothing reads that slot while the call runs or after an error, and a
// built-in finds it fresh, as it would a value of its own.
[[gnu::always_inline]] inline int LoneCall(RunContext& context, const BoundExpression& bound,
                                           VariableTable& locals, ScriptValue& result) {
    const LexedExpression& lexed = *bound.lexed;
    ScriptResult& record = context.record;
    const int32_t baseLine = record.line;
    ActiveBytes active(*context.items, lexed.cost);
    SetLine(record, baseLine, lexed.tokens.front().lines);
    SetEmptyValue(result, kTypeUndetermined);
    int rc;
    try {  // as the item list's evaluation: a table that cannot grow is "Out of memory" here
        rc = ExecuteBound(context, *bound.operands.front().call, locals, result);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
    if (rc < 0) return rc;  // the record keeps the error's line
    record.line = baseLine;
    if (rc == kSignalExit) return rc;
    if (result.type == kTypeInt) StoreInt(result, result.integer);
    return kOk;
}

}  // namespace

int ExecuteBoundCall(RunContext& context, const BoundCall& call, VariableTable& locals,
                     ScriptValue& result) {
    return ExecuteBound(context, call, locals, result);
}

int EvaluateLoneCall(RunContext& context, const BoundExpression& bound, VariableTable& locals,
                     ScriptValue& result) {
    return LoneCall(context, bound, locals, result);
}

int ReturnLoneCall(RunContext& context, const BoundExpression& bound, VariableTable& locals,
                   ScriptValue& slot) {
    const uint32_t declared = slot.type;
    int outcome = LoneCall(context, bound, locals, slot);
    return outcome != kOk ? outcome : TakeReturned(slot, declared);
}

int CallUserFunction(RunContext& context, std::string_view name, VariableTable& args,
                     ScriptValue& result, FunctionHint* hint) {
    ScriptResult& record = context.record;
    ScriptProgram& program = context.program;
    FunctionHint ownHint;
    const FunctionDef* function = program.FindFunction(name, hint ? *hint : ownHint);
    if (!function) return Refuse(context, name, kErrFunctionNotFound);
    if (record.line < 0) record.line = function->line;

    // main may be started with more arguments than it declares; the extra ones are ignored.
    const std::size_t count = function->parameters.size();
    const bool isMain = NamesEqual(function->name, "main", program.strict);
    if (isMain ? args.size() < count : args.size() != count)
        return Refuse(context, name, kErrParametersDontMatch);

    TableLease lease(program);
    VariableTable& locals = lease.LocalsOf(*function);
    for (std::size_t i = 0; i < count; ++i) {
        MoveValue(locals[i], args[i]);
        locals[i].reference = args[i].reference;
    }
    if (int error = CheckParameters(context, function->parameters, locals))
        return Refuse(context, name, error);
    return RunFunction(context, name, *function, locals, result);
}
