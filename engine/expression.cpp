// Expression evaluation: the operands of the lexed text are evaluated (and calls made) from
// left to right, then the item list is reduced by the unary pass and the binary levels.
#include "expression.h"

#include <climits>
#include <new>

#include "calls.h"
#include "error_codes.h"
#include "expression_lexer.h"
#include "program.h"
#include "scanner.h"
#include "script_result.h"
#include "stack_guard.h"
#include "statements.h"

namespace {

// Text bytes lexed along the active chain of nested evaluations; crafted nesting of long
// texts would otherwise hold depth x length bytes before the stack guard ever trips.
constexpr std::size_t kActiveBudget = std::size_t{128} << 20;
thread_local std::size_t activeBytes = 0;

class ActiveBytes {
public:
    explicit ActiveBytes(std::size_t bytes) : bytes_(bytes) { activeBytes += bytes_; }
    ~ActiveBytes() { activeBytes -= bytes_; }
    ActiveBytes(const ActiveBytes&) = delete;
    ActiveBytes& operator=(const ActiveBytes&) = delete;

private:
    std::size_t bytes_;
};

constexpr char kDeleted = '\xFF';

// One entry of the list being reduced: an operator (code) or an operand (code 0).
struct Item {
    char op = 0;
    ScriptValue value;
};

// The binary levels, tightest first; all operators of one level bind equally, left to right.
constexpr const char* kLevels[] = {"*/%", "+-", "|&", "EN<L>G", "OA"};

bool IsHandleType(uint32_t type)
{
    return type == kTypeHkey || type == kTypeHbrowser || type == kTypeHfile;
}

// An operator item counts as an int where types are compared.
uint32_t TypeOf(const Item& item)
{
    return item.op ? kTypeInt : item.value.type;
}

// The handle slot of a handle value: `handle` for HKEY, `integer` for HFILE and HBROWSER.
uint32_t HandleOf(const ScriptValue& value)
{
    return value.type == kTypeHkey ? value.handle : static_cast<uint32_t>(value.integer);
}

int32_t Wrap(uint32_t value)
{
    return static_cast<int32_t>(value);
}

void SetLine(ScriptResult& record, int32_t base, uint32_t lines)
{
    record.line = Wrap(static_cast<uint32_t>(base) + lines);
}

void Compact(std::vector<Item>& items)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].op == kDeleted)
            continue;
        if (kept != i)
            items[kept] = std::move(items[i]);
        ++kept;
    }
    items.resize(kept);
}

int WrongType(ScriptResult& record)
{
    SetResultName(record, "");
    return kErrWrongType;
}

int IntOperation(char op, int32_t a, int32_t b, int32_t& out)
{
    uint32_t ua = static_cast<uint32_t>(a);
    uint32_t ub = static_cast<uint32_t>(b);
    switch (op) {
    case '*': out = Wrap(ua * ub); return kOk;
    case '+': out = Wrap(ua + ub); return kOk;
    case '-': out = Wrap(ua - ub); return kOk;
    case '/':
        if (b == 0)
            return kErrDivisionByZero;
        out = (a == INT_MIN && b == -1) ? INT_MIN : a / b;  // the one quotient that does not fit
        return kOk;
    case '%':
        if (b == 0)
            return kErrDivisionByZero;
        out = b == -1 ? 0 : a % b;
        return kOk;
    case '&': out = Wrap(ua & ub); return kOk;
    case '|': out = Wrap(ua | ub); return kOk;
    case kOpEqual: out = a == b; return kOk;
    case kOpNotEqual: out = a != b; return kOk;
    case '<': out = a < b; return kOk;
    case kOpLessEqual: out = a <= b; return kOk;
    case '>': out = a > b; return kOk;
    case kOpGreaterEqual: out = a >= b; return kOk;
    case kOpAnd: out = a != 0 && b != 0; return kOk;
    case kOpOr: out = a != 0 || b != 0; return kOk;
    default: return kErrSyntax;
    }
}

