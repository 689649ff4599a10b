// Int arithmetic of the evaluator: 32-bit, wrapping, never undefined behaviour. Shared by the
// item list, the int plans and the bound pair that statements evaluate inline.
#pragma once
#include <climits>
#include <cstdint>

#include "error_codes.h"
#include "expression_lexer.h"

inline int32_t Wrap(uint32_t value) { return static_cast<int32_t>(value); }

// Unary - or ! on an int.
inline int32_t IntUnary(char op, int32_t v) {
    return op == '-' ? Wrap(0u - static_cast<uint32_t>(v)) : v == 0;
}

// `a op b`; a negative error (a division by zero, an operator ints do not take) or kOk.
[[gnu::always_inline]] inline int IntOperation(char op, int32_t a, int32_t b, int32_t& out) {
    uint32_t ua = static_cast<uint32_t>(a);
    uint32_t ub = static_cast<uint32_t>(b);
    switch (op) {
    case '*': out = Wrap(ua * ub); return kOk;
    case '+': out = Wrap(ua + ub); return kOk;
    case '-': out = Wrap(ua - ub); return kOk;
    case '/':
        if (b == 0) return kErrDivisionByZero;
        out = (a == INT_MIN && b == -1) ? INT_MIN : a / b;  // the one quotient that does not fit
        return kOk;
    case '%':
        if (b == 0) return kErrDivisionByZero;
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
