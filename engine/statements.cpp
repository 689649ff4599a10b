// The statement walker. Pass 1 leaves control structures flat: `if (c)` is one statement and its
// then-branch the next one, so the walker consumes whole constructs out of one list.
#include "statements.h"

#include "calls.h"
#include "error_codes.h"
#include "expression.h"
#include "run_window.h"
#include "script_result.h"
#include "stack_guard.h"

// Each statement kind keeps its values in a frame of its own, so the frames that stay on the
// stack while a nested user call runs are small.
#define NOINLINE [[gnu::noinline]]

namespace {

// Pass 1 stores every statement keyword in its lower-case spelling once it has recognised it
// under the program's name comparison, so the walker compares exactly; a call never bears one.
NOINLINE StatementKind Classify(const Statement& statement) {
    struct Word {
        const char* text;
        StatementKind kind;
    };
    static constexpr Word kWords[] = {
        {"return", StatementKind::kReturn}, {"if", StatementKind::kIf},
        {"while", StatementKind::kWhile},   {"repeat", StatementKind::kRepeat},
        {"break", StatementKind::kBreak},   {"else", StatementKind::kElse},
    };
    if (statement.block) return StatementKind::kBlock;
    const std::string& keyword = statement.keyword;
    if (keyword.empty()) return StatementKind::kEmpty;
    if (keyword[0] == '=') return StatementKind::kAssignment;
    for (const Word& word : kWords) {
        if (keyword == word.text) return word.kind;
    }
    return StatementKind::kCall;
}

NOINLINE void CreateImplicitVariable(VariableTable& locals, std::string_view name,
                                     ScriptValue& value) {
    value.name = std::string(name);
    locals.push_back(std::move(value));
}

// `=name`: the value is converted to the variable's type; without strict an unknown name
// becomes a new local variable of the value's type.
NOINLINE int ExecuteAssignment(RunContext& context, const Statement& statement,
                               VariableTable& locals) {
    std::string_view name = std::string_view(statement.keyword).substr(1);
    // Looked up before the value (a look-up changes nothing): nothing the evaluation runs can
    // add to this frame's table or to the globals, so the pointer and the answer stay valid.
    ScriptValue* variable = LookupVariable(context, locals, name);
    context.assignedVariable = variable;
    ScriptValue value;
    int outcome = EvaluateExpression(context, statement.items.front(), locals, value);
    if (outcome != kOk) return outcome;
    if (!variable) {
        if (context.program.strict) {
            SetResultName(context.record, name);
            return kErrNotDefined;
        }
        CreateImplicitVariable(locals, name, value);
        return kSignalNext;
    }
    return StoreAssigned(context, *variable, value);
}

// `return expr;`: the value must have the function's declared type (NULL takes it).
NOINLINE int ExecuteReturn(RunContext& context, const Statement& statement, VariableTable& locals) {
    ScriptValue value;
    SetEmptyValue(value, ReturnType(context));  // the expected type of an expression text
    int outcome = EvaluateExpression(context, statement.items.front(), locals, value);
    return outcome != kOk ? outcome : StoreReturned(context, value);
}

NOINLINE int ExecuteIf(RunContext& context, const Statement& statement, VariableTable& locals) {
    ScriptValue value;
    int outcome = EvaluateExpression(context, statement.items.front(), locals, value);
    return outcome != kOk ? outcome : IfOutcome(value);
}

NOINLINE int ExecuteWhile(RunContext& context, const Statement& statement, VariableTable& locals) {
    ScriptValue value;
    int outcome = EvaluateExpression(context, statement.items.front(), locals, value);
    return outcome != kOk ? outcome : WhileOutcome(value);
}

NOINLINE int ExecuteRepeat(RunContext& context, const Statement& statement, VariableTable& locals,
                           int32_t& count) {
    ScriptValue value = MakeInt(0);
    int outcome = EvaluateExpression(context, statement.items.front(), locals, value);
    return outcome != kOk ? outcome : RepeatOutcome(value, count);
}

// A call statement, `exit` included; its value is dropped.
NOINLINE int ExecuteCallStatement(RunContext& context, const Statement& statement,
                                  VariableTable& locals) {
    const int8_t rule = context.program.strict ? 1 : 0;
    if (statement.targetRule != rule) {
        statement.target = ResolveCallTarget(statement.keyword, context.program.strict);
        statement.targetRule = rule;
    }
    ScriptValue result;
    int outcome =
        ExecuteCall(context, statement.keyword, statement.target, statement.items, locals, result);
    return outcome == kSignalExit || outcome < 0 ? outcome : kSignalNext;
}

// One statement; `count` receives the pass count of a `repeat`.
int Execute(RunContext& context, const Statement& statement, VariableTable& locals,
            int32_t& count) {
    context.record.line = statement.line;
    // Pass 1 gives each statement kind with a value exactly one item; one built without it is
    // malformed.
    const bool hasItem = !statement.items.empty();
    switch (KindOf(statement)) {
    case StatementKind::kBlock: return RunBlock(context, *statement.block, locals);
    case StatementKind::kEmpty: return kSignalNext;
    case StatementKind::kAssignment:
        return hasItem ? ExecuteAssignment(context, statement, locals) : kErrSyntax;
    case StatementKind::kReturn:
        return hasItem ? ExecuteReturn(context, statement, locals) : kErrSyntax;
    case StatementKind::kIf: return hasItem ? ExecuteIf(context, statement, locals) : kErrSyntax;
    case StatementKind::kWhile:
        return hasItem ? ExecuteWhile(context, statement, locals) : kErrSyntax;
    case StatementKind::kRepeat:
        return hasItem ? ExecuteRepeat(context, statement, locals, count) : kErrSyntax;
    case StatementKind::kBreak: return kSignalBreak;
    case StatementKind::kElse: return kErrExtraElse;
    case StatementKind::kCall:
    case StatementKind::kUnclassified: break;
    }
    return ExecuteCallStatement(context, statement, locals);
}

bool EndsWalk(int outcome) { return outcome != kSignalNext; }

// Runs the construct that starts at `index` and leaves `index` on its last statement.
NOINLINE int ExecuteConstruct(RunContext& context, const std::vector<Statement>& list,
                              std::size_t& index, VariableTable& locals) {
    // Long if-chains and nested blocks recurse here.
    if (StackGuard::Exhausted(*context.guard)) return kErrStackOverflow;
    if (context.window.CancelBeforeStatement()) return kErrCancelled;

    const std::size_t header = index;
    int32_t count = 0;
    int outcome = Execute(context, list[header], locals, count);
    const std::size_t body = header + 1;
    const bool hasBody = body < list.size();
    switch (outcome) {
    case kSignalIfTrue:
        if (!hasBody) return kSignalNext;
        index = body;
        outcome = ExecuteConstruct(context, list, index, locals);
        if (EndsWalk(outcome)) return outcome;
        if (index + 1 < list.size() && IsElse(list[index + 1])) {
            index += 1;
            if (index + 1 < list.size()) index = SkipStatement(list, index + 1);
        }
        return kSignalNext;

    case kSignalIfFalse:
        if (!hasBody) return kSignalNext;
        index = SkipStatement(list, body);
        if (index + 2 < list.size() && IsElse(list[index + 1])) {
            index += 2;
            return ExecuteConstruct(context, list, index, locals);
        }
        return kSignalNext;

    case kSignalRepeat:
        if (!hasBody) return kSignalNext;
        // The count is read once; changing its variable inside the body changes nothing.
        for (; count > 0; --count) {
            std::size_t pass = body;
            outcome = ExecuteConstruct(context, list, pass, locals);
            if (outcome == kSignalBreak) break;
            if (EndsWalk(outcome)) return outcome;
        }
        index = SkipStatement(list, body);
        return kSignalNext;

    case kSignalWhileTrue:
        if (!hasBody) return kSignalNext;
        for (;;) {
            std::size_t pass = body;
            outcome = ExecuteConstruct(context, list, pass, locals);
            if (outcome == kSignalBreak) break;
            if (EndsWalk(outcome)) return outcome;
            outcome = Execute(context, list[header], locals, count);
            if (outcome == kSignalWhileFalse) break;
            if (outcome != kSignalWhileTrue) return outcome;
        }
        index = SkipStatement(list, body);
        return kSignalNext;

    case kSignalWhileFalse:
        if (hasBody) index = SkipStatement(list, body);
        return kSignalNext;

    default: return outcome;  // Next, Return, Break, Exit or an error
    }
}

}  // namespace

