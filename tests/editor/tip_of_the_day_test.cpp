// The Tip of the Day dialog: which tip and heading it shows, the index arithmetic kept in
// "TipOfTheDay", the start-up check box, and when the start-up call shows nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "editor_tools_resource.h"
#include "tip_of_the_day_dlg.h"
#include "tips.h"
#include "tool_settings.h"
#include "tool_test_support.h"

namespace {

constexpr char kCaption[] = "Tip of the Day";

std::string Shown(HWND dialog) { return ControlText(dialog, IDC_TIP_AREA); }
std::string Expected(const char* heading, int tip) {
    return std::string(heading) + "\n" + kTips[tip];
}

class TipOfTheDay : public ::testing::Test {
protected:
    SettingsGuard guard_{{"TipOfTheDay", "ShowTipOfTheDay"}};
    ToolSettings& settings_ = RegistryToolSettings();
    TestMainWindow main_;
};

TEST_F(TipOfTheDay, TableHasWelcomeFirstAndClosingTipLast) {
    ASSERT_EQ(kTipCount, 149);
    for (int i = 0; i < kTipCount; ++i) ASSERT_GT(std::strlen(kTips[i]), 20u) << i;
    EXPECT_NE(std::string(kTips[0]).find("Welcome"), std::string::npos);
    EXPECT_NE(std::string(kTips[1]).find("main"), std::string::npos);
    EXPECT_NE(std::string(kTips[82]).find("BrowserClickFormButton()"), std::string::npos);
    EXPECT_NE(std::string(kTips[147]).find("Font"), std::string::npos);
    EXPECT_NE(std::string(kTips[148]).find("last tip"), std::string::npos);
}

TEST_F(TipOfTheDay, FirstShowingIsTheWelcomeAndClosingAdvancesByOne) {
    std::string shown;
    bool checked = false;
    {
        DialogDriver driver(kCaption, [&](HWND dialog) {
            shown = Shown(dialog);
            checked = IsDlgButtonChecked(dialog, IDC_SHOW_TIPS) == BST_CHECKED;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ShowTipOfTheDay(main_.get(), settings_);
    }
    EXPECT_EQ(shown, Expected("Welcome", 0));
    EXPECT_TRUE(checked);
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 1);
    EXPECT_EQ(settings_.ReadInt("ShowTipOfTheDay", -1), 1);
}

TEST_F(TipOfTheDay, NextTipTwiceThenCloseAdvancesByThree) {
    settings_.WriteInt("TipOfTheDay", 5);
    std::vector<std::string> shown;
    std::vector<int> stored;
    {
        DialogDriver driver(kCaption, [&](HWND dialog) {
            shown.push_back(Shown(dialog));
            for (int i = 0; i < 2; ++i) {
                ClickControl(dialog, IDC_NEXT_TIP);
                shown.push_back(Shown(dialog));
                stored.push_back(settings_.ReadInt("TipOfTheDay", -1));
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ShowTipOfTheDay(main_.get(), settings_);
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], Expected("Did you know...", 5));
    EXPECT_EQ(shown[2], Expected("Did you know...", 7));
    EXPECT_EQ(stored, (std::vector<int>{6, 7}));
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 8);
}

TEST_F(TipOfTheDay, IndexPastTheLastTipStartsOver) {
    for (int stored : {kTipCount, -4}) {
        settings_.WriteInt("TipOfTheDay", stored);
        std::string shown;
        {
            DialogDriver driver(kCaption, [&](HWND dialog) {
                shown = Shown(dialog);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            ShowTipOfTheDay(main_.get(), settings_);
        }
        EXPECT_EQ(shown, Expected("Welcome", 0)) << stored;
        EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 1) << stored;
    }
    // Next Tip on the last tip wraps to the welcome tip.
    settings_.WriteInt("TipOfTheDay", kTipCount - 1);
    std::string last, next;
    {
        DialogDriver driver(kCaption, [&](HWND dialog) {
            last = Shown(dialog);
            ClickControl(dialog, IDC_NEXT_TIP);
            next = Shown(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ShowTipOfTheDay(main_.get(), settings_);
    }
    EXPECT_EQ(last, Expected("Did you know...", kTipCount - 1));
    EXPECT_EQ(next, Expected("Welcome", 0));
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 1);
}

TEST_F(TipOfTheDay, UncheckedBoxSilencesStartUpButNotTheHelpCommand) {
    {
        DialogDriver driver(kCaption, [&](HWND dialog) {
            SendMessageA(GetDlgItem(dialog, IDC_SHOW_TIPS), BM_SETCHECK, BST_UNCHECKED, 0);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ShowTipOfTheDayAtStartup(main_.get(), settings_);
    }
    EXPECT_EQ(settings_.ReadInt("ShowTipOfTheDay", -1), 0);
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 1);

    // The start-up call now returns at once without a dialog, the index untouched.
    ShowTipOfTheDayAtStartup(main_.get(), settings_);
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 1);

    // The Help command still shows the next tip, with the box unchecked.
    bool checked = true;
    std::string shown;
    {
        DialogDriver driver(kCaption, [&](HWND dialog) {
            checked = IsDlgButtonChecked(dialog, IDC_SHOW_TIPS) == BST_CHECKED;
            shown = Shown(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ShowTipOfTheDay(main_.get(), settings_);
    }
    EXPECT_FALSE(checked);
    EXPECT_EQ(shown, Expected("Did you know...", 1));
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), 2);
}

TEST_F(TipOfTheDay, MinimisedStartShowsNothing) {
    TestMainWindow minimised("VexaToolTestMinimised", SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(minimised.get()));
    ShowTipOfTheDayAtStartup(minimised.get(), settings_);
    EXPECT_EQ(settings_.ReadInt("TipOfTheDay", -1), -1);
}

TEST_F(TipOfTheDay, PaintsBulbHeadingAndTextInTheTipArea) {
    int inked = 0, background = 0;
    {
        DialogDriver driver(kCaption, [&](HWND dialog) {
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            RECT r;
            GetWindowRect(GetDlgItem(dialog, IDC_TIP_AREA), &r);
            HDC screen = GetDC(nullptr);
            COLORREF window = GetSysColor(COLOR_WINDOW);
            for (int y = r.top + 2; y < r.bottom - 2; y += 2)
                for (int x = r.left + 2; x < r.right - 2; x += 2) {
                    COLORREF pixel = GetPixel(screen, x, y);
                    if (pixel == window)
                        ++background;
                    else if (pixel != CLR_INVALID)
                        ++inked;
                }
            ReleaseDC(nullptr, screen);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ShowTipOfTheDay(main_.get(), settings_);
    }
    // Mostly window background, with the bulb, the heading and the words drawn on it.
    EXPECT_GT(background, 1000);
    EXPECT_GT(inked, 100);
}

}  // namespace
