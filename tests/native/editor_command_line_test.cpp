// The editor's command line: switches before the path only, case-sensitive letters, the entry
// call of run mode (the three documented examples and the escapes around them), the version text.
#include <gtest/gtest.h>

#include "../../editor/command_line.h"

namespace {

TEST(EditorSwitches, OnlyBeforeThePathAndCaseSensitive) {
    EXPECT_TRUE(HasSwitch("/r /s a.vxs", 'r'));
    EXPECT_TRUE(HasSwitch("/r /s a.vxs", 's'));
    EXPECT_FALSE(HasSwitch("/r /s a.vxs", 'l'));
    EXPECT_FALSE(HasSwitch("a.vxs /r", 'r'));     // after the path: not seen
    EXPECT_FALSE(HasSwitch("/R a.vxs", 'r'));     // a capital is another letter
    EXPECT_TRUE(HasSwitch("/r/s/h a.vxs", 'h'));  // switches may follow without blanks
    EXPECT_TRUE(HasSwitch("/install", 'i'));      // only the letter after the slash counts
    EXPECT_FALSE(HasSwitch("/install", 'n'));
    EXPECT_FALSE(HasSwitch("a.vxs one /n", 'n'));
    EXPECT_EQ(ScriptPathArgument("/r /s a.vxs x y"), "a.vxs");
    EXPECT_EQ(ScriptPathArgument("/r \"C:\\My Scripts\\a.vxs\" one"), "C:\\My Scripts\\a.vxs");
    EXPECT_EQ(ScriptPathArgument("a.vxs /r"), "a.vxs");
    EXPECT_EQ(ScriptPathArgument("/r"), "");
    EXPECT_EQ(ScriptPathArgument("   "), "");
}

TEST(EditorSwitches, PrintToNamesPrinterDriverAndPort) {
    EXPECT_TRUE(HasSwitch("/pt \"a b.vxs\" \"Office Printer\" \"winspool\" \"LPT1:\"", 'p'));
    EXPECT_EQ(ArgumentsAfterPath("/pt \"a b.vxs\" \"Office Printer\" \"winspool\" \"LPT1:\""),
              (std::vector<std::string>{"Office Printer", "winspool", "LPT1:"}));
    EXPECT_TRUE(ArgumentsAfterPath("/p \"a b.vxs\"  ").empty());
    EXPECT_TRUE(ArgumentsAfterPath("").empty());
}

TEST(EditorEntryCall, DocumentedExamples) {
    EXPECT_EQ(BuildEntryCall("/r script.vxs", false), "main()");
    EXPECT_EQ(BuildEntryCall("/r \"C:\\My Scripts\\a.vxs\" one \"two words\" C:\\x", false),
              "main(\"one\",\"two words\",\"C:\\\\x\")");
    EXPECT_EQ(BuildEntryCall("/r /c a.vxs \"say \\\"hi\\\"\"", true), "main(\"say \\\"hi\\\"\")");
}

TEST(EditorEntryCall, BlanksEscapesAndEndings) {
    EXPECT_EQ(BuildEntryCall("/r a.vxs   one    two  ", false), "main(\"one\",\"two\")");
    EXPECT_EQ(BuildEntryCall("/r a.vxs \"\"", false), "main(\"\")");
    // An argument whose closing quote is missing runs to the end of the line.
    EXPECT_EQ(BuildEntryCall("/r a.vxs \"open end", false), "main(\"open end\")");
    // With /c a backslash not before a quote stays single.
    EXPECT_EQ(BuildEntryCall("/r /c a.vxs C:\\x", true), "main(\"C:\\x\")");
    // Without /c a backslash before a quote is doubled and the quote ends the argument.
    EXPECT_EQ(BuildEntryCall("/r a.vxs \"a\\\"", false), "main(\"a\\\\\")");
    EXPECT_EQ(BuildEntryCall("/r", false), "main()");
}

TEST(EditorCommandLine, ProgramNameIsSkipped) {
    EXPECT_EQ(AfterProgramName("\"C:\\Program Files\\vexedit.exe\" /r a.vxs"), "/r a.vxs");
    EXPECT_EQ(AfterProgramName("vexedit.exe   a.vxs"), "a.vxs");
    EXPECT_EQ(AfterProgramName("vexedit.exe"), "");
}

TEST(EditorVersionText, BetaOnlyForOneToNinetyNine) {
    EXPECT_EQ(VersionText(1, 63, 0), "1.63");
    EXPECT_EQ(VersionText(1, 5, 2), "1.05 Beta 2");
    EXPECT_EQ(VersionText(2, 0, 99), "2.00 Beta 99");
    EXPECT_EQ(VersionText(2, 0, 100), "2.00");
}

}  // namespace
