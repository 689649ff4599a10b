// The Tip of the Day dialog: the tip and heading shown, the index arithmetic kept in
// "TipOfTheDay", the start-up check box, and a minimised start.
#include <gtest/gtest.h>

#include "editor_tools_resource.h"
#include "tip_of_the_day_dlg.h"
#include "tips.h"
#include "tool_settings.h"
#include "tool_test_support.h"

namespace {

std::string Tip(const char* heading, int tip) { return std::string(heading) + "\n" + kTips[tip]; }

class TipOfTheDay : public ::testing::Test {
protected:
    // Shows the dialog through `show`, pressing Next Tip `next` times; returns the tips seen.
    std::vector<std::string> Show(void (*show)(HWND, ToolSettings&), int next,
                                  bool uncheck = false) {
        std::vector<std::string> seen;
        DialogDriver driver("Tip of the Day", [&](HWND dialog) {
            seen.push_back(ControlText(dialog, IDC_TIP_AREA));
            for (int i = 0; i < next; ++i) {
                ClickControl(dialog, IDC_NEXT_TIP);
                seen.push_back(ControlText(dialog, IDC_TIP_AREA));
            }
            if (uncheck) SendMessageA(GetDlgItem(dialog, IDC_SHOW_TIPS), BM_SETCHECK, 0, 0);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        show(main_.get(), settings_);
        return seen;
    }
    int Index() { return settings_.ReadInt("TipOfTheDay", -1); }

    SettingsGuard guard_{{"TipOfTheDay", "ShowTipOfTheDay"}};
    ToolSettings& settings_ = RegistryToolSettings();
    TestMainWindow main_;
};

TEST_F(TipOfTheDay, IndexAdvancesByOneAfterClosingAndByOneForEachNextTip) {
    EXPECT_EQ(Show(ShowTipOfTheDay, 0), std::vector<std::string>{Tip("Welcome", 0)});
    EXPECT_EQ(Index(), 1);
    settings_.WriteInt("TipOfTheDay", 5);
    std::vector<std::string> seen = Show(ShowTipOfTheDay, 2);
    EXPECT_EQ(seen.back(), Tip("Did you know...", 7));
    EXPECT_EQ(Index(), 8);
    // Past the last tip, and on Next Tip at the last one, the tips start over.
    for (int stored : {kTipCount, -4}) {
        settings_.WriteInt("TipOfTheDay", stored);
        EXPECT_EQ(Show(ShowTipOfTheDay, 0)[0], Tip("Welcome", 0)) << stored;
        EXPECT_EQ(Index(), 1);
    }
    settings_.WriteInt("TipOfTheDay", kTipCount - 1);
    seen = Show(ShowTipOfTheDay, 1);
    EXPECT_EQ(seen[0], Tip("Did you know...", kTipCount - 1));
    EXPECT_NE(seen[0].find("last tip"), std::string::npos);
    EXPECT_EQ(seen[1], Tip("Welcome", 0));
    EXPECT_EQ(Index(), 1);
}

TEST_F(TipOfTheDay, UncheckedBoxSilencesStartUpButNotTheHelpCommand) {
    Show(ShowTipOfTheDayAtStartup, 0, true);
    EXPECT_EQ(settings_.ReadInt("ShowTipOfTheDay", -1), 0);
    ShowTipOfTheDayAtStartup(main_.get(), settings_);  // returns at once, nothing shown
    EXPECT_EQ(Index(), 1);
    EXPECT_EQ(Show(ShowTipOfTheDay, 0), std::vector<std::string>{Tip("Did you know...", 1)});
    EXPECT_EQ(Index(), 2);
    // A minimised start shows nothing either, whatever the box says.
    settings_.WriteInt("ShowTipOfTheDay", 1);
    TestMainWindow minimised("VexaToolTestMinimised", SW_SHOWMINNOACTIVE);
    ShowTipOfTheDayAtStartup(minimised.get(), settings_);
    EXPECT_EQ(Index(), 2);
}

}  // namespace
