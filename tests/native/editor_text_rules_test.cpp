// The editor's line rules and syntax tokens, without an edit control.
#include <gtest/gtest.h>

#include "script_text_rules.h"
#include "syntax_tokens.h"

namespace {

TEST(EditorTextRules, OutdentTakesOneIndentStep) {
    EXPECT_EQ(OutdentLength("  \tx"), 3u);    // blanks short of a tab, then the tab
    EXPECT_EQ(OutdentLength("      x"), 4u);  // six blanks lose four
    EXPECT_EQ(OutdentLength("    \tx"), 4u);  // four blanks are a step; the tab stays
    EXPECT_EQ(OutdentLength("\t\tx"), 1u);
    EXPECT_EQ(OutdentLength("x\t"), 0u);
    EXPECT_EQ(OutdentLength(""), 0u);
    EXPECT_EQ(OutdentLength("  "), 2u);
}

TEST(EditorTextRules, IndentIsTheLeadingBlanksAndTabs) {
    EXPECT_EQ(LeadingIndent("\t  if (a)"), "\t  ");
    EXPECT_EQ(LeadingIndent("if (a)"), "");
    EXPECT_EQ(LeadingIndent(" \t "), " \t ");
}

TEST(EditorTextRules, ColumnsCountTabsToTheNextMultipleOfFour) {
    EXPECT_EQ(CaretColumn("a\tb", 3) + 1, 6);  // a is 1, the tab reaches 5, b is 5
    EXPECT_EQ(CaretColumn("abcd\tx", 5), 8);   // a tab at a tab stop moves a whole step
    EXPECT_EQ(CaretColumn("\t\t", 2), 8);
    EXPECT_EQ(CaretColumn("abc", 0), 0);
    EXPECT_EQ(CaretColumn("ab", 10), 2);  // never past the line
}

TEST(EditorTextRules, HelpWordAroundTheCaretOrTheSelection) {
    const std::string line = "    n = MessageBox(\"hi\", #x_1);";
    const size_t inside = line.find("Box");
    EXPECT_EQ(HelpWordAt(line, inside, inside), "MessageBox");
    const size_t after = line.find('(');  // just behind the word
    EXPECT_EQ(HelpWordAt(line, after, after), "MessageBox");
    EXPECT_EQ(HelpWordAt(line, 1, 1), "");  // on a blank
    const size_t hash = line.find('#');
    EXPECT_EQ(HelpWordAt(line, hash + 2, hash + 2), "#x_1");
    EXPECT_EQ(HelpWordAt("exit", 4, 4), "exit");  // caret at the end of the line
    EXPECT_EQ(HelpWordAt(line, 3, 8), "n =");     // a selection, blanks trimmed
    EXPECT_EQ(HelpWordAt("", 0, 0), "");
}

std::string Kinds(std::string_view line) {
    std::string out;
    for (const SyntaxToken& t : ScanSyntaxLine(line))
        out += std::to_string(static_cast<int>(t.kind)) + "@" + std::to_string(t.start) + ":" +
               std::to_string(t.length) + " ";
    return out;
}

TEST(EditorSyntaxTokens, WordsLiteralsAndCommentsOfOneLine) {
    using K = TokenKind;
    const std::string line = "while (x < strlen(\"a\\\"//b\")) // done";
    const auto tokens = ScanSyntaxLine(line);
    ASSERT_EQ(tokens.size(), 4u) << Kinds(line);
    EXPECT_EQ(tokens[0].kind, K::Keyword);
    EXPECT_EQ(tokens[1].kind, K::Builtin);
    EXPECT_EQ(tokens[2].kind, K::String);  // the escaped quote and // stay inside
    EXPECT_EQ(line.substr(tokens[2].start, tokens[2].length), "\"a\\\"//b\"");
    EXPECT_EQ(tokens[3].kind, K::Comment);
    EXPECT_EQ(line.substr(tokens[3].start), "// done");
}

TEST(EditorSyntaxTokens, NamesCompareWithoutCaseAsScriptsDo) {
    EXPECT_EQ(ClassifyWord("INT"), TokenKind::Type);
    EXPECT_EQ(ClassifyWord("hkey"), TokenKind::Type);
    EXPECT_EQ(ClassifyWord("messagebox"), TokenKind::Builtin);
    EXPECT_EQ(ClassifyWord("MB_OK"), TokenKind::Constant);
    EXPECT_EQ(ClassifyWord("HKEY_CURRENT_USER"), TokenKind::Constant);
    EXPECT_EQ(ClassifyWord("null"), TokenKind::Constant);
    EXPECT_EQ(ClassifyWord("#include"), TokenKind::Keyword);
    EXPECT_EQ(ClassifyWord("counter"), TokenKind::Plain);
    const auto tokens = ScanSyntaxLine("x1 = 12 + y2;");
    ASSERT_EQ(tokens.size(), 1u);  // names with digits are no numbers
    EXPECT_EQ(tokens[0].kind, TokenKind::Number);
}

TEST(EditorSyntaxTokens, AnUnclosedLiteralRunsToTheLineEnd) {
    const auto tokens = ScanSyntaxLine("s = \"open // still text");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].kind, TokenKind::String);
    EXPECT_EQ(tokens[0].start + tokens[0].length, 23u);
}

}  // namespace
