// Expression evaluation through the real scanner, evaluator and call mechanism.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core_test_support.h"
#include "error_codes.h"
#include "stack_guard.h"

namespace {

using core_test::Evaluator;

// Evaluates `text` and expects an int result.
void ExpectInt(Evaluator& evaluator, const std::string& text, int32_t expected) {
    ScriptValue value;
    ASSERT_EQ(evaluator.Evaluate(text, value), kOk) << text;
    EXPECT_EQ(value.type, kTypeInt) << text;
    EXPECT_EQ(value.integer, expected) << text;
}

void ExpectInt(const std::string& text, int32_t expected, bool strict = false) {
    Evaluator evaluator(strict);
    ExpectInt(evaluator, text, expected);
}

void ExpectString(Evaluator& evaluator, const std::string& text, const std::string& expected) {
    ScriptValue value;
    ASSERT_EQ(evaluator.Evaluate(text, value), kOk) << text;
    EXPECT_EQ(value.type, kTypeString) << text;
    EXPECT_EQ(value.text, expected) << text;
}

int ErrorOf(Evaluator& evaluator, const std::string& text) {
    ScriptValue value;
    return evaluator.Evaluate(text, value);
}

int ErrorOf(const std::string& text, bool strict = false) {
    Evaluator evaluator(strict);
    return ErrorOf(evaluator, text);
}

// An expression item as the compiler would keep it, with the text exactly as given.
ScriptValue TextItem(const std::string& text) {
    ScriptValue item;
    item.type = kTypeExpression;
    item.text = text;
    return item;
}

TEST(Arithmetic, PrecedenceAndLeftToRight) {
    ExpectInt("2 + 3 * 4", 14);
    ExpectInt("10 - 4 - 3", 3);
    ExpectInt("100 / 10 / 5", 2);
    ExpectInt("7 / 2", 3);
    ExpectInt("-7 / 2", -3);
    ExpectInt("-7 % 2", -1);
    ExpectInt("7 % -2", 1);
    ExpectInt("(2 + 3) * 4", 20);
    ExpectInt("-(2 + 3)", -5);
    ExpectInt("2 * -3", -6);
    ExpectInt("2 - -3", 5);
    ExpectInt("2-3", -1);
    ExpectInt("TRUE + TRUE", 2);
    ExpectInt("RAND_MAX", 32767);
    ExpectInt("((((7))))", 7);
}

TEST(Arithmetic, BitwiseBindsTighterThanComparison) {
    ExpectInt("1 | 2 == 3", 1);
    ExpectInt("6 & 3", 2);
    ExpectInt("5 | 2 & 3", 3);  // one level, left to right: (5 | 2) & 3
    ExpectInt("1 + 1 == 2", 1);
    ExpectInt("1 < 2 < 3", 1);
    ExpectInt("3 > 2 > 1", 0);
}

TEST(Arithmetic, LogicalOperatorsShareOneLevel) {
    Evaluator evaluator;
    evaluator.AddGlobal("a", MakeInt(1));
    evaluator.AddGlobal("b", MakeInt(0));
    evaluator.AddGlobal("c", MakeInt(0));
    // (a == 1 || b == 2) && c == 3, not a == 1 || (b == 2 && c == 3).
    ExpectInt(evaluator, "a == 1 || b == 2 && c == 3", 0);
    ExpectInt(evaluator, "5 && 7", 1);
    ExpectInt(evaluator, "0 || -3", 1);
    ExpectInt(evaluator, "0 || 0", 0);
}

TEST(Arithmetic, Comparisons) {
    ExpectInt("-1 < 0", 1);
    ExpectInt("2 <= 2", 1);
    ExpectInt("2 >= 3", 0);
    ExpectInt("2 != 3", 1);
    ExpectInt("2 == 3", 0);
}

TEST(Arithmetic, WrapsModulo2To32) {
    ExpectInt("2147483647 + 1", INT_MIN);
    ExpectInt("-2147483647 - 2", INT_MAX);
    ExpectInt("65536 * 65536", 0);
    ExpectInt("2147483648", INT_MIN);
    ExpectInt("99999999999999999999", static_cast<int32_t>(StringToInt("99999999999999999999")));
    Evaluator evaluator;
    evaluator.AddGlobal("m", MakeInt(INT_MIN));
    ExpectInt(evaluator, "-m", INT_MIN);
    ExpectInt(evaluator, "m / -1", INT_MIN);
    ExpectInt(evaluator, "m % -1", 0);
    ExpectInt(evaluator, "m - 1", INT_MAX);
}

TEST(Arithmetic, DivisionByZero) {
    EXPECT_EQ(ErrorOf("5 % 0"), kErrDivisionByZero);
    EXPECT_EQ(ErrorOf("5 / 0"), kErrDivisionByZero);
    EXPECT_EQ(ErrorOf("5 / (1 - 1)"), kErrDivisionByZero);
}

TEST(Unary, NotAndMinus) {
    ExpectInt("!!5", 5);
    ExpectInt("!0", 1);
    ExpectInt("!7", 0);
    ExpectInt("!!!0", 1);
    ExpectInt("-5 + 2", -3);
    EXPECT_EQ(ErrorOf("- -5"), kErrSyntax);
    EXPECT_EQ(ErrorOf("!-5"), kErrSyntax);
    EXPECT_EQ(ErrorOf("-"), kErrMissingValue);
    EXPECT_EQ(ErrorOf("1 + !"), kErrMissingValue);
    EXPECT_EQ(ErrorOf("!!"), kErrSyntax);
}

TEST(Unary, WrongTypesHaveAnEmptyName) {
    Evaluator evaluator;
    EXPECT_EQ(ErrorOf(evaluator, "-\"a\""), kErrWrongType);
    EXPECT_EQ(FormatErrorMessage(kErrWrongType, evaluator.record), " - Variable is the wrong type");
    EXPECT_EQ(ErrorOf("!\"a\""), kErrWrongType);
    EXPECT_EQ(ErrorOf("!NULL"), kErrWrongType);
    // !!x keeps x as it is, whatever its type.
    Evaluator strings;
    ExpectString(strings, "!!\"a\"", "a");
}

TEST(Syntax, MalformedTexts) {
    EXPECT_EQ(ErrorOf("(1, 2)"), kErrSyntax);
    EXPECT_EQ(ErrorOf("()"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1 2"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1 + + 2"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1.5 + 1"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1 + strlen"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1 + while"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1 + If"), kErrSyntax);
    EXPECT_EQ(ErrorOf("1 + @"), kErrSyntax);
    EXPECT_EQ(ErrorOf("a = 1"), kErrNotDefined);
    EXPECT_EQ(ErrorOf("1 = 1"), kErrSyntax);
    EXPECT_EQ(ErrorOf("3 +"), kErrMissingValue);
    EXPECT_EQ(ErrorOf("* 3"), kErrMissingValue);
    EXPECT_EQ(ErrorOf("1 + (2"), kErrMissingParen);
}

TEST(Syntax, LoneAssignmentSignIsNoValue) {
    // No level applies "=", so a text of only "=" must not yield a value.
    EXPECT_EQ(ErrorOf("="), kErrSyntax);
    EXPECT_EQ(ErrorOf("(=)"), kErrSyntax);
}

TEST(Syntax, StrictKeywordsFollowTheNameRule) {
    // With strict, If is a name like any other.
    EXPECT_EQ(ErrorOf("1 + If", true), kErrNotDefined);
}

TEST(Strings, ConcatenationAndComparison) {
    Evaluator evaluator;
    evaluator.AddGlobal("s", MakeString("Count: "));
    ExpectString(evaluator, "s + 5", "Count: 5");
    ExpectString(evaluator, "5 + s", "5Count: ");
    ExpectString(evaluator, "\"a\\tb\" + \"\\\"\"", "a\tb\"");
    ExpectInt(evaluator, "5 == \"5\"", 1);
    ExpectInt(evaluator, "\"abc\" == \"ABC\"", 0);
    ExpectInt(evaluator, "\"abc\" != \"ABC\"", 1);
    ExpectInt(evaluator, "\"a\" + \"b\" == \"ab\"", 1);
    ExpectString(evaluator, "1 + 2 + \"x\"", "3x");
    ExpectString(evaluator, "\"x\" + 1 + 2", "x12");
}

TEST(Strings, OnlyPlusAndEqualityApply) {
    Evaluator evaluator;
    EXPECT_EQ(ErrorOf(evaluator, "5 < \"6\""), kErrInvalidStringOperator);
    EXPECT_STREQ(evaluator.record.name, "<");
    EXPECT_EQ(ErrorOf(evaluator, "\"a\" && \"b\""), kErrInvalidStringOperator);
    EXPECT_STREQ(evaluator.record.name, "&&");
    EXPECT_EQ(ErrorOf(evaluator, "\"a\" <= \"b\""), kErrInvalidStringOperator);
    EXPECT_EQ(FormatErrorMessage(kErrInvalidStringOperator, evaluator.record),
              "Invalid string operator '<='");
    EXPECT_EQ(ErrorOf(evaluator, "\"a\" - \"b\""), kErrInvalidStringOperator);
    EXPECT_STREQ(evaluator.record.name, "-");
}

TEST(Strings, StrictRefusesMixing) {
    Evaluator evaluator(true);
    evaluator.AddGlobal("s", MakeString("Count: "));
    EXPECT_EQ(ErrorOf(evaluator, "s + 5"), kErrWrongType);
    EXPECT_EQ(ErrorOf(evaluator, "5 == \"5\""), kErrWrongType);
    EXPECT_EQ(ErrorOf(evaluator, "5 < \"6\""), kErrWrongType);
    ExpectInt(evaluator, "\"abc\" == \"ABC\"", 0);
    ExpectString(evaluator, "s + \"5\"", "Count: 5");
}

TEST(Strings, LengthLimit) {
    Evaluator evaluator;
    evaluator.AddGlobal("big", MakeString(std::string(kMaxTextLength - 1, 'x')));
    ScriptValue value;
    ASSERT_EQ(evaluator.Evaluate("big + \"y\"", value), kOk);
    EXPECT_EQ(value.text.size(), kMaxTextLength);
    EXPECT_EQ(evaluator.Evaluate("big + \"yz\"", value), kErrStringTooLong);
}

TEST(Null, TakesTheOtherType) {
    Evaluator evaluator;
    evaluator.AddGlobal("s", MakeString(""));
    evaluator.AddGlobal("f", MakeHandle(kTypeHfile, 0));
    evaluator.AddGlobal("g", MakeHandle(kTypeHfile, 2));
    ExpectInt(evaluator, "s == NULL", 1);
    ExpectInt(evaluator, "f == NULL", 1);
    ExpectInt(evaluator, "g == NULL", 0);
    ExpectInt(evaluator, "NULL + 4", 4);
    ExpectString(evaluator, "\"x\" + NULL", "x");
    EXPECT_EQ(ErrorOf(evaluator, "NULL + NULL"), kErrWrongType);
    EXPECT_EQ(ErrorOf(evaluator, "NULL == NULL"), kErrWrongType);
    ScriptValue value;
    ASSERT_EQ(evaluator.Evaluate("NULL", value), kOk);
    EXPECT_EQ(value.type, kTypeVoid);
}

TEST(Handles, OnlyEqualityAndNot) {
    Evaluator evaluator;
    evaluator.AddGlobal("h", MakeHandle(kTypeHkey, 0x80000001u));
    evaluator.AddGlobal("k", MakeHandle(kTypeHkey, 0));
    evaluator.AddGlobal("f", MakeHandle(kTypeHfile, 3));
    evaluator.AddGlobal("b", MakeHandle(kTypeHbrowser, 0));
    ExpectInt(evaluator, "h == h", 1);
    ExpectInt(evaluator, "h != k", 1);
    ExpectInt(evaluator, "h == (HKEY_CURRENT_USER)", 1);
    ExpectInt(evaluator, "k == (HKEY_CURRENT_USER)", 0);
    ExpectInt(evaluator, "!k", 1);
    ExpectInt(evaluator, "!h", 0);
    ExpectInt(evaluator, "!f", 0);
    ExpectInt(evaluator, "!b", 1);
    EXPECT_EQ(ErrorOf(evaluator, "h == HKEY_CURRENT_USER"), kErrSyntax);
    EXPECT_EQ(ErrorOf(evaluator, "-f"), kErrWrongType);
    EXPECT_EQ(ErrorOf(evaluator, "f + 1"), kErrWrongType);
    EXPECT_EQ(ErrorOf(evaluator, "f == b"), kErrWrongType);
    EXPECT_EQ(ErrorOf(evaluator, "f + f"), kErrInvalidOperator);
    EXPECT_EQ(FormatErrorMessage(kErrInvalidOperator, evaluator.record), "Invalid operator '+'");
    EXPECT_EQ(ErrorOf(evaluator, "h >= h"), kErrInvalidOperator);
    EXPECT_STREQ(evaluator.record.name, ">=");
    ScriptValue value;
    ASSERT_EQ(evaluator.Evaluate("(HKEY_LOCAL_MACHINE)", value), kOk);
    EXPECT_EQ(value.type, kTypeHkey);
    EXPECT_EQ(value.handle, 0x80000002u);
}

TEST(Variables, ScopesAndNames) {
    Evaluator evaluator;
    evaluator.AddGlobal("count", MakeInt(1));
    ExpectInt(evaluator, "COUNT + 1", 2);
    evaluator.AddLocal("count", MakeInt(10));
    ExpectInt(evaluator, "count + 1", 11);  // a local hides the global
    EXPECT_EQ(ErrorOf(evaluator, "1 + missing"), kErrNotDefined);
    EXPECT_STREQ(evaluator.record.name, "missing");

    Evaluator strict(true);
    strict.AddGlobal("count", MakeInt(1));
    EXPECT_EQ(ErrorOf(strict, "COUNT + 1"), kErrNotDefined);
    EXPECT_STREQ(strict.record.name, "COUNT");
}

TEST(Items, ConstantsAndReferencesAreCopied) {
    Evaluator evaluator;
    evaluator.AddGlobal("x", MakeString("val"));
    ScriptValue reference;
    reference.type = kTypeVarRef;
    reference.text = "x";
    ScriptValue value = MakeInt(5);
    value.type = kTypeVoid;  // the slot type does not matter for a reference
    ASSERT_EQ(EvaluateExpression(evaluator.context, reference, evaluator.locals, value), kOk);
    EXPECT_EQ(value.type, kTypeString);
    EXPECT_EQ(value.text, "val");

    reference.text = "y";
    EXPECT_EQ(EvaluateExpression(evaluator.context, reference, evaluator.locals, value),
              kErrNotDefined);
    EXPECT_STREQ(evaluator.record.name, "y");

    ScriptValue constant = MakeHandle(kTypeHkey, 0x80000003u);
    ASSERT_EQ(EvaluateExpression(evaluator.context, constant, evaluator.locals, value), kOk);
    EXPECT_EQ(value.type, kTypeHkey);
    EXPECT_EQ(value.handle, 0x80000003u);
}

TEST(Items, VoidSlotRefusesExpressionTexts) {
    Evaluator evaluator;
    ScriptValue value;
    EXPECT_EQ(evaluator.Evaluate("1 + 1", value, kTypeVoid), kErrInvalidReturnType);
    // The slot's type is only checked, never used to convert.
    ASSERT_EQ(evaluator.Evaluate("1 + 1", value, kTypeString), kOk);
    EXPECT_EQ(value.type, kTypeInt);
    EXPECT_EQ(value.integer, 2);
}

TEST(Lines, ErrorLineInsideMultiLineTextSuccessRestores) {
    Evaluator evaluator;
    evaluator.record.line = 20;
    ScriptValue value;
    ScriptValue item = TextItem("1 +\n\n 2");
    ASSERT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kOk);
    EXPECT_EQ(value.integer, 3);
    EXPECT_EQ(evaluator.record.line, 20);