StatementKind KindOf(const Statement& statement) {
    if (statement.kind == StatementKind::kUnclassified) statement.kind = Classify(statement);
    return statement.kind;
}

bool IsElse(const Statement& statement) { return KindOf(statement) == StatementKind::kElse; }

int StoreAssigned(RunContext& context, ScriptValue& variable, ScriptValue& value) {
    if (value.type == kTypeVoid) {
        SetEmptyValue(value, variable.type);
    } else if (value.type != variable.type &&
               !ConvertValue(value, variable.type, context.program.strict)) {
        return kErrInvalidValueType;
    }
    MoveValue(variable, value);
    return kSignalNext;
}

uint32_t ReturnType(const RunContext& context) {
    return context.functionResult ? context.functionResult->type : kTypeVoid;
}

int StoreReturned(RunContext& context, ScriptValue& value) {
    const uint32_t declared = ReturnType(context);
    if (value.type == kTypeVoid) {
        SetEmptyValue(value, declared);
    } else if (value.type != declared) {
        return kErrInvalidReturnType;
    }
    if (context.functionResult) MoveValue(*context.functionResult, value);
    return kSignalReturn;
}

NOINLINE void EnterBlock(const Block& block, VariableTable& locals) {
    locals.insert(locals.end(), block.locals.begin(), block.locals.end());
}

