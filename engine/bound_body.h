// A function body bound once to what cannot change while its program runs: each name to its
// slot in the local table or the globals, each call to its user function, each expression to
// its lexed form, and the flat statement list to a tree of constructs. A body binds only when
// every name resolves that way (no implicit variables, no unknown names or functions, no
// construct cut short); any other body runs on the statement walker, which behaves the same.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "error_codes.h"
#include "expression_lexer.h"
#include "int_operations.h"
#include "item_stack.h"
#include "program.h"
#include "run_context.h"

// A variable by position: a local table is laid out the same at every run of a bound body.
struct BoundVariable {
    bool global = false;
    uint32_t index = 0;
};

inline ScriptValue& VariableAt(RunContext& context, VariableTable& locals, BoundVariable at) {
    return at.global ? context.program.globals[at.index] : locals[at.index];
}

struct BoundExpression;
struct BoundCall;

// One item as the compiler stored it: a variable name, an expression text or a constant.
struct BoundItem {
    const ScriptValue* item = nullptr;
    BoundVariable variable;                       // a variable name
    std::unique_ptr<BoundExpression> expression;  // an expression text
};

// An expression text: its lexed form, and per token what its operand is bound to.
struct BoundOperand {
    BoundVariable variable;            // Variable tokens
    std::unique_ptr<BoundCall> call;   // Call tokens
    std::unique_ptr<BoundItem> group;  // Group tokens
};

// One side of a bound `a op b`: a constant, or else a variable.
struct BoundPairSide {
    const ScriptValue* constant = nullptr;
    BoundVariable variable;
};

struct BoundExpression {
    std::shared_ptr<const LexedExpression> lexed;
    std::vector<BoundOperand> operands;  // one per token
    // The int plan of a lone `a op b` (ExprPlan::kIntPair), the commonest text of all, bound
    // so statements and arguments evaluate it inline; `pairOp` is 0 for every other text.
    char pairOp = 0;
    BoundPairSide pair[2];
    bool loneCall = false;  // the text is one call (a call plan of one token)
};

struct BoundCall {
    std::string_view name;  // as spelled at the call site
    const CallTarget* target = nullptr;
    const FunctionDef* function = nullptr;  // a user function with a matching count, not main
    std::vector<BoundItem> args;
};

struct BoundConstruct {
    const Statement* statement = nullptr;       // the header: its line and kind
    BoundItem value;                            // the one item of an assignment, return, if, ...
    BoundVariable variable;                     // an assignment's target
    std::unique_ptr<BoundCall> call;            // a call statement
    std::vector<BoundConstruct> list;           // a block's constructs
    std::unique_ptr<BoundConstruct> body;       // what an if, while or repeat controls
    std::unique_ptr<BoundConstruct> otherwise;  // an if's else branch
};

struct BoundBody {
    std::vector<BoundConstruct> list;
};

// The bound form of `function`'s body, bound at its first call under the program's name rule;
// nullptr when the body must run on the walker.
const BoundBody* BindBody(RunContext& context, const FunctionDef& function);
inline const BoundBody* BoundBodyOf(RunContext& context, const FunctionDef& function) {
    const ScriptProgram& program = context.program;
    if (function.boundRule == (program.strict ? 1 : 0) && program.bindBodies)
        return function.bound.get();
    return BindBody(context, function);
}

// One construct of a bound body, with the walker's checks before it; returns as RunBlock does.
int RunBoundConstruct(RunContext& context, const BoundConstruct& construct, VariableTable& locals);
// A bound body whose outer block declares variables.
int RunBoundBodyWithLocals(RunContext& context, const FunctionDef& function, const BoundBody& body,
                           VariableTable& locals);

// Runs a bound body on `locals` (the parameters bound); returns as RunBlock does. Inline: the
// list of a body without declarations runs in the calling frame, one frame less per call.
[[gnu::always_inline]] inline int RunBoundBody(RunContext& context, const FunctionDef& function,
                                               const BoundBody& body, VariableTable& locals) {
    if (!function.body.locals.empty())
        return RunBoundBodyWithLocals(context, function, body, locals);
    for (const BoundConstruct& construct : body.list) {
        int outcome = RunBoundConstruct(context, construct, locals);
        if (outcome != kSignalNext) return outcome;
    }
    return kSignalNext;
}

