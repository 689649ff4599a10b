// Calls end to end: by-reference parameters, argument binding, the depth limit, built-in
// dispatch before user functions and the parameter accessors of the built-in convention.
#include <string>

#include "calls.h"
#include "core_test_support.h"
#include "error_codes.h"
#include "script_fixture.h"

namespace {

using CallTest = ScriptTest;

TEST_F(CallTest, ByReferenceParameters) {
    EXPECT_EQ(RunText(R"vxs(int g = 1;
int SetTo(int &target, int value) { target = value; return value + 1; }
void Both(int &a, int &b) { a = 1; b = 2; }
void Append(string &text, string more) { text = text + more; }
void Fails(int &x) { x = 77; x = missing; }
int main()
{
    int n = 3;
    string text = "a";
    if (SetTo(n, 9) != 10 || n != 9) return 1;
    if (SetTo(5, 6) != 7) return 2;
    if (SetTo(n + 1, 6) != 7 || n != 9) return 3;
    Both(n, n);
    if (n != 2) return 4;
    Append(text, "b");
    Append(text, "c");
    if (text != "abc") return 5;
    SetTo(g, 12);
    if (g != 12) return 6;
    {
        int inner = 1;
        SetTo(inner, 8);
        if (inner != 8) return 7;
    }
    return 0;
}
)vxs"),
              0);
}

TEST_F(CallTest, ByReferenceWritesBackAlsoWhenTheBodyFails) {
    // The write-back happens before the error travels on; the run still fails.
    EXPECT_EQ(RunText("int n;\nvoid Fails(int &x)\n{\n    x = 77;\n    x = missing;\n}\nint main() "
                      "{ Fails(n); return n; }\n"),
              kErrNotDefined);
    EXPECT_STREQ(record_.name, "missing");
    EXPECT_EQ(record_.line, 5);
    EXPECT_STREQ(record_.call, "Fails");
}

TEST_F(CallTest, ConstantForAReferenceParameterUnderStrict) {
    Write("main.vxs",
          "int SetTo(int &target) { target = 1; return 0; }\nint main()\n{\n    return "
          "SetTo(5);\n}\n");
    EXPECT_EQ(Run("main.vxs", "main()", 1), kErrConstantByReference);
    EXPECT_EQ(record_.param, 1);
    EXPECT_EQ(record_.line, 4);
    EXPECT_EQ(Box(), PathOf("main.vxs") +
                         "\nline 4: Parameter 1 - Invalid constant value; must use a variable for "
                         "a call by reference");
    EXPECT_EQ(Run("main.vxs", "main()", 0), 0);
}

TEST_F(CallTest, ArgumentTypesAreNotConvertedForUserFunctions) {
    Write("main.vxs",
          "int Add(int a, int b) { return a + b; }\nint main() { return Add(1, \"2\"); }\n");
    for (int strict : {0, 1}) {
        EXPECT_EQ(Run("main.vxs", "main()", strict), kErrBadParameterType);
        EXPECT_EQ(record_.param, 2);
    }
    EXPECT_EQ(RunText(R"vxs(int I(int a) { return a; }
string S(string t) { return t; }
HFILE F(HFILE h) { return h; }
int main()
{
    if (I(NULL) != 0 || S(NULL) != "" || F(NULL) != NULL) return 1;
    return 0;
}
)vxs"),
              0);
    EXPECT_EQ(RunText("int F(HFILE h) { return 0; }\nint main() { return F(0); }\n"),
              kErrBadParameterType);
}

TEST_F(CallTest, ArgumentCounts) {
    Write("main.vxs",
          "int One(int a) { return a; }\nint main()\n{\n    int x;\n    x = One(1, 2);\n    return "
          "x;\n}\n");
    EXPECT_EQ(Run("main.vxs"), kErrParametersDontMatch);
    EXPECT_EQ(record_.line, 5);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 5: Parameters don't match");
    Write("main.vxs", "int One(int a) { return a; }\nint main() { return One(); }\n");
    EXPECT_EQ(Run("main.vxs"), kErrParametersDontMatch);
    // main itself may be called with surplus arguments from a script too.
    Write("main.vxs", "int main(int a) { if (a == 7) return main(1, 2); return a; }\n");
    EXPECT_EQ(Run("main.vxs", "main(7)"), 1);
}

TEST_F(CallTest, UnknownFunctionNamesTheCall) {
    Write("main.vxs", "int main()\n{\n    NoSuchThing(1);\n    return 0;\n}\n");
    EXPECT_EQ(Run("main.vxs"), kErrFunctionNotFound);
    EXPECT_EQ(record_.line, 3);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 3: NoSuchThing - Function not found");
    EXPECT_EQ(RunText("int main() { return f(missing); }\nint f(int a) { return a; }\n"),
              kErrNotDefined);
    EXPECT_STREQ(record_.name, "missing");
}

TEST_F(CallTest, BuiltinsResolveBeforeUserFunctions) {
    Write("main.vxs", "int main() { return STRLEN(\"four\") + strlen(\"ab\"); }\n");
    EXPECT_EQ(Run("main.vxs", "main()", 0), 6);
    EXPECT_EQ(Run("main.vxs", "main()", 1), kErrFunctionNotFound);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 1: STRLEN - Function not found");
    // Built-ins convert int and string parameters without strict only.
    Write("main.vxs", "int main() { return strlen(12345) + atoi(\"7\"); }\n");
    EXPECT_EQ(Run("main.vxs", "main()", 0), 12);
    EXPECT_EQ(Run("main.vxs", "main()", 1), kErrBadParameterType);
    EXPECT_EQ(record_.param, 1);
    Write("main.vxs", "int main() { string s = LeftString(\"abc\"); return 0; }\n");
    EXPECT_EQ(Run("main.vxs"), kErrMissingParameter);
    EXPECT_EQ(record_.param, 2);
    Write("main.vxs", "int main() { return strlen(NULL); }\n");
    EXPECT_EQ(Run("main.vxs"), 0);
}

TEST_F(CallTest, ThousandAndTwoNestedCallsFitThe1003rdFails) {
    platform_.largeScriptStack = true;
    Write("main.vxs", R"vxs(int Down(int n)
{
    int a = n;
    string s = "frame";
    if (n > 0) {
        int b;
        {
            int c = a;
            b = Down(n - 1) + 1;
        }
        return b;
    }
    return 0;
}
int main(int depth)
{
    return Down(depth);
}
)vxs");
    EXPECT_EQ(Run("main.vxs", "main(1000)"), 1000);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_EQ(Run("main.vxs", "main(1001)"), kErrStackOverflow);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 9: Stack overflow");
    // The depth counter comes back down: a second deep run in a fresh program works as well.
    EXPECT_EQ(Run("main.vxs", "main(1000)"), 1000);
}

TEST_F(CallTest, RunawayRecursionNeverCrashesOnASmallStack) {
    // The default budget of a plain thread: the run stops with "Stack overflow" before the
    // thread's stack runs out, however deep each call's frames are.
    EXPECT_EQ(RunText(R"vxs(int Deep(int n)
{
    int a;
    string b;
    { { { if (n >= 0) { return Deep(n + 1) + (1 + (2 + (3 + (4 + (5 + strlen("x")))))); } } } }
    return 0;
}
int main() { return Deep(0); }
)vxs"),
              kErrStackOverflow);
}

TEST_F(CallTest, FailingFunctionKeepsItsFileAndNameInTheRecord) {
    Write("lib.vxs", "int Fail(int a)\n{\n    return a / 0;\n}\n");
    Write("main.vxs", "#include \"lib.vxs\"\nint main()\n{\n    return Fail(1);\n}\n");
    EXPECT_EQ(Run("main.vxs"), kErrDivisionByZero);
    EXPECT_STREQ(record_.file, "lib.vxs");
    EXPECT_STREQ(record_.call, "Fail");
    EXPECT_EQ(record_.line, 3);
    // After a successful call the caller's file is back.
    Write("main.vxs",
          "#include \"lib.vxs\"\nint Ok() { return 1; }\nint main()\n{\n    Ok();\n    return "
          "missing;\n}\n");
    EXPECT_EQ(Run("main.vxs"), kErrNotDefined);
    EXPECT_EQ(std::string(record_.file), PathOf("main.vxs"));
    EXPECT_EQ(record_.line, 6);
}

// ---- parameter accessors no native built-in reaches ------------------------------------------

struct AccessorCall {
    explicit AccessorCall(bool strict) { evaluator.program.strict = strict; }
    BuiltinCall Make(VariableTable& args) {
        return BuiltinCall{evaluator.window, evaluator.program, args,
                           result,           evaluator.record,  "Test"};
    }
    core_test::Evaluator evaluator;
    ScriptValue result;
};

TEST(ParameterAccessorTest, HandlesAcceptTheirOwnTypeOrNull) {
    AccessorCall host(false);
    VariableTable args{MakeHandle(kTypeHfile, 3), MakeHandle(kTypeHbrowser, 2),
                       MakeHandle(kTypeHkey, 0x80000001u), MakeVoid(), MakeInt(3)};
    BuiltinCall call = host.Make(args);
    int32_t slot = -1;
    uint32_t handle = 1;
    EXPECT_EQ(GetFileParam(call, 0, slot), kOk);
    EXPECT_EQ(slot, 3);
    EXPECT_EQ(GetBrowserParam(call, 1, slot), kOk);
    EXPECT_EQ(slot, 2);
    EXPECT_EQ(GetHandleParam(call, 2, kTypeHkey, handle), kOk);
    EXPECT_EQ(handle, 0x80000001u);
    EXPECT_EQ(GetFileParam(call, 3, slot), kOk);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(GetHandleParam(call, 3, kTypeHkey, handle), kOk);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(GetFileParam(call, 1, slot), kErrBadParameterType);
    EXPECT_EQ(GetBrowserParam(call, 4, slot), kErrBadParameterType);
    EXPECT_EQ(GetHandleParam(call, 0, kTypeHkey, handle), kErrBadParameterType);
    EXPECT_EQ(GetFileParam(call, 5, slot), kErrMissingParameter);
    EXPECT_EQ(host.evaluator.record.param, 6);
}

TEST(ParameterAccessorTest, IntOrStringKeepsWhichItWas) {
    AccessorCall host(false);
    VariableTable args{MakeInt(5), MakeString("5"), MakeVoid(), MakeHandle(kTypeHfile, 1)};
    BuiltinCall call = host.Make(args);
    bool isInt = false;
    int32_t value = 0;
    std::string text;
    EXPECT_EQ(GetIntOrStringParam(call, 0, isInt, value, text), kOk);
    EXPECT_TRUE(isInt);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(GetIntOrStringParam(call, 1, isInt, value, text), kOk);
    EXPECT_FALSE(isInt);
    EXPECT_EQ(text, "5");
    text = "x";
    EXPECT_EQ(GetIntOrStringParam(call, 2, isInt, value, text), kOk);
    EXPECT_FALSE(isInt);
    EXPECT_EQ(text, "");
    EXPECT_EQ(GetIntOrStringParam(call, 3, isInt, value, text), kErrBadParameterType);
    EXPECT_EQ(GetIntOrStringParam(call, 4, isInt, value, text), kErrMissingParameter);
}

}  // namespace
