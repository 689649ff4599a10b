// Expression lexer: turns an expression text into tokens with the scanner's word and
// argument-list readers, stopping after the first bad token.
#include "expression_lexer.h"

#include <atomic>

#include "error_codes.h"
#include "scanner.h"

namespace {

// Lexed forms stay cached on their items while the program lives; past this many bytes in
// all programs, new forms are used once and dropped, so crafted input cannot pin unbounded memory.
constexpr std::size_t kCacheBudget = std::size_t{128} << 20;
std::atomic<std::size_t> cachedBytes{0};

std::size_t ValueCost(const ScriptValue& value) {
    return sizeof(ScriptValue) + value.text.capacity();
}

std::size_t CostOf(const LexedExpression& lexed) {
    std::size_t cost = sizeof(LexedExpression) + lexed.source.capacity() +
                       lexed.tokens.capacity() * sizeof(ExprToken) +
                       lexed.steps.capacity() * sizeof(ReduceStep) +
                       lexed.operands.capacity() * sizeof(PlanOperand);
    for (const ExprToken& token : lexed.tokens) {
        cost += token.value.text.capacity();
        for (const ScriptValue& arg : token.args) cost += ValueCost(arg);
    }
    return cost;
}

bool ReserveCache(std::size_t cost) {
    std::size_t before = cachedBytes.fetch_add(cost);
    if (before + cost <= kCacheBudget) return true;
    cachedBytes.fetch_sub(cost);
    return false;
}

// Reads one operator at the cursor; 0 when the cursor is not at an operator.
char ReadOperator(const char*& cursor) {
    char c = cursor[0];
    char next = cursor[1];
    char op = 0;
    bool pair = false;
    switch (c) {
    case '!':
        pair = next == '=';
        op = pair ? kOpNotEqual : '!';
        break;
    case '&':
        pair = next == '&';
        op = pair ? kOpAnd : '&';
        break;
    case '|':
        pair = next == '|';
        op = pair ? kOpOr : '|';
        break;
    case '=':
        pair = next == '=';
        op = pair ? kOpEqual : '=';
        break;
    case '<':
        pair = next == '=';
        op = pair ? kOpLessEqual : '<';
        break;
    case '>':
        pair = next == '=';
        op = pair ? kOpGreaterEqual : '>';
        break;
    case '%':
    case '*':
    case '+':
    case '-':
    case '/': op = c; break;
    default: return 0;
    }
    cursor += pair ? 2 : 1;
    return op;
}

class Lexer {
public:
    // The cursor counts the line ends crossed from the start of the text.
    Lexer(LexedExpression& out) : out_(out), cursor_{out.source.c_str(), 0} {}

    void Run() {
        while (!SkipSpace(cursor_)) {
            if (!LexToken(cursor_)) break;
        }
        out_.lines = Lines();
    }

private:
    uint32_t Lines() const { return static_cast<uint32_t>(cursor_.line); }

    ExprToken& Push(TokenKind kind) {
        ExprToken& token = out_.tokens.emplace_back();
        token.kind = kind;
        token.lines = Lines();
        return token;
    }

    // Records a bad token; lexing ends there, as evaluation would.
    bool Fail(int error) {
        Push(TokenKind::Error).error = error;
        return false;
    }

    bool LexToken(ScanCursor& cursor) {
        if (char op = ReadOperator(cursor.at)) {
            Push(TokenKind::Operator).op = op;
            return true;
        }
        if (*cursor.at == '(') {
            ++cursor.at;
            VariableTable inner;
            if (int rc = ReadArgumentList(cursor, inner, out_.strict); rc < 0) return Fail(rc);
            if (inner.size() != 1) return Fail(kErrSyntax);
            Push(TokenKind::Group).value = std::move(inner[0]);
            return true;
        }
        std::string word;
        if (int rc = ReadWord(cursor, word); rc < 0) return Fail(rc);
        if (word.empty() || IsStatementWord(word, out_.strict)) return Fail(kErrSyntax);
        SkipSpace(cursor);
        if (*cursor.at == '(') {
            ++cursor.at;
            VariableTable args;
            if (int rc = ReadArgumentList(cursor, args, out_.strict); rc < 0) return Fail(rc);
            ExprToken& call = Push(TokenKind::Call);
            call.value.text = std::move(word);
            call.args = std::move(args);
            call.target = ResolveCallTarget(call.value.text, out_.strict);
            return true;
        }
        switch (ClassifyLiteral(word, true, out_.strict)) {
        case kLiteralString:
            Push(TokenKind::Constant).value = MakeString(std::move(word));
            return true;
        case kLiteralInteger:
            Push(TokenKind::Constant).value = MakeInt(StringToInt(word));
            return true;
        case kLiteralNull: Push(TokenKind::Constant).value = MakeVoid(); return true;
        case kLiteralName: Push(TokenKind::Variable).value.text = std::move(word); return true;
        default:
            // A root key bare inside a longer expression, a decimal point, a built-in name
            // without "(", or a malformed word.
            return Fail(kErrSyntax);
        }
    }

