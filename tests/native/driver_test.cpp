// The run and test-compile drivers: entry-call parsing, the record, the current directory on
// every path, the running window, Cancel, seeding and the one error box.
#include <filesystem>
#include <fstream>
#include <string>

#include "error_codes.h"
#include "script_fixture.h"

namespace {

using DriverTest = ScriptTest;

const char* const kEntryScript = R"vxs(int main(int a, string s)
{
    if (a != 1) return 10;
    if (s != "a") return 11;
    return 42;
}
int Twice(int n) { return n * 2; }
int IsUser(HKEY k) { if (k == (HKEY_CURRENT_USER)) return 1; return 0; }
int Length(string s) { return strlen(s); }
)vxs";

TEST_F(DriverTest, EntryCallParser) {
    Write("main.vxs", kEntryScript);
    struct Case {
        const char* call;
        int result;
        int param;
    } cases[] = {
        {"main(1,\"a\")", 42, 0},
        {"main(TRUE,\"a\")", 42, 0},
        {"main(1,\"a\",3)", 42, 0},
        {" \n main (\n1,\"a\" ) trailing text", 42, 0},
        {"Twice(21)", 42, 0},
        {"twice(21)", 42, 0},
        {"IsUser(HKEY_CURRENT_USER)", 1, 0},
        {"IsUser(HKEY_USERS)", 0, 0},
        {"Length(\"a\\tb\\\"\")", 4, 0},
        {"main(1)", kErrParametersDontMatch, 0},
        {"Twice(21,1)", kErrParametersDontMatch, 0},
        {"main(1, \"a\")", kErrBadFunctionCall, 0},
        {"main(-1,\"a\")", kErrBadFunctionCall, 0},
        {"main(1,1.5)", kErrBadFunctionCall, 0},
        {"main(1,\"a\"", kErrBadFunctionCall, 0},
        {"main(1,)", kErrBadFunctionCall, 0},
        {"main", kErrBadFunctionCall, 0},
        {"", kErrBadFunctionCall, 0},
        {"  \n ", kErrBadFunctionCall, 0},
        {"(1)", kErrBadFunctionCall, 0},
        {"main\t()", kErrBadFunctionCall, 0},  // the entry call is not preprocessed
        {"main(NULL,\"a\")", kErrBadParameterValue, 1},
        {"main(1,s)", kErrBadParameterValue, 2},
        {"main(1,2a)", kErrBadParameterValue, 2},
        {"main(1,\"a)", kErrNewlineInConstant, 0},
        {"Nothing()", kErrFunctionNotFound, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run("main.vxs", c.call), c.result) << c.call;
        EXPECT_EQ(record_.param, c.param) << c.call;
        if (c.result == kErrBadFunctionCall || c.result == kErrBadParameterValue) {
            EXPECT_EQ(record_.line, -1) << c.call;
            EXPECT_STREQ(record_.call, c.call);
        }
    }
    EXPECT_EQ(Run("main.vxs", "main(1, \"a\")"), kErrBadFunctionCall);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline -1: main(1, \"a\") - Bad function call");
    EXPECT_EQ(Run("main.vxs", "main(NULL,\"a\")"), kErrBadParameterValue);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline -1: Parameter 1 - Bad parameter value");
    EXPECT_EQ(Run("main.vxs", "Nothing()"), kErrFunctionNotFound);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline -1: Nothing - Function not found");
    EXPECT_EQ(Run("main.vxs", "twice(21)", 1), kErrFunctionNotFound);
}

TEST_F(DriverTest, RecordAfterASuccessfulRun) {
    Write("main.vxs", "int main()\n{\n    return 7;\n}\n");
    SetResultName(record_, "kept");
    record_.param = 9;
    EXPECT_EQ(Run("main.vxs"), 7);
    EXPECT_EQ(std::string(record_.file), PathOf("main.vxs"));
    EXPECT_STREQ(record_.name, "kept");  // a reset leaves the name alone
    EXPECT_EQ(record_.param, 0);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_EQ(platform_.windowsCreated, 1);
    EXPECT_EQ(platform_.windowsOpen, 0);
    EXPECT_FALSE(platform_.lastCompileOnly);
}

TEST_F(DriverTest, OwnerReachesTheRunningWindow) {
    Write("main.vxs", "int main() { return 0; }\n");
    int owner = 0;
    const std::string path = PathOf("main.vxs");
    EXPECT_EQ(RunScriptFile(platform_, &owner, path.c_str(), "main()", 0, record_), 0);
    EXPECT_EQ(platform_.lastOwner, &owner);
    EXPECT_EQ(TestCompileScriptFile(platform_, &owner, path.c_str(), 0, record_), 0);
    EXPECT_EQ(platform_.lastOwner, &owner);
    EXPECT_TRUE(platform_.lastCompileOnly);
}

