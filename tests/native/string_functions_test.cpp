// The string built-ins through real scripts and the real drivers, in both modes: every edge
// of their ranges, the conversions that only lax mode makes, and the errors that stop a run.
#include <string>
#include <vector>

#include "error_codes.h"
#include "script_fixture.h"

namespace {

struct Case {
    const char* expression;  // a string or int expression of the script language
    const char* expected;    // the expected value, written as a script constant
};

// Typed throughout, so strict and lax runs must agree on every line.
const std::vector<Case> kStringCases = {
    {"strlen(\"hello\")", "5"},
    {"strlen(\"\")", "0"},
    {"strlen(NULL)", "0"},
    {"strupr(\"aBc1-z\")", "\"ABC1-Z\""},
    {"strlwr(\"AbC1-Z\")", "\"abc1-z\""},
    {"LeftString(\"abc\", 5)", "\"abc\""},
    {"LeftString(\"abc\", -2)", "\"\""},
    {"LeftString(\"abc\", 0)", "\"\""},
    {"LeftString(NULL, 2)", "\"\""},
    {"RightString(\"abcdef\", 2)", "\"ef\""},
    {"RightString(\"abc\", 9)", "\"abc\""},
    {"RightString(\"abc\", -1)", "\"\""},
    {"MidString(\"abcdef\", 2)", "\"cdef\""},
    {"MidString(\"abcdef\", 2, 3)", "\"cde\""},
    {"MidString(\"abcdef\", 6)", "\"\""},
    {"MidString(\"abcdef\", 9, 1)", "\"\""},
    {"MidString(\"abcdef\", -3, 2)", "\"ab\""},
    {"MidString(\"abcdef\", 1, -5)", "\"\""},
    {"MidString(\"abcdef\", 2, -1)", "\"cdef\""},
    {"MidString(\"abcdef\", 4, 99)", "\"ef\""},
    {"MidString(\"abcdef\", 1, 0)", "\"\""},
    {"FindString(\"abcabc\", \"bc\")", "1"},
    {"FindString(\"abcabc\", \"bc\", 2)", "4"},
    {"FindString(\"abc\", \"B\")", "-1"},
    {"FindString(\"abc\", \"a\", 4)", "-1"},
    {"FindString(\"abc\", \"\", 3)", "3"},
    {"FindString(\"abc\", \"a\", -1)", "-1"},
    {"FindString(\"abc\", \"c\", 3)", "-1"},
    {"FindString(\"\", \"\")", "0"},
    {"FindString(\"aaa\", \"aa\", 1)", "1"},
    {"FindString(\"ab\", \"abc\")", "-1"},
    {"ReplaceString(\"a.b.c\", \".\", \"-\")", "\"a-b.c\""},
    {"ReplaceString(\"a.b.c\", \".\", \"-\", 1)", "\"a-b-c\""},
    {"ReplaceString(\"a.b.c\", \".\", \"-\", 1, 2)", "\"a.b-c\""},
    {"ReplaceString(\"a.b.c\", \".\", \"-\", 0, 2)", "\"a.b-c\""},
    {"ReplaceString(\"aa\", \"a\", \"aa\", 1)", "\"aaaa\""},
    {"ReplaceString(\"abcb\", \"b\", \"\", 1)", "\"ac\""},
    {"ReplaceString(\"abab\", \"ab\", \"b\", 1)", "\"bb\""},
    {"ReplaceString(\"abc\", \"x\", \"y\", 1)", "\"abc\""},
    {"ReplaceString(\"abc\", \"a\", \"y\", 1, 9)", "\"abc\""},
    {"ReplaceString(\"abc\", \"a\", \"y\", 1, -1)", "\"abc\""},
    {"ReplaceString(\"abc\", \"c\", \"y\", 1, 3)", "\"abc\""},
    // An empty find inserts the replacement once, with or without `all`.
    {"ReplaceString(\"abc\", \"\", \"X\", 1)", "\"Xabc\""},
    {"ReplaceString(\"abc\", \"\", \"X\", 1, 3)", "\"abcX\""},
    {"ReplaceString(\"abc\", \"\", \"X\")", "\"Xabc\""},
    {"ReplaceString(\"\", \"\", \"X\", 1)", "\"X\""},
    {"IsEmpty(\"\")", "1"},
    {"IsEmpty(\"a\")", "0"},
    {"IsEmpty(NULL)", "1"},
    {"atoi(\"  42abc\")", "42"},
    {"atoi(\"x\")", "0"},
    {"atoi(\"-17\")", "-17"},
    {"atoi(\"+8\")", "8"},
    {"atoi(\"\")", "0"},
    {"itoa(-5)", "\"-5\""},
    {"itoa(0)", "\"0\""},
    {"itoa(-2147483647 - 1)", "\"-2147483648\""},
    {"Chr(65)", "\"A\""},
    {"Chr(256)", "\"\""},
    {"Chr(-1)", "\"\""},
    {"Chr(0)", "\"\""},
    {"strlen(Chr(255))", "1"},
    {"ASCII(\"\")", "0"},
    {"ASCII(Chr(200))", "200"},
    {"ASCII(Chr(255) + \"a\")", "255"},
    {"ASCII(\"A\")", "65"},
};

class StringFunctionsTest : public ScriptTest, public ::testing::WithParamInterface<int> {
protected:
    int strict() const { return GetParam(); }
    // Runs `int main() { return (EXPRESSION == EXPECTED); }`-like checks for one case.
    int Check(const Case& c) {
        std::string text = "int main()\n{\n    if (" + std::string(c.expression) +
                           " == " + c.expected + ") return 1;\n    return 0;\n}\n";
        return RunText(text, "main()", strict());
    }
};

TEST_P(StringFunctionsTest, EdgeCases) {
    for (const Case& c : kStringCases) {
        EXPECT_EQ(Check(c), 1) << c.expression << " should be " << c.expected << " (strict "
                               << strict() << ")";
        EXPECT_EQ(Box(), "") << c.expression;
        platform_.ClearObservations();
    }
}

TEST_P(StringFunctionsTest, MissingParameterStopsTheRun) {
    EXPECT_EQ(RunText("int main()\n{\n    string s = LeftString(\"abc\");\n    return 0;\n}\n",
                      "main()", strict()),
              kErrMissingParameter);
    EXPECT_EQ(record_.param, 2);
    EXPECT_NE(Box().find("Parameter 2 - Missing parameter value"), std::string::npos) << Box();
}

TEST_P(StringFunctionsTest, RandomNumbersStayInRange) {
    EXPECT_EQ(RunText("int main()\n{\n    int i = 0;\n    int low = RAND_MAX;\n    int high = 0;\n"
                      "    while (i < 2000)\n    {\n        int r = rand();\n"
                      "        if (r < 0 || r > 32767) return -1;\n"
                      "        if (r < low) low = r;\n        if (r > high) high = r;\n        i = "
                      "i + 1;\n    }\n"
                      "    if (low > 100 || high < 32667) return -2;\n    return 0;\n}\n",
                      "main()", strict()),
              0);
}

// Growth through `all` is bounded like concatenation: "String too long", not exhausted memory.
TEST_P(StringFunctionsTest, ReplaceStringCannotGrowPastTheStringLimit) {
    EXPECT_EQ(
        RunText("int main()\n{\n    string s = \"a\";\n    int i = 0;\n"
                "    while (i < 20)\n    {\n        s = s + s;\n        i = i + 1;\n    }\n"
                "    s = ReplaceString(s, \"a\", \"aaaaaaaaaaaaaaaaaaaa\", 1);\n    return 1;\n}\n",
                "main()", strict()),
        kErrStringTooLong);
    // Just under the limit still works: 1 MB of "a" becomes 16 MB.
    EXPECT_EQ(RunText("int main()\n{\n    string s = \"a\";\n    int i = 0;\n"
                      "    while (i < 20)\n    {\n        s = s + s;\n        i = i + 1;\n    }\n"
                      "    return strlen(ReplaceString(s, \"a\", \"aaaaaaaaaaaaaaaa\", 1));\n}\n",
                      "main()", strict()),
              16777216);
}

INSTANTIATE_TEST_SUITE_P(BothModes, StringFunctionsTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Strict" : "Lax"; });

using StringConversionTest = ScriptTest;

// Integer and string parameters convert into each other only while strict is off.
TEST_F(StringConversionTest, LaxConvertsStrictRefuses) {
    struct Conversion {
        const char* expression;
        int laxResult;
        int param;  // the parameter strict mode refuses
    } conversions[] = {
        {"strlen(12345)", 5, 1},
        {"IsEmpty(0)", 0, 1},
        {"strlen(LeftString(\"abc\", \"2\"))", 2, 2},
        {"atoi(-31)", -31, 1},
        {"strlen(itoa(\"77\"))", 2, 1},
    };
    for (const Conversion& c : conversions) {
        std::string text = "int main()\n{\n    return " + std::string(c.expression) + ";\n}\n";
        EXPECT_EQ(RunText(text, "main()", 0), c.laxResult) << c.expression;
        platform_.ClearObservations();
        EXPECT_EQ(RunText(text, "main()", 1), kErrBadParameterType) << c.expression;
        EXPECT_EQ(record_.param, c.param) << c.expression;
        EXPECT_NE(Box().find("Bad parameter type"), std::string::npos) << Box();
        platform_.ClearObservations();
    }
}

}  // namespace
