// The tray launcher against the real launcher.exe: started by the editor's start routine,
// told to re-read its menu (message 1034), closed with the last editor; and the launch routine.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "launcher_control.h"
#include "launcher_menu_file.h"
#include "program_launch.h"
#include "support/test_support.h"
#include "tool_test_support.h"

namespace {

constexpr UINT kFirstEntryCommand = 1000;  // the launcher's command for menu entry 0

size_t LineCount(const std::string& text) {
    size_t n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

struct LauncherFolder {
    ScratchDir dir;
    LauncherHost host;
    LauncherFolder() {
        CopyInto(BinaryDir() + "\\launcher.exe", dir.path());
        // The launcher runs scripts through "vexedit.exe /r"; this one records its command line.
        CopyFileA((TestProgramsDir() + "\\FakeEditor.exe").c_str(), dir.File("vexedit.exe").c_str(),
                  FALSE);
        host = {dir.path() + "\\", dir.File("vexedit.exe"), dir.path()};
    }
    std::string Recorded() const { return ReadTextFile(dir.File("editor_cmdline.txt")); }
};

HANDLE OpenLauncherProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return OpenProcess(SYNCHRONIZE, FALSE, pid);
}

TEST(Launcher, StartedToldToReloadAndClosedWithTheLastEditor) {
    RunValueGuard runValue;
    LauncherFolder folder;
    const LauncherHost& host = folder.host;
    std::string a = folder.dir.File("a.vxs"), b = folder.dir.File("b.vxs");

    // An existing menu keeps its entries; the start routine rewrites the header for this editor.
    LauncherConfig config;
    SetEditorHeader(config, "C:\\old\\vexedit.exe", "VexaScript", "C:\\old");
    config.entries = {{"First", a, 1}};
    ASSERT_TRUE(SaveMenuFile(MenuFilePath(host), config));
    StartLauncher(host);
    HWND launcher = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (launcher = FindLauncherWindow(host)) != nullptr; }))
        << "no window titled " << LauncherWindowTitle(host);
    EXPECT_EQ(LauncherWindowTitle(host), "Vexa Launcher " + host.folder + "Vexa Script.mnu");
    HANDLE process = OpenLauncherProcess(launcher);
    ASSERT_NE(process, nullptr);

    LauncherConfig written;
    ASSERT_TRUE(LoadMenuFile(MenuFilePath(host), written));
    EXPECT_EQ(written.editorProgram, host.editorProgram);
    EXPECT_EQ(written.editorWindowClass, "");
    EXPECT_EQ(written.startDirectory, host.startDirectory);
    ASSERT_EQ(written.entries.size(), 1u);
    EXPECT_EQ(written.entries[0].name, "First");

    // Choosing an entry runs it through the editor's run mode.
    PostMessageA(launcher, WM_COMMAND, kFirstEntryCommand, 0);
    ASSERT_TRUE(WaitUntil([&] { return LineCount(folder.Recorded()) == 1; }));
    EXPECT_NE(folder.Recorded().find("vexedit.exe\" /r \"" + a + "\""), std::string::npos)
        << folder.Recorded();

    // A second entry is unknown until the launcher is told to re-read the file.
    written.entries.push_back({"Second", b, 1});
    ASSERT_TRUE(SaveMenuFile(MenuFilePath(host), written));
    PostMessageA(launcher, WM_COMMAND, kFirstEntryCommand + 1, 0);
    PostMessageA(launcher, WM_COMMAND, kFirstEntryCommand, 0);
    ASSERT_TRUE(WaitUntil([&] { return LineCount(folder.Recorded()) == 2; }));
    EXPECT_EQ(folder.Recorded().find(b), std::string::npos) << folder.Recorded();
    NotifyLauncher(host);
    PostMessageA(launcher, WM_COMMAND, kFirstEntryCommand + 1, 0);
    ASSERT_TRUE(WaitUntil([&] { return LineCount(folder.Recorded()) == 3; }));
    EXPECT_NE(folder.Recorded().find("/r \"" + b + "\""), std::string::npos) << folder.Recorded();

    // Starting again while it runs only reloads: still one launcher.
    StartLauncher(host);
    EXPECT_EQ(FindLauncherWindow(host), launcher);

    // Another editor is open: the launcher stays.
    {
        TestMainWindow editor(kEditorWindowClass);
        ASSERT_NE(editor.get(), nullptr);
        CloseLauncherIfLastEditor(host);
        EXPECT_EQ(WaitForSingleObject(process, 300), WAIT_TIMEOUT);
    }
    // Registered for Windows start-up: it stays after the last editor too.
    SetLauncherStartsWithWindows(true, host);
    EXPECT_TRUE(LauncherStartsWithWindows());
    CloseLauncherIfLastEditor(host);
    EXPECT_EQ(WaitForSingleObject(process, 300), WAIT_TIMEOUT);
    // Not registered and no editor left: the launcher ends.
    SetLauncherStartsWithWindows(false, host);
    EXPECT_FALSE(LauncherStartsWithWindows());
    CloseLauncherIfLastEditor(host);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
}

TEST(Launcher, NotStartedWithoutLauncherProgramAndRewritesDamagedMenu) {
    ScratchDir dir;
    LauncherHost host{dir.path() + "\\", dir.File("vexedit.exe"), "C:\\start"};
    StartLauncher(host);
    EXPECT_EQ(GetFileAttributesA(MenuFilePath(host).c_str()), INVALID_FILE_ATTRIBUTES);

    // A damaged menu file gets a sound header; the launcher starts on it.
    LauncherFolder folder;
    ASSERT_TRUE(WriteTextFile(MenuFilePath(folder.host), "VEXL\x05"));
    StartLauncher(folder.host);
    HWND launcher = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (launcher = FindLauncherWindow(folder.host)) != nullptr; }));
    LauncherConfig written;
    EXPECT_TRUE(LoadMenuFile(MenuFilePath(folder.host), written));
    EXPECT_EQ(written.launcherName, "Vexa Script Launcher");
    EXPECT_EQ(written.headerValue, 1);
    EXPECT_EQ(written.flagB, 1);
    EXPECT_TRUE(written.entries.empty());
    HANDLE process = OpenLauncherProcess(launcher);
    SendMessageA(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
}

TEST(LaunchRoutine, ReportsShellErrorsWithTheirReason) {
    EXPECT_EQ(ShellErrorReason(2), "The specified file was not found.");
    EXPECT_EQ(ShellErrorReason(31),
              "There is no application associated with the given filename extension.");
    EXPECT_EQ(ShellErrorReason(42), "ShellExecute error number 42.");

    ScratchDir dir;
    DialogCatcher catcher;
    std::string missing = dir.File("nothing-here.vxs");
    EXPECT_FALSE(LaunchProgram(missing));
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    CaughtDialog box = catcher.caught()[0];
    EXPECT_EQ(box.caption, "Vexa Script");
    EXPECT_EQ(box.text, "Unable to execute " + missing + "\nThe specified file was not found.");
    EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);

    // A program starts directly.
    CopyInto(TestProgramsDir() + "\\FakeEditor.exe", dir.path());
    EXPECT_TRUE(LaunchProgram("\"" + dir.File("FakeEditor.exe") + "\" /x"));
    EXPECT_TRUE(WaitUntil([&] { return !ReadTextFile(dir.File("editor_cmdline.txt")).empty(); }));
    EXPECT_EQ(catcher.count(), 1u);
}

}  // namespace