    item = TextItem("1 +\n\n missing +\n 2");
    EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kErrNotDefined);
    EXPECT_EQ(evaluator.record.line, 22);

    evaluator.record.line = 20;
    item = TextItem("1 +\n2 +\n");
    EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value),
              kErrMissingValue);
    EXPECT_EQ(evaluator.record.line, 22);
}

TEST(Lines, CachedTextKeepsItsErrorLines) {
    Evaluator evaluator;
    ScriptValue value;
    ScriptValue item = TextItem("1 +\n missing");
    for (int run = 0; run < 3; ++run) {
        evaluator.record.line = 5;
        EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value),
                  kErrNotDefined);
        EXPECT_EQ(evaluator.record.line, 6);
    }
}

TEST(Stack, DeepNestingEndsWithStackOverflow) {
    Evaluator evaluator;
    StackGuard guard(1 << 20);
    evaluator.context.guard = &guard.state();
    ScriptValue value;
    std::string text = std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ(evaluator.Evaluate(text, value), kErrStackOverflow);
    text = std::string(50, '(') + "1" + std::string(50, ')');
    ExpectInt(evaluator, text, 1);
    text.clear();
    for (int i = 0; i < 40; ++i) text += "-(";
    text += "3" + std::string(40, ')');
    ExpectInt(evaluator, text, 3);
}

