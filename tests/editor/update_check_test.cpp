// The update check against a local HTTP server: once a day, the notice and its three answers,
// "file=" redirection, and documents that must show nothing.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "local_http_server.h"
#include "support/test_support.h"
#include "tool_settings.h"
#include "tool_test_support.h"
#include "update_check.h"

namespace {

constexpr char kVersion[] = "1.63 Beta 2";
constexpr char kDocumentPath[] = "/updates/Vexa_Script1_63_Beta_2.txt";
const std::string kQuestion =
    "\n\nDo you want to download the update now?\n\nChoose Cancel to not show this message again.";

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override { settings_.WriteString("UpdateLocation", server_.Url("/updates/")); }

    // Runs one check on this thread until its documents arrived and its notice was answered.
    bool RunCheck(int answer) {
        DialogCatcher catcher([&](const CaughtDialog& box) {
            notices_.push_back(box);
            return answer;
        });
        CUpdateCheck check(settings_, kVersion);
        bool started = check.Start(main_.get());
        bool done = WaitUntil([&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            return !check.Busy();
        });
        EXPECT_TRUE(done) << "the check did not finish";
        return started;
    }
    std::string LastCheck() { return settings_.ReadString("LastCheckForUpdate", "<none>"); }

    SettingsGuard guard_{{"LastCheckForUpdate", "DontShowUpdate", "UpdateLocation"}};
    ToolSettings& settings_ = RegistryToolSettings();
    LocalHttpServer server_;
    TestMainWindow main_;
    std::vector<CaughtDialog> notices_;
};

TEST(UpdateDocument, NamesAndKeys) {
    EXPECT_EQ(UpdateDocumentName("1.63"), "Vexa_Script1_63");
    EXPECT_EQ(UpdateDocumentName(kVersion), "Vexa_Script1_63_Beta_2");

    UpdateDocument doc =
        ParseUpdateDocument("url=http://x/dl?context=1\r\ntext=Version 2 is out.\r\nSecond line.");
    EXPECT_TRUE(doc.hasUrl);
    EXPECT_EQ(doc.url, "http://x/dl?context=1");
    EXPECT_TRUE(doc.hasText);
    EXPECT_EQ(doc.text, "Version 2 is out.\r\nSecond line.");
    EXPECT_EQ(doc.redirect, "");

    EXPECT_EQ(ParseUpdateDocument("file=\r\ntext=a").redirect, "");
    EXPECT_EQ(ParseUpdateDocument("file=http://h/b.txt").redirect, "http://h/b.txt");
    EXPECT_FALSE(ParseUpdateDocument("text=a\r\nurl=http://h/no-line-end").hasUrl);
}

TEST_F(UpdateCheck, NoticeYesOpensTheDownloadAndTheSameDayFetchesNothing) {
    ScratchDir dir;
    CopyInto(TestProgramsDir() + "\\FakeEditor.exe", dir.path());
    std::string download = "\"" + dir.File("FakeEditor.exe") + "\" download";
    server_.Serve(kDocumentPath, "url=" + download + "\r\ntext=Vexa Script 2.00 is out.");

    ASSERT_TRUE(RunCheck(IDYES));
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0].text, "Vexa Script 2.00 is out." + kQuestion);
    EXPECT_EQ(notices_[0].caption, "Vexa Script");
    EXPECT_EQ(notices_[0].icon, MB_ICONQUESTION);
    EXPECT_EQ(notices_[0].buttonIds.size(), 3u);
    EXPECT_EQ(LastCheck(), TodayText());
    EXPECT_TRUE(WaitUntil([&] { return !ReadTextFile(dir.File("editor_cmdline.txt")).empty(); }));
    EXPECT_EQ(settings_.ReadString("DontShowUpdate", "<none>"), "<none>");

    // A second start on the same day asks the server nothing.
    EXPECT_FALSE(RunCheck(IDYES));
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(notices_.size(), 1u);
}

TEST_F(UpdateCheck, CancelSilencesThisVersionNoAsksAgainAnotherDay) {
    server_.Serve(kDocumentPath, "url=http://127.0.0.1:1/dl\r\ntext=New version.");
    ASSERT_TRUE(RunCheck(IDNO));
    EXPECT_EQ(notices_.size(), 1u);
    EXPECT_EQ(settings_.ReadString("DontShowUpdate", "<none>"), "<none>");

    settings_.WriteString("LastCheckForUpdate", "another day");
    ASSERT_TRUE(RunCheck(IDCANCEL));
    EXPECT_EQ(notices_.size(), 2u);
    EXPECT_EQ(settings_.ReadString("DontShowUpdate", ""), kVersion);

    // Silenced for this version, whatever the day.
    settings_.WriteString("LastCheckForUpdate", "another day");
    EXPECT_FALSE(RunCheck(IDYES));
    EXPECT_EQ(server_.Requests().size(), 2u);
    EXPECT_EQ(notices_.size(), 2u);
}

TEST_F(UpdateCheck, FileRedirectionIsFollowedOnlyWithAValue) {
    server_.Serve(kDocumentPath, "file=" + server_.Url("/moved/news.txt") + "\r\n");
    server_.Serve("/moved/news.txt", "url=http://127.0.0.1:1/dl\r\ntext=Moved notice.");
    ASSERT_TRUE(RunCheck(IDNO));
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{kDocumentPath, "/moved/news.txt"}));
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0].text, "Moved notice." + kQuestion);

    // "file=" followed directly by the line end is no redirection.
    settings_.WriteString("LastCheckForUpdate", "another day");
    server_.Serve(kDocumentPath, "file=\r\nurl=http://127.0.0.1:1/dl\r\ntext=Here.");
    ASSERT_TRUE(RunCheck(IDNO));
    EXPECT_EQ(server_.Requests().size(), 3u);
    ASSERT_EQ(notices_.size(), 2u);
    EXPECT_EQ(notices_[1].text, "Here." + kQuestion);
}

TEST_F(UpdateCheck, DocumentsWithoutNoticeAndFailedFetchesShowNothing) {
    // "text=" without "url=": received (the date is written) but nothing shown.
    server_.Serve(kDocumentPath, "text=No address here.");
    ASSERT_TRUE(RunCheck(IDYES));
    EXPECT_TRUE(notices_.empty());
    EXPECT_EQ(LastCheck(), TodayText());

    // A missing document is no document: the date stays, so the next start tries again.
    settings_.WriteString("LastCheckForUpdate", "another day");
    server_.Serve(kDocumentPath, "");
    settings_.WriteString("UpdateLocation", server_.Url("/nowhere/"));
    ASSERT_TRUE(RunCheck(IDYES));
    EXPECT_TRUE(notices_.empty());
    EXPECT_EQ(LastCheck(), "another day");
}

TEST_F(UpdateCheck, StartsOnTheFirstRestoredOrMaximisedSizeOnly) {
    server_.Serve(kDocumentPath, "text=x");
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
}

}  // namespace
