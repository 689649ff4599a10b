// The lexed form of an expression text: its operators and operands in order, with bad tokens
// kept as error tokens that are raised only when evaluation reaches them. Lexing depends only
// on the text and the strict flag, so the result is cached on the expression item.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "call_target.h"
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
    CallTarget target;  // Call only: resolved when lexed, under the same name rule
};

// One step of reducing the item list (one item per token). Which items are operators is known
// from the tokens alone, and so is the pairing the unary pass and the binary levels make, so the
// steps are planned once per text; only the type checks and the arithmetic remain for each run.
enum class StepKind : uint8_t {
    Unary,   // `op` applied to the item `right`; the operator item is `at`
    Binary,  // `op` at item `at` applied to the items `left` and `right`; the result goes right
    Fail,    // the reduction ends with `error` here (a missing operand, no single value left)
};

struct ReduceStep {
    StepKind kind = StepKind::Fail;
    char op = 0;
    int error = 0;
    uint32_t left = 0;
    uint32_t at = 0;
    uint32_t right = 0;
};

constexpr std::size_t kIntPlanItems = 16;

enum class ExprPlan : uint8_t {
    kGeneral,  // the item list and the planned steps
    // At most kIntPlanItems tokens, only variables, constants and operators, and every step
    // applies to operand items: when all operands hold ints the steps can run on bare ints.
    kInt,
    kIntPair,  // the int plan of a lone binary operation `a op b`, the commonest text of all
    kSingle,   // one variable or constant and nothing else: its value is the result
};

// An operand token as a shortcut reads it: a constant's value, or a variable's name.
struct PlanOperand {
    uint32_t item = 0;
    const ScriptValue* constant = nullptr;  // null for a variable
    std::string_view name;
};

struct LexedExpression {
    std::string
        source;  // the text this was lexed from; a cache entry is used only while it matches
    bool strict = false;
    std::vector<ExprToken> tokens;  // ends at the first error token
    std::vector<ReduceStep> steps;  // planned when no error token was read
    uint32_t resultItem = 0;        // the item holding the value once all steps succeeded
    uint32_t lines = 0;             // line breaks in the whole text
    std::size_t cost = 0;           // approximate bytes held, for the memory budgets
    bool cacheable = false;         // the cache budget admitted it
    // How a run may take a shortcut past the item list (see ExprPlan); `operands` lists the
    // operand tokens a shortcut or a call plan reads, in order.
    ExprPlan plan = ExprPlan::kGeneral;
    std::vector<PlanOperand> operands;
    // At most kIntPlanItems tokens of variables, constants, calls (one at least) and operators,
    // every step applying to operand items: while the operands come out as ints, the calls run
    // and the steps apply without an item list (the general path takes over where one is not).
    bool callPlan = false;

    LexedExpression() = default;
    LexedExpression(const LexedExpression&) = delete;
    LexedExpression& operator=(const LexedExpression&) = delete;
    ~LexedExpression();
};

// Lexes `text` (which may span lines) under the name comparison of `strict`.
std::shared_ptr<const LexedExpression> LexExpression(std::string_view text, bool strict);
