// Expression evaluation: the operands of the lexed text are evaluated (and calls made) from
// left to right, then the item list is reduced by the unary pass and the binary levels.
#include "expression.h"

#include <algorithm>
#include <climits>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "bound_body.h"
#include "calls.h"
#include "error_codes.h"
#include "expression_lexer.h"
#include "int_operations.h"
#include "item_stack.h"
#include "program.h"
#include "scanner.h"
#include "script_result.h"
#include "stack_guard.h"

// One entry of the list being reduced: an operator (code) or an operand (code 0). It holds only
// the value part of a variable, so building the list stays cheap.
struct EvalItem {
    char op = 0;
    uint32_t type = kTypeUndetermined;
    int32_t integer = 0;
    uint32_t handle = 0;
    SharedText text;
};

ItemStack::ItemStack() = default;
ItemStack::~ItemStack() = default;

namespace {

using Item = EvalItem;

// Past this many entries an emptied stack gives its memory back.
constexpr std::size_t kKeptItems = 1024;

// One evaluation's segment of the item stack; ending it drops the entries again, errors included.
class ItemSegment {
public:
    explicit ItemSegment(ItemStack& stack) : stack_(stack), base_(stack.used) { ++stack.segments; }
    ~ItemSegment() {
        std::vector<Item>& items = stack_.items;
        for (std::size_t i = base_; i < stack_.used; ++i) items[i].text.clear();
        stack_.used = base_;
        if (--stack_.segments == 0 && items.size() > kKeptItems) std::vector<Item>().swap(items);
    }
    ItemSegment(const ItemSegment&) = delete;
    ItemSegment& operator=(const ItemSegment&) = delete;