// Applies a binary operator to two operands of one common type; the result goes to `right`.
int ApplyBinary(char op, ScriptValue& left, ScriptValue& right, ScriptResult& record)
{
    uint32_t type = left.type;
    if (type == kTypeInt) {
        int32_t out = 0;
        if (int rc = IntOperation(op, left.integer, right.integer, out); rc < 0)
            return rc;
        right = MakeInt(out);
        return kOk;
    }
    if (type == kTypeString) {
        if (op == '+') {
            if (left.text.size() + right.text.size() > kMaxTextLength)
                return kErrStringTooLong;
            left.text += right.text;
            right.text = std::move(left.text);
            return kOk;
        }
        if (op == kOpEqual || op == kOpNotEqual) {
            bool equal = left.text == right.text;
            right = MakeInt(op == kOpEqual ? equal : !equal);
            return kOk;
        }
        SetResultName(record, OperatorText(op));
        return kErrInvalidStringOperator;
    }
    if (IsHandleType(type)) {
        if (op == kOpEqual || op == kOpNotEqual) {
            bool equal = HandleOf(left) == HandleOf(right);
            right = MakeInt(op == kOpEqual ? equal : !equal);
            return kOk;
        }
        SetResultName(record, OperatorText(op));
        return kErrInvalidOperator;
    }
    return WrongType(record);  // both NULL, or no value at all
}

// Unary - and !: an operator is unary at the start or after another operator.
int UnaryPass(std::vector<Item>& items, ScriptResult& record)
{
    const std::size_t count = items.size();
    for (std::size_t i = 0; i < count; ++i) {
        char op = items[i].op;
        if (op != '-' && op != '!')
            continue;
        if (i > 0 && items[i - 1].op == 0)
            continue;  // binary minus
        if (i + 1 == count)
            return kErrMissingValue;
        Item& next = items[i + 1];
        if (op == '!' && next.op == '!') {
            items[i].op = kDeleted;  // !!x is x itself
            next.op = kDeleted;
            ++i;
            continue;
        }
        uint32_t type = TypeOf(next);
        if (type == kTypeInt) {
            if (next.op)
                return kErrSyntax;
            int32_t v = next.value.integer;
            next.value = MakeInt(op == '-' ? Wrap(0u - static_cast<uint32_t>(v)) : v == 0);
        } else if (IsHandleType(type) && op == '!') {
            next.value = MakeInt(HandleOf(next.value) == 0);
        } else {
            return WrongType(record);
        }
        items[i].op = kDeleted;
    }
    Compact(items);
    return kOk;
}

// Brings two neighbours to one type: NULL takes the other's type; without strict an int
// beside a string becomes its decimal text.
int UnifyTypes(Item& left, Item& right, bool strict, ScriptResult& record)
{
    uint32_t lt = TypeOf(left);
    uint32_t rt = TypeOf(right);
    if (lt == rt)
        return kOk;
    Item* from = nullptr;
    uint32_t to = 0;
    if (lt == kTypeVoid) {
        from = &left, to = rt;
    } else if (rt == kTypeVoid) {
        from = &right, to = lt;
    } else if (!strict && (lt == kTypeInt || lt == kTypeString) && (rt == kTypeInt || rt == kTypeString)) {
        from = lt == kTypeInt ? &left : &right;
        to = kTypeString;
    } else {
        return WrongType(record);
    }
    if (!from->op)
        ConvertValue(from->value, to, false);
    return kOk;
}

int BinaryLevel(std::vector<Item>& items, std::string_view level, bool strict, ScriptResult& record)
{
    const std::size_t count = items.size();
    for (std::size_t i = 0; i < count; ++i) {
        char op = items[i].op;
        if (op == 0 || op == kDeleted || level.find(op) == std::string_view::npos)
            continue;
        if (i == 0 || i + 1 == count)
            return kErrMissingValue;
        Item& left = items[i - 1];
        Item& right = items[i + 1];
        if (int rc = UnifyTypes(left, right, strict, record); rc < 0)
            return rc;
        if (left.op || right.op)
            return kErrSyntax;
        if (int rc = ApplyBinary(op, left.value, right.value, record); rc < 0)
            return rc;
        left.op = kDeleted;
        items[i].op = kDeleted;
        ++i;  // scanning goes on after the result, so a - b - c is (a - b) - c
    }
    Compact(items);
    return kOk;
}