    LexedExpression& out_;
    ScanCursor cursor_;
};

// The binary levels, tightest first; all operators of one level bind equally, left to right.
constexpr int kLevelCount = 5;

// The level of a binary operator; -1 for one that no level applies ("!", a bare "=").
int LevelOf(char op) {
    switch (op) {
    case '*':
    case '/':
    case '%': return 0;
    case '+':
    case '-': return 1;
    case '|':
    case '&': return 2;
    case kOpEqual:
    case kOpNotEqual:
    case '<':
    case kOpLessEqual:
    case '>':
    case kOpGreaterEqual: return 3;
    case kOpAnd:
    case kOpOr: return 4;
    default: return -1;
    }
}

// Plans the reduction over the operator codes of the items (0 for an operand): the unary pass
// first, then each binary level left to right. Reduced items are marked deleted and stay in
// place, so the indices of the steps are the items' places in the evaluated list.
class Planner {
public:
    explicit Planner(LexedExpression& out) : out_(out) {
        for (const ExprToken& token : out.tokens)
            shape_.push_back(token.kind == TokenKind::Operator ? token.op : 0);
    }

    void Run() {
        if (!UnaryPass()) return;
        for (int level = 0; level < kLevelCount; ++level) {
            if (!BinaryLevel(level)) return;
        }
        // A lone operator that no level applies (a bare "=") is no value either.
        std::size_t live = 0;
        for (std::size_t i = 0; i < shape_.size(); ++i) {
            if (shape_[i] != kDeleted) {
                ++live;
                out_.resultItem = Index(i);
            }
        }
        if (live != 1 || shape_[out_.resultItem] != 0) Fail(kErrSyntax);
    }

private:
    static constexpr char kDeleted = '\xFF';

    static uint32_t Index(std::size_t i) { return static_cast<uint32_t>(i); }

    bool Fail(int error) {
        ReduceStep& step = out_.steps.emplace_back();
        step.error = error;
        return false;
    }

    void Add(StepKind kind, char op, std::size_t left, std::size_t at, std::size_t right) {
        out_.steps.push_back(ReduceStep{kind, op, 0, Index(left), Index(at), Index(right)});
    }

    // Unary - and !: an operator is unary at the start or after another operator.
    bool UnaryPass() {
        const std::size_t count = shape_.size();
        for (std::size_t i = 0; i < count; ++i) {
            char op = shape_[i];
            if (op != '-' && op != '!') continue;
            if (i > 0 && shape_[i - 1] == 0) continue;  // binary minus
            if (i + 1 == count) return Fail(kErrMissingValue);
            if (op == '!' && shape_[i + 1] == '!') {
                shape_[i] = kDeleted;  // !!x is x itself
                shape_[i + 1] = kDeleted;
                ++i;
                continue;
            }
            Add(StepKind::Unary, op, i, i, i + 1);
            shape_[i] = kDeleted;
        }
        return true;
    }

    bool BinaryLevel(int level) {
        const std::size_t count = shape_.size();
        for (std::size_t i = 0; i < count; ++i) {
            char op = shape_[i];
            if (op == 0 || LevelOf(op) != level) continue;
            std::size_t left = i;
            while (left > 0 && shape_[left - 1] == kDeleted) --left;
            std::size_t right = i + 1;
            while (right < count && shape_[right] == kDeleted) ++right;
            if (left == 0 || right == count) return Fail(kErrMissingValue);
            --left;
            Add(StepKind::Binary, op, left, i, right);
            shape_[left] = kDeleted;
            shape_[i] = kDeleted;
            i = right;  // scanning goes on after the result, so a - b - c is (a - b) - c
        }
        return true;
    }