// An expression text's part of EvaluateBoundItem, past the inline pair.
int EvaluateBoundText(RunContext& context, const BoundItem& item, VariableTable& locals,
                      ScriptValue& result, ScriptValue* assigned);

inline const ScriptValue& PairSide(RunContext& context, VariableTable& locals,
                                   const BoundPairSide& side) {
    return side.constant ? *side.constant : VariableAt(context, locals, side.variable);
}

// A bound pair's value while both sides hold ints; false, with nothing changed, whenever the
// general path could answer otherwise (another type, a failed operation, a budget), which then
// raises what it raises, since reading operands changes nothing.
[[gnu::always_inline]] inline bool BoundPairInt(RunContext& context, const BoundExpression& bound,
                                                VariableTable& locals, int32_t& out) {
    if (!WithinBudgets(context, bound.lexed->cost)) return false;
    const ScriptValue& left = PairSide(context, locals, bound.pair[0]);
    if (left.type != kTypeInt) return false;
    const ScriptValue& right = PairSide(context, locals, bound.pair[1]);
    if (right.type != kTypeInt) return false;
    return IntOperation(bound.pairOp, left.integer, right.integer, out) >= 0;
}

// The int value of a bound text of an int plan (ExprPlan::kInt) whose operands all hold ints.
bool EvaluateBoundIntPlan(RunContext& context, const BoundExpression& bound, VariableTable& locals,
                          int32_t& out);

// The int value of a bound item that is a text of an int plan whose operands all hold ints
// now, in `out`; false, with nothing changed, when EvaluateBoundItem must answer instead.
[[gnu::always_inline]] inline bool EvaluateBoundInt(RunContext& context, const BoundItem& item,
                                                    VariableTable& locals, int32_t& out) {
    const BoundExpression* bound = item.expression.get();  // texts only
    if (!bound) return false;
    if (bound->pairOp) return BoundPairInt(context, *bound, locals, out);
    return EvaluateBoundIntPlan(context, *bound, locals, out);
}

// Evaluates a bound item as EvaluateExpression evaluates its item. `assigned` is the variable an
// assignment stores the value into (see RunContext::assignedVariable).
[[gnu::always_inline]] inline int EvaluateBoundItem(RunContext& context, const BoundItem& item,
                                                    VariableTable& locals, ScriptValue& result,
                                                    ScriptValue* assigned = nullptr) {
    const ScriptValue& argument = *item.item;
    switch (argument.type) {
    case kTypeExpression: {
        int32_t value = 0;
        if (item.expression->pairOp && IsExpressionSlot(result.type) &&
            BoundPairInt(context, *item.expression, locals, value)) {
            StoreInt(result, value);
            return kOk;
        }
        return EvaluateBoundText(context, item, locals, result, assigned);
    }
    case kTypeVarRef: CopyValue(result, VariableAt(context, locals, item.variable)); return kOk;
    default: CopyValue(result, argument); return kOk;
    }
}
// Makes a bound call as ExecuteCall makes its call.
int ExecuteBoundCall(RunContext& context, const BoundCall& call, VariableTable& locals,
                     ScriptValue& result);
// A bound text that is one call (`return f(x)`, `v = f(x)`), as the call plan evaluates it.
int EvaluateLoneCall(RunContext& context, const BoundExpression& bound, VariableTable& locals,
                     ScriptValue& result);
// True when `item` is one call to evaluate into `result` by EvaluateLoneCall now.
inline bool IsLoneCallNow(RunContext& context, const BoundItem& item, const ScriptValue& result) {
    const BoundExpression* bound = item.expression.get();
    return bound && bound->loneCall && IsExpressionSlot(result.type) &&
           WithinBudgets(context, bound->lexed->cost);
}
// A return statement's value, in its function's result slot, as the declared type takes it.
inline int TakeReturned(ScriptValue& slot, uint32_t declared) {
    if (slot.type == kTypeVoid) {
        SetEmptyValue(slot, declared);
    } else if (slot.type != declared) {
        return kErrInvalidReturnType;
    }
    return kSignalReturn;
}
// `return f(x)` into its function's result slot: the whole return in EvaluateLoneCall's one
// frame, so a recursion through it takes one frame a level.
int ReturnLoneCall(RunContext& context, const BoundExpression& bound, VariableTable& locals,
                   ScriptValue& slot);