int Reduce(std::vector<Item>& items, bool strict, ScriptResult& record)
{
    if (int rc = UnaryPass(items, record); rc < 0)
        return rc;
    for (const char* level : kLevels) {
        if (int rc = BinaryLevel(items, level, strict, record); rc < 0)
            return rc;
    }
    // A lone operator that no level applies (a bare "=") is no value either.
    if (items.size() != 1 || items[0].op != 0)
        return kErrSyntax;
    return kOk;
}

bool IsExpressionSlot(uint32_t type)
{
    return type == kTypeUndetermined || type == kTypeString || type == kTypeInt || IsHandleType(type);
}

int CopyVariable(RunContext& context, VariableTable& locals, const std::string& name, ScriptValue& out)
{
    ScriptValue* variable = LookupVariable(context, locals, name);
    if (!variable) {
        SetResultName(context.record, name);
        return kErrNotDefined;
    }
    CopyValue(out, *variable);
    return kOk;
}

// The cached lexed form of an expression item, lexed again when the text or mode changed.
std::shared_ptr<const LexedExpression> Lexed(const ScriptValue& argument, bool strict)
{
    std::shared_ptr<const LexedExpression> lexed = argument.lexed;
    if (lexed && lexed->strict == strict && lexed->source == argument.text)
        return lexed;
    lexed = LexExpression(argument.text, strict);
    if (lexed->cacheable)
        argument.lexed = lexed;
    return lexed;
}

// Evaluates the operand tokens left to right into `items`; a call or a group may end the run.
int EvaluateTokens(RunContext& context, const LexedExpression& lexed, VariableTable& locals,
                   uint32_t expectedType, int32_t baseLine, std::vector<Item>& items)
{
    ScriptResult& record = context.record;
    items.reserve(lexed.tokens.size());
    for (const ExprToken& token : lexed.tokens) {
        SetLine(record, baseLine, token.lines);
        Item item;
        switch (token.kind) {
        case TokenKind::Operator:
            item.op = token.op;
            item.value = MakeInt(0);
            break;
        case TokenKind::Constant:
            CopyValue(item.value, token.value);
            break;
        case TokenKind::Variable:
            if (int rc = CopyVariable(context, locals, token.value.text, item.value); rc < 0)
                return rc;
            break;
        case TokenKind::Call: {
            int rc = ExecuteCall(context, token.value.text, token.args, locals, item.value);
            if (rc < 0 || rc == kSignalExit)
                return rc;
            // A user function moves the line; later errors belong to this expression's line.
            SetLine(record, baseLine, token.lines);
            break;
        }
        case TokenKind::Group: {
            item.value.type = expectedType;
            int rc = EvaluateExpression(context, token.value, locals, item.value);
            if (rc < 0 || rc == kSignalExit)
                return rc;
            break;
        }
        case TokenKind::Error:
            return token.error;
        }
        items.push_back(std::move(item));
    }
    return kOk;
}

int EvaluateText(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                 ScriptValue& result)
{
    if (StackGuard::Exhausted() || activeBytes + argument.text.size() > kActiveBudget)
        return kErrStackOverflow;
    ScriptResult& record = context.record;
    const int32_t baseLine = record.line;
    std::shared_ptr<const LexedExpression> lexed = Lexed(argument, context.program.strict);
    if (activeBytes + lexed->cost > kActiveBudget)
        return kErrStackOverflow;
    ActiveBytes active(lexed->cost);

    std::vector<Item> items;
    int rc = EvaluateTokens(context, *lexed, locals, result.type, baseLine, items);
    if (rc == kSignalExit) {
        record.line = baseLine;
        return rc;
    }
    if (rc < 0)
        return rc;
    SetLine(record, baseLine, lexed->lines);  // reduction errors belong to the end of the text
    rc = Reduce(items, context.program.strict, record);
    if (rc < 0)
        return rc;
    CopyValue(result, items[0].value);
    record.line = baseLine;
    return kOk;
}

}  // namespace

int EvaluateExpression(RunContext& context, const ScriptValue& argument, VariableTable& locals,
                       ScriptValue& result)
{
    switch (argument.type) {
    case kTypeVarRef:
        return CopyVariable(context, locals, argument.text, result);
    case kTypeExpression:
        break;
    default:
        CopyValue(result, argument);
        return kOk;
    }
    if (!IsExpressionSlot(result.type))
        return kErrInvalidReturnType;
    try {
        return EvaluateText(context, argument, locals, result);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}