TEST(Stack, NestingOfLongTextsIsBoundedBeforeMemoryRunsOut) {
    // Every level copies its inner text, so depth x length bytes would pile up long before
    // the stack ran out; the evaluation stops with "Stack overflow" instead.
    Evaluator evaluator;
    std::string body = "1";
    for (int i = 0; i < 100000; ++i) body += " + 1";
    std::string text = std::string(300, '(') + body + std::string(300, ')');
    ScriptValue value;
    EXPECT_EQ(evaluator.Evaluate(text, value), kErrStackOverflow);
    // The same body at a modest depth evaluates.
    ExpectInt(evaluator, std::string(20, '(') + body + std::string(20, ')'), 100001);
}

TEST(Cache, LexedOnceAndBoundToTheItem) {
    Evaluator evaluator;
    evaluator.AddGlobal("n", MakeInt(2));
    ScriptValue item = TextItem("n * 10 + 1");
    ScriptValue value;
    ASSERT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kOk);
    EXPECT_EQ(value.integer, 21);
    ASSERT_NE(item.lexed, nullptr);
    auto first = item.lexed;
    evaluator.program.globals[0].integer = 5;
    ASSERT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kOk);
    EXPECT_EQ(value.integer, 51);  // values are read afresh
    EXPECT_EQ(item.lexed, first);  // the text is not lexed again

    // A new text comes in through CopyValue, which drops the bound form; a changed name rule
    // is lexed again.
    CopyValue(item, TextItem("n - 1"));
    ASSERT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kOk);
    EXPECT_EQ(value.integer, 4);
    ScriptValue constant = TextItem("true + 0");
    ASSERT_EQ(EvaluateExpression(evaluator.context, constant, evaluator.locals, value), kOk);
    EXPECT_EQ(value.integer, 1);
    evaluator.program.strict = true;
    EXPECT_EQ(EvaluateExpression(evaluator.context, constant, evaluator.locals, value),
              kErrNotDefined);
    EXPECT_STREQ(evaluator.record.name, "true");
}

