// SendKeys and MouseClick through the real input stream: the target is a window of the test's
// own thread, so the engine's message pump delivers the injected keys and clicks to it while
// the script runs, and every key event the edit receives is logged.
#include <gtest/gtest.h>

#include <string>

#include "error_codes.h"
#include "support/engine_library.h"

namespace {

std::string g_keyLog;        // "Name+" / "Name-" per key message the edit received
int g_clicks = 0;            // button clicks the frame received
int g_cancelAfterLeft = -1;  // presses Cancel on that many Left keys; -1: never
WNDPROC g_editProc = nullptr;
HWND g_edit = nullptr;
std::string g_statusAtFirstKey, g_statusAtClick;  // the running window's status line then
constexpr int kButtonId = 101;

std::string KeyName(WPARAM key) {
    switch (key) {
    case VK_SHIFT: return "Shift";
    case VK_CONTROL: return "Ctrl";
    case VK_MENU: return "Alt";
    case VK_LEFT: return "Left";
    case VK_DELETE: return "Delete";
    case VK_CAPITAL: return "CapsLock";
    }
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    return std::to_string(key);
}

LRESULT CALLBACK LoggingEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (down || message == WM_KEYUP || message == WM_SYSKEYUP) {
        if (g_keyLog.empty()) g_statusAtFirstKey = ControlText(FindRunningWindow(), 1000);
        if (!g_keyLog.empty()) g_keyLog += ' ';
        g_keyLog += KeyName(wParam) + (down ? "+" : "-");
        if (down && wParam == VK_LEFT && g_cancelAfterLeft > 0 && --g_cancelAfterLeft == 0)
            ClickButton(FindRunningWindow(), IDCANCEL);
    }
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

LRESULT CALLBACK TargetFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
        ++g_clicks;
        g_statusAtClick = ControlText(FindRunningWindow(), 1000);
    }
    return DefWindowProcA(frame, message, wParam, lParam);
}

// Caps Lock is a state of the whole desktop: a test never leaves it switched on.
void SwitchCapsLockOff() {
    if (!(GetKeyState(VK_CAPITAL) & 1)) return;
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = VK_CAPITAL;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof(INPUT));
    MSG msg;
    WaitUntil(
        [&] {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            return !(GetKeyState(VK_CAPITAL) & 1);
        },
        2000);
}

class KeysMouseTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = TargetFrame;
        frameClass.hInstance = GetModuleHandleA(nullptr);
        frameClass.lpszClassName = "VexaKeysTarget";
        frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&frameClass);
        frame_ = CreateWindowExA(0, "VexaKeysTarget", "Keys target",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        edit_ = CreateWindowExA(0, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_WANTRETURN,
                                10, 10, 360, 150, frame_, nullptr, nullptr, nullptr);
        button_ =
            CreateWindowExA(0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 180,
                            120, 40, frame_, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
        g_edit = edit_;
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingEdit)));
        g_keyLog.clear();
        g_clicks = 0;
        g_cancelAfterLeft = -1;
        g_statusAtFirstKey.clear();
        g_statusAtClick.clear();
        SetForegroundWindow(frame_);
        SetFocus(edit_);
        ASSERT_TRUE(WaitUntil([&] { return Settle(), GetFocus() == edit_; }, 3000));
    }
    void TearDown() override {
        SwitchCapsLockOff();
        DestroyWindow(frame_);
        Settle();
        EngineTest::TearDown();
    }

    void Settle() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    std::string EditText() {
        char text[1024] = {};
        GetWindowTextA(edit_, text, sizeof text);
        return text;
    }
    // The engine's hidden running window takes the thread's focus when a run starts, so the
    // edit takes it back from a timer that fires during the pause before SendKeys types.
    ScriptRun Keys(const std::string& keys) {
        SetTimer(frame_, 1, 10, [](HWND frame, UINT, UINT_PTR id, DWORD) {
            KillTimer(frame, id);
            SetFocus(g_edit);
        });
        ScriptRun run = Run("void main()\n{\n    SendKeys(\"" + keys + "\");\n}\n");
        Settle();
        return run;
    }

    HWND frame_ = nullptr, edit_ = nullptr, button_ = nullptr;
};

TEST_F(KeysMouseTest, TypesTextSpecialKeysAndCountsIntoTheFocusedEdit) {
    ASSERT_EQ(Keys("abcd{left 3}X{end}!{left 0}{left -2}Y").result, 0);
    EXPECT_EQ(EditText(), "aXbcYd!");
    EXPECT_EQ(g_statusAtFirstKey, "Sending keystrokes...");
    ASSERT_EQ(
        Keys("{ctrl}{home}{ctrl}{shift}{end}{delete}one\\ntwo{tab}{shift}a{shift}Bc a{b").result,
        0);
    EXPECT_EQ(EditText(), "one\r\ntwo\tAbc a{b");
}