    LexedExpression& out_;
    std::vector<char> shape_;
};

bool IsOperand(TokenKind kind) {
    return kind == TokenKind::Constant || kind == TokenKind::Variable;
}

// An operand of a plan: a variable or a constant, and a call where `calls` counts them.
bool IsPlanOperand(TokenKind kind, bool calls) {
    return IsOperand(kind) || (calls && kind == TokenKind::Call);
}

// At most kIntPlanItems tokens of operands and operators, with steps that all apply to operand
// items: such a text can reduce on bare ints.
bool ReducesOnOperands(const LexedExpression& lexed, bool calls) {
    if (lexed.tokens.size() > kIntPlanItems) return false;
    // A lone call reduces nothing, but its int value is the result all the same.
    if (lexed.steps.empty())
        return calls && lexed.tokens.size() == 1 && lexed.tokens[0].kind == TokenKind::Call;
    for (const ExprToken& token : lexed.tokens) {
        if (token.kind != TokenKind::Operator && !IsPlanOperand(token.kind, calls)) return false;
    }
    auto operand = [&](uint32_t item) { return IsPlanOperand(lexed.tokens[item].kind, calls); };
    for (const ReduceStep& step : lexed.steps) {
        switch (step.kind) {
        case StepKind::Unary:
            if (!operand(step.right)) return false;
            break;
        case StepKind::Binary:
            if (!operand(step.left) || !operand(step.right)) return false;
            break;
        case StepKind::Fail: return false;
        }
    }
    return true;
}

// See LexedExpression::plan. An int plan that reduces nothing is left to the single shortcut
// or the general path.
ExprPlan PlanOf(const LexedExpression& lexed) {
    if (lexed.tokens.size() == 1 && IsOperand(lexed.tokens[0].kind)) return ExprPlan::kSingle;
    if (!ReducesOnOperands(lexed, false)) return ExprPlan::kGeneral;
    if (lexed.operands.size() == 2 && lexed.steps.size() == 1 &&
        lexed.steps[0].kind == StepKind::Binary)
        return ExprPlan::kIntPair;
    return ExprPlan::kInt;
}

// The operands a shortcut reads; they point into `lexed.tokens`, which never change again.
void ListOperands(LexedExpression& lexed) {
    for (std::size_t i = 0; i < lexed.tokens.size(); ++i) {
        const ExprToken& token = lexed.tokens[i];
        if (token.kind == TokenKind::Operator) continue;
        PlanOperand& operand = lexed.operands.emplace_back();
        operand.item = static_cast<uint32_t>(i);
        if (token.kind == TokenKind::Constant)
            operand.constant = &token.value;
        else
            operand.name = token.value.text;
    }
}

}  // namespace

std::string OperatorText(char op) {
    switch (op) {
    case kOpAnd: return "&&";
    case kOpOr: return "||";
    case kOpEqual: return "==";
    case kOpNotEqual: return "!=";
    case kOpLessEqual: return "<=";
    case kOpGreaterEqual: return ">=";
    default: return std::string(1, op);
    }
}

LexedExpression::~LexedExpression() {
    if (cacheable) cachedBytes.fetch_sub(cost);
}

std::shared_ptr<const LexedExpression> LexExpression(std::string_view text, bool strict) {
    auto lexed = std::make_shared<LexedExpression>();
    lexed->source.assign(text.data(), text.size());
    lexed->strict = strict;
    Lexer(*lexed).Run();
    if (lexed->tokens.empty() || lexed->tokens.back().kind != TokenKind::Error)
        Planner(*lexed).Run();
    ListOperands(*lexed);
    lexed->plan = PlanOf(*lexed);
    if (lexed->plan == ExprPlan::kGeneral) {
        lexed->callPlan = ReducesOnOperands(*lexed, true);
        if (!lexed->callPlan) lexed->operands.clear();
    }
    lexed->cost = CostOf(*lexed);
    lexed->cacheable = ReserveCache(lexed->cost);
    return lexed;
}
