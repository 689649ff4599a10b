// The statement walker end to end: flat if/else, while and repeat constructs, skipping,
// break/else misuse, return and exit, assignments, block scopes and the Cancel poll.
#include <string>

#include "error_codes.h"
#include "script_fixture.h"

namespace {

using StatementTest = ScriptTest;

TEST_F(StatementTest, ConstructsRunAndSkipAsWholes) {
    EXPECT_EQ(RunText(R"vxs(int calls;
void Count() { calls = calls + 1; }
int main()
{
    int n;
    int i;
    string trace;
    if (0) while (1) Count();
    Count();
    if (calls != 1) return 1;
    while (0) if (calls) Count(); else Count();
    if (calls != 1) return 2;
    n = 2;
    if (n == 1) trace = "one"; else if (n == 2) trace = "two"; else trace = "many";
    if (trace != "two") return 3;
    if (0) if (1) Count(); else Count(); else trace = "outer else";
    if (trace != "outer else" || calls != 1) return 4;
    if (1) if (0) Count(); else trace = "inner else"; else Count();
    if (trace != "inner else" || calls != 1) return 5;
    if (0) repeat (3) if (1) Count(); else Count(); else trace = "after repeat";
    if (trace != "after repeat" || calls != 1) return 6;
    if (0) { Count(); } else { trace = "block"; }
    if (trace != "block") return 7;
    if (1) ; else return 8;
    return 0;
}
)vxs"),
              0);
}

TEST_F(StatementTest, LoopsCountOnceAndBreakTheInnermost) {
    EXPECT_EQ(RunText(R"vxs(int main()
{
    int n = 3;
    int i = 0;
    repeat (n) { n = n + 10; i = i + 1; }
    if (i != 3) return 1;
    repeat (0) return 2;
    repeat (-3) return 3;
    repeat (NULL) return 4;
    i = 0;
    n = 0;
    while (i < 10) {
        i = i + 1;
        repeat (5) { n = n + 1; break; }
        if (i == 4) break;
    }
    if (i != 4 || n != 4) return 5;
    // A break in the then-branch of an if/else inside a loop leaves the loop and the
    // walker goes on after the whole construct, not at its else.
    i = 0;
    repeat (3) if (1) break; else i = 100;
    while (1) if (i == 0) break; else i = 200;
    if (i != 0) return 6;
    i = 0;
    while (i < 5) i = i + 1;
    if (i != 5) return 7;
    while (NULL) return 8;
    return 0;
}
)vxs"),
              0);
}

TEST_F(StatementTest, BlockScopes) {
    EXPECT_EQ(RunText(R"vxs(int g = 7;
int main()
{
    int i = 0;
    while (i < 3) {
        int fresh;
        if (fresh != 0) return 1;
        fresh = 99;
        i = i + 1;
    }
    {
        if (late != 0) return 2;
        late = 5;
        int late;
    }
    {
        string g = "local";
        if (g != "local") return 3;
    }
    if (g != 7) return 4;
    implicit = "made";
    if (implicit != "made") return 5;
    return 0;
}
)vxs"),
              0);
}

// Without strict, a variable made by assignment belongs to the function, wherever the assignment
// stands; a block drops only what it declared itself, even when an implicit one came after it.
TEST_F(StatementTest, ImplicitVariablesLiveUntilTheFunctionReturns) {
    EXPECT_EQ(RunText(R"vxs(int Pick(int c)
{
    if (c) { answer = 10; } else { answer = 20; }
    return answer;
}
int main()
{
    int i = 0;
    if (Pick(1) != 10 || Pick(0) != 20) return 1;
    while (i < 3) {
        int step = 1;
        if (i > 0) {
            if (seen != i - 1) return 2;
        }
        seen = i;
        i = i + step;
    }
    if (seen != 2) return 3;
    {
        string hidden = "inner";
        made = 5;
        { int deeper; made2 = made + 1; }
    }
    if (made != 5 || made2 != 6) return 4;
    hidden = 7;
    if (hidden != 7) return 5;
    return 0;
}
)vxs"),
              0);
    // The block's own declaration is gone after it, though an implicit variable followed it.
    EXPECT_EQ(
        RunText("int main()\n{\n    { int own; made = 1; }\n    return own;\n}\n", "main()", 0),
        kErrNotDefined);
    EXPECT_STREQ(record_.name, "own");
    // Under strict nothing is made implicitly.
    EXPECT_EQ(RunText("int main()\n{\n    { made = 1; }\n    return made;\n}\n", "main()", 1),
              kErrNotDefined);
    EXPECT_STREQ(record_.name, "made");
}

TEST_F(StatementTest, Assignments) {
    EXPECT_EQ(RunText(R"vxs(int main()
{
    string s = "x";
    int n = 3;
    HFILE f;
    s = NULL;
    if (s != "") return 1;
    n = NULL;
    if (n != 0) return 2;
    s = 5;
    if (s != "5") return 3;
    n = "12abc";
    if (n != 12) return 4;
    n = "abc";
    if (n != 0) return 5;
    f = NULL;
    if (f) return 6;
    return 0;
}
)vxs"),
              0);
    EXPECT_EQ(RunText("int main()\n{\n    HFILE f;\n    f = 1;\n    return 0;\n}\n"),
              kErrInvalidValueType);
    EXPECT_EQ(record_.line, 4);
    EXPECT_EQ(RunText("int main()\n{\n    string s;\n    s = 5;\n    return 0;\n}\n", "main()", 1),
              kErrInvalidValueType);
    EXPECT_EQ(RunText("int main()\n{\n    undeclared = 5;\n    return 0;\n}\n", "main()", 1),
              kErrNotDefined);
    EXPECT_STREQ(record_.name, "undeclared");
    EXPECT_EQ(record_.line, 3);
}

TEST_F(StatementTest, ConditionTypes) {
    EXPECT_EQ(
        RunText("int main()\n{\n    HFILE h;\n    HKEY k = HKEY_USERS;\n    if (h) return 1;\n"
                "    if (!k) return 2;\n    if (k) return 3;\n    return 4;\n}\n"),
        3);
    struct Case {
        const char* statement;
    } cases[] = {{"if (s) x = 1;"},     {"while (h) x = 1;"}, {"while (s) x = 1;"},
                 {"repeat (s) x = 1;"}, {"if (NULL) x = 1;"}, {"exit(s);"}};
    for (const Case& c : cases) {
        const std::string text =
            std::string("int main()\n{\n    string s = \"1\";\n    HFILE h;\n    ") + c.statement +
            "\n    return 0;\n}\n";
        EXPECT_EQ(RunText(text), kErrInvalidReturnType) << c.statement;
        EXPECT_EQ(record_.line, 5) << c.statement;
    }
}

TEST_F(StatementTest, MisplacedElseAndBreak) {
    EXPECT_EQ(RunText("int main()\n{\n    int i;\n    while (i < 1) i = i + 1;\n    else i = 0;\n  "
                      "  return i;\n}\n"),
              kErrExtraElse);
    EXPECT_EQ(record_.line, 5);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 5: Extra else statement");
    EXPECT_EQ(RunText("int main()\n{\n    {\n        else return 1;\n    }\n}\n"), kErrExtraElse);
    EXPECT_EQ(record_.line, 4);
    EXPECT_EQ(RunText("int main()\n{\n    if (1) break;\n    return 0;\n}\n"), kErrIllegalBreak);
    EXPECT_EQ(record_.line, 3);
    // A break in a function called from a loop does not leave the caller's loop.
    EXPECT_EQ(RunText("void f() { break; }\nint main() { while (1) f(); return 0; }\n"),
              kErrIllegalBreak);
    EXPECT_STREQ(record_.call, "f");
}

TEST_F(StatementTest, ReturnValues) {
    EXPECT_EQ(RunText(R"vxs(int Nothing() { return; }
string Empty() { return NULL; }
int Quiet(int give) { if (give) return 55; }
void Done() { return; }
int main()
{
    if (Nothing() != 0) return 1;
    if (Empty() != "") return 2;
    if (Quiet(1) != 55) return 3;
    // No stale value from the earlier call.
    if (Quiet(0) != 0) return 4;
    Done();
    return 0;
}
)vxs"),
              0);
    EXPECT_EQ(RunText("void f()\n{\n    return 5;\n}\nint main() { f(); return 0; }\n"),
              kErrInvalidReturnType);
    EXPECT_EQ(record_.line, 3);
    EXPECT_EQ(RunText("void f() { return 1 + 1; }\nint main() { f(); return 0; }\n"),
              kErrInvalidReturnType);
    EXPECT_EQ(RunText("int f() { return \"5\"; }\nint main() { return f(); }\n"),
              kErrInvalidReturnType);
    EXPECT_EQ(RunText("string main() { return \"5\"; }\n"), 0);
}

TEST_F(StatementTest, RecursionKeepsEachCallsOwnResult) {
    // The inner call returns 5; the outer one ends without return and must give 0, not 5.
    EXPECT_EQ(RunText(R"vxs(int Depth(int n)
{
    int inner;
    if (n == 0) return 5;
    inner = Depth(n - 1);
    if (n == 2) return inner * 10;
}
int main() { return Depth(2); }
)vxs"),
              0);
}

TEST_F(StatementTest, ExitEndsTheRunFromAnyDepth) {
    const std::string script = R"vxs(int Deepest() { exit(3); return 1; }
int Middle() { return Deepest() + 100; }
int Top() { return Middle() + 100; }
int Inner() { return 10 + exit(17); }
string Text() { exit(8); }
int Nested(int n) { repeat (n) { while (1) { if (1) exit(n * 2); } } return 0; }
int main(int which)
{
    if (which == 1) return Top();
    if (which == 2) { exit(); return 50; }
    if (which == 3) return Inner() + 1000;
    if (which == 4) { Text(); return 1; }
    if (which == 5) { exit(NULL); }
    if (which == 6) return Nested(21);
    if (which == 7) { int x = strlen(exit(9)); return 1; }
    if (which == 8) EXIT(4, 5);
    return -1;
}
)vxs";
    Write("main.vxs", script);
    EXPECT_EQ(Run("main.vxs", "main(1)"), 3);
    EXPECT_EQ(Run("main.vxs", "main(2)"), 0);
    EXPECT_EQ(Run("main.vxs", "main(3)"), 17);
    EXPECT_EQ(Run("main.vxs", "main(4)"), 8);
    EXPECT_EQ(Run("main.vxs", "main(5)"), 0);
    EXPECT_EQ(Run("main.vxs", "main(6)"), 42);
    EXPECT_EQ(Run("main.vxs", "main(7)"), 9);
    EXPECT_EQ(Run("main.vxs", "main(8)"), 4);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_EQ(Run("main.vxs", "main(8)", 1), kErrFunctionNotFound);
    EXPECT_STREQ(record_.call, "EXIT");
}