TEST_F(KeysMouseTest, SpecialKeysAndModifiersArriveAsSingleKeyEvents) {
    ASSERT_EQ(Keys("{f12}{f1}{CTRL}{ALT}{delete}").result, 0);
    // The left-hand modifiers reach the window as Ctrl and Alt, released Ctrl first.
    EXPECT_EQ(g_keyLog, "F12+ F12- F1+ F1- Ctrl+ Alt+ Delete+ Delete- Ctrl- Alt-");
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_EQ(GetKeyState(VK_MENU) & 0x8000, 0);
}

TEST_F(KeysMouseTest, CapsLockOnTypesLettersAsWritten) {
    ASSERT_EQ(Keys("{capslock}aB{shift}c1").result, 0);
    ASSERT_TRUE(GetKeyState(VK_CAPITAL) & 1) << "Caps Lock did not switch on";
    EXPECT_EQ(EditText(), "aBC1");
    g_keyLog.clear();
    ASSERT_EQ(Keys("a").result, 0);
    EXPECT_EQ(g_keyLog, "Shift+ A+ A- Shift-");  // Shift undoes Caps Lock for a lower-case a
}

TEST_F(KeysMouseTest, EmptyKeysStillWaitTheSettlingPause) {
    ULONGLONG started = Now();
    ScriptRun run = Run("void main()\n{\n    SendKeys(\"\");\n}\n");
    EXPECT_EQ(run.result, 0);
    EXPECT_GE(run.endedAt - started, 100u);
    EXPECT_EQ(g_keyLog, "");
}

TEST_F(KeysMouseTest, CancelDuringALongPressReleasesTheModifiers) {
    g_cancelAfterLeft = 3;
    ScriptRun run = Keys("{ctrl}{shift}{left 100000}x");
    EXPECT_EQ(run.result, kErrCancelled);
    const std::string tail = " Ctrl- Shift-";
    ASSERT_GE(g_keyLog.size(), tail.size());
    EXPECT_EQ(g_keyLog.substr(g_keyLog.size() - tail.size()), tail) << g_keyLog;
    EXPECT_LT(g_keyLog.size(), 400u) << "the repeat count outlasted Cancel";
    EXPECT_EQ(GetAsyncKeyState(VK_LCONTROL) & 0x8000, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_LSHIFT) & 0x8000, 0);
}

TEST_F(KeysMouseTest, MouseClickPressesTheButtonUnderThePointer) {
    RECT rect;
    GetWindowRect(button_, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ScriptRun run = Run("int main()\n{\n    return MouseClick();\n}\n");
    Settle();
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(g_statusAtClick, "Click mouse...");
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0);

    // Away from the button the click lands elsewhere, and is still a click.
    SetCursorPos(rect.right + 100, rect.bottom + 30);
    EXPECT_EQ(Run("int main()\n{\n    return MouseClick();\n}\n").result, 1);
    Settle();
    EXPECT_EQ(g_clicks, 1);
}

}  // namespace

namespace {

// The target program in its own process: the click must travel through the system's input,
// not through this thread's queue. Its log names the button that received the click.
using TargetProgramTest = EngineTest;

TEST_F(TargetProgramTest, MouseClickOverAButtonOfTheTargetProgramClicksIt) {
    const std::string log = scratch_.File("target.log");
    StartedProcess target;
    ASSERT_TRUE(StartProcess(
        "\"" + BinaryDir() + "\\testapps\\vextarget.exe\" dialog /log \"" + log + "\" /life 60000",
        "", target));
    ASSERT_TRUE(WaitUntil(
        [&] { return ReadTextFile(log).find("ready dialog") != std::string::npos; }, 15000));
    HWND dialog = FindWindowA(nullptr, "Vexa Target Dialog");
    ASSERT_NE(dialog, nullptr);
    RECT apply;
    GetWindowRect(GetDlgItem(dialog, 1002), &apply);  // "&Apply"
    SetCursorPos((apply.left + apply.right) / 2, (apply.top + apply.bottom) / 2);

    EXPECT_EQ(Run("int main()\n{\n    return MouseClick();\n}\n").result, 1);
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadTextFile(log).find("click 1002 own") != std::string::npos; }, 5000))
        << ReadTextFile(log);

    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1099, BN_CLICKED), 0);  // "Close"
    if (WaitExit(target, 10000) == -1000) TerminateProcess(target.process, 1);
}

}  // namespace
