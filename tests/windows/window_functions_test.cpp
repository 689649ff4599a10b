// The window built-ins against the target program loaded into this process (vextarget.dll).
// Wine cannot read the menu of another process's window (GetMenuItemCount answers -1), so the
// menu walk is tested here; so are the whole-second polls, Continue and Cancel, which need the
// running window and a clock at hand.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "dialog_catcher.h"
#include "support/engine_library.h"

namespace {

constexpr int kDialog = 1;
constexpr int kFrame = 2;
constexpr int kContinueButton = 1001;

// The target's windows on this thread: the engine's wait loop serves them while a script
// runs. The library stays loaded: the window classes it registers outlive an unload.
class TargetInProcess {
public:
    TargetInProcess(int parts, const std::string& logPath) {
        static HMODULE module = LoadLibraryA((BinaryDir() + "\\testapps\\vextarget.dll").c_str());
        if (!module) return;
        open_ = reinterpret_cast<HWND (*)(const char*, int)>(
            reinterpret_cast<void*>(GetProcAddress(module, "VexTargetOpen")));
        close_ = reinterpret_cast<void (*)()>(
            reinterpret_cast<void*>(GetProcAddress(module, "VexTargetClose")));
        if (open_ && close_) window_ = open_(logPath.c_str(), parts);
    }
    ~TargetInProcess() {
        if (close_) close_();
    }
    HWND window() const { return window_; }

private:
    HWND (*open_)(const char*, int) = nullptr;
    void (*close_)() = nullptr;
    HWND window_ = nullptr;
};

class WindowFunctionsTest : public EngineTest {
protected:
    std::string LogPath() const { return scratch_.File("target.log"); }

    // A failed run's error box is answered, so a failure never blocks the suite; the target's
    // own dialog is left alone.
    DialogCatcher errorBoxes_{
        [](const CaughtDialog& box) { return box.caption == "Vexa Script" ? IDOK : 0; }};
};

TEST_F(WindowFunctionsTest, MenuCommandStringsListEveryCommandWithBackslashNJoins) {
    TargetInProcess target(kFrame, LogPath());
    ASSERT_NE(target.window(), nullptr);
    ASSERT_EQ(GetForegroundWindow(), target.window());
    ScriptRun run = Run(R"(int main() {
        SetForegroundWindow("", "Vexa Target");
        HFILE f = OpenFile("menu.txt", FILE_CREATE | FILE_WRITE);
        WriteFileString(f, GetMenuCommandStrings());
        CloseFile(f);
        return 0;
    })");
    EXPECT_EQ(run.result, 0);
    // Separators skipped, "&" markers dropped ("&&" kept as one), accelerators cut at the tab;
    // the MDI frame adds its document list to the Window menu.
    EXPECT_EQ(WithoutCarriageReturns(ReadTextFile(scratch_.File("menu.txt"))),
              "File\\nNew\nFile\\nOpen...\nFile\\nSave As...\nFile\\nPrint\nFile\\nExit\n"
              "Edit\\nUndo\nEdit\\nFind & Replace...\nEdit\\nInsert\\nDate\n"
              "Edit\\nInsert\\nTime\nView\\nStatus Bar\nWindow\\nCascade\n"
              "Window\\n1 Document 1\n");
}

TEST_F(WindowFunctionsTest, MenuStateOfCommandsNotOfSubMenus) {
    TargetInProcess target(kFrame, LogPath());
    ASSERT_NE(target.window(), nullptr);
    ScriptRun run = Run(R"(int main() {
        if (SetForegroundWindow("", "Vexa Target") != 1) return 99;
        if (GetMenuState("File\nSave As...") != 0) return 1;
        if ((GetMenuState("File\nPrint") & MF_GRAYED) != MF_GRAYED) return 2;
        if ((GetMenuState("Edit\nInsert\nTime") & MF_CHECKED) != MF_CHECKED) return 3;
        if ((GetMenuState("View\nStatus Bar") & MF_CHECKED) != MF_CHECKED) return 4;
        if (GetMenuState("Edit\nFind & Replace...") != 0) return 5;
        // A sub-menu is no command; the listing's backslash-n form is not a path; neither is
        // the text with its marker or accelerator.
        if (GetMenuState("Edit\nInsert") != -1) return 10;
        if (GetMenuState("Edit") != -1) return 11;
        if (GetMenuState("File\\nNew") != -1) return 12;
        if (GetMenuState("File\n&New") != -1) return 13;
        if (GetMenuState("File\nNew\tCtrl+N") != -1) return 14;
        if (GetMenuState("file\nnew") != -1) return 15;
        return 0;
    })");
    EXPECT_EQ(run.result, 0);
}

TEST_F(WindowFunctionsTest, MenuFunctionsOnAWindowWithoutMenuBar) {
    TargetInProcess target(kDialog, LogPath());
    ASSERT_NE(target.window(), nullptr);
    ScriptRun run = Run(R"(int main() {
        if (SetForegroundWindow("", "Vexa Target Dialog") != 1) return 99;
        if (GetMenuCommandStrings() != "") return 1;
        if (GetMenuState("File\nNew") != -1) return 2;
        return 0;
    })");
    EXPECT_EQ(run.result, 0);
}