TEST(Cache, CopiesOfAnItemShareOrRelex) {
    Evaluator evaluator;
    ScriptValue item = TextItem("6 * 7");
    ScriptValue value;
    ASSERT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kOk);
    ScriptValue copy = item;
    EXPECT_EQ(copy.lexed, item.lexed);
    // A value copy into a slot that was evaluated before keeps no stale form.
    ScriptValue other = TextItem("1 + 1");
    ASSERT_EQ(EvaluateExpression(evaluator.context, other, evaluator.locals, value), kOk);
    CopyValue(other, item);
    ASSERT_EQ(EvaluateExpression(evaluator.context, other, evaluator.locals, value), kOk);
    EXPECT_EQ(value.integer, 42);
}

// Scripts with user functions, compiled by the real pass 1 and called through the real calls.
class WithFunctions : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(evaluator.Compile("int calls;\n"
                                    "int f()\n{\n  calls = calls + 1;\n  return 0;\n}\n"
                                    "int g()\n{\n  calls = calls + 10;\n  return 1;\n}\n"
                                    "string name()\n{\n  return \"vexa\";\n}\n"
                                    "void nothing()\n{\n  calls = calls + 100;\n}\n"
                                    "int fails()\n{\n  return 1 / 0;\n}\n"
                                    "int leaves()\n{\n  exit(7);\n  return 1;\n}\n"),
                  kOk);
    }

    int32_t Calls() { return FindVariable(evaluator.program.globals, "calls", false)->integer; }

    Evaluator evaluator;
};

