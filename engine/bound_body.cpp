// Running a bound body: the statement walker's constructs over a tree bound once, with the
// walker's order of checks, line numbers and signals.
#include "bound_body.h"

#include "error_codes.h"
#include "run_window.h"
#include "script_result.h"
#include "stack_guard.h"
#include "statements.h"

// Each construct keeps its values in a frame of its own, so the frames that stay on the stack
// while a nested user call runs are small.
#define NOINLINE [[gnu::noinline]]

namespace {

int RunList(RunContext& context, const std::vector<BoundConstruct>& list, VariableTable& locals) {
    for (const BoundConstruct& construct : list) {
        int outcome = RunBoundConstruct(context, construct, locals);
        if (outcome != kSignalNext) return outcome;
    }
    return kSignalNext;
}

// The block's declarations are in the table while its list runs.
[[gnu::always_inline]] inline int RunInBlock(RunContext& context, const Block& block,
                                             const std::vector<BoundConstruct>& list,
                                             VariableTable& locals) {
    if (block.locals.empty()) return RunList(context, list, locals);
    const std::size_t outer = locals.size();
    EnterBlock(block, locals);
    int outcome = RunList(context, list, locals);
    LeaveBlock(block, locals, outer);
    return outcome;
}

NOINLINE int RunNestedBlock(RunContext& context, const BoundConstruct& construct,
                            VariableTable& locals) {
    return RunInBlock(context, *construct.statement->block, construct.list, locals);
}

NOINLINE int RunAssignment(RunContext& context, const BoundConstruct& construct,
                           VariableTable& locals) {
    // Nothing the value runs adds to this table or to the globals: the reference stays valid.
    ScriptValue& variable = VariableAt(context, locals, construct.variable);
    int32_t integer = 0;
    if (variable.type == kTypeInt && EvaluateBoundInt(context, construct.value, locals, integer)) {
        StoreInt(variable, integer);
        return kSignalNext;
    }
    ScriptValue value;
    int outcome = EvaluateBoundItem(context, construct.value, locals, value, &variable);
    return outcome != kOk ? outcome : StoreAssigned(context, variable, value);
}

// A return outside any function's call (no result slot), in a frame of its own: a return
// frame stays on the stack while the user calls of its value run.
NOINLINE int ReturnWithoutSlot(RunContext& context, const BoundConstruct& construct,
                               VariableTable& locals) {
    ScriptValue value;
    SetEmptyValue(value, ReturnType(context));  // the expected type of an expression text
    int outcome = EvaluateBoundItem(context, construct.value, locals, value);
    return outcome != kOk ? outcome : StoreReturned(context, value);
}

NOINLINE int RunReturn(RunContext& context, const BoundConstruct& construct,
                       VariableTable& locals) {
    ScriptValue* slot = context.functionResult;
    if (!slot) return ReturnWithoutSlot(context, construct, locals);
    if (IsLoneCallNow(context, construct.value, *slot))
        return ReturnLoneCall(context, *construct.value.expression, locals, *slot);
    // The slot holds the empty value of the declared type until now, as a fresh value would:
    // the value goes straight into it (an exit inside puts its own value there and ends all).
    const uint32_t declared = slot->type;
    int outcome = EvaluateBoundItem(context, construct.value, locals, *slot);
    return outcome != kOk ? outcome : TakeReturned(*slot, declared);
}

NOINLINE int IfHeader(RunContext& context, const BoundConstruct& construct, VariableTable& locals) {
    ScriptValue value;
    int outcome = EvaluateBoundItem(context, construct.value, locals, value);
    return outcome != kOk ? outcome : IfOutcome(value);
}

NOINLINE int RunIf(RunContext& context, const BoundConstruct& construct, VariableTable& locals) {
    int32_t truth = 0;
    int outcome = EvaluateBoundInt(context, construct.value, locals, truth)
                      ? (truth != 0 ? kSignalIfTrue : kSignalIfFalse)
                      : IfHeader(context, construct, locals);
    if (outcome == kSignalIfTrue) return RunBoundConstruct(context, *construct.body, locals);
    if (outcome != kSignalIfFalse) return outcome;
    return construct.otherwise ? RunBoundConstruct(context, *construct.otherwise, locals)
                               : kSignalNext;
}

NOINLINE int WhileHeader(RunContext& context, const BoundConstruct& construct,
                         VariableTable& locals) {
    int32_t truth = 0;
    if (EvaluateBoundInt(context, construct.value, locals, truth))
        return truth != 0 ? kSignalWhileTrue : kSignalWhileFalse;
    ScriptValue value;
    int outcome = EvaluateBoundItem(context, construct.value, locals, value);
    return outcome != kOk ? outcome : WhileOutcome(value);
}

NOINLINE int RunWhile(RunContext& context, const BoundConstruct& construct, VariableTable& locals) {
    for (int outcome = WhileHeader(context, construct, locals);;) {
        if (outcome == kSignalWhileFalse) return kSignalNext;
        if (outcome != kSignalWhileTrue) return outcome;
        outcome = RunBoundConstruct(context, *construct.body, locals);
        if (outcome == kSignalBreak) return kSignalNext;
        if (outcome != kSignalNext) return outcome;
        // The header again, as a statement of its own line, without a look at Cancel.
        context.record.line = construct.statement->line;
        outcome = WhileHeader(context, construct, locals);
    }
}

NOINLINE int RunRepeat(RunContext& context, const BoundConstruct& construct,
                       VariableTable& locals) {
    ScriptValue value = MakeInt(0);
    int outcome = EvaluateBoundItem(context, construct.value, locals, value);
    if (outcome != kOk) return outcome;
    int32_t count = 0;
    outcome = RepeatOutcome(value, count);
    if (outcome != kSignalRepeat) return outcome;
    // The count is read once; changing its variable inside the body changes nothing.
    for (; count > 0; --count) {
        outcome = RunBoundConstruct(context, *construct.body, locals);
        if (outcome == kSignalBreak) break;
        if (outcome != kSignalNext) return outcome;
    }
    return kSignalNext;
}

// A call statement, `exit` included; its value is dropped.
NOINLINE int RunCall(RunContext& context, const BoundConstruct& construct, VariableTable& locals) {
    ScriptValue result;
    int outcome = ExecuteBoundCall(context, *construct.call, locals, result);
    return outcome == kSignalExit || outcome < 0 ? outcome : kSignalNext;
}

}  // namespace

