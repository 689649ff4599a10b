// The tools inside the real vexedit.exe: at start-up the tray launcher starts and the tip of
// the day shows; Tools commands open their dialogs; closing the only editor ends the launcher.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "editor_tools_resource.h"
#include "launcher_control.h"
#include "launcher_menu_file.h"
#include "support/test_support.h"
#include "tips.h"
#include "tool_settings.h"
#include "tool_test_support.h"
#include "update_check.h"

namespace {

constexpr int kWindowFinderCommand = 32778;  // Tools > Window Information Finder...
constexpr int kTipOfTheDayCommand = 32782;   // Help > Tip of the Day...

HWND EditorFrame(DWORD pid) {
    HWND frame = nullptr;
    while ((frame = FindWindowExA(nullptr, frame, kEditorWindowClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(frame, &owner);
        if (owner == pid) return frame;
    }
    return nullptr;
}

// Dialogs of the editor's process with `caption` that the catcher left open.
HWND OpenDialog(const DialogCatcher& catcher, const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (const CaughtDialog& d : catcher.caught())
            if (d.caption == caption && IsWindow(d.hwnd) && IsWindowVisible(d.hwnd)) found = d.hwnd;
        return found != nullptr;
    });
    return found;
}

TEST(EditorTools, EditorStartsTheLauncherShowsTheTipAndClosesTheLauncherWhenItCloses) {
    SettingsGuard guard(
        {"RunLauncher", "ShowTipOfTheDay", "TipOfTheDay", "LastCheckForUpdate", "DontShowUpdate"});
    RunValueGuard runValue;
    ToolSettings& settings = RegistryToolSettings();
    settings.WriteString("LastCheckForUpdate", TodayText());  // no update fetch in this test
    ScratchDir dir;
    for (const char* file : {"vexedit.exe", "vexeng.dll", "launcher.exe"})
        ASSERT_TRUE(CopyInto(BinaryDir() + "\\" + file, dir.path()));
    LauncherHost host{dir.path() + "\\", dir.File("vexedit.exe"), dir.path()};

    StartedProcess editor;
    ASSERT_TRUE(StartProcess("\"" + dir.File("vexedit.exe") + "\"", dir.path(), editor));
    DialogCatcher catcher(
        [](const CaughtDialog& d) {
            return d.caption == "Tip of the Day" || d.caption == "Window Information Finder"
                       ? 0
                       : AnswerDefault(d);
        },
        editor.id);

    HWND launcher = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (launcher = FindLauncherWindow(host)) != nullptr; }, 20000));
    DWORD launcherPid = 0;
    GetWindowThreadProcessId(launcher, &launcherPid);
    HANDLE launcherProcess = OpenProcess(SYNCHRONIZE, FALSE, launcherPid);

    HWND tip = OpenDialog(catcher, "Tip of the Day");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ControlText(tip, IDC_TIP_AREA), std::string("Welcome\n") + kTips[0]);
    PostMessageA(tip, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return settings.ReadInt("TipOfTheDay", -1) == 1; }));

    HWND frame = EditorFrame(editor.id);
    ASSERT_NE(frame, nullptr);
    PostMessageA(frame, WM_COMMAND, kWindowFinderCommand, 0);
    HWND finder = OpenDialog(catcher, "Window Information Finder");
    ASSERT_NE(finder, nullptr);
    PostMessageA(finder, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(finder); }));

    // The dialog is found as soon as it exists: its text is read once it is shown, which is
    // after it has been filled in.
    PostMessageA(frame, WM_COMMAND, kTipOfTheDayCommand, 0);
    HWND again = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        again = FindWindowA("#32770", "Tip of the Day");
        return again && IsWindowVisible(again);
    }));
    EXPECT_EQ(ControlText(again, IDC_TIP_AREA), std::string("Did you know...\n") + kTips[1]);
    PostMessageA(again, WM_COMMAND, IDCANCEL, 0);

    // The only editor closes and the launcher is not registered with Windows: it ends too.
    WaitUntil([&] { return FindWindowA("#32770", "Tip of the Day") == nullptr; });
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitExit(editor, 15000), 0);
    ASSERT_NE(launcherProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(launcherProcess, 15000), WAIT_OBJECT_0);
    CloseHandle(launcherProcess);
}

}  // namespace