NOINLINE void LeaveBlock(const Block& block, VariableTable& locals, std::size_t outer) {
    const auto first = locals.begin() + static_cast<std::ptrdiff_t>(outer);
    locals.erase(first, first + static_cast<std::ptrdiff_t>(block.locals.size()));
}

int ExecuteStatement(RunContext& context, const Statement& statement, VariableTable& locals) {
    int32_t count = 0;
    return Execute(context, statement, locals, count);
}

int ExecuteStatementList(RunContext& context, const std::vector<Statement>& list,
                         VariableTable& locals) {
    for (std::size_t index = 0; index < list.size(); ++index) {
        int outcome = ExecuteConstruct(context, list, index, locals);
        if (EndsWalk(outcome)) return outcome;
    }
    return kSignalNext;
}

std::size_t SkipStatement(const std::vector<Statement>& list, std::size_t index) {
    // Iterative, so a crafted chain of a hundred thousand `if` headers cannot exhaust the stack:
    // `openIfs` counts the `if` headers whose then-branch is still being passed over.
    if (list.empty()) return 0;
    const std::size_t last = list.size() - 1;
    std::size_t openIfs = 0;
    for (;;) {
        if (index >= last) return last;
        const StatementKind kind = KindOf(list[index]);
        if (kind == StatementKind::kIf) {
            ++openIfs;
            ++index;
            continue;
        }
        if (kind == StatementKind::kWhile || kind == StatementKind::kRepeat) {
            ++index;
            continue;
        }
        // `index` ends a construct; each open `if` may still own an else-branch after it.
        bool resumed = false;
        while (openIfs > 0 && !resumed) {
            --openIfs;
            if (IsElse(list[index + 1])) {
                if (index + 2 > last) return last;
                index += 2;
                resumed = true;
            }
        }
        if (!resumed) return index;
    }
}

int RunBlock(RunContext& context, const Block& block, VariableTable& locals) {
    // Leaving the block drops its own declarations; implicit variables live until the
    // function returns.
    if (block.locals.empty()) return ExecuteStatementList(context, block.statements, locals);
    const std::size_t outer = locals.size();
    EnterBlock(block, locals);
    int outcome = ExecuteStatementList(context, block.statements, locals);
    LeaveBlock(block, locals, outer);
    return outcome;
}