int RunBoundConstruct(RunContext& context, const BoundConstruct& construct, VariableTable& locals) {
    // Long if-chains and nested blocks recurse here.
    if (StackGuard::Exhausted(*context.guard)) return kErrStackOverflow;
    if (context.window.CancelBeforeStatement()) return kErrCancelled;
    const Statement& statement = *construct.statement;
    context.record.line = statement.line;
    // The commonest kinds by compare: a jump table's one indirect branch is mispredicted
    // whenever the kind differs from the previous statement's.
    if (statement.kind == StatementKind::kReturn) return RunReturn(context, construct, locals);
    if (statement.kind == StatementKind::kIf) return RunIf(context, construct, locals);
    if (statement.kind == StatementKind::kAssignment)
        return RunAssignment(context, construct, locals);
    switch (statement.kind) {
    case StatementKind::kBlock: return RunNestedBlock(context, construct, locals);
    case StatementKind::kEmpty: return kSignalNext;
    case StatementKind::kAssignment: return RunAssignment(context, construct, locals);
    case StatementKind::kReturn: return RunReturn(context, construct, locals);
    case StatementKind::kIf: return RunIf(context, construct, locals);
    case StatementKind::kWhile: return RunWhile(context, construct, locals);
    case StatementKind::kRepeat: return RunRepeat(context, construct, locals);
    case StatementKind::kBreak: return kSignalBreak;
    case StatementKind::kCall: return RunCall(context, construct, locals);
    case StatementKind::kElse:
    case StatementKind::kUnclassified: break;
    }
    return kErrSyntax;  // never bound
}

int RunBoundBodyWithLocals(RunContext& context, const FunctionDef& function, const BoundBody& body,
                           VariableTable& locals) {
    return RunInBlock(context, function.body, body.list, locals);
}
