// The Internet built-ins that a user drives while they run: Cancel during a long transfer, and
// the "FTP Open" dialog. The engine runs in this process; a second thread acts as the user.
// The servers come from tests/internet/run_internet.py through the environment.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "runtime_windows/resource.h"
#include "support/engine_library.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names shown in the dialog's list, in order.
std::vector<std::string> ListNames(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FTP_LIST);
    std::vector<std::string> names;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[260] = "";
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        names.push_back(text);
    }
    return names;
}

void SelectListItem(HWND dialog, int index) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(GetDlgItem(dialog, IDC_FTP_LIST), LVM_SETITEMSTATE, index,
                 reinterpret_cast<LPARAM>(&state));
}

class InternetTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_FALSE(Env("VEXTEST_FTP").empty()) << "run through tests/internet/run_internet.py";
    }

    // An FTP folder "browse" with a sub-folder "docs" holding readme.txt, and top.txt.
    void MakeBrowseFolder() {
        std::string root = Env("VEXTEST_FTP_ROOT") + "\\browse";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "\\docs").c_str(), nullptr);
        ASSERT_TRUE(WriteTextFile(root + "\\docs\\readme.txt", "read me"));
        ASSERT_TRUE(WriteTextFile(root + "\\top.txt", "top"));
    }

    // The dialog once its folder is listed ("Done"); null after `timeoutMs`.
    static HWND WaitForListedDialog(DWORD timeoutMs = 20000) {
        HWND dialog = nullptr;
        WaitUntil(
            [&] {
                dialog = FindOwnDialog("FTP Open");
                return dialog && IsWindowVisible(dialog) &&
                       ControlText(dialog, IDC_FTP_STATUS) == "Done";
            },
            timeoutMs);
        return dialog && ControlText(dialog, IDC_FTP_STATUS) == "Done" ? dialog : nullptr;
    }

    std::string OpenDialogScript() const {
        return "int main() { AppendFileString(\"picked.txt\", \"[\" + FtpGetOpenFileName(\"" +
               Env("VEXTEST_FTP") + "\", \"\", \"\", \"browse\") + \"]\"); return 7; }";
    }
};

TEST_F(InternetTest, CancelDuringALongDownloadWaitsForTheWorkerAndKeepsTheOldFile) {
    ASSERT_TRUE(WriteTextFile(scratch_.File("slow.bin"), "old"));
    const std::string transferText = "DownloadUrl: " + Env("VEXTEST_HTTP") + "/slow";
    bool transferring = false;
    std::string waiting;
    std::thread user([&] {
        transferring = WaitUntil(
            [&] {
                HWND running = FindRunningWindow();
                return running && ControlText(running, 1000) == transferText;
            },
            20000);
        ClickButton(FindRunningWindow(), IDCANCEL);
        waiting = WaitForStatus("Waiting to cancel...", 10000);
    });
    ScriptRun run = Run("int main() { int r = 5; r = DownloadUrl(\"" + Env("VEXTEST_HTTP") +
                        "/slow\", \"slow.bin\"); return r; }");
    user.join();
    EXPECT_TRUE(transferring) << "the status of the transfer was never shown";
    EXPECT_EQ(waiting, "Waiting to cancel...");
    EXPECT_EQ(run.result, -19);
    EXPECT_EQ(ReadTextFile(scratch_.File("slow.bin")), "old");
    // The worker cleaned up before the run ended.
    EXPECT_FALSE(FileExists(scratch_.File("vexadownloadurl0.tmp")));
}

TEST_F(InternetTest, FtpOpenDialogOpensAFolderAndPicksAFile) {
    MakeBrowseFolder();
    std::vector<std::string> first, second;
    std::string url;
    std::thread user([&] {
        HWND dialog = WaitForListedDialog();
        if (!dialog) return;
        first = ListNames(dialog);
        // A folder's name typed and opened lists that folder.
        SetDlgItemTextA(dialog, IDC_FTP_FILE_NAME, "docs");
        ClickButton(dialog, IDOK);
        WaitUntil(
            [&] {
                return ListNames(dialog) == std::vector<std::string>{"..", "readme.txt"} &&
                       ControlText(dialog, IDC_FTP_STATUS) == "Done";
            },
            20000);
        second = ListNames(dialog);
        // Selecting a file puts its name in the field; Open ends the dialog with OK.
        SelectListItem(dialog, 1);
        WaitUntil([&] { return ControlText(dialog, IDC_FTP_FILE_NAME) == "readme.txt"; }, 5000);
        url = ControlText(dialog, IDC_FTP_URL);
        ClickButton(dialog, IDOK);
    });
    ScriptRun run = Run(OpenDialogScript());
    user.join();
    EXPECT_EQ(run.result, 7);
    EXPECT_EQ(first, (std::vector<std::string>{"..", "docs", "top.txt"}));
    EXPECT_EQ(second, (std::vector<std::string>{"..", "readme.txt"}));
    std::string expected = Env("VEXTEST_FTP") + "/browse/docs/readme.txt";
    EXPECT_EQ(url, expected);
    EXPECT_EQ(ReadTextFile(scratch_.File("picked.txt")), "[" + expected + "]");
}

TEST_F(InternetTest, FtpOpenDialogCancelGivesAnEmptyNameAndTheScriptGoesOn) {
    MakeBrowseFolder();
    std::thread user([&] {
        HWND dialog = WaitForListedDialog();
        if (dialog) ClickButton(dialog, IDCANCEL);
    });
    ScriptRun run = Run(OpenDialogScript());
    user.join();
    EXPECT_EQ(run.result, 7);
    EXPECT_EQ(ReadTextFile(scratch_.File("picked.txt")), "[]");
}

TEST_F(InternetTest, FtpOpenDialogEndsTheRunWhenTheRunningWindowIsCancelled) {
    MakeBrowseFolder();
    std::thread user([&] {
        if (WaitForListedDialog()) ClickButton(FindRunningWindow(), IDCANCEL);
    });
    ScriptRun run = Run(OpenDialogScript());
    user.join();
    EXPECT_EQ(run.result, -19);
    EXPECT_FALSE(FileExists(scratch_.File("picked.txt")));
    EXPECT_EQ(FindOwnDialog("FTP Open"), nullptr);
}

}  // namespace
