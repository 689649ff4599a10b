// The "Running Script" window under Wine: Cancel and Continue during waits and loops, placement,
// the owner's state, the Pause countdown and the script's deep stack.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "dialog_catcher.h"
#include "support/engine_library.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool HasStyle(HWND window, LONG style) {
    return (GetWindowLongA(window, GWL_STYLE) & style) == style;
}

bool IsTopMost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Clicks a button of the running window once its status starts with `status`; remembers when.
class DelayedClick {
public:
    DelayedClick(const std::string& status, int button, DWORD delayMs = 0)
        : thread_([=, this] {
              seen_ = WaitForStatus(status, 20000);
              if (seen_.empty()) return;
              Sleep(delayMs);
              clickedAt_ = Now();
              ClickButton(FindRunningWindow(), button);
          }) {}
    ~DelayedClick() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    ULONGLONG clickedAt() const { return clickedAt_; }
    const std::string& seen() const { return seen_; }

private:
    std::string seen_;
    std::atomic<ULONGLONG> clickedAt_{0};
    std::thread thread_;
};

class RunningWindowTest : public EngineTest {};

TEST_F(RunningWindowTest, CancelDuringEndlessLoopStopsSilentlyAtOnce) {
    DialogCatcher boxes([](const CaughtDialog&) { return 0; });
    DelayedClick cancel("Running...", IDCANCEL, 300);
    ScriptRun run = Run("int main() { int i; while (1) { i = i + 1; } return 5; }");
    cancel.Join();
    EXPECT_EQ(run.result, -19);
    ASSERT_NE(cancel.clickedAt(), 0u);
    EXPECT_LT(run.endedAt - cancel.clickedAt(), 250u);
    Sleep(150);
    EXPECT_EQ(boxes.count(), 0u) << "a cancelled run shows no box";
}