    // Room for `count` items, made before any token runs: an allocation failure then belongs
    // to the expression's own line, and Push never allocates (nested evaluations only grow it).
    void Reserve(std::size_t count) {
        std::size_t needed = stack_.used + count;
        if (needed > stack_.items.size())
            stack_.items.resize(std::max(needed, 2 * stack_.items.size()));
    }
    std::size_t size() const { return stack_.used - base_; }
    Item& operator[](std::size_t i) { return stack_.items[base_ + i]; }
    // A fresh item; its text is empty already.
    Item& Push() {
        Item& item = stack_.items[stack_.used++];
        item.op = 0;
        item.type = kTypeUndetermined;
        item.integer = 0;
        item.handle = 0;
        return item;
    }

private:
    ItemStack& stack_;
    std::size_t base_;
};

// An operator item counts as an int where types are compared.
uint32_t TypeOf(const Item& item) { return item.op ? kTypeInt : item.type; }

// The handle slot of a handle value: `handle` for HKEY, `integer` for HFILE and HBROWSER.
uint32_t HandleOf(const Item& item) {
    return item.type == kTypeHkey ? item.handle : static_cast<uint32_t>(item.integer);
}

// Loads the value part of a variable or constant into a fresh item; a text is shared, not copied.
inline void LoadValue(Item& item, const ScriptValue& value) {
    item.type = value.type;
    item.integer = value.integer;
    item.handle = value.handle;
    item.text = value.text;
}

// Moves a call's or a group's result into a fresh item.
void TakeValue(Item& item, ScriptValue& value) {
    item.type = value.type;
    item.integer = value.integer;
    item.handle = value.handle;
    item.text = std::move(value.text);
}

// An evaluation's value (an item or a call's value) into the result slot, its text moved.
template <class Value>
void MoveResult(ScriptValue& result, Value& value) {
    result.type = value.type;
    result.integer = value.integer;
    result.text = std::move(value.text);
    result.handle = value.handle;
}

void SetInt(Item& item, int32_t value) {
    item.type = kTypeInt;
    item.integer = value;
    item.text.clear();
    item.handle = 0;
}

int WrongType(ScriptResult& record) {
    SetResultName(record, "");
    return kErrWrongType;
}

// `s = s + t`: when the left operand shares its text with the assigned variable and nobody
// else (but the right operand, in `s = s + s`), the variable lets go of it so the append
// happens in place (the variable takes the result next, and no script code runs in between).
// Without this a loop of appends copies the whole text at every pass.
void ReleaseAssignedText(const Item& left, const Item& right, ScriptValue* assigned) {
    if (!assigned || !left.text.SameStorage(assigned->text)) return;
    const std::size_t holders = left.text.SameStorage(right.text) ? 3 : 2;
    if (left.text.holders() == holders) assigned->text.clear();
}

// Applies a binary operator to two operands of one common type; the result goes to `right`.
// `assigned` is the variable the result goes to when this is an assignment's last step.
int ApplyBinary(char op, Item& left, Item& right, ScriptResult& record, ScriptValue* assigned) {
    uint32_t type = left.type;
    if (type == kTypeInt) {
        int32_t out = 0;
        if (int rc = IntOperation(op, left.integer, right.integer, out); rc < 0) return rc;
        SetInt(right, out);
        return kOk;
    }
    if (type == kTypeString) {
        if (op == '+') {
            if (left.text.size() + right.text.size() > kMaxTextLength) return kErrStringTooLong;
            ReleaseAssignedText(left, right, assigned);
            if (right.text.empty()) {
                right.text = std::move(left.text);
            } else if (!left.text.empty()) {
                left.text.Append(std::move(right.text));
                right.text = std::move(left.text);
            }
            return kOk;
        }
        if (op == kOpEqual || op == kOpNotEqual) {
            bool equal = left.text == right.text;
            SetInt(right, op == kOpEqual ? equal : !equal);
            return kOk;
        }
        SetResultName(record, OperatorText(op));
        return kErrInvalidStringOperator;
    }
    if (IsHandleType(type)) {
        if (op == kOpEqual || op == kOpNotEqual) {
            bool equal = HandleOf(left) == HandleOf(right);
            SetInt(right, op == kOpEqual ? equal : !equal);
            return kOk;
        }
        SetResultName(record, OperatorText(op));
        return kErrInvalidOperator;
    }
    return WrongType(record);  // both NULL, or no value at all
}

// Unary - or ! applied to the item after the operator.
int ApplyUnary(char op, Item& next, ScriptResult& record) {
    uint32_t type = TypeOf(next);
    if (type == kTypeInt) {
        if (next.op) return kErrSyntax;
        SetInt(next, IntUnary(op, next.integer));
    } else if (IsHandleType(type) && op == '!') {
        SetInt(next, HandleOf(next) == 0);
    } else {
        return WrongType(record);
    }
    return kOk;
}

// A NULL operand takes the other side's type as its empty value; an int becomes its decimal text.
void ConvertItem(Item& item, uint32_t type) {
    if (item.type == kTypeVoid) {
        item.type = type;
        item.integer = 0;
        item.text.clear();
        item.handle = 0;
        return;
    }
    item.text = IntToString(item.integer);
    item.integer = 0;
    item.type = kTypeString;
}

// Brings two neighbours to one type: NULL takes the other's type; without strict an int
// beside a string becomes its decimal text.
int UnifyTypes(Item& left, Item& right, bool strict, ScriptResult& record) {
    uint32_t lt = TypeOf(left);
    uint32_t rt = TypeOf(right);
    if (lt == rt) return kOk;
    Item* from = nullptr;
    uint32_t to = 0;
    if (lt == kTypeVoid) {
        from = &left, to = rt;
    } else if (rt == kTypeVoid) {
        from = &right, to = lt;
    } else if (!strict && (lt == kTypeInt || lt == kTypeString) &&
               (rt == kTypeInt || rt == kTypeString)) {
        from = lt == kTypeInt ? &left : &right;
        to = kTypeString;
    } else {
        return WrongType(record);
    }
    if (!from->op) ConvertItem(*from, to);
    return kOk;
}

int ApplyStep(const ReduceStep& step, ItemSegment& items, bool strict, ScriptResult& record,
              ScriptValue* assigned) {
    switch (step.kind) {
    case StepKind::Unary: return ApplyUnary(step.op, items[step.right], record);
    case StepKind::Binary: {
        Item& left = items[step.left];
        Item& right = items[step.right];
        if (int rc = UnifyTypes(left, right, strict, record); rc < 0) return rc;
        if (left.op || right.op) return kErrSyntax;
        return ApplyBinary(step.op, left, right, record, assigned);
    }
    case StepKind::Fail: break;
    }
    return step.error;
}

// Runs the planned steps; the value is then in the item `lexed.resultItem`. `assigned` is the
// variable the value goes to, if any: only the last step may append to its text in place.
int Reduce(const LexedExpression& lexed, ItemSegment& items, bool strict, ScriptResult& record,
           ScriptValue* assigned) {
    const std::size_t last = lexed.steps.size() - 1;
    for (std::size_t i = 0; i < lexed.steps.size(); ++i) {
        if (int rc =
                ApplyStep(lexed.steps[i], items, strict, record, i == last ? assigned : nullptr);
            rc < 0)
            return rc;
    }
    return kOk;
}

// The lexed form bound to an expression item, lexed again only under another name rule.
// A cache hit is used through a plain pointer: items are not changed while a run evaluates
// them, so the cached form outlives the evaluation; a fresh form is kept alive in `owner`.
const LexedExpression& Lexed(const ScriptValue& argument, bool strict,
                             std::shared_ptr<const LexedExpression>& owner) {
    const LexedExpression* cached = argument.lexed.get();
    if (cached && cached->strict == strict) return *cached;
    owner = LexExpression(argument.text, strict);
    if (owner->cacheable) argument.lexed = owner;
    return *owner;
}

// How the operands of a text are reached. By name: variables are looked up in the scope at
// each evaluation and calls resolved as they run.
struct ByName {
    RunContext& context;
    VariableTable& locals;