TEST_F(DriverTest, LoadErrorsShowLineMinusOne) {
    EXPECT_EQ(Run("missing.vxs"), kErrLoad);
    EXPECT_EQ(std::string(record_.file), PathOf("missing.vxs"));
    EXPECT_EQ(record_.line, -1);
    EXPECT_EQ(Box(), PathOf("missing.vxs") + "\nline -1: Error loading script file");
    Write("empty.vxs", "");
    EXPECT_EQ(Run("empty.vxs"), kErrLoad);
    EXPECT_EQ(Compile("empty.vxs"), kErrLoad);
    EXPECT_EQ(Box(), PathOf("empty.vxs") + "\nline -1: Error loading script file");
    Write("big.vxs", std::string(kMaxScriptFileSize + 1, ' '));
    EXPECT_EQ(Run("big.vxs"), kErrTooBig);
    EXPECT_EQ(Box(), PathOf("big.vxs") +
                         "\nline -1: Script file too big; the maximum file size is 1048576 bytes");
}

TEST_F(DriverTest, CurrentDirectoryIsTheScriptFolderAndComesBackOnEveryPath) {
    Write("sub/inc.vxs", "int Value() { return 5; }\n");
    Write("sub/ok.vxs", "#include \"inc.vxs\"\nint main() { return Value(); }\n");
    Write("sub/compile_error.vxs", "#include \"inc.vxs\"\nint main() { return 0 }\n");
    Write("sub/run_error.vxs", "#include \"inc.vxs\"\nint main() { return 1 / 0; }\n");
    const std::filesystem::path before = std::filesystem::current_path();
    EXPECT_EQ(Run("sub/ok.vxs"), 5);
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(Run("sub/compile_error.vxs"), kErrMissingSemicolon);
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(Run("sub/run_error.vxs"), kErrDivisionByZero);
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(Run("sub/missing.vxs"), kErrLoad);
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(Compile("sub/ok.vxs"), 0);
    EXPECT_EQ(Compile("sub/compile_error.vxs"), kErrMissingSemicolon);
    EXPECT_EQ(std::filesystem::current_path(), before);
    platform_.failWindowCreation = true;
    EXPECT_EQ(Run("sub/ok.vxs"), kErrOutOfMemory);
    EXPECT_EQ(std::filesystem::current_path(), before);
}

// Setting a directory is a round trip to the system on Windows: a run that never moves away
// from the caller's directory sets none, and one that does sets it twice.
TEST_F(DriverTest, TheDirectoryIsSetOnlyWhereTheRunMovesAwayFromIt) {
    Write("plain.vxs", "int main() { return 3; }\n");
    Write("sub/plain.vxs", "int main() { return 4; }\n");
    std::filesystem::current_path(folder_);
    const int bare = RunScriptFile(platform_, nullptr, "plain.vxs", "main()", 0, record_);
    const int setsForBare = platform_.directorySets;
    const int inFolder = RunScriptFile(platform_, nullptr, "sub/plain.vxs", "main()", 0, record_);
    const std::filesystem::path after = std::filesystem::current_path();
    std::filesystem::current_path(startDirectory_);
    EXPECT_EQ(bare, 3);
    EXPECT_EQ(setsForBare, 0);
    EXPECT_EQ(inFolder, 4);
    EXPECT_EQ(platform_.directorySets, 2);
    EXPECT_EQ(after, folder_);
}

TEST_F(DriverTest, RelativeScriptPathIsTakenFromTheCallersDirectory) {
    Write("sub/inc.vxs", "int Value() { return 6; }\n");
    Write("sub/main.vxs", "#include \"inc.vxs\"\nint main() { return Value(); }\n");
    std::filesystem::current_path(folder_);
    int run = RunScriptFile(platform_, nullptr, "sub/main.vxs", "main()", 0, record_);
    std::string file = record_.file;
    int compile = TestCompileScriptFile(platform_, nullptr, "./sub/main.vxs", 0, record_);
    const std::filesystem::path after = std::filesystem::current_path();
    std::filesystem::current_path(startDirectory_);
    EXPECT_EQ(run, 6);
    EXPECT_EQ(file, "sub/main.vxs");
    EXPECT_EQ(compile, 0);
    EXPECT_EQ(after, folder_);
}