TEST_F(RunningWindowTest, CancelDuringLongPauseEndsWithinOneWaitIncrement) {
    DialogCatcher boxes([](const CaughtDialog&) { return 0; });
    for (int increment : {1, 100}) {
        DelayedClick cancel("Pause", IDCANCEL, 200);
        ScriptRun run = Run("int main() { SetWaitIncrement(" + std::to_string(increment) +
                            "); Pause(600000); return 5; }");
        cancel.Join();
        EXPECT_EQ(run.result, -19);
        EXPECT_EQ(cancel.seen(), "Pause 10:00");
        ASSERT_NE(cancel.clickedAt(), 0u);
        EXPECT_LT(run.endedAt - cancel.clickedAt(), static_cast<ULONGLONG>(increment) + 150)
            << increment;
    }
    Sleep(150);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(RunningWindowTest, ContinueEndsPauseEarlyWithZeroAndHidesTheButton) {
    std::atomic<bool> buttonShown{false}, buttonHiddenAfter{false};
    std::thread watcher([&] {
        if (WaitForStatus("Pause 10", 20000).empty()) return;
        HWND running = FindRunningWindow();
        HWND button = GetDlgItem(running, 1001);
        buttonShown = HasStyle(button, WS_VISIBLE) && IsWindowEnabled(button);
        ClickButton(running, 1001);
        // The script's next step shows a status of its own; Continue is gone by then.
        if (WaitForStatus("Waiting for message box", 5000).empty()) return;
        buttonHiddenAfter = !HasStyle(button, WS_VISIBLE) && !IsWindowEnabled(button);
    });
    ULONGLONG started = Now();
    ScriptRun run =
        Run("int main() { Pause(10000); return MessageBox(\"x\", \"\", MB_YESNO, 300, IDNO); }");
    watcher.join();
    EXPECT_EQ(run.result, IDNO) << "the pause returned and the script went on";
    EXPECT_LT(run.endedAt - started, 5000u);
    EXPECT_TRUE(buttonShown);
    EXPECT_TRUE(buttonHiddenAfter) << "Continue shows only while a wait lasts";
}

TEST_F(RunningWindowTest, ContinueGivesTheForegroundBackToTheWindowTheUserWasIn) {
    OwnerWindow userWindow;  // not the engine's owner: just the window the user works in
    std::atomic<bool> userWindowWasForeground{false}, runningWasForeground{false},
        userWindowBack{false};
    std::thread watcher([&] {
        if (WaitForStatus("Pause 20", 20000).empty()) return;
        HWND running = FindRunningWindow();
        // The user works in their window while the script waits, then clicks Continue, which
        // activates the running window.
        SetForegroundWindow(userWindow.hwnd());
        Sleep(100);
        userWindowWasForeground = GetForegroundWindow() == userWindow.hwnd();
        SetForegroundWindow(running);
        Sleep(100);
        runningWasForeground = GetForegroundWindow() == running;
        ClickButton(running, 1001);
        if (WaitForStatus("Pause 30", 5000).empty()) return;
        userWindowBack = GetForegroundWindow() == userWindow.hwnd();
        ClickButton(running, 1001);
    });
    ScriptRun run = Run(
        "int main() { SetRunningScriptWindow(RSW_SHOW); Pause(20000); Pause(30000); return 7; }");
    watcher.join();
    EXPECT_EQ(run.result, 7);
    EXPECT_TRUE(userWindowWasForeground);
    EXPECT_TRUE(runningWasForeground);
    EXPECT_TRUE(userWindowBack);
}

TEST_F(RunningWindowTest, WithOwnerWindowIsShownLowerRightTopMostAndOwnerDisabledThenRestored) {
    OwnerWindow owner;
    std::atomic<bool> checked{false};
    RECT rect{};
    bool visible = false, topMost = false, ownerEnabled = true;
    HWND ownerSeen = nullptr;
    std::thread watcher([&] {
        if (WaitForStatus("Pause", 20000).empty()) return;
        HWND running = FindRunningWindow();
        GetWindowRect(running, &rect);
        visible = IsWindowVisible(running);
        topMost = IsTopMost(running);
        ownerEnabled = IsWindowEnabled(owner.hwnd());
        ownerSeen = GetWindow(running, GW_OWNER);
        checked = true;
        ClickButton(running, 1001);
    });
    ScriptRun run = Run("int main() { Pause(20000); return 3; }", "main()", 0, owner.hwnd());
    watcher.join();
    ASSERT_TRUE(checked);
    EXPECT_EQ(run.result, 3);
    RECT area = WorkArea();
    EXPECT_EQ(rect.right, area.right);
    EXPECT_EQ(rect.bottom, area.bottom);
    EXPECT_TRUE(visible);
    EXPECT_TRUE(topMost);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(ownerSeen, owner.hwnd());
    // After the run: the window is gone (TearDown) and the owner usable again.
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(RunningWindowTest, OwnerIsEnabledAgainAfterFailedAndCancelledRuns) {
    OwnerWindow owner;
    DialogCatcher boxes([](const CaughtDialog& d) { return d.messageBox ? IDOK : 0; });
    ScriptRun failed = Run("int main() { return undefinedName; }", "main()", 0, owner.hwnd());
    EXPECT_EQ(failed.result, -26);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_EQ(FindRunningWindow(), nullptr);

    DelayedClick cancel("Pause", IDCANCEL);
    ScriptRun cancelled = Run("int main() { Pause(600000); return 1; }", "main()", 0, owner.hwnd());
    cancel.Join();
    EXPECT_EQ(cancelled.result, -19);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));

    // An owner that was disabled before the run stays disabled: the engine only undoes its own
    // change.
    EnableWindow(owner.hwnd(), FALSE);
    EXPECT_EQ(Run("int main() { return 4; }", "main()", 0, owner.hwnd()).result, 4);
    EXPECT_FALSE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(RunningWindowTest, WithoutOwnerHiddenUntilShownThenTopMostCentredWithNewTitle) {
    std::atomic<int> step{0};
    bool hiddenFirst = false, visibleLater = false, topMost = false;
    RECT rect{};
    std::string caption;
    std::thread watcher([&] {
        if (WaitForStatus("Pause", 20000).empty()) return;
        HWND running = FindRunningWindow();
        hiddenFirst = !IsWindowVisible(running);
        step = 1;
        ClickButton(running, 1001);
        if (!WaitUntil(
                [&] { return IsWindowVisible(running) && !WaitForStatus("Pause", 10).empty(); },
                20000))
            return;
        visibleLater = true;
        topMost = IsTopMost(running);
        GetWindowRect(running, &rect);
        char text[64] = {};
        GetWindowTextA(running, text, sizeof(text));
        caption = text;
        step = 2;
        ClickButton(running, 1001);
    });
    ScriptRun run =
        Run("int main() { Pause(20000); SetRunningScriptWindow(41, \"My Script\"); Pause(20000);"
            " return 0; }");
    watcher.join();
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(step, 2);
    EXPECT_TRUE(hiddenFirst);
    EXPECT_TRUE(visibleLater);
    EXPECT_TRUE(topMost);
    EXPECT_EQ(caption, "My Script");
    RECT area = WorkArea();
    EXPECT_EQ(rect.left, area.left + (Width(area) - Width(rect)) / 2);
    EXPECT_EQ(rect.top, area.top + (Height(area) - Height(rect)) / 2);
}

TEST_F(RunningWindowTest, MoveFlagsPlaceTheWindowWithoutResizingIt) {
    struct Case {
        const char* call;
        std::function<POINT(const RECT& area, int w, int h)> expected;
    };
    const std::vector<Case> cases = {
        {"SetRunningScriptWindow(RSW_MOVE_COORDINATES, \"\", 10, 20)",
         [](const RECT&, int, int) {
             return POINT{10, 20};
         }},
        {"SetRunningScriptWindow(RSW_MOVE_UPPER_LEFT)",
         [](const RECT& a, int, int) {
             return POINT{a.left, a.top};
         }},
        {"SetRunningScriptWindow(RSW_MOVE_UPPER_RIGHT)",
         [](const RECT& a, int w, int) {
             return POINT{a.right - w, a.top};
         }},
        {"SetRunningScriptWindow(RSW_MOVE_LOWER_LEFT + RSW_NOT_ALWAYS_ON_TOP)",
         [](const RECT& a, int, int h) {
             return POINT{a.left, a.bottom - h};
         }},
        {"SetRunningScriptWindow(112)",
         [](const RECT& a, int w, int h) {
             return POINT{a.right - w, a.bottom - h};
         }},
    };
    for (const Case& c : cases) {
        RECT after{};
        bool topMost = true;
        std::thread watcher([&] {
            if (WaitForStatus("Pause", 20000).empty()) return;
            HWND running = FindRunningWindow();
            GetWindowRect(running, &after);
            topMost = IsTopMost(running);
            ClickButton(running, 1001);
        });
        ScriptRun run = Run(std::string("int main() { ") + c.call + "; Pause(20000); return 0; }");
        watcher.join();
        EXPECT_EQ(run.result, 0) << c.call;
        RECT area = WorkArea();
        int w = Width(after), h = Height(after);
        POINT expected = c.expected(area, w, h);
        EXPECT_EQ(after.left, expected.x) << c.call;
        EXPECT_EQ(after.top, expected.y) << c.call;
        if (std::string(c.call).find("NOT_ALWAYS") != std::string::npos) {
            EXPECT_FALSE(topMost) << c.call;
        }
    }
}

// The status texts of the running window in order, without repeats, until the first "Pause"
// text, which is answered with Cancel.
std::vector<std::string> StatusesUntilPause(std::atomic<bool>& stop) {
    std::vector<std::string> seen;
    while (!stop) {
        HWND running = FindRunningWindow();
        if (running) {
            std::string status = ControlText(running, 1000);
            if (seen.empty() || seen.back() != status) seen.push_back(status);
            if (status.rfind("Pause", 0) == 0) {
                ClickButton(running, IDCANCEL);
                break;
            }
        }
        Sleep(2);
    }
    return seen;
}

std::vector<std::string> PauseStatuses(const std::vector<std::string>& all) {
    std::vector<std::string> pauses;
    for (const std::string& s : all)
        if (s.rfind("Pause", 0) == 0) pauses.push_back(s);
    return pauses;
}

TEST_F(RunningWindowTest, PauseCountdownChoosesItsFormFromTheWholePause) {
    for (auto [milliseconds, first] : {std::pair<int, const char*>{90000, "Pause 1:30"},
                                       {3600000, "Pause 1:00:00"},
                                       {5000, "Pause 5"},
                                       {61000, "Pause 1:01"}}) {
        std::atomic<bool> stop{false};
        std::vector<std::string> seen;
        std::thread watcher([&] { seen = StatusesUntilPause(stop); });
        ScriptRun run =
            Run("int main() { Pause(" + std::to_string(milliseconds) + "); return 0; }");
        stop = true;
        watcher.join();
        EXPECT_EQ(run.result, -19);
        std::vector<std::string> pauses = PauseStatuses(seen);
        ASSERT_FALSE(pauses.empty()) << milliseconds;
        EXPECT_EQ(pauses.front(), first);
    }
}

TEST_F(RunningWindowTest, PauseOfOneAndAHalfSecondsCountsTwoThenOneAndLastsItsTime) {
    std::vector<std::string> seen;
    ULONGLONG started = Now(), clearedAt = 0;
    std::thread watcher([&] {
        // The script loops after its pause, so the cleared status stays until we cancel.
        WaitUntil(
            [&] {
                HWND running = FindRunningWindow();
                if (!running) return false;
                std::string status = ControlText(running, 1000);
                if (seen.empty() || seen.back() != status) seen.push_back(status);
                if (status.empty() &&
                    std::find(seen.begin(), seen.end(), "Pause 1") != seen.end()) {
                    clearedAt = Now();
                    ClickButton(running, IDCANCEL);
                    return true;
                }
                return false;
            },
            20000);
    });
    ScriptRun run = Run("int main() { int i; Pause(1500); while (1) { i = i + 1; } return 9; }");
    watcher.join();
    EXPECT_EQ(run.result, -19);
    EXPECT_EQ(PauseStatuses(seen), (std::vector<std::string>{"Pause 2", "Pause 1"}));
    ASSERT_NE(clearedAt, 0u) << "the status was not cleared after the pause";
    EXPECT_GE(clearedAt - started, 1500u);
}

TEST_F(RunningWindowTest, WaitIncrementIsClampedBetweenZeroAndAHundred) {
    // A MessageBox that times out after 1 ms still waits one increment before it looks at the
    // clock again: how long its dialog stays up tells the increment in use.
    auto shownFor = [&](const std::string& setIncrement) {
        std::atomic<ULONGLONG> shown{0}, hidden{0};
        std::thread watcher([&] {
            HWND box = nullptr;
            if (!WaitUntil([&] { return (box = FindOwnDialog("Timed")) && IsWindowVisible(box); },
                           20000))
                return;
            shown = Now();
            WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 20000);
            hidden = Now();
        });
        ScriptRun run = Run("int main() { " + setIncrement +
                            " return MessageBox(\"x\", \"Timed\", MB_YESNO, 1, IDNO); }");
        watcher.join();
        EXPECT_EQ(run.result, IDNO) << setIncrement;
        return hidden - shown;
    };
    ULONGLONG clamped = shownFor("SetWaitIncrement(500);");
    EXPECT_GE(clamped, 80u);
    EXPECT_LT(clamped, 400u) << "500 ms was not clamped to 100";
    EXPECT_LT(shownFor("SetWaitIncrement(-5);"), 80u) << "-5 was not clamped to 0";
    EXPECT_LT(shownFor("SetWaitIncrement(80); SetWaitIncrement();"), 60u) << "no argument sets 1";
}