    const ScriptValue* Find(std::size_t, std::string_view name) {
        return LookupVariable(context, locals, name);
    }
    int Call(std::size_t, const ExprToken& token, ScriptValue& value) {
        return ExecuteCall(context, token.value.text, token.target, token.args, locals, value);
    }
    int Group(std::size_t, const ExprToken& token, ScriptValue& value) {
        return EvaluateExpression(context, token.value, locals, value);
    }
};

// By binding: each operand token was bound once to its slot, call or group (bound_body.h).
struct ByBinding {
    RunContext& context;
    VariableTable& locals;
    const BoundExpression& bound;

    const ScriptValue* Find(std::size_t token, std::string_view) {
        return &VariableAt(context, locals, bound.operands[token].variable);
    }
    int Call(std::size_t token, const ExprToken&, ScriptValue& value) {
        return ExecuteBoundCall(context, *bound.operands[token].call, locals, value);
    }
    int Group(std::size_t token, const ExprToken&, ScriptValue& value) {
        return EvaluateBoundItem(context, *bound.operands[token].group, locals, value);
    }
};

// The value an operand of a shortcut reads now; null when its name is not defined.
template <class Resolver>
[[gnu::always_inline]] inline const ScriptValue* OperandValue(Resolver& resolver,
                                                              const PlanOperand& operand) {
    if (operand.constant) return operand.constant;
    return resolver.Find(operand.item, operand.name);
}

// The int plan of `a op b` (ExprPlan::kIntPair), the commonest text, without the item array.
template <class Resolver>
[[gnu::always_inline]] inline bool IntPairValue(const LexedExpression& lexed, Resolver& resolver,
                                                int32_t& out) {
    const ScriptValue* left = OperandValue(resolver, lexed.operands[0]);
    if (!left || left->type != kTypeInt) return false;
    const ScriptValue* right = OperandValue(resolver, lexed.operands[1]);
    if (!right || right->type != kTypeInt) return false;
    return IntOperation(lexed.steps[0].op, left->integer, right->integer, out) >= 0;
}

template <class Resolver>
[[gnu::always_inline]] inline bool EvaluateIntPair(const LexedExpression& lexed, Resolver& resolver,
                                                   ScriptValue& result) {
    int32_t value = 0;
    if (!IntPairValue(lexed, resolver, value)) return false;
    StoreInt(result, value);
    return true;
}

// The planned steps on bare ints, in place; false when one fails (a division by zero).
inline bool RunIntSteps(const LexedExpression& lexed, int32_t* values) {
    for (const ReduceStep& step : lexed.steps) {
        int32_t& right = values[step.right];
        if (step.kind == StepKind::Unary) {
            right = IntUnary(step.op, right);
        } else if (IntOperation(step.op, values[step.left], right, right) < 0) {
            return false;
        }
    }
    return true;
}

// The int plan (ExprPlan::kInt) when every operand holds an int now: the same steps on bare
// ints, with no item list. False, with nothing changed, whenever the general path could answer
// otherwise (an operand of another type or not defined, an operation that fails); that path
// then runs and raises what it raises, since reading operands changes nothing.
template <class Resolver>
[[gnu::noinline]] bool EvaluateIntSteps(const LexedExpression& lexed, Resolver& resolver,
                                        int32_t& out) {
    int32_t values[kIntPlanItems];
    for (const PlanOperand& operand : lexed.operands) {
        const ScriptValue* value = OperandValue(resolver, operand);
        if (!value || value->type != kTypeInt) return false;
        values[operand.item] = value->integer;
    }
    if (!RunIntSteps(lexed, values)) return false;
    out = values[lexed.resultItem];
    return true;
}

template <class Resolver>
bool EvaluateIntPlan(const LexedExpression& lexed, Resolver& resolver, ScriptValue& result) {
    int32_t value = 0;
    if (!EvaluateIntSteps(lexed, resolver, value)) return false;
    StoreInt(result, value);
    return true;
}

// A lone variable or constant (ExprPlan::kSingle): its value, shared as the item list would
// share it. False when the name is not defined, for the general path to raise.
template <class Resolver>
bool EvaluateSingle(const LexedExpression& lexed, Resolver& resolver, ScriptValue& result) {
    const ScriptValue* value = OperandValue(resolver, lexed.operands.front());
    if (!value) return false;
    result.type = value->type;
    result.integer = value->integer;
    result.text = value->text;
    result.handle = value->handle;
    return true;
}

template <class Resolver>
bool EvaluateShortcut(const LexedExpression& lexed, Resolver& resolver, ScriptValue& result) {
    switch (lexed.plan) {
    case ExprPlan::kInt: return EvaluateIntPlan(lexed, resolver, result);
    case ExprPlan::kIntPair: return EvaluateIntPair(lexed, resolver, result);
    case ExprPlan::kSingle: return EvaluateSingle(lexed, resolver, result);
    case ExprPlan::kGeneral: break;
    }
    return false;
}

bool WithinBudgets(RunContext& context, const LexedExpression& lexed) {
    return WithinBudgets(context, lexed.cost);
}

// An expression item whose lexed form is cached already and has a shortcut that applies now:
// the common case of a statement run many times, kept out of the general path's large frame.
inline bool EvaluateCached(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                           ScriptValue& result) {
    const LexedExpression* lexed = argument.lexed.get();
    if (!lexed || lexed->plan == ExprPlan::kGeneral || lexed->strict != context.program.strict ||
        !WithinBudgets(context, *lexed))
        return false;
    ByName resolver{context, locals};
    return EvaluateShortcut(*lexed, resolver, result);
}

// Evaluates the operand tokens left to right into `items`; a call or a group may end the run.
template <class Resolver>
int EvaluateTokens(RunContext& context, const LexedExpression& lexed, Resolver& resolver,
                   uint32_t expectedType, int32_t baseLine, ItemSegment& items,
                   std::size_t first = 0) {
    ScriptResult& record = context.record;
    items.Reserve(lexed.tokens.size());
    // The record's line matters only where an error can arise or a nested run starts.
    for (std::size_t i = first; i < lexed.tokens.size(); ++i) {
        const ExprToken& token = lexed.tokens[i];
        switch (token.kind) {
        case TokenKind::Operator: {
            Item& item = items.Push();
            item.op = token.op;
            item.type = kTypeInt;
            break;
        }
        case TokenKind::Constant:
            if (!token.value.text.empty())
                SetLine(record, baseLine, token.lines);  // copying a text may fail
            LoadValue(items.Push(), token.value);
            break;
        case TokenKind::Variable: {
            const ScriptValue* variable = resolver.Find(i, token.value.text);
            if (!variable) {
                SetResultName(record, token.value.text);
                SetLine(record, baseLine, token.lines);
                return kErrNotDefined;
            }
            if (!variable->text.empty()) SetLine(record, baseLine, token.lines);
            LoadValue(items.Push(), *variable);
            break;
        }
        case TokenKind::Call: {
            // The item is pushed only after the call: nested evaluations use the stack meanwhile.
            SetLine(record, baseLine, token.lines);
            ScriptValue value;
            int rc = resolver.Call(i, token, value);
            if (rc < 0 || rc == kSignalExit) return rc;
            // A user function moves the line; later errors belong to this expression's line.
            SetLine(record, baseLine, token.lines);
            TakeValue(items.Push(), value);
            break;
        }
        case TokenKind::Group: {
            SetLine(record, baseLine, token.lines);
            ScriptValue value;
            value.type = expectedType;
            int rc = resolver.Group(i, token, value);
            if (rc < 0 || rc == kSignalExit) return rc;
            TakeValue(items.Push(), value);
            break;
        }
        case TokenKind::Error: SetLine(record, baseLine, token.lines); return token.error;
        }
    }
    return kOk;
}

// How far the operands of a call plan got as ints (EvaluateIntOperands).
struct IntOperands {
    int32_t values[kIntPlanItems];
    std::size_t next = 0;   // the first token the item list still has to evaluate
    bool complete = false;  // every operand came out as an int
    bool pending = false;   // the call before `next` gave `value`, which is no int
    ScriptValue value;
};

// The operands of a call plan left to right, as the item list would evaluate them, while they
// come out as ints. A variable or constant of another type is left to the item list (reading
// it changes nothing); a call's other value is kept. Returns an error or the exit signal.
template <class Resolver>
int EvaluateIntOperands(RunContext& context, const LexedExpression& lexed, Resolver& resolver,
                        int32_t baseLine, IntOperands& out) {
    ScriptResult& record = context.record;
    for (const PlanOperand& operand : lexed.operands) {
        const std::size_t i = operand.item;
        out.next = i;
        const ExprToken& token = lexed.tokens[i];
        const ScriptValue* value = &token.value;
        if (token.kind == TokenKind::Variable) {
            value = resolver.Find(i, token.value.text);
            if (!value) return kOk;  // the item list raises it
        } else if (token.kind == TokenKind::Call) {
            SetLine(record, baseLine, token.lines);
            SetEmptyValue(out.value, kTypeUndetermined);  // fresh, as the item list's value is
            int rc = resolver.Call(i, token, out.value);
            if (rc < 0 || rc == kSignalExit) return rc;
            // A user function moves the line; later errors belong to this expression's line.
            SetLine(record, baseLine, token.lines);
            if (out.value.type != kTypeInt) {
                out.next = i + 1;
                out.pending = true;
                return kOk;
            }
            value = &out.value;
        }
        if (value->type != kTypeInt) return kOk;
        out.values[i] = value->integer;
    }
    out.next = lexed.tokens.size();
    out.complete = true;
    return kOk;
}

// The planned steps on the ints of a complete call plan; false when one fails (the item list
// then raises it).
bool ReduceInts(const LexedExpression& lexed, const IntOperands& operands, int32_t& result) {
    int32_t values[kIntPlanItems];
    std::copy(std::begin(operands.values), std::end(operands.values), values);
    if (!RunIntSteps(lexed, values)) return false;
    result = values[lexed.resultItem];
    return true;
}

// The item list of the tokens a call plan evaluated, as the general path would have built it.
void PushIntOperands(const LexedExpression& lexed, IntOperands& operands, ItemSegment& items) {
    items.Reserve(lexed.tokens.size());
    const std::size_t done = operands.pending ? operands.next - 1 : operands.next;
    for (std::size_t i = 0; i < done; ++i) {
        Item& item = items.Push();
        if (lexed.tokens[i].kind == TokenKind::Operator) {
            item.op = lexed.tokens[i].op;
            item.type = kTypeInt;
        } else {
            SetInt(item, operands.values[i]);
        }
    }
    if (operands.pending) TakeValue(items.Push(), operands.value);
}

// The item list of a lexed text within its budgets: operands, then the planned steps.
template <class Resolver>
[[gnu::always_inline]] inline int EvaluateItems(RunContext& context, const LexedExpression& lexed,
                                                Resolver& resolver,
                  ScriptValue& result, ScriptValue* assigned) {
    ItemStack& stack = *context.items;
    ScriptResult& record = context.record;
    const int32_t baseLine = record.line;
    ActiveBytes active(stack, lexed.cost);
    IntOperands operands;
    if (lexed.callPlan) {
        int rc = EvaluateIntOperands(context, lexed, resolver, baseLine, operands);
        if (rc == kSignalExit) {
            record.line = baseLine;
            return rc;
        }
        if (rc < 0) return rc;
        int32_t value = 0;
        if (operands.complete && ReduceInts(lexed, operands, value)) {
            StoreInt(result, value);
            record.line = baseLine;
            return kOk;
        }
    }
    ItemSegment items(stack);
    if (lexed.callPlan) PushIntOperands(lexed, operands, items);
    int rc = EvaluateTokens(context, lexed, resolver, result.type, baseLine, items, operands.next);
    if (rc == kSignalExit) {
        record.line = baseLine;
        return rc;
    }
    if (rc < 0) return rc;
    SetLine(record, baseLine, lexed.lines);  // reduction errors belong to the end of the text
    rc = Reduce(lexed, items, context.program.strict, record, assigned);
    if (rc < 0) return rc;
    MoveResult(result, items[lexed.resultItem]);
    record.line = baseLine;
    return kOk;
}

int EvaluateText(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                 ScriptValue& result, ScriptValue* assigned) {
    ItemStack& stack = *context.items;
    if (StackGuard::Exhausted(*context.guard) ||
        stack.activeBytes + argument.text.size() > kActiveBudget)
        return kErrStackOverflow;
    std::shared_ptr<const LexedExpression> owner;
    const LexedExpression& lexed = Lexed(argument, context.program.strict, owner);
    if (stack.activeBytes + lexed.cost > kActiveBudget) return kErrStackOverflow;
    ByName resolver{context, locals};
    if (EvaluateShortcut(lexed, resolver, result)) return kOk;
    return EvaluateItems(context, lexed, resolver, result, assigned);
}

[[gnu::noinline]] int EvaluateGenerally(RunContext& context, const ScriptValue& argument,
                                        VariableTable& locals, ScriptValue& result,
                                        ScriptValue* assigned) {
    try {
        return EvaluateText(context, argument, locals, result, assigned);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}

// The item list of a bound expression text.
[[gnu::noinline]] int EvaluateBoundItems(RunContext& context, const BoundExpression& bound,
                                         VariableTable& locals, ScriptValue& result,
                                         ScriptValue* assigned) {
    ByBinding resolver{context, locals, bound};
    try {
        return EvaluateItems(context, *bound.lexed, resolver, result, assigned);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}

// Every plan of a bound text but the pair's when it applied.
[[gnu::noinline]] int EvaluateBoundPlan(RunContext& context, const BoundExpression& bound,
                                        VariableTable& locals, ScriptValue& result,
                                        ScriptValue* assigned) {
    if (!IsExpressionSlot(result.type)) return kErrInvalidReturnType;
    if (!WithinBudgets(context, *bound.lexed)) return kErrStackOverflow;
    ByBinding resolver{context, locals, bound};
    if (EvaluateShortcut(*bound.lexed, resolver, result)) return kOk;
    return EvaluateBoundItems(context, bound, locals, result, assigned);
}

}  // namespace

int EvaluateBoundText(RunContext& context, const BoundItem& item, VariableTable& locals,
                      ScriptValue& result, ScriptValue* assigned) {
    const BoundExpression& bound = *item.expression;
    if (IsLoneCallNow(context, item, result))
        return EvaluateLoneCall(context, bound, locals, result);
    // A call plan has no shortcut to try: straight to its item list.
    const LexedExpression& lexed = *bound.lexed;
    if (lexed.callPlan && IsExpressionSlot(result.type) && WithinBudgets(context, lexed))
        return EvaluateBoundItems(context, bound, locals, result, assigned);
    return EvaluateBoundPlan(context, bound, locals, result, assigned);
}

bool EvaluateBoundIntPlan(RunContext& context, const BoundExpression& bound, VariableTable& locals,
                          int32_t& out) {
    const LexedExpression& lexed = *bound.lexed;
    if (lexed.plan != ExprPlan::kInt || !WithinBudgets(context, lexed)) return false;
    ByBinding resolver{context, locals, bound};
    return EvaluateIntSteps(lexed, resolver, out);
}

int EvaluateExpression(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                       ScriptValue& result) {
    // Only the outermost evaluation of an assignment learns its variable.
    ScriptValue* assigned = std::exchange(context.assignedVariable, nullptr);
    switch (argument.type) {
    case kTypeVarRef: {
        const ScriptValue* variable = LookupVariable(context, locals, argument.text);
        if (!variable) {
            SetResultName(context.record, argument.text);
            return kErrNotDefined;
        }
        CopyValue(result, *variable);
        return kOk;
    }
    case kTypeExpression: break;
    default: CopyValue(result, argument); return kOk;
    }
    if (!IsExpressionSlot(result.type)) return kErrInvalidReturnType;
    if (EvaluateCached(context, argument, locals, result)) return kOk;
    return EvaluateGenerally(context, argument, locals, result, assigned);
}