TEST_F(WithFunctions, NothingShortCircuits) {
    ExpectInt(evaluator, "f() && g()", 0);
    EXPECT_EQ(Calls(), 11);
    ExpectInt(evaluator, "g() || f()", 1);
    EXPECT_EQ(Calls(), 22);
}

TEST_F(WithFunctions, CallsRunLeftToRight) {
    ExpectInt(evaluator, "g() * 10 + (f() + 4) * 2", 18);
    EXPECT_EQ(Calls(), 11);
    ExpectString(evaluator, "name() + \"!\"", "vexa!");
    ExpectString(evaluator, "NAME() + 1", "vexa1");
    EXPECT_EQ(ErrorOf(evaluator, "nothing() + nothing()"), kErrWrongType);
    EXPECT_EQ(Calls(), 211);
}

TEST_F(WithFunctions, ErrorsAfterACallHappenAfterIt) {
    // The bad token is raised only when evaluation reaches it, after g() has run.
    ScriptValue value;
    ScriptValue item = TextItem("g() + \"abc");
    for (int run = 1; run <= 2; ++run) {
        evaluator.record.line = 30;
        EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value),
                  kErrNewlineInConstant);
        EXPECT_EQ(Calls(), 10 * run);
        EXPECT_EQ(evaluator.record.line, 30);
    }
    EXPECT_EQ(ErrorOf(evaluator, "f() + missing"), kErrNotDefined);
    EXPECT_EQ(Calls(), 21);
    EXPECT_EQ(ErrorOf(evaluator, "1 + unknown()"), kErrFunctionNotFound);
    EXPECT_STREQ(evaluator.record.call, "unknown");
}

