// setup.exe under Wine: starts "Vltrix /install" without waiting, or shows one error box.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "support/test_support.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(SetupStub, StartsInstallerAndExitsAtOnceWithoutItsHandles) {
    ScratchDir dir;
    ASSERT_TRUE(CopyInto(BinaryDir() + "\\setup.exe", dir.path()));
    ASSERT_TRUE(CopyInto(TestProgramsDir() + "\\Vltrix.exe", dir.path()));

    DialogCatcher catcher(AnswerDefault, static_cast<DWORD>(-1));
    StartedProcess setup;
    // Arguments given to the stub are ignored.
    ASSERT_TRUE(StartProcess("\"" + dir.File("setup.exe") + "\" /uninstall extra words", dir.path(),
                             setup));
    EXPECT_EQ(WaitExit(setup, 10000), 0);

    // The installer was started with the constant command line and is still running:
    // the stub did not wait for it.
    std::string recorded;
    for (int i = 0; i < 200 && recorded.empty(); ++i) {
        recorded = ReadTextFile(dir.File("vltrix_cmdline.txt"));
        if (recorded.empty()) Sleep(20);
    }
    EXPECT_TRUE(EndsWith(recorded, "/install")) << recorded;
    EXPECT_EQ(recorded.find("uninstall"), std::string::npos) << recorded;
    EXPECT_TRUE(ReadTextFile(dir.File("vltrix_done.txt")).empty())
        << "setup waited for the installer";
    EXPECT_EQ(catcher.count(), 0u);

    // Let the installer finish before the folder goes away.
    for (int i = 0; i < 300 && ReadTextFile(dir.File("vltrix_done.txt")).empty(); ++i) Sleep(20);
}

TEST(SetupStub, MissingInstallerShowsExactlyOneErrorBoxAndExitsZero) {
    ScratchDir dir;
    ASSERT_TRUE(CopyInto(BinaryDir() + "\\setup.exe", dir.path()));

    DialogCatcher catcher(AnswerDefault, static_cast<DWORD>(-1));
    StartedProcess setup;
    ASSERT_TRUE(StartProcess("\"" + dir.File("setup.exe") + "\"", dir.path(), setup));
    EXPECT_EQ(WaitExit(setup, 15000), 0);
    Sleep(200);  // a second box, if any, would show up now

    std::vector<CaughtDialog> boxes = catcher.caught();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].processId, setup.id);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Unable to run \"Vltrix /install\".");
    EXPECT_EQ(boxes[0].icon, MB_ICONEXCLAMATION);
    ASSERT_EQ(boxes[0].buttonIds.size(), 1u);
    EXPECT_EQ(boxes[0].buttonIds[0], IDOK);
}

}  // namespace
