// Scanner: preprocessing, words, expression texts, argument lists, literal kinds, valid names.
#include <gtest/gtest.h>

#include <string>

#include "error_codes.h"
#include "scanner.h"

namespace {

struct WordRead {
    int rc;
    std::string word;
    std::string rest;  // the text after the cursor
    int line;
};

WordRead Word(const std::string& text) {
    ScanCursor cursor{text.c_str(), 1};
    std::string word;
    int rc = ReadWord(cursor, word);
    return {rc, word, cursor.at, cursor.line};
}

struct ListRead {
    int rc;
    VariableTable items;
    std::string rest;
    int line;
};

ListRead Expression(const std::string& text, bool strict = false) {
    ScanCursor cursor{text.c_str(), 1};
    ListRead read{};
    read.rc = ReadExpressionText(cursor, read.items, strict);
    read.rest = cursor.at;
    read.line = cursor.line;
    return read;
}

ListRead Arguments(const std::string& text, bool strict = false) {
    ScanCursor cursor{text.c_str(), 1};
    ListRead read{};
    read.rc = ReadArgumentList(cursor, read.items, strict);
    read.rest = cursor.at;
    read.line = cursor.line;
    return read;
}

int Kind(std::string& word, bool resolve = true, bool strict = false) {
    return ClassifyLiteral(word, resolve, strict);
}

TEST(Preprocess, CollapsesBlanksAndDropsComments) {
    EXPECT_EQ(Preprocess("a  =\t5; // note\nb"), "a = 5; \nb");
    EXPECT_EQ(Preprocess("   \t  x;\n\t\ty;\n"), "x;\ny;\n");
    EXPECT_EQ(Preprocess("x;   \n"), "x; \n");
    EXPECT_EQ(Preprocess("// only a comment"), "");
    EXPECT_EQ(Preprocess("a // one\n// two\nb"), "a \n\nb");
}

TEST(Preprocess, DropsCarriageReturnsEverywhere) {
    EXPECT_EQ(Preprocess("a;\r\nb;\r\n"), "a;\nb;\n");
    EXPECT_EQ(Preprocess("s = \"x\r\ny\";"), "s = \"x\ny\";");
}

TEST(Preprocess, KeepsStringLiteralsIntact) {
    // "//" and blank runs inside a literal stay; a quote in a comment starts nothing.
    EXPECT_EQ(Preprocess("s = \"a  // b\t c\";"), "s = \"a  // b\t c\";");
    EXPECT_EQ(Preprocess("x; // say \"hi\n  y;"), "x; \ny;");
    // An escaped quote does not end the literal, so the comment marker after it is still text.
    EXPECT_EQ(Preprocess("s = \"a\\\" // b\";"), "s = \"a\\\" // b\";");
    // A backslash at a line end stays directly before the line feed, also after a CR.
    EXPECT_EQ(Preprocess("s = \"a\\\r\n  b\";"), "s = \"a\\\n  b\";");
}

TEST(Preprocess, SingleSlashIsText) { EXPECT_EQ(Preprocess("x = a / b;"), "x = a / b;"); }

TEST(Preprocess, StopsAtEndAndNul) {
    // A backslash as the last character inside an unclosed literal ends the text.
    EXPECT_EQ(Preprocess("s = \"abc\\"), "s = \"abc\\");
    EXPECT_EQ(Preprocess(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(Preprocess(""), "");
}

TEST(Preprocess, NeverLongerThanInput) {
    const std::string samples[] = {"  a  b  ", "\t\t\"\\", "a\r\n\r\n//x\n", "\"\\\r\n\""};
    for (const std::string& text : samples) EXPECT_LE(Preprocess(text).size(), text.size()) << text;
}

TEST(SkipRoutines, SpaceCountsLinesBlanksDoNot) {
    std::string text = "  \n \n x";
    ScanCursor cursor{text.c_str(), 3};
    EXPECT_FALSE(SkipSpace(cursor));
    EXPECT_EQ(*cursor.at, 'x');
    EXPECT_EQ(cursor.line, 5);

    text = "   \nx";
    cursor = ScanCursor{text.c_str(), 1};
    EXPECT_FALSE(SkipBlanks(cursor));
    EXPECT_EQ(*cursor.at, '\n');
    EXPECT_EQ(cursor.line, 1);

    text = "  ";
    cursor = ScanCursor{text.c_str(), 1};
    EXPECT_TRUE(SkipBlanks(cursor));
    cursor = ScanCursor{text.c_str(), 1};
    EXPECT_TRUE(SkipSpace(cursor));
}

TEST(SkipRoutines, TabIsNoBlank) {
    std::string text = "\tx";
    ScanCursor cursor{text.c_str(), 1};
    EXPECT_FALSE(SkipSpace(cursor));
    EXPECT_EQ(*cursor.at, '\t');
}

TEST(ReadWord, NameCharactersBackslashesAndLiterals) {
    WordRead read = Word("abc\"x y\"$_1(rest");
    EXPECT_EQ(read.rc, 11);
    EXPECT_EQ(read.word, "abc\"x y\"$_1");
    EXPECT_EQ(read.rest, "(rest");

    read = Word("a\\b c");
    EXPECT_EQ(read.word, "a\\b");
    EXPECT_EQ(read.rest, " c");

    read = Word("+x");
    EXPECT_EQ(read.rc, 0);
    EXPECT_EQ(read.word, "");
    EXPECT_EQ(read.rest, "+x");
}

TEST(ReadWord, EscapesAreCopiedRaw) {
    WordRead read = Word("\"a\\\"b\\\\\"x");
    EXPECT_EQ(read.word, "\"a\\\"b\\\\\"x");
    EXPECT_EQ(read.rest, "");
}

TEST(ReadWord, ContinuationJoinsLinesAndCountsThem) {
    WordRead read = Word("\"ab\\\ncd\";");
    EXPECT_EQ(read.word, "\"abcd\"");
    EXPECT_EQ(read.line, 2);
    EXPECT_EQ(read.rest, ";");
}

TEST(ReadWord, UnclosedLiteralIsNewlineInConstant) {
    EXPECT_EQ(Word("\"abc\nx\"").rc, kErrNewlineInConstant);
    EXPECT_EQ(Word("\"abc").rc, kErrNewlineInConstant);
    EXPECT_EQ(Word("\"abc\\").rc, kErrNewlineInConstant);
    EXPECT_EQ(Word("\"").rc, kErrNewlineInConstant);
}

TEST(ReadWord, LengthLimit) {
    std::string exact(kMaxTextLength, 'a');
    EXPECT_EQ(Word(exact).rc, static_cast<int>(kMaxTextLength));
    std::string over = exact + "a";
    EXPECT_EQ(Word(over).rc, kErrStringTooLong);
    std::string literal = "\"" + std::string(kMaxTextLength, 'b') + "\"";
    EXPECT_EQ(Word(literal).rc, kErrStringTooLong);
}

TEST(ReadExpressionText, StopsAtTerminatorsWithoutConsumingThem) {
    ListRead read = Expression("  a + f(b, c) ; x");
    ASSERT_EQ(read.rc, 0);
    ASSERT_EQ(read.items.size(), 1u);
    EXPECT_EQ(read.items[0].type, kTypeExpression);
    EXPECT_EQ(read.items[0].text, "a + f(b, c) ");
    EXPECT_EQ(read.rest, "; x");

    read = Expression("a, b");
    EXPECT_EQ(read.items[0].text, "a");
    EXPECT_EQ(read.rest, ", b");

    read = Expression("(a)) + 1");
    EXPECT_EQ(read.items[0].text, "(a)");
    EXPECT_EQ(read.rest, ") + 1");

    // A ';' ends the text at any depth.
    read = Expression("f(a; b)");
    EXPECT_EQ(read.items[0].text, "f(a");
    EXPECT_EQ(read.rest, "; b)");
}

TEST(ReadExpressionText, LineFeedsBecomeBlanksAndCount) {
    ListRead read = Expression("\n a +\nb;");
    ASSERT_EQ(read.rc, 0);
    EXPECT_EQ(read.items[0].text, "a + b");
    EXPECT_EQ(read.line, 3);
}

TEST(ReadExpressionText, StringLiteralsAreCopiedWhole) {
    ListRead read = Expression("\"a;b,c)\" + \"\\\"\";");
    ASSERT_EQ(read.rc, 0);
    EXPECT_EQ(read.items[0].text, "\"a;b,c)\" + \"\\\"\"");
    EXPECT_EQ(read.rest, ";");

    read = Expression("\"one\\\ntwo\"");
    ASSERT_EQ(read.rc, 0);
    EXPECT_EQ(read.items[0].type, kTypeString);
    EXPECT_EQ(read.items[0].text, "onetwo");
    EXPECT_EQ(read.line, 2);

    EXPECT_EQ(Expression("\"abc\n\";").rc, kErrNewlineInConstant);
}

TEST(ReadExpressionText, ItemKinds) {
    ListRead read = Expression("\"a\\tb\"");
    EXPECT_EQ(read.items[0].type, kTypeString);
    EXPECT_EQ(read.items[0].text, "a\tb");

    read = Expression("count");
    EXPECT_EQ(read.items[0].type, kTypeVarRef);
    EXPECT_EQ(read.items[0].text, "count");

    read = Expression("42");
    EXPECT_EQ(read.items[0].type, kTypeInt);
    EXPECT_EQ(read.items[0].integer, 42);

    read = Expression("MB_ICONEXCLAMATION");
    EXPECT_EQ(read.items[0].type, kTypeInt);
    EXPECT_EQ(read.items[0].integer, 48);

    read = Expression("NULL");
    EXPECT_EQ(read.items[0].type, kTypeVoid);
    EXPECT_EQ(read.items[0].integer, 0);

    read = Expression("HKEY_LOCAL_MACHINE");
    EXPECT_EQ(read.items[0].type, kTypeHkey);
    EXPECT_EQ(read.items[0].handle, 0x80000002u);

    // Digits with dots, names of built-ins, and anything else stay expression texts.
    for (const char* text : {"1.2.3", "1.5", "strlen", "-1", "a+b"}) {
        read = Expression(text);
        ASSERT_EQ(read.items.size(), 1u) << text;
        EXPECT_EQ(read.items[0].type, kTypeExpression) << text;
        EXPECT_EQ(read.items[0].text, text);
    }
}

TEST(ReadExpressionText, EmptyTexts) {
    EXPECT_EQ(Expression("   \n  ").rc, kErrSyntax);
    EXPECT_EQ(Expression("").rc, kErrSyntax);
    ListRead read = Expression("  ;");
    EXPECT_EQ(read.rc, 0);
    EXPECT_TRUE(read.items.empty());
}

TEST(ReadExpressionText, LengthLimit) {
    EXPECT_EQ(Expression(std::string(kMaxTextLength, '1') + ";").rc, 0);
    EXPECT_EQ(Expression(std::string(kMaxTextLength + 1, '1') + ";").rc, kErrStringTooLong);
}

TEST(ReadArgumentList, ItemsInOrderAndClosingParenConsumed) {
    ListRead read = Arguments(" 1, \"two\" ,x, a + b ) ;");
    ASSERT_EQ(read.rc, 0);
    ASSERT_EQ(read.items.size(), 4u);
    EXPECT_EQ(read.items[0].integer, 1);
    EXPECT_EQ(read.items[1].type, kTypeExpression);  // the blank after the literal keeps it a text
    EXPECT_EQ(read.items[2].type, kTypeVarRef);
    EXPECT_EQ(read.items[3].text, "a + b ");
    EXPECT_EQ(read.rest, " ;");

    read = Arguments(")x");
    EXPECT_EQ(read.rc, 0);
    EXPECT_TRUE(read.items.empty());
    EXPECT_EQ(read.rest, "x");

    read = Arguments("f(1, 2), (3))");
    ASSERT_EQ(read.rc, 0);
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.items[0].text, "f(1, 2)");
    EXPECT_EQ(read.items[1].text, "(3)");
}

TEST(ReadArgumentList, NotClosed) {
    EXPECT_EQ(Arguments("a, b;").rc, kErrMissingParen);
    EXPECT_EQ(Arguments("a").rc, kErrMissingParen);
    EXPECT_EQ(Arguments("a,  \n").rc, kErrMissingParen);
    EXPECT_EQ(Arguments("  ").rc, kErrSyntax);
    EXPECT_EQ(Arguments("\"x").rc, kErrNewlineInConstant);
}

TEST(ReadArgumentList, CountsLines) {
    ListRead read = Arguments("a,\n b\n)");
    EXPECT_EQ(read.rc, 0);
    EXPECT_EQ(read.line, 3);
}

TEST(ClassifyLiteral, Numbers) {
    std::string word = "12";
    EXPECT_EQ(Kind(word), kLiteralInteger);
    EXPECT_EQ(word, "12");
    word = "1.2.3";
    EXPECT_EQ(Kind(word), kLiteralNone);
    word = "1.5";
    EXPECT_EQ(Kind(word), kLiteralOther);
    word = "";
    EXPECT_EQ(Kind(word), kLiteralNone);
    word = "12abc";
    EXPECT_EQ(Kind(word), kLiteralOther);
}

TEST(ClassifyLiteral, StringEscapes) {
    std::string word = "\"a\\tb\"";
    EXPECT_EQ(Kind(word), kLiteralString);
    EXPECT_EQ(word, "a\tb");
    word = "\"a\\qb\"";
    EXPECT_EQ(Kind(word), kLiteralString);
    EXPECT_EQ(word, "aqb");
    word = "\"\\\"\\\\\\n\\r\"";
    EXPECT_EQ(Kind(word), kLiteralString);
    EXPECT_EQ(word, "\"\\\n\r");
    word = "\"\"";
    EXPECT_EQ(Kind(word), kLiteralString);
    EXPECT_EQ(word, "");
}

TEST(ClassifyLiteral, StringWithoutResolving) {
    std::string word = "\"c:\\temp\\n.vxs\"";
    EXPECT_EQ(Kind(word, false), kLiteralString);
    EXPECT_EQ(word, "c:\\temp\\n.vxs");
    // Without resolving, a backslash does not protect the quote after it.
    word = "\"a\\\"b\"";
    EXPECT_EQ(Kind(word, false), kLiteralOther);
}

TEST(ClassifyLiteral, LiteralNotAloneIsOther) {
    std::string word = "\"a\"b";
    EXPECT_EQ(Kind(word), kLiteralOther);
    EXPECT_EQ(word, "\"a\"b");
    word = "\"a\" + \"b\"";
    EXPECT_EQ(Kind(word), kLiteralOther);
    word = "\"abc";
    EXPECT_EQ(Kind(word), kLiteralOther);
}

TEST(ClassifyLiteral, ConstantsAndNames) {
    std::string word = "NULL";
    EXPECT_EQ(Kind(word), kLiteralNull);
    EXPECT_EQ(word, "0");
    word = "TRUE";
    EXPECT_EQ(Kind(word), kLiteralInteger);
    EXPECT_EQ(word, "1");
    word = "RAND_MAX";
    EXPECT_EQ(Kind(word), kLiteralInteger);
    EXPECT_EQ(word, "32767");
    word = "HKEY_CURRENT_USER";
    EXPECT_EQ(Kind(word), kLiteralRootKey);
    EXPECT_EQ(word, "-2147483647");
    word = "total";
    EXPECT_EQ(Kind(word), kLiteralName);
    word = "strlen";
    EXPECT_EQ(Kind(word), kLiteralOther);
}

TEST(ClassifyLiteral, CaseFollowsStrict) {
    std::string word = "true";
    EXPECT_EQ(Kind(word, true, false), kLiteralInteger);
    EXPECT_EQ(word, "1");
    word = "true";
    EXPECT_EQ(Kind(word, true, true), kLiteralName);
    word = "null";
    EXPECT_EQ(Kind(word, true, false), kLiteralNull);
    word = "null";
    EXPECT_EQ(Kind(word, true, true), kLiteralName);
    word = "hkey_users";
    EXPECT_EQ(Kind(word, true, false), kLiteralRootKey);
    word = "hkey_users";
    EXPECT_EQ(Kind(word, true, true), kLiteralName);
}

TEST(IsValidName, Rules) {
    for (const char* name : {"x$1", "_a", "a", "Count", "$", "main_2"})
        EXPECT_TRUE(IsValidName(name, false)) << name;
    for (const char* name :
         {"", "1a", "a-b", "a b", "a.b", "main", "strlen", "int", "HFILE", "while", "else", "NULL",
          "TRUE", "SW_SHOWNORMAL", "HKEY_DYN_DATA", "MessageBox", "FtpUpload", "a\\b"})
        EXPECT_FALSE(IsValidName(name, false)) << name;
    // Reserved words compare by the name rule: only without strict does case not matter.
    EXPECT_FALSE(IsValidName("STRLEN", false));
    EXPECT_TRUE(IsValidName("STRLEN", true));
    EXPECT_FALSE(IsValidName("Main", false));
    EXPECT_TRUE(IsValidName("Main", true));
    EXPECT_TRUE(IsValidName("While", true));
    EXPECT_FALSE(IsValidName("While", false));
}

TEST(IsStatementWord, SixWords) {
    for (const char* word : {"break", "else", "if", "repeat", "return", "while"})
        EXPECT_TRUE(IsStatementWord(word, true)) << word;
    EXPECT_TRUE(IsStatementWord("WHILE", false));
    EXPECT_FALSE(IsStatementWord("WHILE", true));
    EXPECT_FALSE(IsStatementWord("exit", false));
    EXPECT_FALSE(IsStatementWord("int", false));
}

}  // namespace