TEST_F(StatementTest, CancelStopsAnEndlessLoopSilently) {
    platform_.cancelAtPump = 500;
    EXPECT_EQ(RunText("int main()\n{\n    int i;\n    while (1) i = i + 1;\n    return 0;\n}\n"),
              kErrCancelled);
    EXPECT_EQ(platform_.pumps, 500);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_EQ(platform_.windowsOpen, 0);
    // An empty loop body polls too.
    platform_.cancelAtPump = 50;
    EXPECT_EQ(RunText("int main() { while (1) {} }\n"), kErrCancelled);
    EXPECT_EQ(RunText("int main() { while (1); }\n"), kErrCancelled);
}

// A window that looks into its queue every few statements (as the running window does) is
// still pumped before the first statement after each built-in, which may have seen Cancel.
TEST_F(StatementTest, AWindowPumpingEveryFewStatementsPumpsAfterEachBuiltIn) {
    platform_.statementsPerPump = 4;
    auto script = [](const std::string& second) {
        return "int main()\n{\n    int a;\n    a = 1;\n    " + second +
               ";\n    a = a + 1;\n    a = a + 1;\n    a = a + 1;\n    a = a + 1;\n"
               "    a = a + 1;\n    return a;\n}\n";
    };
    EXPECT_EQ(RunText(script("a = 2")), 7);
    EXPECT_EQ(platform_.pumps, 2);  // statements 1 and 5 of 8
    platform_.pumps = 0;
    EXPECT_EQ(RunText(script("a = strlen(\"xy\")")), 7);
    EXPECT_EQ(platform_.pumps, 3);  // 1, then 3 (after the built-in) and 7
    platform_.pumps = 0;
    platform_.cancelAtPump = 3;
    EXPECT_EQ(RunText("int main()\n{\n    int i;\n    while (1) i = i + 1;\n}\n"), kErrCancelled);
    EXPECT_EQ(platform_.pumps, 3);
}

TEST_F(StatementTest, LongIfChainsNeitherCrashWhenSkippedNorWhenRun) {
    std::string chain;
    for (int i = 0; i < 100000; ++i) chain += "if (0) ";
    EXPECT_EQ(RunText("int main()\n{\n" + chain + "return 1;\nreturn 2;\n}\n"), 2);
    std::string taken;
    for (int i = 0; i < 100000; ++i) taken += "if (1) ";
    EXPECT_EQ(RunText("int main()\n{\n" + taken + "return 1;\nreturn 2;\n}\n"), kErrStackOverflow);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 3: Stack overflow");
}

}  // namespace
