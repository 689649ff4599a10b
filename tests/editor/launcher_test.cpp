// The real launcher.exe: started by the editor's start routine, told to re-read its menu
// (message 1034), closed with the last editor; and the launch routine's error text.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "launcher_control.h"
#include "launcher_menu_file.h"
#include "program_launch.h"
#include "support/test_support.h"
#include "tool_test_support.h"

namespace {

constexpr UINT kFirstEntryCommand = 1000;  // the launcher's command for menu entry 0

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(Launcher, StartedToldToReloadAndClosedWithTheLastEditor) {
    RunValueGuard runValue;
    ScratchDir dir;
    CopyInto(BinaryDir() + "\\launcher.exe", dir.path());
    // The launcher runs scripts through "vexedit.exe /r"; this one records its command line.
    CopyFileA((TestProgramsDir() + "\\FakeEditor.exe").c_str(), dir.File("vexedit.exe").c_str(),
              FALSE);
    LauncherHost host{dir.path() + "\\", dir.File("vexedit.exe"), dir.path()};
    auto recorded = [&] { return ReadTextFile(dir.File("editor_cmdline.txt")); };
    std::string a = dir.File("a.vxs"), b = dir.File("b.vxs");

    // A damaged menu keeps no header of its own: the start routine writes a sound one.
    ASSERT_TRUE(WriteTextFile(MenuFilePath(host), "VEXL\x05"));
    StartLauncher(host);
    HWND launcher = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (launcher = FindLauncherWindow(host)) != nullptr; }));
    EXPECT_EQ(LauncherWindowTitle(host), "Vexa Launcher " + host.folder + "Vexa Script.mnu");
    DWORD pid = 0;
    GetWindowThreadProcessId(launcher, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    LauncherConfig menu;
    ASSERT_TRUE(LoadMenuFile(MenuFilePath(host), menu));
    EXPECT_EQ(menu.launcherName, "Vexa Script Launcher");
    EXPECT_EQ(menu.editorProgram, host.editorProgram);
    EXPECT_EQ(menu.startDirectory, host.startDirectory);

    // An entry is unknown until the launcher is told to re-read the file; then it runs.
    menu.entries = {{"First", a, 1}, {"Second", b, 1}};
    ASSERT_TRUE(SaveMenuFile(MenuFilePath(host), menu));
    SendMessageA(launcher, WM_COMMAND, kFirstEntryCommand + 1, 0);
    NotifyLauncher(host);
    SendMessageA(launcher, WM_COMMAND, kFirstEntryCommand + 1, 0);
    ASSERT_TRUE(WaitUntil([&] { return Lines(recorded()) == 1; }));
    EXPECT_NE(recorded().find("vexedit.exe\" /r \"" + b + "\""), std::string::npos) << recorded();

    // Starting again while it runs only reloads: still one launcher.
    StartLauncher(host);
    EXPECT_EQ(FindLauncherWindow(host), launcher);
    {
        TestMainWindow editor(kEditorWindowClass);  // another editor is open: it stays
        CloseLauncherIfLastEditor(host);
        EXPECT_EQ(WaitForSingleObject(process, 300), WAIT_TIMEOUT);
    }
    SetLauncherStartsWithWindows(true, host);  // registered for Windows start-up: it stays
    CloseLauncherIfLastEditor(host);
    EXPECT_EQ(WaitForSingleObject(process, 300), WAIT_TIMEOUT);
    SetLauncherStartsWithWindows(false, host);
    CloseLauncherIfLastEditor(host);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);

    // Without launcher.exe beside the editor nothing starts and no menu file is written.
    ScratchDir empty;
    StartLauncher({empty.path() + "\\", "e.exe", "s"});
    EXPECT_EQ(GetFileAttributesA(empty.File(kMenuFileName).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(LaunchRoutine, ReportsShellErrorsWithTheirReason) {
    EXPECT_EQ(ShellErrorReason(42), "ShellExecute error number 42.");
    ScratchDir dir;
    DialogCatcher catcher;
    std::string missing = dir.File("nothing-here.vxs");
    EXPECT_FALSE(LaunchProgram(missing));
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    EXPECT_EQ(catcher.caught()[0].text,
              "Unable to execute " + missing + "\nThe specified file was not found.");
    EXPECT_EQ(catcher.caught()[0].icon, MB_ICONEXCLAMATION);
}

}  // namespace
