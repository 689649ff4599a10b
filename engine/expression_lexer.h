// The lexed form of an expression text: its operators and operands in order, with bad tokens
// kept as error tokens that are raised only when evaluation reaches them. Lexing depends only
// on the text and the strict flag, so the result is cached on the expression item.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script_value.h"

// Operator codes: the character itself, or one letter for a two-character operator.
constexpr char kOpAnd = 'A';           // &&
constexpr char kOpOr = 'O';            // ||
constexpr char kOpEqual = 'E';         // ==
constexpr char kOpNotEqual = 'N';      // !=
constexpr char kOpLessEqual = 'L';     // <=
constexpr char kOpGreaterEqual = 'G';  // >=

// The text of an operator code for error messages ("&&" for A, "+" for +).
std::string OperatorText(char op);

enum class TokenKind : uint8_t {
    Operator,  // `op`
    Constant,  // `value`: a string, int or NULL operand
    Variable,  // `value.text` names the variable
    Call,      // `value.text` names the function, `args` are its argument items
    Group,     // a parenthesised text: `value` is its one argument item
    Error,     // `error` is returned when evaluation reaches this token
};

struct ExprToken {
    TokenKind kind = TokenKind::Error;
    char op = 0;
    int error = 0;
    // Line breaks passed from the start of the text up to the point where this token acts.
    uint32_t lines = 0;
    ScriptValue value;
    VariableTable args;
};

struct LexedExpression {
    std::string source;     // the text this was lexed from; a cache entry is used only while it matches
    bool strict = false;
    std::vector<ExprToken> tokens;  // ends at the first error token
    uint32_t lines = 0;     // line breaks in the whole text
    std::size_t cost = 0;   // approximate bytes held, for the memory budgets
    bool cacheable = false; // the cache budget admitted it

    LexedExpression() = default;
    LexedExpression(const LexedExpression&) = delete;
    LexedExpression& operator=(const LexedExpression&) = delete;
    ~LexedExpression();
};

// Lexes `text` (which may span lines) under the name comparison of `strict`.
std::shared_ptr<const LexedExpression> LexExpression(std::string_view text, bool strict);
