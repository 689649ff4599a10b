// Expression evaluation: the operands of the lexed text are evaluated (and calls made) from
// left to right, then the item list is reduced by the unary pass and the binary levels.
#include "expression.h"

#include <climits>
#include <new>
#include <string>
#include <vector>

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

// One entry of the list being reduced: an operator (code) or an operand (code 0). It holds only
// the value part of a variable, so building and moving the list stays cheap.
struct Item {
    char op = 0;
    uint32_t type = kTypeUndetermined;
    int32_t integer = 0;
    uint32_t handle = 0;
    std::string text;
};

// The item lists of all evaluations active on this thread share one stack: each evaluation owns
// the segment above the size it found, so a statement run a million times allocates nothing.
thread_local std::vector<Item> itemStack;

// Past this many entries an emptied stack gives its memory back, so one huge text does not
// pin it for the thread's life.
constexpr std::size_t kKeptItems = 1024;

// One evaluation's segment of the item stack; ending it drops the entries again, errors included.
class ItemSegment {
public:
    explicit ItemSegment(std::vector<Item>& stack) : stack_(stack), base_(stack.size()) {}
    ~ItemSegment()
    {
        stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(base_), stack_.end());
        if (base_ == 0 && stack_.capacity() > kKeptItems)
            std::vector<Item>().swap(stack_);
    }
    ItemSegment(const ItemSegment&) = delete;
    ItemSegment& operator=(const ItemSegment&) = delete;

    std::size_t base() const { return base_; }
    std::size_t size() const { return stack_.size() - base_; }
    Item& operator[](std::size_t i) { return stack_[base_ + i]; }
    Item& Push() { return stack_.emplace_back(); }

    // Drops the items marked deleted, keeping the order of the rest.
    void Compact()
    {
        std::size_t kept = base_;
        for (std::size_t i = base_; i < stack_.size(); ++i) {
            if (stack_[i].op == kDeleted)
                continue;
            if (kept != i)
                stack_[kept] = std::move(stack_[i]);
            ++kept;
        }
        stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(kept), stack_.end());
    }

private:
    std::vector<Item>& stack_;
    std::size_t base_;
};

// The binary levels, tightest first; all operators of one level bind equally, left to right.
constexpr int kLevelCount = 5;

// The level of a binary operator; -1 for one that no level applies ("!", a bare "=").
int LevelOf(char op)
{
    switch (op) {
    case '*': case '/': case '%': return 0;
    case '+': case '-': return 1;
    case '|': case '&': return 2;
    case kOpEqual: case kOpNotEqual: case '<': case kOpLessEqual: case '>': case kOpGreaterEqual:
        return 3;
    case kOpAnd: case kOpOr: return 4;
    default: return -1;
    }
}

bool IsHandleType(uint32_t type)
{
    return type == kTypeHkey || type == kTypeHbrowser || type == kTypeHfile;
}

// An operator item counts as an int where types are compared.
uint32_t TypeOf(const Item& item)
{
    return item.op ? kTypeInt : item.type;
}

// The handle slot of a handle value: `handle` for HKEY, `integer` for HFILE and HBROWSER.
uint32_t HandleOf(const Item& item)
{
    return item.type == kTypeHkey ? item.handle : static_cast<uint32_t>(item.integer);
}

int32_t Wrap(uint32_t value)
{
    return static_cast<int32_t>(value);
}

void SetLine(ScriptResult& record, int32_t base, uint32_t lines)
{
    record.line = Wrap(static_cast<uint32_t>(base) + lines);
}

// Loads the value part of a variable or constant into a fresh item.
void LoadValue(Item& item, const ScriptValue& value)
{
    item.type = value.type;
    item.integer = value.integer;
    item.handle = value.handle;
    if (!value.text.empty())
        item.text = value.text;
}

// Moves a call's or a group's result into a fresh item.
void TakeValue(Item& item, ScriptValue& value)
{
    item.type = value.type;
    item.integer = value.integer;
    item.handle = value.handle;
    item.text = std::move(value.text);
}

