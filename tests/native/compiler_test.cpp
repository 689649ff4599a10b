// Pass 1 and pass 2 end to end: scripts on disk through the real drivers.
#include <string>

#include "error_codes.h"
#include "script_fixture.h"

namespace {

using Pass1Test = ScriptTest;
using Pass2Test = ScriptTest;

// ---- #strict ------------------------------------------------------------------------------

TEST_F(Pass1Test, FirstStrictLineOfTheMainFileOverridesTheCallerInBothDirections) {
    // `Count` and `count` are one variable only without strict.
    const std::string body = "int main() { int count = 4; return Count; }\n";
    Write("off.vxs", "#strict off\n" + body);
    EXPECT_EQ(Run("off.vxs", "main()", 1), 4);

    Write("on.vxs", "#strict\n" + body);
    EXPECT_EQ(Run("on.vxs", "main()", 0), kErrNotDefined);
    EXPECT_STREQ(record_.name, "Count");

    for (const char* option : {"on", "YES", "On"}) {
        Write("opt.vxs", std::string("#STRICT ") + option + "\n" + body);
        EXPECT_EQ(Run("opt.vxs"), kErrNotDefined) << option;
    }
    for (const char* option : {"off", "no", "NO"}) {
        Write("opt.vxs", std::string("#strict ") + option + "\n" + body);
        EXPECT_EQ(Run("opt.vxs", "main()", 1), 4) << option;
    }
    // Only the first #strict line counts.
    Write("two.vxs", "#strict off\n#strict on\n" + body);
    EXPECT_EQ(Run("two.vxs", "main()", 1), 4);
}

TEST_F(Pass1Test, UnknownStrictOptionFailsWithItsLine) {
    Write("bad.vxs", "int x;\n\n#strict maybe\nint main() { return 0; }\n");
    EXPECT_EQ(Compile("bad.vxs"), kErrInvalidOption);
    EXPECT_EQ(record_.line, 3);
    EXPECT_EQ(Box(), PathOf("bad.vxs") + "\nline 3: Invalid option");
}

TEST_F(Pass1Test, StrictInAnIncludedFileChangesNothing) {
    Write("inc.vxs", "#strict\nint helper() { return 3; }\n");
    Write("main.vxs", "#include \"inc.vxs\"\nint main() { return HELPER() + Helper(); }\n");
    EXPECT_EQ(Run("main.vxs"), 6);
}

// ---- #include -----------------------------------------------------------------------------

TEST_F(Pass1Test, IncludedFilesAreFoundInTheScriptFolderAndShareTheProgram) {
    // Names are lower-cased before the file is opened (the host's file system ignores case).
    Write("lib/tools.vxs", "int base = 40;\nint Add(int a, int b) { return a + b; }\n");
    Write("main.vxs", "#include \"LIB/Tools.VXS\"\nint main() { return Add(base, 2); }\n");
    // The test's own directory differs from the script folder.
    ASSERT_NE(std::filesystem::current_path(), folder_);
    EXPECT_EQ(Run("main.vxs"), 42);
    EXPECT_TRUE(platform_.errorBoxes.empty());
}

TEST_F(Pass1Test, ErrorInsideAnIncludedFileNamesThatFileLowerCasedAndItsLine) {
    Write("inc/bad.vxs", "// line 1\nint fine;\n\nint if;\n");
    Write("main.vxs", "\n#include \"Inc/Bad.vxs\"\nint main() { return 0; }\n");
    EXPECT_EQ(Run("main.vxs"), kErrInvalidVariableName);
    EXPECT_STREQ(record_.file, "inc/bad.vxs");
    EXPECT_EQ(record_.line, 4);
    EXPECT_STREQ(record_.name, "if");
    EXPECT_EQ(Box(), "inc/bad.vxs\nline 4: if - Invalid variable name");
}

TEST_F(Pass1Test, RunTimeErrorInAnIncludedFunctionNamesItsFile) {
    Write("inc.vxs", "int Fail()\n{\n    return missing;\n}\n");
    Write("main.vxs", "#include \"inc.vxs\"\nint main()\n{\n    return Fail();\n}\n");
    EXPECT_EQ(Run("main.vxs"), kErrNotDefined);
    EXPECT_STREQ(record_.file, "inc.vxs");
    EXPECT_EQ(record_.line, 3);
    EXPECT_STREQ(record_.call, "Fail");
}

TEST_F(Pass1Test, IncludeErrors) {
    Write("a.vxs", "int a;\n");
    struct Case {
        const char* text;
        int code;
        int line;
    } cases[] = {
        {"#include \"a.vxs\"\n#include \"A.VXS\"\n", kErrAlreadyIncluded, 2},
        {"\n#include a\n", kErrIncludeFileName, 2},
        {"#include a.vxs\n", kErrExpectedNewline, 1},  // the line end is checked first
        {"#include\n", kErrIncludeFileName, 1},
        {"#include \"a.vxs\" extra\n", kErrExpectedNewline, 1},
        {"int x;\n#include \"a.vxs\"", kErrExpectedNewline, 2},  // last line, no line end
        {"\n\n#include \"missing.vxs\"\n", kErrLoad, 3},
        {"# include \"a.vxs\"\n", kErrSyntax, 1},
        {"#define X\n", kErrSyntax, 1},
    };
    for (const Case& c : cases) {
        Write("main.vxs", c.text);
        EXPECT_EQ(Compile("main.vxs"), c.code) << c.text;
        EXPECT_EQ(record_.line, c.line) << c.text;
        EXPECT_EQ(std::string(record_.file), PathOf("main.vxs")) << c.text;
    }
}

TEST_F(Pass1Test, StatusTextsOfEveryPassAndInclude) {
    Write("inc.vxs", "int helper;\n");
    Write("main.vxs", "#include \"inc.vxs\"\nint main() { return 0; }\n");
    EXPECT_EQ(Run("main.vxs"), 0);
    const std::vector<std::string> expected{
        "Loading...", "Compiling Pass 1...", "Compiling Pass 1...", "",
        "",           "Compiling Pass 2...", "Running..."};
    EXPECT_EQ(platform_.statusTexts, expected);
}

TEST_F(Pass1Test, MainOfAnIncludedFileNeitherClashesNorRuns) {
    Write("inc.vxs", "int main() { return 99; }\nint Twice(int n) { return n + n; }\n");
    Write("main.vxs", "#include \"inc.vxs\"\nint main() { return Twice(21); }\n");
    EXPECT_EQ(Run("main.vxs"), 42);
}

// ---- declarations -------------------------------------------------------------------------

TEST_F(Pass1Test, GlobalDeclarationsAndInitialValues) {
    EXPECT_EQ(RunText(R"vxs(int x, y = 2, z;
string s = "a" + "b";
int sum = TRUE + RAND_MAX;
HKEY root = HKEY_CURRENT_USER;
HFILE none = NULL;
implicit = 40 + 2;
int twice = 1;
int twice = 7;
string text = 12;
int number = "12abc";
int main()
{
    if (x != 0 || y != 2 || z != 0) return 1;
    if (s != "ab") return 2;
    if (sum != 32768) return 3;
    if (root != (HKEY_CURRENT_USER)) return 4;
    if (none != NULL) return 5;
    if (implicit != 42) return 6;
    if (twice != 7 || TWICE != 7) return 7;
    if (text != "12") return 8;
    if (number != 12) return 9;
    return 0;
}
)vxs"),
              0);
}

TEST_F(Pass1Test, InitialValuesAreEvaluatedWithoutStrictAndWithoutOtherGlobals) {
    // `true` is the constant TRUE in the initial value's own context even under strict...
    EXPECT_EQ(RunText("#strict\nint t = true + 0;\nint main() { return t; }\n"), 1);
    // ...but a lone word is classified while the text is read, with the program's flag.
    EXPECT_EQ(RunText("#strict\nint t = true;\nint main() { return t; }\n"), kErrNotDefined);
    // ...but the strict flag of the program still refuses converting the value.
    EXPECT_EQ(RunText("#strict\nint n = \"12\";\n"), kErrInvalidValueType);
    EXPECT_EQ(RunText("HFILE f = 5;\n"), kErrInvalidValueType);
    EXPECT_EQ(RunText("int first = 1;\nint second = first + 1;\n"), kErrNotDefined);
    EXPECT_STREQ(record_.name, "first");
    EXPECT_EQ(record_.line, 2);
}

TEST_F(Pass1Test, ExitInAnInitialValueOnlySuppliesTheValue) {
    EXPECT_EQ(RunText("int x = 1 + exit(5);\nint main() { return x; }\n"), 5);
}

TEST_F(Pass1Test, DeclarationErrorsCarryLineAndName) {
    struct Case {
        const char* text;
        int strict;
        int code;
        int line;
        const char* name;
    } cases[] = {
        {"int x y;\n", 0, kErrSyntax, 1, ""},
        {"\nvoid v;\n", 0, kErrInvalidVariableType, 2, "void"},
        {"int if;\n", 0, kErrInvalidVariableName, 1, "if"},
        {"int MB_OK;\n", 0, kErrInvalidVariableName, 1, "MB_OK"},
        {"int strlen() {}\n", 0, kErrInvalidFunctionName, 1, "strlen"},
        {"count = 5;\n", 1, kErrSyntax, 1, ""},
        {"int a;\nint a;\n", 1, kErrVariableAlreadyDefined, 2, "a"},
        {"int a; int a;\nstring a;\n", 0, kErrVariableAlreadyDefined, 2, "a"},
        {"int f(int f) {}\n", 0, kErrVariableAlreadyDefined, 1, "f"},
        {"int f(int a, string A) {}\n", 0, kErrVariableAlreadyDefined, 1, "A"},
        {"int f(void x) {}\n", 0, kErrSyntax, 1, ""},
        {"int f(int a, void) {}\n", 0, kErrSyntax, 1, ""},
        {"int f(void, int a) {}\n", 0, kErrSyntax, 1, ""},
        {"int f(number a) {}\n", 0, kErrInvalidVariableType, 1, "number"},
        {"int f() {}\nint F() {}\n", 0, kErrFunctionAlreadyDefined, 2, "F"},
        {"int f() {}\nint f;\n", 0, kErrNameAlreadyDefined, 2, "f"},
        {"int g;\nint g() {}\n", 0, kErrNameAlreadyDefined, 2, "g"},
        {"int f() { int a; string a; }\n", 0, kErrVariableAlreadyDefined, 1, "a"},
        {"int f(int a) { string a; }\n", 0, kErrVariableAlreadyDefined, 1, "a"},
        {"int f() { int a; int a; }\n", 1, kErrVariableAlreadyDefined, 1, "a"},
        {"int f() { int a; int A; int a;\n string A; }\n", 0, kErrVariableAlreadyDefined, 2, "A"},
        {"int f(int a) { int a; }\n", 1, kErrVariableAlreadyDefined, 1, "a"},
        {"int f(int a) { int A; { string a; int b; } string b; }\n", 0, kOk, 0, ""},
        {"int f() { void v; }\n", 0, kErrInvalidVariableType, 1, "void"},
        {"int f() { int 9a; }\n", 0, kErrInvalidVariableName, 1, "9a"},
        {"int f()\n{\n    if (a, b) x = 1;\n}\n", 0, kErrSyntax, 3, ""},
        {"int f()\n{\n    strlen(\"x\")\n}\n", 0, kErrMissingSemicolon, 4, ""},
        {"int f()\n{\n    return 1, 2;\n}\n", 0, kErrMissingSemicolon, 3, ""},
        {"int f()\n{\n    x = 1, y = 2;\n}\n", 0, kErrMissingSemicolon, 3, ""},
        {"int f()\n{\n    break\n}\n", 0, kErrMissingSemicolon, 4, ""},
        {"int f()\n{\n    return 0;\n", 0, kErrMissingCloseBrace, 4, ""},
        {"int f()\n{\n    return 0;", 0, kErrMissingCloseBrace, 3, ""},
        {"int f()\n\n", 0, kErrMissingBrace, 3, ""},
        {"int f(int a\n", 0, kErrMissingParen, 2, ""},
        {"int f() { x; }\n", 0, kErrSyntax, 1, ""},
        {"int f() { strlen(\"a\"; }\n", 0, kErrMissingParen, 1, ""},
        {"int\n", 0, kOk, 0, ""},
        {"int ;\n", 0, kErrSyntax, 1, ""},
        {"int int x;\n", 0, kErrSyntax, 1, ""},
        {"string s = \"open\n", 0, kErrNewlineInConstant, 1, ""},
    };
    for (const Case& c : cases) {
        Write("main.vxs", c.text);
        SetResultName(record_, "");
        EXPECT_EQ(Compile("main.vxs", c.strict), c.code) << c.text;
        if (c.code == kOk) continue;
        EXPECT_EQ(record_.line, c.line) << c.text;
        EXPECT_STREQ(record_.name, c.name) << c.text;
    }
}

TEST_F(Pass1Test, AcceptedForms) {
    // (void) and () are empty lists; `&` marks a by-reference parameter; lone semicolons and
    // statement words in any case without strict.
    EXPECT_EQ(RunText(R"vxs(;
int f(void) { return 1; }
int g() { return 2; }
void h(int & a) { a = 5; }
INT main()
{
    int n;;
    h(n);
    IF (n == 5) RETURN f() + g() + n;
    Return 0;
}
)vxs"),
              8);
}

TEST_F(Pass1Test, DeeplyNestedBlocksEndWithStackOverflow) {
    std::string text =
        "int main()\n{\n" + std::string(200000, '{') + std::string(200000, '}') + "\n}\n";
    Write("main.vxs", text);
    EXPECT_EQ(Compile("main.vxs"), kErrStackOverflow);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 3: Stack overflow");
}

TEST_F(Pass1Test, ModeratelyNestedBlocksCompileAndRun) {
    std::string text = "int main()\n{\nint n = 1;\n" + std::string(300, '{') + "n = n + 1;" +
                       std::string(300, '}') + "\nreturn n;\n}\n";
    EXPECT_EQ(RunText(text), 2);
}

TEST_F(Pass1Test, CancelDuringCompileIsSilent) {
    platform_.cancelledFromStart = true;
    Write("main.vxs", "int main() { return 1; }\n");
    EXPECT_EQ(Compile("main.vxs"), kErrCancelled);
    EXPECT_TRUE(platform_.errorBoxes.empty());
}

// ---- pass 2 -------------------------------------------------------------------------------

TEST_F(Pass2Test, LocalNamedLikeALaterFunction) {
    Write("main.vxs",
          "int main()\n{\n    {\n        int later;\n    }\n    return 0;\n}\nint Later() { return "
          "1; }\n");
    EXPECT_EQ(Run("main.vxs"), kErrNameAlreadyDefined);
    EXPECT_STREQ(record_.name, "later");
    EXPECT_EQ(record_.line, 4);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 4: later - Name is already defined");
    EXPECT_FALSE(platform_.Showed("Running..."));
}

TEST_F(Pass2Test, ParameterNamedLikeAFunctionOfALaterInclude) {
    Write("inc.vxs", "int Total() { return 1; }\n");
    Write("first.vxs", "\n\nint Sum(int total)\n{\n    return total;\n}\n");
    Write("main.vxs", "#include \"first.vxs\"\n#include \"inc.vxs\"\nint main() { return 0; }\n");
    EXPECT_EQ(Run("main.vxs"), kErrNameAlreadyDefined);
    EXPECT_STREQ(record_.name, "Total");
    EXPECT_EQ(record_.line, 3);
    EXPECT_STREQ(record_.file, "first.vxs");
}

TEST_F(Pass2Test, CaseMattersOnlyUnderStrict) {
    Write("main.vxs", "int main() { int Total = 5; return Total; }\nint total() { return 1; }\n");
    EXPECT_EQ(Run("main.vxs", "main()", 1), 5);
    EXPECT_EQ(Run("main.vxs", "main()", 0), kErrNameAlreadyDefined);
}

TEST_F(Pass2Test, ScriptsWithoutFunctionsPass) {
    Write("main.vxs", "int a = 1;\n\n");
    EXPECT_EQ(Compile("main.vxs"), 0);
    EXPECT_TRUE(platform_.Showed("Compiling Pass 2..."));
    EXPECT_EQ(Run("main.vxs"), kErrFunctionNotFound);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline -1: main - Function not found");
}

}  // namespace
