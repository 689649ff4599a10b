// Values and variables: the name rule, type words, conversions, copies and lookups.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "program.h"
#include "script_value.h"

namespace {

TEST(NamesEqual, StrictIsExactOtherwiseAsciiCaseFolds) {
    EXPECT_TRUE(NamesEqual("Count", "cOUNT", false));
    EXPECT_FALSE(NamesEqual("Count", "count", true));
    EXPECT_TRUE(NamesEqual("count", "count", true));
    EXPECT_FALSE(NamesEqual("count", "counts", false));
    EXPECT_FALSE(NamesEqual("a_", "a$", false));
    // Only ASCII letters fold: bytes of other code-page letters compare exactly.
    EXPECT_FALSE(NamesEqual("\xC4", "\xE4", false));
    EXPECT_FALSE(NamesEqual("[", "{", false));
}

TEST(TypeWords, CaseFollowsStrict) {
    EXPECT_EQ(TypeFromWord("INT", false), kTypeInt);
    EXPECT_EQ(TypeFromWord("String", false), kTypeString);
    EXPECT_EQ(TypeFromWord("HFILE", true), kTypeHfile);
    EXPECT_EQ(TypeFromWord("INT", true), 0u);
    EXPECT_EQ(TypeFromWord("integer", false), 0u);
}

TEST(StringToInt, AtoiRules) {
    EXPECT_EQ(StringToInt("12abc"), 12);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt(" \t\n-42x"), -42);
    EXPECT_EQ(StringToInt("+7"), 7);
    EXPECT_EQ(StringToInt("- 7"), 0);
    EXPECT_EQ(StringToInt("2147483647"), INT_MAX);
    EXPECT_EQ(StringToInt("-2147483648"), INT_MIN);
}

TEST(StringToInt, OverflowWrapsModulo2To32) {
    EXPECT_EQ(StringToInt("2147483648"), INT_MIN);
    EXPECT_EQ(StringToInt("4294967296"), 0);
    EXPECT_EQ(StringToInt("4294967297"), 1);
    EXPECT_EQ(StringToInt("-4294967295"), 1);
    // A very long digit string is no undefined behaviour, only a wrapped number.
    std::string digits(100000, '9');
    int32_t expected = 0;
    uint32_t wrapped = 0;
    for (char c : digits) wrapped = wrapped * 10u + static_cast<uint32_t>(c - '0');
    expected = static_cast<int32_t>(wrapped);
    EXPECT_EQ(StringToInt(digits), expected);
}

TEST(IntToString, Extremes) {
    EXPECT_EQ(IntToString(-15), "-15");
    EXPECT_EQ(IntToString(INT_MIN), "-2147483648");
}

TEST(CopyValue, CopiesPayloadKeepsIdentity) {
    ScriptValue destination = MakeInt(1);
    destination.name = "n";
    destination.line = 7;
    destination.byReference = 1;
    ScriptValue other;
    destination.reference = &other;
    ScriptValue source = MakeString("text");
    source.name = "s";
    source.integer = 9;
    source.handle = 5;
    CopyValue(destination, source);
    EXPECT_EQ(destination.type, kTypeString);
    EXPECT_EQ(destination.text, "text");
    EXPECT_EQ(destination.integer, 9);
    EXPECT_EQ(destination.handle, 5u);
    EXPECT_EQ(destination.name, "n");
    EXPECT_EQ(destination.line, 7u);
    EXPECT_EQ(destination.byReference, 1u);
    EXPECT_EQ(destination.reference, &other);
    // Strings are values: changing the copy leaves the source alone.
    destination.text += "!";
    EXPECT_EQ(source.text, "text");
}

TEST(ConvertValue, VoidTakesAnyType) {
    for (bool strict : {false, true}) {
        for (uint32_t type : {kTypeInt, kTypeString, kTypeHkey, kTypeHbrowser, kTypeHfile}) {
            ScriptValue value = MakeVoid();
            EXPECT_TRUE(ConvertValue(value, type, strict));
            EXPECT_EQ(value.type, type);
            EXPECT_EQ(value.integer, 0);
            EXPECT_EQ(value.text, "");
            EXPECT_EQ(value.handle, 0u);
        }
    }
}

TEST(ConvertValue, IntAndStringOnlyWithoutStrict) {
    ScriptValue value = MakeInt(-5);
    EXPECT_TRUE(ConvertValue(value, kTypeString, false));
    EXPECT_EQ(value.type, kTypeString);
    EXPECT_EQ(value.text, "-5");

    value = MakeString("12abc");
    EXPECT_TRUE(ConvertValue(value, kTypeInt, false));
    EXPECT_EQ(value.type, kTypeInt);
    EXPECT_EQ(value.integer, 12);

    value = MakeString("abc");
    EXPECT_TRUE(ConvertValue(value, kTypeInt, false));
    EXPECT_EQ(value.integer, 0);

    value = MakeString("5");
    EXPECT_FALSE(ConvertValue(value, kTypeInt, true));
    EXPECT_EQ(value.type, kTypeString);
    EXPECT_EQ(value.text, "5");
    value = MakeInt(5);
    EXPECT_FALSE(ConvertValue(value, kTypeString, true));
    EXPECT_EQ(value.integer, 5);
}

TEST(ConvertValue, NoHandleConversions) {
    ScriptValue value = MakeHandle(kTypeHfile, 2);
    EXPECT_FALSE(ConvertValue(value, kTypeInt, false));
    EXPECT_FALSE(ConvertValue(value, kTypeHbrowser, false));
    EXPECT_EQ(value.type, kTypeHfile);
    EXPECT_EQ(value.integer, 2);
    value = MakeInt(1);
    EXPECT_FALSE(ConvertValue(value, kTypeHkey, false));
    value = MakeString("1");
    EXPECT_FALSE(ConvertValue(value, kTypeHfile, false));
    EXPECT_TRUE(ConvertValue(value, kTypeString, true));
}

TEST(FindVariable, NewestFirstUnderTheNameRule) {
    VariableTable table;
    ScriptValue first = MakeInt(1);
    first.name = "x";
    ScriptValue second = MakeString("two");
    second.name = "X";
    table.push_back(first);
    table.push_back(second);
    ScriptValue* found = FindVariable(table, "x", false);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &table[1]);
    found = FindVariable(table, "x", true);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &table[0]);
    EXPECT_EQ(FindVariable(table, "y", false), nullptr);
    VariableTable empty;
    EXPECT_EQ(FindVariable(empty, "x", false), nullptr);
}

TEST(FindFunction, FirstInTableOrder) {
    ScriptProgram program;
    program.functions.resize(3);
    program.functions[0].name = "alpha";
    program.functions[1].name = "Beta";
    program.functions[2].name = "beta";
    EXPECT_EQ(program.FindFunction("BETA"), &program.functions[1]);
    program.strict = true;
    EXPECT_EQ(program.FindFunction("beta"), &program.functions[2]);
    EXPECT_EQ(program.FindFunction("BETA"), nullptr);
}

}  // namespace