TEST_F(WithFunctions, LaterErrorsKeepTheExpressionsLine) {
    // g() runs statements on other lines; an error after it belongs to this expression's line.
    ScriptValue value;
    ScriptValue item = TextItem("g() + \n missing");
    evaluator.record.line = 40;
    EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value), kErrNotDefined);
    EXPECT_EQ(evaluator.record.line, 41);
    item = TextItem("g() + \"a\" * 2");
    evaluator.record.line = 40;
    EXPECT_EQ(EvaluateExpression(evaluator.context, item, evaluator.locals, value),
              kErrInvalidStringOperator);
    EXPECT_EQ(evaluator.record.line, 40);
}

TEST_F(WithFunctions, ErrorsInsideACallKeepTheirLine) {
    evaluator.record.line = 50;
    EXPECT_EQ(ErrorOf(evaluator, "1 + fails()"), kErrDivisionByZero);
    EXPECT_EQ(evaluator.record.line, 22);
}

TEST_F(WithFunctions, ExitInsideAnExpressionPassesOn) {
    ScriptValue value;
    evaluator.functionResult = MakeInt(0);
    EXPECT_EQ(evaluator.Evaluate("g() + leaves() + f()", value), kSignalExit);
    EXPECT_EQ(Calls(), 10);  // nothing after the exit runs
    EXPECT_EQ(evaluator.functionResult.integer, 7);
    EXPECT_EQ(evaluator.Evaluate("(exit(3)) + f()", value), kSignalExit);
    EXPECT_EQ(evaluator.functionResult.integer, 3);
    EXPECT_EQ(Calls(), 10);
}

}  // namespace
