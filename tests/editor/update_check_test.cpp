// The update check against a local HTTP server: once a day, the notice and its answers, "file="
// redirection, and documents or failures that must show nothing.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "local_http_server.h"
#include "support/test_support.h"
#include "tool_settings.h"
#include "tool_test_support.h"
#include "update_check.h"

namespace {

constexpr char kVersion[] = "1.63 Beta 2";
constexpr char kDocument[] = "/updates/Vexa_Script1_63_Beta_2.txt";
const std::string kQuestion =
    "\n\nDo you want to download the update now?\n\nChoose Cancel to not show this message again.";

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override { settings_.WriteString("UpdateLocation", server_.Url("/updates/")); }

    // One check on this thread until its documents arrived and its notice was answered.
    bool Check(int answer, const std::string& lastCheck = "another day") {
        settings_.WriteString("LastCheckForUpdate", lastCheck);
        DialogCatcher catcher([&](const CaughtDialog& box) {
            notices_.push_back(box.text);
            return answer;
        });
        CUpdateCheck check(settings_, kVersion);
        bool started = check.Start(main_.get());
        EXPECT_TRUE(WaitUntil([&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            return !check.Busy();
        }));
        return started;
    }
    std::string Setting(const char* entry) { return settings_.ReadString(entry, "<none>"); }

    SettingsGuard guard_{{"LastCheckForUpdate", "DontShowUpdate", "UpdateLocation"}};
    ToolSettings& settings_ = RegistryToolSettings();
    LocalHttpServer server_;
    TestMainWindow main_;
    std::vector<std::string> notices_;
};

TEST_F(UpdateCheck, NoticeAnswersAndOncePerDay) {
    ScratchDir dir;
    CopyInto(TestProgramsDir() + "\\FakeEditor.exe", dir.path());
    std::string download = "\"" + dir.File("FakeEditor.exe") + "\" download";
    server_.Serve(kDocument, "url=" + download + "\r\ntext=Vexa Script 2.00 is out.");

    ASSERT_TRUE(Check(IDYES));  // Yes opens the download address with the launch routine
    EXPECT_EQ(notices_, std::vector<std::string>{"Vexa Script 2.00 is out." + kQuestion});
    EXPECT_EQ(Setting("LastCheckForUpdate"), TodayText());
    EXPECT_TRUE(WaitUntil([&] { return !ReadTextFile(dir.File("editor_cmdline.txt")).empty(); }));
    EXPECT_FALSE(Check(IDYES, TodayText()));  // the same day asks the server nothing
    ASSERT_TRUE(Check(IDNO));
    EXPECT_EQ(Setting("DontShowUpdate"), "<none>");
    ASSERT_TRUE(Check(IDCANCEL));
    EXPECT_EQ(Setting("DontShowUpdate"), kVersion);
    EXPECT_FALSE(Check(IDYES));  // silenced for this version, whatever the day
    EXPECT_EQ(server_.Requests().size(), 3u);
    EXPECT_EQ(notices_.size(), 3u);
}

TEST_F(UpdateCheck, FileRedirectionNeedsAValueAndTextNeedsAUrl) {
    server_.Serve(kDocument, "file=" + server_.Url("/moved/news.txt") + "\r\n");
    server_.Serve("/moved/news.txt", "url=http://127.0.0.1:1/dl\r\ntext=Moved notice.");
    ASSERT_TRUE(Check(IDNO));
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{kDocument, "/moved/news.txt"}));
    EXPECT_EQ(notices_, std::vector<std::string>{"Moved notice." + kQuestion});

    // "file=" followed directly by the line end is no redirection.
    server_.Serve(kDocument, "file=\r\nurl=http://127.0.0.1:1/dl?context=1\r\ntext=Here.");
    ASSERT_TRUE(Check(IDNO));
    EXPECT_EQ(server_.Requests().size(), 3u);
    EXPECT_EQ(notices_.back(), "Here." + kQuestion);

    // "text=" without "url=": received, so the date is written, but nothing shown.
    server_.Serve(kDocument, "text=No address here.");
    ASSERT_TRUE(Check(IDYES));
    EXPECT_EQ(notices_.size(), 2u);
    EXPECT_EQ(Setting("LastCheckForUpdate"), TodayText());
    // "url=" ends only at a carriage return and line feed: a bare line feed leaves it open.
    server_.Serve(kDocument, "url=http://127.0.0.1:1/dl\ntext=Bare line feed.");
    ASSERT_TRUE(Check(IDYES));
    EXPECT_EQ(notices_.size(), 2u);

    // A missing document is no document: the date stays, so the next start tries again.
    settings_.WriteString("UpdateLocation", server_.Url("/nowhere/"));
    ASSERT_TRUE(Check(IDYES));
    EXPECT_EQ(notices_.size(), 2u);
    EXPECT_EQ(Setting("LastCheckForUpdate"), "another day");
}

TEST_F(UpdateCheck, StartsOnTheFirstRestoredOrMaximisedSizeOnly) {
    server_.Serve(kDocument, "text=x");
    CUpdateCheck check(settings_, kVersion);
    check.OnMainWindowSize(main_.get(), SIZE_MINIMIZED);
    EXPECT_FALSE(check.Busy());
    check.OnMainWindowSize(main_.get(), SIZE_MAXIMIZED);
    EXPECT_TRUE(check.Busy());
    EXPECT_TRUE(WaitUntil([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        return !check.Busy();
    }));
    settings_.WriteString("LastCheckForUpdate", "another day");
    check.OnMainWindowSize(main_.get(), SIZE_RESTORED);
    EXPECT_FALSE(check.Busy());
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(UpdateDocumentName("1.63"), "Vexa_Script1_63");
}

}  // namespace
