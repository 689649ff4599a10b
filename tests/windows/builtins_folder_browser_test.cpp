// BrowseForFolder: the platform's folder browser owned by the running-script window, with the
// script's title (or "Choose a folder"); OK gives the chosen folder, Cancel the empty string.
#include <gtest/gtest.h>
#include <ole2.h>

#include "dialog_catcher.h"
#include "support/engine_library.h"
#include "support/script_literal.h"

namespace {

class FolderBrowserTest : public EngineTest {
protected:
    // The component model is the host's to initialise, as the editor and vexrun do.
    void SetUp() override {
        EngineTest::SetUp();
        OleInitialize(nullptr);
    }
    void TearDown() override {
        OleUninitialize();
        EngineTest::TearDown();
    }
    std::string Browse(const std::string& arguments, int answer, std::vector<CaughtDialog>& seen) {
        DialogCatcher catcher([answer](const CaughtDialog& dialog) {
            return dialog.caption == "Browse for Folder" ? answer : 0;
        });
        std::string chosen = scratch_.File("chosen.txt");
        ScriptRun run = Run("int main()\n{\n    AppendFileString(" + ScriptLiteral(chosen) +
                            ", BrowseForFolder(" + arguments + "));\n    return 0;\n}\n");
        seen = catcher.caught();
        std::string text = run.result == 0 ? ReadTextFile(chosen) : "(run failed)";
        DeleteFileA(chosen.c_str());
        return text;
    }
};

TEST_F(FolderBrowserTest, OkGivesAFolderCancelGivesEmpty) {
    std::vector<CaughtDialog> seen;
    std::string root = scratch_.path();
    std::string chosen = Browse(ScriptLiteral(root) + ", \"Pick the scratch folder\"", IDOK, seen);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].processId, GetCurrentProcessId());
    EXPECT_EQ(seen[0].text, "Pick the scratch folder");
    DWORD attributes = GetFileAttributesA(chosen.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << chosen;

    EXPECT_EQ(Browse(ScriptLiteral(root), IDCANCEL, seen), "");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Choose a folder");
    EXPECT_EQ(Browse("\"\", \"\"", IDCANCEL, seen), "");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Choose a folder");
}

}  // namespace