TEST_F(DriverTest, WindowCreationFailureIsOutOfMemoryWithoutABox) {
    Write("main.vxs", "int main() { return 0; }\n");
    platform_.failWindowCreation = true;
    EXPECT_EQ(Run("main.vxs"), kErrOutOfMemory);
    EXPECT_EQ(Compile("main.vxs"), kErrOutOfMemory);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_TRUE(platform_.statusTexts.empty());
}

// Memory that runs out in the driver itself, outside the script's evaluation, ends the call
// with -6: nothing unwinds into the caller, the directory comes back and the window goes.
TEST_F(DriverTest, OutOfMemoryInTheDriverIsMinusSixAndNothingEscapes) {
    Write("main.vxs", "int main() { return 1 / 0; }\n");
    const std::filesystem::path before = std::filesystem::current_path();
    for (const char* step :
         {"GetCurrentDir", "CreateRunningWindow", "Loading...", "Running...", "ShowErrorReport"}) {
        SCOPED_TRACE(step);
        platform_.failAllocationAt = step;
        int result = 0;
        EXPECT_NO_THROW(result = Run("main.vxs"));
        EXPECT_EQ(result, kErrOutOfMemory);
        EXPECT_EQ(platform_.windowsOpen, 0);
        EXPECT_EQ(std::filesystem::current_path(), before);
        EXPECT_NO_THROW(result = Compile("main.vxs"));
        EXPECT_EQ(result, std::string(step) == "Loading..." || std::string(step) == "Running..." ||
                                  std::string(step) == "ShowErrorReport"
                              ? 0
                              : kErrOutOfMemory);
        EXPECT_EQ(platform_.windowsOpen, 0);
        EXPECT_EQ(std::filesystem::current_path(), before);
    }
}

TEST_F(DriverTest, CancelledRunsEndSilentlyAndNeverAsSuccess) {
    Write("main.vxs", "int main() { return 3; }\n");
    platform_.cancelledFromStart = true;
    EXPECT_EQ(Run("main.vxs"), kErrCancelled);
    EXPECT_FALSE(platform_.Showed("Compiling Pass 1..."));
    EXPECT_FALSE(platform_.Showed("Running..."));
    EXPECT_EQ(Compile("main.vxs"), kErrCancelled);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_EQ(platform_.windowsOpen, 0);
}

TEST_F(DriverTest, TestCompileRunsNothing) {
    Write("main.vxs", "int main()\n{\n    return 1 / 0;\n}\nint x = strlen(\"four\");\n");
    EXPECT_EQ(Compile("main.vxs"), 0);
    EXPECT_TRUE(platform_.errorBoxes.empty());
    EXPECT_FALSE(platform_.Showed("Loading..."));
    EXPECT_FALSE(platform_.Showed("Running..."));
    EXPECT_TRUE(platform_.Showed("Compiling Pass 2..."));
    EXPECT_TRUE(platform_.lastCompileOnly);
    // The strict argument is honoured.
    Write("main.vxs", "count = 5;\n");
    EXPECT_EQ(Compile("main.vxs", 0), 0);
    EXPECT_EQ(Compile("main.vxs", 1), kErrSyntax);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 1: Syntax error");
}

TEST_F(DriverTest, NegativeScriptResultsAreReportedLikeErrorCodes) {
    Write("main.vxs", "int main(int code) { return code; }\n");
    EXPECT_EQ(Run("main.vxs", "main(0)"), 0);
    EXPECT_EQ(Run("main.vxs", "main(2147483647)"), 2147483647);
    Write("main.vxs", "int main() { return -1; }\n");
    EXPECT_EQ(Run("main.vxs"), -1);
    EXPECT_EQ(Box(), PathOf("main.vxs") + "\nline 1: Unknown error");
    Write("main.vxs", "int main() { exit(-19); }\n");
    EXPECT_EQ(Run("main.vxs"), kErrCancelled);
    EXPECT_TRUE(platform_.errorBoxes.empty());
}

TEST_F(DriverTest, RandomGeneratorIsSeededFromThePlatformForEachRun) {
    Write("main.vxs", "int main() { return rand() * 32768 + rand(); }\n");
    platform_.seed = 12345;
    const int first = Run("main.vxs");
    EXPECT_EQ(Run("main.vxs"), first);
    platform_.seed = 999;
    EXPECT_NE(Run("main.vxs"), first);
    // Initial values of globals are evaluated while compiling, before the seed: each run's
    // generator starts from 1 there and goes on from one initial value to the next.
    Write("globals.vxs", "int a = rand();\nint b = rand();\nint main() { return a * 100000 + b; }\n");
    EXPECT_EQ(Run("globals.vxs"), 41 * 100000 + 18467);
    EXPECT_EQ(Run("globals.vxs"), 41 * 100000 + 18467);
}

}  // namespace