TEST_F(WindowFunctionsTest, CountsAndTextsPollTheirWholeSecond) {
    TargetInProcess target(kDialog, LogPath());
    ASSERT_NE(target.window(), nullptr);
    struct Case {
        const char* call;
        int result;
    };
    for (const Case& c : {Case{"ListBox_GetCount(1061)", 4}, Case{"ListBox_GetCount(4242)", -1},
                          Case{"ComboBox_GetCount(\"Co&untry:\")", 4},
                          Case{"strlen(ListBox_GetText(1061, 0))", 5}}) {
        ULONGLONG started = Now();
        ScriptRun run = Run(std::string("int main() { SetForegroundWindow(\"\", \"Vexa Target "
                                        "Dialog\"); return 100 + ") +
                            c.call + "; }");
        ULONGLONG took = run.endedAt - started;
        EXPECT_EQ(run.result, 100 + c.result) << c.call;  // a negative result would be an error
        EXPECT_GE(took, 1000u) << c.call;
        EXPECT_LT(took, 4000u) << c.call;
    }
    // A found control ends the other polls at once.
    ULONGLONG started = Now();
    ScriptRun run =
        Run("int main() { SetForegroundWindow(\"\", \"Vexa Target Dialog\");"
            " return IsDlgButtonChecked(1020) + ClickButton(1002); }");
    EXPECT_EQ(run.result, 1);
    EXPECT_LT(run.endedAt - started, 900u);
}

// In this process an edit's window text is what it holds (across processes Wine gives only the
// text it was created with), so here the rule that an edit is never the named control matters.
TEST_F(WindowFunctionsTest, AnEditHoldingTheCaptionIsNeverTaken) {
    TargetInProcess target(kDialog, LogPath());
    ASSERT_NE(target.window(), nullptr);
    ScriptRun run = Run(R"(int main() {
        if (SetForegroundWindow("", "Vexa Target Dialog") != 1) return 99;
        if (SetDlgItemText(1041, "&Apply") != 1) return 1;
        if (VerifyActiveWindowText("Ready") != 1) return 2;
        if (GetDlgItemText(1048) != "Twin") return 3;
        return ClickButton("Twin") + 10 * ClickButton("&Apply");
    })");
    EXPECT_EQ(run.result, 11);
    // The posted clicks arrive once this thread reads its queue again.
    bool clicked = WaitUntil(
        [&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            std::string log = ReadTextFile(LogPath());
            return log.find("click 1050 own 0") != std::string::npos &&
                   log.find("click 1002 own 0") != std::string::npos;
        },
        5000);
    EXPECT_TRUE(clicked) << ReadTextFile(LogPath());
}

// Each polling function shows its own status line while it looks for what is not there.
TEST_F(WindowFunctionsTest, EveryPollShowsItsStatusLine) {
    const std::vector<std::string> statuses = {
        "Click button...",
        "Check dialog button...",
        "Is dialog button checked...",
        "Set dialog item text...",
        "Get dialog item text...",
        "Select listbox string...",
        "Select combobox string...",
        "Listbox get count...",
        "Combobox get count...",
        "Listbox get text...",
        "Combobox get text...",
        "Verifying active window title...",
        "Verifying active MDI window title...",
        "Verifying active window text...",
        "Waiting for window to be visible...",
    };
    std::vector<std::string> seen;
    std::thread watcher([&] {
        for (const std::string& status : statuses) {
            std::string shown = WaitForStatus(status, 5000);
            if (shown.empty()) return;
            seen.push_back(shown);
        }
    });
    ScriptRun run = Run(R"(int main() {
        ClickButton(4242);
        CheckDlgButton(4242, 1);
        IsDlgButtonChecked(4242);
        SetDlgItemText(4242, "x");
        GetDlgItemText(4242);
        ListBox_SelectString(4242, "x");
        ComboBox_SelectString(4242, "x");
        ListBox_GetCount(4242);
        ComboBox_GetCount(4242);
        ListBox_GetText(4242);
        ComboBox_GetText(4242);
        VerifyActiveWindowTitle("No Such Title");
        VerifyActiveMDIWindowTitle("No Such Title");
        VerifyActiveWindowText("No Such Text");
        WaitWindowTitleVisible("No Such Title", 1000);
        return 0;
    })");
    watcher.join();
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(seen, statuses);
}

TEST_F(WindowFunctionsTest, ContinueEndsWaitWindowClosedWithZeroAndGivesTheForegroundBack) {
    OwnerWindow userWindow;  // the window the user works in while the script waits for it
    std::atomic<bool> continueShown{false}, userWindowBack{false};
    std::thread user([&] {
        if (WaitForStatus("Waiting for window to close...", 20000).empty()) return;
        HWND running = FindRunningWindow();
        continueShown = IsWindowVisible(GetDlgItem(running, kContinueButton)) &&
                        IsWindowEnabled(GetDlgItem(running, kContinueButton));
        SetForegroundWindow(userWindow.hwnd());
        Sleep(100);
        SetForegroundWindow(running);  // clicking Continue activates the running window
        ClickButton(running, kContinueButton);
        WaitUntil([&] { return GetForegroundWindow() == userWindow.hwnd(); }, 5000);
        userWindowBack = GetForegroundWindow() == userWindow.hwnd();
    });
    ULONGLONG started = Now();
    ScriptRun run = Run(R"(int main() {
        SetRunningScriptWindow(RSW_SHOW);
        return 10 + WaitWindowClosed("", "Owner", 20000);
    })");
    user.join();
    EXPECT_EQ(run.result, 10) << "Continue ends the wait with 0";
    EXPECT_LT(run.endedAt - started, 10000u);
    EXPECT_TRUE(continueShown);
    EXPECT_TRUE(userWindowBack);
}

TEST_F(WindowFunctionsTest, CancelDuringAPollStopsTheRunSilently) {
    TargetInProcess target(kDialog, LogPath());
    ASSERT_NE(target.window(), nullptr);
    std::thread user([&] {
        if (WaitForStatus("Listbox get count...", 20000).empty()) return;
        ClickButton(FindRunningWindow(), IDCANCEL);
    });
    ScriptRun run = Run(R"(int main() {
        while (1) ListBox_GetCount(1061);
        return 0;
    })");
    user.join();
    EXPECT_EQ(run.result, -19);
}

}  // namespace