// 1002 nested user calls need far more stack than a caller's thread may have; the engine runs the
// script on a large stack of its own, also when the caller is a fiber already.
int DeepRecursion(const std::string& script) {
    ScriptResult record{};
    return EngineLibrary::Get().RunScriptFileEx2(nullptr, script.c_str(), "main()", 0, &record);
}

constexpr char kRecursion1001[] =
    "int down(int n) { if (n > 1) { return down(n - 1) + 1; } return 1; }\n"
    "int main() { return down(1001); }\n";

// Runs `work` on a fresh thread whose stack reserves `stackBytes`, and waits for it.
void RunOnThreadWithStack(std::size_t stackBytes, const std::function<void()>& work) {
    HANDLE thread = CreateThread(
        nullptr, stackBytes,
        [](void* p) -> DWORD {
            (*static_cast<const std::function<void()>*>(p))();
            return 0;
        },
        const_cast<std::function<void()>*>(&work), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 120000), WAIT_OBJECT_0);
    CloseHandle(thread);
}

TEST_F(RunningWindowTest, DeepRecursionRunsOnSmallCallerStacksAndOnFibers) {
    ASSERT_TRUE(WriteTextFile(ScriptPath(), kRecursion1001));
    int result = 0;
    RunOnThreadWithStack(128 * 1024, [&] { result = DeepRecursion(ScriptPath()); });
    EXPECT_EQ(result, 1001) << "main plus 1001 calls of down";

    // A caller that already runs on a fiber.
    void* self = ConvertThreadToFiber(nullptr);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(DeepRecursion(ScriptPath()), 1001);
    EXPECT_TRUE(IsThreadAFiber())
        << "the engine must not turn the caller's fiber back into a thread";
    ConvertFiberToThread();
}

// A caller with a large stack of its own (72 MiB): the deep recursion fits, and nesting that
// would pass the budget still ends with "Stack overflow" and its box.
TEST_F(RunningWindowTest, ALargeCallerStackCarriesTheScriptWithinTheSameBudget) {
    DialogCatcher boxes([](const CaughtDialog& d) { return d.messageBox ? IDOK : 0; });
    const std::string nested = std::string(20000, '(') + "1" + std::string(20000, ')');
    int recursion = 0, nesting = 0;
    RunOnThreadWithStack(72u << 20, [&] {
        WriteTextFile(ScriptPath(), kRecursion1001);
        recursion = DeepRecursion(ScriptPath());
        WriteTextFile(ScriptPath(), "int main() { int x = " + nested + "; return x; }\n");
        nesting = DeepRecursion(ScriptPath());
    });
    EXPECT_EQ(recursion, 1001);
    EXPECT_EQ(nesting, -37);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_NE(boxes.caught()[0].text.find("Stack overflow"), std::string::npos);
}

}  // namespace