void SetInt(Item& item, int32_t value)
{
    item.type = kTypeInt;
    item.integer = value;
    item.text.clear();
    item.handle = 0;
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
int ApplyBinary(char op, Item& left, Item& right, ScriptResult& record)
{
    uint32_t type = left.type;
    if (type == kTypeInt) {
        int32_t out = 0;
        if (int rc = IntOperation(op, left.integer, right.integer, out); rc < 0)
            return rc;
        SetInt(right, out);
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

// Unary - and !: an operator is unary at the start or after another operator.
int UnaryPass(ItemSegment& items, ScriptResult& record)
{
    const std::size_t count = items.size();
    bool deleted = false;
    for (std::size_t i = 0; i < count; ++i) {
        char op = items[i].op;
        if (op != '-' && op != '!')
            continue;
        if (i > 0 && items[i - 1].op == 0)
            continue;  // binary minus
        if (i + 1 == count)
            return kErrMissingValue;
        Item& next = items[i + 1];
        deleted = true;
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
            int32_t v = next.integer;
            SetInt(next, op == '-' ? Wrap(0u - static_cast<uint32_t>(v)) : v == 0);
        } else if (IsHandleType(type) && op == '!') {
            SetInt(next, HandleOf(next) == 0);
        } else {
            return WrongType(record);
        }
        items[i].op = kDeleted;
    }
    if (deleted)
        items.Compact();
    return kOk;
}

// A NULL operand takes the other side's type as its empty value; an int becomes its decimal text.
void ConvertItem(Item& item, uint32_t type)
{
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
        ConvertItem(*from, to);
    return kOk;
}

int BinaryLevel(ItemSegment& items, int level, bool strict, ScriptResult& record)
{
    const std::size_t count = items.size();
    bool deleted = false;
    for (std::size_t i = 0; i < count; ++i) {
        char op = items[i].op;
        if (op == 0 || LevelOf(op) != level)
            continue;
        if (i == 0 || i + 1 == count)
            return kErrMissingValue;
        Item& left = items[i - 1];
        Item& right = items[i + 1];
        if (int rc = UnifyTypes(left, right, strict, record); rc < 0)
            return rc;
        if (left.op || right.op)
            return kErrSyntax;
        if (int rc = ApplyBinary(op, left, right, record); rc < 0)
            return rc;
        left.op = kDeleted;
        items[i].op = kDeleted;
        deleted = true;
        ++i;  // scanning goes on after the result, so a - b - c is (a - b) - c
    }
    if (deleted)
        items.Compact();
    return kOk;
}

// `levels` has bit n set when an operator of binary level n was read; the others have no work.
int Reduce(ItemSegment& items, unsigned levels, bool strict, ScriptResult& record)
{
    if (levels != 0) {
        if (int rc = UnaryPass(items, record); rc < 0)
            return rc;
        for (int level = 0; level < kLevelCount; ++level) {
            if (!(levels & (1u << level)))
                continue;
            if (int rc = BinaryLevel(items, level, strict, record); rc < 0)
                return rc;
        }
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

const ScriptValue* FindInScope(RunContext& context, VariableTable& locals, const std::string& name)
{
    ScriptValue* variable = LookupVariable(context, locals, name);
    if (!variable)
        SetResultName(context.record, name);
    return variable;
}

int CopyVariable(RunContext& context, VariableTable& locals, const std::string& name, ScriptValue& out)
{
    const ScriptValue* variable = FindInScope(context, locals, name);
    if (!variable)
        return kErrNotDefined;
    CopyValue(out, *variable);
    return kOk;
}

// The cached lexed form of an expression item, lexed again when the text or mode changed.
// A cache hit is used through a plain pointer: items are not changed while a run evaluates
// them, so the cached form outlives the evaluation; a fresh form is kept alive in `owner`.
const LexedExpression& Lexed(const ScriptValue& argument, bool strict,
                             std::shared_ptr<const LexedExpression>& owner)
{
    const LexedExpression* cached = argument.lexed.get();
    if (cached && cached->strict == strict && cached->source == argument.text)
        return *cached;
    owner = LexExpression(argument.text, strict);
    if (owner->cacheable)
        argument.lexed = owner;
    return *owner;
}

// Evaluates the operand tokens left to right into `items`; a call or a group may end the run.
// `levels` collects the binary levels of the operators read.
int EvaluateTokens(RunContext& context, const LexedExpression& lexed, VariableTable& locals,
                   uint32_t expectedType, int32_t baseLine, ItemSegment& items, unsigned& levels)
{
    ScriptResult& record = context.record;
    for (const ExprToken& token : lexed.tokens) {
        SetLine(record, baseLine, token.lines);
        switch (token.kind) {
        case TokenKind::Operator: {
            Item& item = items.Push();
            item.op = token.op;
            item.type = kTypeInt;
            int level = LevelOf(token.op);
            levels |= level < 0 ? 1u << kLevelCount : 1u << level;
            break;
        }
        case TokenKind::Constant:
            LoadValue(items.Push(), token.value);
            break;
        case TokenKind::Variable: {
            const ScriptValue* variable = FindInScope(context, locals, token.value.text);
            if (!variable)
                return kErrNotDefined;
            LoadValue(items.Push(), *variable);
            break;
        }
        case TokenKind::Call: {
            // The item is pushed only after the call: nested evaluations use the stack meanwhile.
            ScriptValue value;
            int rc = ExecuteCall(context, token.value.text, token.args, locals, value);
            if (rc < 0 || rc == kSignalExit)
                return rc;
            // A user function moves the line; later errors belong to this expression's line.
            SetLine(record, baseLine, token.lines);
            TakeValue(items.Push(), value);
            break;
        }
        case TokenKind::Group: {
            ScriptValue value;
            value.type = expectedType;
            int rc = EvaluateExpression(context, token.value, locals, value);
            if (rc < 0 || rc == kSignalExit)
                return rc;
            TakeValue(items.Push(), value);
            break;
        }
        case TokenKind::Error:
            return token.error;
        }
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
    std::shared_ptr<const LexedExpression> owner;
    const LexedExpression& lexed = Lexed(argument, context.program.strict, owner);
    if (activeBytes + lexed.cost > kActiveBudget)
        return kErrStackOverflow;
    ActiveBytes active(lexed.cost);

    ItemSegment items(itemStack);
    unsigned levels = 0;
    int rc = EvaluateTokens(context, lexed, locals, result.type, baseLine, items, levels);
    if (rc == kSignalExit) {
        record.line = baseLine;
        return rc;
    }
    if (rc < 0)
        return rc;
    SetLine(record, baseLine, lexed.lines);  // reduction errors belong to the end of the text
    rc = Reduce(items, levels, context.program.strict, record);
    if (rc < 0)
        return rc;
    Item& value = items[0];
    result.type = value.type;
    result.integer = value.integer;
    result.text = std::move(value.text);
    result.handle = value.handle;
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
