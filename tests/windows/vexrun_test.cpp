// vexrun.exe as a separate process: exit code, the /record lines, the error box on stderr, the
// entry call built from its arguments, test compiles, and /show.
#include <gtest/gtest.h>

#include <thread>

#include "support/engine_library.h"

namespace {

struct VexrunOutput {
    long exitCode = -1000;
    std::string out, err;
};

HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                       nullptr);
}

// Runs vexrun with `arguments` in `folder`, standard output and error going to files there.
VexrunOutput RunVexrun(const std::string& arguments, const ScratchDir& folder,
                       DWORD timeoutMs = 30000,
                       const std::function<void(DWORD)>& whileRunning = nullptr) {
    VexrunOutput output;
    // Fresh files per run: the previous child may still hold its handles for a moment after it
    // ended.
    static int run = 0;
    const std::string outPath = folder.File("stdout" + std::to_string(run) + ".txt");
    const std::string errPath = folder.File("stderr" + std::to_string(run++) + ".txt");
    HANDLE out = InheritableFile(outPath), err = InheritableFile(errPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string commandLine = "\"" + BinaryDir() + "\\vexrun.exe\" " + arguments;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, folder.path().c_str(), &startup, &info)) {
        if (whileRunning) whileRunning(info.dwProcessId);
        if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(info.hProcess, &code);
            output.exitCode = static_cast<int>(code);
        } else {
            TerminateProcess(info.hProcess, 1);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    output.out = ReadTextFile(outPath);
    output.err = ReadTextFile(errPath);
    return output;
}

// The "Running Script" window of another process; `visible` tells whether it must be shown.
HWND FindRunningWindowOf(DWORD processId) {
    char caption[64];
    return FindTopWindow(processId, [&](HWND window) {
        return GetWindowTextA(window, caption, sizeof(caption)) > 0 &&
               std::string(caption) == "Running Script";
    });
}

TEST(Vexrun, RecordLinesExitCodeAndErrorBoxOnStandardError) {
    ScratchDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("fails.vxs"), "int main()\n{\n    return nothing;\n}\n"));
    VexrunOutput run = RunVexrun("/record fails.vxs", dir);
    EXPECT_EQ(run.exitCode, -26);
    EXPECT_EQ(WithoutCarriageReturns(run.out),
              "result=-26\nfile=fails.vxs\nline=3\nparam=0\nname=nothing\ncall=main\n"
              "message=fails.vxs\\nline 3: nothing - Variable not defined\n");
    EXPECT_EQ(WithoutCarriageReturns(run.err),
              "fails.vxs\nline 3: nothing - Variable not defined\n");

    ASSERT_TRUE(WriteTextFile(dir.File("works.vxs"), "int main() { return 42; }\n"));
    run = RunVexrun("works.vxs", dir);
    EXPECT_EQ(run.exitCode, 42);
    EXPECT_EQ(run.out, "") << "without /record nothing is printed";
    EXPECT_EQ(run.err, "");
}

TEST(Vexrun, ArgumentsBecomeStringLiteralsOfTheEntryCall) {
    ScratchDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("args.vxs"),
                              "int main(string a, string b, string c, string d) {\n"
                              "  if (a != \"one\") { return 1; }\n"
                              "  if (b != \"two words\") { return 2; }\n"
                              "  if (c != \"C:\\\\x\\\\\") { return 3; }\n"
                              "  if (d != \"a\\\"b\") { return 4; }\n"
                              "  return 0;\n}\n"
                              "int pick(int n, string s) { return n + strlen(s); }\n"));
    VexrunOutput run = RunVexrun("/record args.vxs one \"two words\" C:\\x\\ a\\\"b", dir);
    EXPECT_EQ(run.exitCode, 0) << "the script names the argument that arrived wrong\n" << run.out;

    run = RunVexrun("/call \"pick(3,\\\"abcd\\\")\" args.vxs", dir);
    EXPECT_EQ(run.exitCode, 7);
    // main with fewer arguments than it declares does not match.
    run = RunVexrun("args.vxs one", dir);
    EXPECT_EQ(run.exitCode, -20);
}

TEST(Vexrun, CompileOnlyAndStrictSwitches) {
    ScratchDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("lax.vxs"), "x = 5;\nint main() { return x; }\n"));
    EXPECT_EQ(RunVexrun("/compile lax.vxs", dir).exitCode, 0);
    EXPECT_EQ(RunVexrun("/compile /l lax.vxs", dir).exitCode, 0);
    VexrunOutput strict = RunVexrun("/s /compile /record lax.vxs", dir);
    EXPECT_EQ(strict.exitCode, -5);
    EXPECT_NE(strict.out.find("message=lax.vxs\\nline 1: Syntax error"), std::string::npos)
        << "stdout: " << strict.out << "\nstderr: " << strict.err;
    EXPECT_EQ(RunVexrun("/l lax.vxs", dir).exitCode, 5);
    EXPECT_EQ(RunVexrun("/s lax.vxs", dir).exitCode, -5);
    EXPECT_EQ(RunVexrun("/l /s lax.vxs", dir).exitCode, -5) << "/s wins over /l";
    EXPECT_EQ(RunVexrun("", dir).exitCode, -1) << "no script: usage";
}

// How a script reports on standard output: each message box printed, then answered with its
// OK button (which is Yes in a Yes/No box).
TEST(Vexrun, EchoPrintsTheScriptsMessageBoxesAndAnswersThem) {
    ScratchDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("say.vxs"),
                              "int main()\n{\n"
                              "    int a = MessageBox(\"first step\", \"Demo\");\n"
                              "    int b = MessageBox(\"two\\nlines\", \"Other\", MB_YESNO);\n"
                              "    return a * 10 + b;\n}\n"));
    VexrunOutput run = RunVexrun("/echo say.vxs", dir);
    EXPECT_EQ(run.exitCode, IDOK * 10 + IDYES);
    EXPECT_EQ(WithoutCarriageReturns(run.out), "first step\ntwo\nlines\n");
    EXPECT_EQ(run.err, "");
}

TEST(Vexrun, ShowGivesTheRunningWindowAnOwnerAndMakesItVisible) {
    ScratchDir dir;
    ASSERT_TRUE(WriteTextFile(dir.File("pause.vxs"), "int main() { Pause(20000); return 11; }\n"));
    for (bool show : {true, false}) {
        bool visible = !show;
        VexrunOutput run =
            RunVexrun(show ? "/show pause.vxs" : "pause.vxs", dir, 30000, [&](DWORD pid) {
                HWND running = nullptr;
                WaitUntil([&] { return (running = FindRunningWindowOf(pid)) != nullptr; }, 10000);
                Sleep(300);
                visible = running && IsWindowVisible(running);
                if (running) ClickButton(running, 1001);
            });
        EXPECT_EQ(run.exitCode, 11);
        EXPECT_EQ(visible, show);
    }
}

}  // namespace
