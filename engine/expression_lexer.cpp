// Expression lexer: turns an expression text into tokens with the scanner's word and
// argument-list readers, stopping after the first bad token.
#include "expression_lexer.h"

#include <atomic>

#include "error_codes.h"
#include "scanner.h"
#include "script_result.h"

namespace {

// Lexed forms stay cached on their items while the program lives; past this many bytes in
// all programs, new forms are used once and dropped, so crafted input cannot pin unbounded memory.
constexpr std::size_t kCacheBudget = std::size_t{128} << 20;
std::atomic<std::size_t> cachedBytes{0};

std::size_t ValueCost(const ScriptValue& value)
{
    return sizeof(ScriptValue) + value.text.capacity();
}

std::size_t CostOf(const LexedExpression& lexed)
{
    std::size_t cost = sizeof(LexedExpression) + lexed.source.capacity() +
                       lexed.tokens.capacity() * sizeof(ExprToken);
    for (const ExprToken& token : lexed.tokens) {
        cost += token.value.text.capacity();
        for (const ScriptValue& arg : token.args)
            cost += ValueCost(arg);
    }
    return cost;
}

bool ReserveCache(std::size_t cost)
{
    std::size_t before = cachedBytes.fetch_add(cost);
    if (before + cost <= kCacheBudget)
        return true;
    cachedBytes.fetch_sub(cost);
    return false;
}

// Reads one operator at the cursor; 0 when the cursor is not at an operator.
char ReadOperator(const char*& cursor)
{
    char c = cursor[0];
    char next = cursor[1];
    char op = 0;
    bool pair = false;
    switch (c) {
    case '!': pair = next == '='; op = pair ? kOpNotEqual : '!'; break;
    case '&': pair = next == '&'; op = pair ? kOpAnd : '&'; break;
    case '|': pair = next == '|'; op = pair ? kOpOr : '|'; break;
    case '=': pair = next == '='; op = pair ? kOpEqual : '='; break;
    case '<': pair = next == '='; op = pair ? kOpLessEqual : '<'; break;
    case '>': pair = next == '='; op = pair ? kOpGreaterEqual : '>'; break;
    case '%': case '*': case '+': case '-': case '/': op = c; break;
    default: return 0;
    }
    cursor += pair ? 2 : 1;
    return op;
}

class Lexer {
public:
    Lexer(LexedExpression& out) : out_(out) { scratch_.line = 0; }

    void Run()
    {
        const char* cursor = out_.source.c_str();
        while (!SkipSpace(cursor, scratch_)) {
            if (!LexToken(cursor))
                break;
        }
        out_.lines = Lines();
    }

private:
    uint32_t Lines() const { return static_cast<uint32_t>(scratch_.line); }

    ExprToken& Push(TokenKind kind)
    {
        ExprToken& token = out_.tokens.emplace_back();
        token.kind = kind;
        token.lines = Lines();
        return token;
    }

    // Records a bad token; lexing ends there, as evaluation would.
    bool Fail(int error)
    {
        Push(TokenKind::Error).error = error;
        return false;
    }

    bool LexToken(const char*& cursor)
    {
        if (char op = ReadOperator(cursor)) {
            Push(TokenKind::Operator).op = op;
            return true;
        }
        if (*cursor == '(') {
            ++cursor;
            VariableTable inner;
            if (int rc = ReadArgumentList(cursor, inner, scratch_, out_.strict); rc < 0)
                return Fail(rc);
            if (inner.size() != 1)
                return Fail(kErrSyntax);
            Push(TokenKind::Group).value = std::move(inner[0]);
            return true;
        }
        std::string word;
        if (int rc = ReadWord(cursor, word, scratch_); rc < 0)
            return Fail(rc);
        if (word.empty() || IsStatementWord(word, out_.strict))
            return Fail(kErrSyntax);
        SkipSpace(cursor, scratch_);
        if (*cursor == '(') {
            ++cursor;
            VariableTable args;
            if (int rc = ReadArgumentList(cursor, args, scratch_, out_.strict); rc < 0)
                return Fail(rc);
            ExprToken& call = Push(TokenKind::Call);
            call.value.text = std::move(word);
            call.args = std::move(args);
            return true;
        }
        switch (ClassifyLiteral(word, true, out_.strict)) {
        case kLiteralString:
            Push(TokenKind::Constant).value = MakeString(std::move(word));
            return true;
        case kLiteralInteger:
            Push(TokenKind::Constant).value = MakeInt(StringToInt(word));
            return true;
        case kLiteralNull:
            Push(TokenKind::Constant).value = MakeVoid();
            return true;
        case kLiteralName:
            Push(TokenKind::Variable).value.text = std::move(word);
            return true;
        default:
            // A root key bare inside a longer expression, a decimal point, a built-in name
            // without "(", or a malformed word.
            return Fail(kErrSyntax);
        }
    }

    LexedExpression& out_;
    ScriptResult scratch_{};  // only its line counter is used
};

}  // namespace

std::string OperatorText(char op)
{
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

LexedExpression::~LexedExpression()
{
    if (cacheable)
        cachedBytes.fetch_sub(cost);
}

std::shared_ptr<const LexedExpression> LexExpression(std::string_view text, bool strict)
{
    auto lexed = std::make_shared<LexedExpression>();
    lexed->source.assign(text.data(), text.size());
    lexed->strict = strict;
    Lexer(*lexed).Run();
    lexed->cost = CostOf(*lexed);
    lexed->cacheable = ReserveCache(lexed->cost);
    return lexed;
}
