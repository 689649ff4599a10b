// Run and RunWait against real child processes: waiting, time-outs that leave the program
// running, the exit code 259 quirk, Cancel, and the shell fallback for documents.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "dialog_catcher.h"
#include "support/engine_library.h"
#include "support/script_literal.h"

namespace {

std::string Child(const std::string& record, int sleepMs, int exitCode,
                  const std::string& extra = "") {
    return "\"" + TestProgramsDir() + "\\RecordingChild.exe\" \"" + record + "\" " +
           std::to_string(sleepMs) + " " + std::to_string(exitCode) + extra;
}

std::string WaitForRecord(const std::string& path, DWORD timeoutMs) {
    std::string text;
    for (DWORD waited = 0; waited < timeoutMs && text.empty(); waited += 50) {
        text = ReadTextFile(path);
        if (text.empty()) Sleep(50);
    }
    return text;
}

DWORD RecordedPid(const std::string& record) {
    return record.rfind("pid=", 0) == 0 ? std::strtoul(record.c_str() + 4, nullptr, 10) : 0;
}

// A script whose main returns the value of one built-in call.
std::string Returning(const std::string& call) {
    return "int main()\n{\n    return " + call + ";\n}\n";
}

// The engine's error box, should a run fail, is answered and counted instead of blocking.
class ProcessTest : public EngineTest {
protected:
    DialogCatcher errorBoxes_{[](const CaughtDialog& box) {
        return box.messageBox && box.caption == "Vexa Script" ? IDOK : 0;
    }};
};

TEST_F(ProcessTest, RunWaitReturnsOneWhenTheProgramEndsWhateverItsExitCode) {
    ScriptRun run = Run(Returning("RunWait(" + ScriptLiteral(Child("-", 0, 3)) + ")"));
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(errorBoxes_.count(), 0u);
}

TEST_F(ProcessTest, RunWaitTimeOutReturnsMinusOneAndLeavesTheProgramRunning) {
    std::string record = scratch_.File("child.txt");
    DWORD started = GetTickCount();
    ScriptRun run =
        Run(Returning("RunWait(" + ScriptLiteral(Child(record, 60000, 0)) + ", 1, 2000)"));
    DWORD elapsed = GetTickCount() - started;
    EXPECT_EQ(run.result, -1);
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LT(elapsed, 15000u);

    DWORD pid = RecordedPid(WaitForRecord(record, 5000));
    ASSERT_NE(pid, 0u);
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(code, STILL_ACTIVE) << "RunWait ended the program";
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

TEST_F(ProcessTest, RunWaitExitCode259LooksStillRunning) {
    ScriptRun run = Run(Returning("RunWait(" + ScriptLiteral(Child("-", 0, 259)) + ", 1, 1500)"));
    EXPECT_EQ(run.result, -1);
}

TEST_F(ProcessTest, RunWaitZeroTimeOutReturnsMinusOneWithoutLooking) {
    std::string record = scratch_.File("child.txt");
    ScriptRun run = Run(Returning("RunWait(" + ScriptLiteral(Child(record, 0, 0)) + ", 1, 0)"));
    EXPECT_EQ(run.result, -1);
    EXPECT_NE(WaitForRecord(record, 5000), "") << "the program was not started";
}

TEST_F(ProcessTest, RunWaitProgramThatCannotStartGivesZeroAndNoShellFallback) {
    std::string document = scratch_.File("plain.txt");
    ASSERT_TRUE(WriteTextFile(document, "text"));
    EXPECT_EQ(Run(Returning("RunWait(" + ScriptLiteral(scratch_.File("none.exe")) + ")")).result,
              0);
    EXPECT_EQ(Run(Returning("RunWait(" + ScriptLiteral(document) + ")")).result, 0);
    EXPECT_EQ(Run(Returning("Run(" + ScriptLiteral(scratch_.File("none.exe")) + ")")).result, 0);
}

// Cancel pressed in the running-script window ends the wait with -19 and no error box.
TEST_F(ProcessTest, RunWaitCancelEndsTheWait) {
    std::string record = scratch_.File("child.txt");
    std::atomic<bool> done{false};
    std::thread canceller([&done] {
        Sleep(700);
        for (int i = 0; i < 100 && !done; ++i) {
            if (HWND window = FindRunningWindow()) {
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(50);
        }
    });
    DWORD started = GetTickCount();
    ScriptRun run =
        Run(Returning("RunWait(" + ScriptLiteral(Child(record, 30000, 0)) + ", 1, 20000)"));
    done = true;
    canceller.join();
    EXPECT_EQ(run.result, -19);
    EXPECT_LT(GetTickCount() - started, 10000u);
    EXPECT_EQ(errorBoxes_.count(), 0u);
    if (DWORD pid = RecordedPid(WaitForRecord(record, 5000))) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
        if (process) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }
}

TEST_F(ProcessTest, RunStartsAProgramWithItsCommandLineAndDoesNotWait) {
    std::string record = scratch_.File("child.txt");
    DWORD started = GetTickCount();
    ScriptRun run =
        Run(Returning("Run(" + ScriptLiteral(Child(record, 3000, 0, " extra words")) + ")"));
    EXPECT_EQ(run.result, 1);
    EXPECT_LT(GetTickCount() - started, 2500u);
    std::string text = WaitForRecord(record, 5000);
    EXPECT_NE(text.find("3000 0 extra words"), std::string::npos) << text;
    Sleep(3200);  // let it end before the folder goes
}

// A made-up extension registered for this user opens with RecordingChild, which records the
// document path the shell hands it. Where the system does not merge the user's classes into
// HKEY_CLASSES_ROOT (Wine), the same keys go there too for the test's duration.
class DocumentAssociation : public ProcessTest {
protected:
    void SetUp() override {
        ProcessTest::SetUp();
        record_ = scratch_.File("opened.txt");
        ASSERT_TRUE(Register(HKEY_CURRENT_USER, "Software\\Classes\\"));
        HKEY merged = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kExtension, 0, KEY_READ, &merged) == ERROR_SUCCESS) {
            RegCloseKey(merged);
        } else {
            classesRoot_ = true;
            ASSERT_TRUE(Register(HKEY_CLASSES_ROOT, ""));
        }
    }
    void TearDown() override {
        ProcessTest::TearDown();
        Unregister(HKEY_CURRENT_USER, "Software\\Classes\\");
        if (classesRoot_) Unregister(HKEY_CLASSES_ROOT, "");
    }
    bool Register(HKEY root, const std::string& prefix) {
        std::string command = Child(record_, 0, 0, " \"%1\"");
        return RegSetKeyValueA(root, (prefix + kExtension).c_str(), nullptr, REG_SZ, kProgId,
                               static_cast<DWORD>(strlen(kProgId) + 1)) == ERROR_SUCCESS &&
               RegSetKeyValueA(root, (prefix + kProgId + "\\shell\\open\\command").c_str(), nullptr,
                               REG_SZ, command.c_str(),
                               static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    }
    void Unregister(HKEY root, const std::string& prefix) {
        RegDeleteTreeA(root, (prefix + kExtension).c_str());
        RegDeleteTreeA(root, (prefix + kProgId).c_str());
    }
    static constexpr const char* kExtension = ".vxh4doc";
    static constexpr const char* kProgId = "VexaTests.H4Document";
    std::string record_;
    bool classesRoot_ = false;
};

TEST_F(DocumentAssociation, RunOpensADocumentThroughTheShell) {
    std::string document = scratch_.File("letter.vxh4doc");
    ASSERT_TRUE(WriteTextFile(document, "not a program"));
    ScriptRun run = Run(Returning("Run(" + ScriptLiteral(document) + ")"));
    EXPECT_EQ(run.result, 1);
    std::string text = WaitForRecord(record_, 10000);
    EXPECT_NE(text.find("letter.vxh4doc"), std::string::npos) << text;
}

}  // namespace
