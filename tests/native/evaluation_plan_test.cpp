// The evaluator's fast path: reduction steps planned once per text, one item stack shared by
// nested evaluations, and value copies that skip empty texts. Each case pins a result or an
// error that a wrong plan, a clobbered stack entry or a stale text would change.
#include <gtest/gtest.h>

#include <string>

#include "core_test_support.h"
#include "error_codes.h"
#include "script_fixture.h"

namespace {

using core_test::Evaluator;

int Evaluate(Evaluator& evaluator, const std::string& text, ScriptValue& value) {
    value = ScriptValue{};
    return evaluator.Evaluate(text, value);
}

// Errors come in the order of the passes: unary first, then the levels tightest first, so
// a fault at a tighter level wins over a missing operand at a looser one.
TEST(ReductionPlan, ErrorsFollowThePassOrder) {
    Evaluator evaluator;
    evaluator.AddLocal("s", MakeString("x"));
    ScriptValue value;
    EXPECT_EQ(Evaluate(evaluator, "s * 2 +", value), kErrInvalidStringOperator);
    EXPECT_STREQ(evaluator.record.name, "*");
    EXPECT_EQ(Evaluate(evaluator, "+ 1 / 0", value), kErrDivisionByZero);
    EXPECT_EQ(Evaluate(evaluator, "1 && 2 / 0 ==", value), kErrDivisionByZero);
    EXPECT_EQ(Evaluate(evaluator, "1 + 2 ==", value), kErrMissingValue);
    EXPECT_EQ(Evaluate(evaluator, "- s + 1 / 0", value), kErrWrongType);
    EXPECT_EQ(Evaluate(evaluator, "1 2", value), kErrSyntax);
    EXPECT_EQ(Evaluate(evaluator, "1 = 2", value), kErrSyntax);
}

TEST(ReductionPlan, UnaryShapes) {
    Evaluator evaluator;
    evaluator.AddLocal("h", MakeHandle(kTypeHkey, 0));
    ScriptValue value;
    const struct {
        const char* text;
        int32_t expected;
    } ints[] = {
        {"!!-3", -3}, {"1 - - 1", 2},  {"-2 * -3 - -4", 10},      {"!0 + !5", 1},
        {"!h", 1},    {"!!h == h", 1}, {"10 - 2 - 3 * 2 % 4", 6}, {"1 | 6 & 3 == 3", 1},
    };
    for (const auto& c : ints) {
        ASSERT_EQ(Evaluate(evaluator, c.text, value), kOk) << c.text;
        EXPECT_EQ(value.type, kTypeInt) << c.text;
        EXPECT_EQ(value.integer, c.expected) << c.text;
    }
    EXPECT_EQ(Evaluate(evaluator, "- - 3", value), kErrSyntax);
    EXPECT_EQ(Evaluate(evaluator, "3 !! 4", value), kErrSyntax);
    EXPECT_EQ(Evaluate(evaluator, "1 + !", value), kErrMissingValue);
    EXPECT_EQ(Evaluate(evaluator, "-h", value), kErrWrongType);
}

// The same cached text evaluated again after an error half way through its operands starts
// from a clean stack.
TEST(ReductionPlan, FailedEvaluationsLeaveNothingBehind) {
    Evaluator evaluator;
    evaluator.AddLocal("n", MakeInt(3));
    ScriptValue item;
    ASSERT_EQ(evaluator.ReadItem("\"a\" + \"b\" + n + missing", item), kOk);
    ScriptValue value;
    EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kErrNotDefined);
    evaluator.AddLocal("missing", MakeString("!"));
    value = ScriptValue{};
    ASSERT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kOk);
    EXPECT_EQ(value.text, "ab3!");
    EXPECT_EQ(Evaluate(evaluator, "4 * 5", value), kOk);
    EXPECT_EQ(value.integer, 20);
}

using NestedEvaluationTest = ScriptTest;

// Calls inside an expression run whole evaluations of their own between the operands read
// before and after them; recursion nests them deeply.
TEST_F(NestedEvaluationTest, CallsBetweenOperandsKeepTheOuterItems) {
    EXPECT_EQ(RunText(R"vxs(int Fib(int n)
{
    if (n < 2) return n;
    return Fib(n - 1) + Fib(n - 2);
}
string Wrap(string s, int depth)
{
    if (depth == 0) return "<" + s + ">";
    return "(" + Wrap(s + depth, depth - 1) + ")";
}
int main()
{
    string s;
    s = "x";
    if (Fib(10) + Fib(5) * 2 != 65) return 1;
    if (s + Wrap(s, 2) + s != "x((<x21>))x") return 2;
    if ((1 + (2 * (Fib(6) - (3)))) != 11) return 3;
    return 0;
}
)vxs"),
              0);
}

// A value copy must also clear a text the destination held before.
TEST_F(NestedEvaluationTest, AssignmentsReplaceOldTexts) {
    EXPECT_EQ(RunText(R"vxs(int main()
{
    string s;
    int n;
    s = "abc";
    s = NULL;
    if (strlen(s) != 0) return 1;
    s = 42;
    if (s != "42") return 2;
    n = "17";
    if (n != 17) return 3;
    s = "";
    if (s != "") return 4;
    return 0;
}
)vxs"),
              0);
}

}  // namespace
