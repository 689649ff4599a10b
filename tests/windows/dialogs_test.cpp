// The script's own dialogs under Wine: MessageBox, InputString and GetOpenFileName, answered (or
// deliberately left alone) by a catcher thread the way a user would.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "dialog_catcher.h"
#include "support/engine_library.h"
#include "support/script_literal.h"

namespace {

int Height(const RECT& r) { return r.bottom - r.top; }

// The client size of a dialog template of `width` x `height` dialog units in `dialog`'s font.
SIZE TemplateSize(HWND dialog, int width, int height) {
    RECT units{0, 0, width, height};
    MapDialogRect(dialog, &units);
    return SIZE{units.right, units.bottom};
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

bool Shown(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

// What a catcher callback saw of the script's dialog, for checks on the test thread.
struct Seen {
    std::mutex mutex;
    std::vector<CaughtDialog> dialogs;
    void Add(const CaughtDialog& d) {
        std::lock_guard<std::mutex> lock(mutex);
        dialogs.push_back(d);
    }
};

class DialogsTest : public EngineTest {};

TEST_F(DialogsTest, MessageBoxTimesOutWithThePresetAnswer) {
    Seen seen;
    DialogCatcher catcher([&](const CaughtDialog& d) {
        seen.Add(d);
        return 0;  // nobody answers
    });
    EXPECT_EQ(Run("int main() { return MessageBox(\"Hello\", \"\", MB_OK, 200); }").result, IDOK);
    EXPECT_EQ(Run("int main() { return MessageBox(\"Hello\", \"Asking\", MB_YESNO, 200); }").result,
              IDYES);
    EXPECT_EQ(
        Run("int main() { return MessageBox(\"Hello\", \"Asking\", MB_YESNO, 200, IDNO); }").result,
        IDNO);
    EXPECT_EQ(
        Run("int main() { return MessageBox(\"Hello\", \"\", MB_OKCANCEL, 200, -3); }").result,
        IDOK);
    ASSERT_EQ(seen.dialogs.size(), 4u);
    EXPECT_EQ(seen.dialogs[0].caption, "Vexa Script");
    EXPECT_FALSE(seen.dialogs[0].messageBox) << "the script's box is the engine's own dialog";
    EXPECT_EQ(seen.dialogs[0].buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(seen.dialogs[1].caption, "Asking");
    EXPECT_EQ(seen.dialogs[1].buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(seen.dialogs[3].buttons, (std::vector<std::string>{"OK", "Cancel"}));
}

TEST_F(DialogsTest, MessageBoxButtonsAndEscapeAnswerByType) {
    auto escape = [](const CaughtDialog& d) {
        PostMessageA(GetDlgItem(d.hwnd, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    };
    struct Case {
        const char* type;
        std::function<int(const CaughtDialog&)> act;
        int expected;
    } cases[] = {
        {"MB_OK", escape, IDOK},  // Esc on a box with only OK answers OK
        {"MB_OKCANCEL", escape, IDCANCEL},
        {"MB_YESNO", escape, IDNO},
        {"MB_YESNO", [](const CaughtDialog&) { return IDOK; }, IDYES},
        {"MB_YESNO", [](const CaughtDialog&) { return IDCANCEL; }, IDNO},
        {"MB_OKCANCEL", [](const CaughtDialog&) { return IDCANCEL; }, IDCANCEL},
    };
    for (const Case& c : cases) {
        DialogCatcher catcher(c.act);
        // The time-out answer 3 is no button's value, so only a real answer passes.
        ScriptRun run = Run(std::string("int main() { return MessageBox(\"Question\", \"\", ") +
                            c.type + ", 20000, 3); }");
        EXPECT_EQ(run.result, c.expected) << c.type;
    }
}

TEST_F(DialogsTest, LongMessageScrollsInFullSizeBoxAndShortOneShrinksTheBox) {
    struct Layout {
        bool staticShown = false, editShown = false;
        SIZE client{}, full{};
        RECT ok{}, text{};
        std::string staticText;
        int editLines = 0;
    };
    Layout big, small, breaks;
    auto measure = [](Layout& into) {
        return [&into](const CaughtDialog& d) {
            into.staticShown = Shown(d.hwnd, 1000);
            into.editShown = Shown(d.hwnd, 1001);
            into.client = ClientSize(d.hwnd);
            into.full = TemplateSize(d.hwnd, 250, 146);
            GetWindowRect(GetDlgItem(d.hwnd, IDOK), &into.ok);
            MapWindowPoints(nullptr, d.hwnd, reinterpret_cast<POINT*>(&into.ok), 2);
            GetWindowRect(GetDlgItem(d.hwnd, 1000), &into.text);
            MapWindowPoints(nullptr, d.hwnd, reinterpret_cast<POINT*>(&into.text), 2);
            into.staticText = ControlText(d.hwnd, 1000);
            into.editLines =
                static_cast<int>(SendMessageA(GetDlgItem(d.hwnd, 1001), EM_GETLINECOUNT, 0, 0));
            return IDOK;
        };
    };
    {
        DialogCatcher catcher(measure(big));
        EXPECT_EQ(Run("int main() { string s; int i; while (i < 300) { s = s + \"line \" + i + "
                      "\"\\n\"; i = i + 1; }"
                      " return MessageBox(s, \"Big\", MB_OK, 20000, 3); }")
                      .result,
                  IDOK);
    }
    EXPECT_TRUE(big.editShown);
    EXPECT_FALSE(big.staticShown);
    EXPECT_GE(big.editLines, 300);
    EXPECT_EQ(big.client.cx, big.full.cx);
    EXPECT_EQ(big.client.cy, big.full.cy);
    // The lone OK button sits in the middle.
    EXPECT_LE(std::abs((big.ok.left + big.ok.right) / 2 - big.client.cx / 2), 1);

    {
        DialogCatcher catcher(measure(small));
        EXPECT_EQ(
            Run("int main() { return MessageBox(\"Done\", \"Small\", MB_OK, 20000, 3); }").result,
            IDOK);
    }
    EXPECT_TRUE(small.staticShown);
    EXPECT_FALSE(small.editShown);
    EXPECT_EQ(small.staticText, "Done");
    EXPECT_LT(small.client.cx, small.full.cx / 2);
    EXPECT_LT(small.client.cy, small.full.cy / 2);
    EXPECT_GE(small.ok.top, small.text.bottom) << "the button moved up below the text, not over it";
    EXPECT_LE(small.ok.bottom, small.client.cy);
    EXPECT_LE(std::abs((small.ok.left + small.ok.right) / 2 - small.client.cx / 2), 1);

    {
        DialogCatcher catcher(measure(breaks));
        EXPECT_EQ(Run("int main() { return MessageBox(\"one\\ntwo\\rthree\\n\\rfour\", \"\", "
                      "MB_OK, 20000, 3); }")
                      .result,
                  IDOK);
    }
    EXPECT_EQ(breaks.staticText, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_GT(Height(breaks.text), Height(small.text)) << "four lines need more room than one";
}

TEST_F(DialogsTest, MessageBoxIconFollowsTheType) {
    Seen seen;
    DialogCatcher catcher([&](const CaughtDialog& d) {
        seen.Add(d);
        return IDOK;
    });
    for (int type : {0x40, 0x30, 0x20, 0x10, 0})
        Run("int main() { return MessageBox(\"i\", \"\", " + std::to_string(type) + ", 20000); }");
    ASSERT_EQ(seen.dialogs.size(), 5u);
    EXPECT_EQ(seen.dialogs[0].icon, MB_ICONINFORMATION);
    EXPECT_EQ(seen.dialogs[1].icon, MB_ICONEXCLAMATION);
    EXPECT_EQ(seen.dialogs[2].icon, MB_ICONQUESTION);
    EXPECT_EQ(seen.dialogs[3].icon, 0);
    EXPECT_EQ(seen.dialogs[4].icon, 0);
}

TEST_F(DialogsTest, CancelInTheRunningWindowClosesAnOpenMessageBox) {
    std::atomic<HWND> box{nullptr};
    DialogCatcher catcher([&](const CaughtDialog& d) {
        if (d.caption != "Stuck") return 0;
        box = d.hwnd;
        ClickButton(FindRunningWindow(), IDCANCEL);
        return 0;
    });
    ScriptRun run = Run("int main() { MessageBox(\"Wait\", \"Stuck\", MB_OK); return 1; }");
    EXPECT_EQ(run.result, -19);
    ASSERT_NE(box.load(), nullptr);
    EXPECT_FALSE(IsWindow(box.load()));
    EXPECT_EQ(catcher.count(), 1u) << "no error box for a cancelled run";
}

TEST_F(DialogsTest, InputStringReturnsTypedTextTheDefaultOrNothing) {
    {
        DialogCatcher catcher([](const CaughtDialog& d) {
            SetWindowTextA(GetDlgItem(d.hwnd, 1003), "typed text");
            return IDOK;
        });
        EXPECT_EQ(
            Run("int main() { string s; s = InputString(\"Name?\", \"default\", \"Ask\", 20000);"
                " if (s == \"typed text\") { return 1; } return 100 + strlen(s); }")
                .result,
            1);
    }
    {
        DialogCatcher catcher([](const CaughtDialog&) { return 0; });
        EXPECT_EQ(Run("int main() { if (InputString(\"Name?\", \"default\", \"\", 200, 1) == "
                      "\"default\") { return 1; }"
                      " return 0; }")
                      .result,
                  1);
        EXPECT_EQ(Run("int main() { if (InputString(\"Name?\", \"default\", \"\", 200) == "
                      "\"default\") { return 1; }"
                      " return 0; }")
                      .result,
                  1)
            << "the default is used by default";
        EXPECT_EQ(Run("int main() { return strlen(InputString(\"Name?\", \"default\", \"\", 200, "
                      "0)) + 1; }")
                      .result,
                  1);
        ASSERT_EQ(catcher.count(), 3u);
        EXPECT_EQ(catcher.caught()[0].caption, "Vexa Script");
    }
    {
        DialogCatcher catcher([](const CaughtDialog&) { return IDCANCEL; });
        EXPECT_EQ(Run("int main() { return strlen(InputString(\"Name?\", \"default\", \"\", 20000, "
                      "1)) + 1; }")
                      .result,
                  1);
    }
}

TEST_F(DialogsTest, InputStringShrinksAroundAShortPrompt) {
    SIZE client{}, full{};
    RECT edit{}, prompt{};
    std::string promptText, editText;
    DialogCatcher catcher([&](const CaughtDialog& d) {
        client = ClientSize(d.hwnd);
        full = TemplateSize(d.hwnd, 250, 146);
        GetWindowRect(GetDlgItem(d.hwnd, 1003), &edit);
        MapWindowPoints(nullptr, d.hwnd, reinterpret_cast<POINT*>(&edit), 2);
        GetWindowRect(GetDlgItem(d.hwnd, 1002), &prompt);
        MapWindowPoints(nullptr, d.hwnd, reinterpret_cast<POINT*>(&prompt), 2);
        promptText = ControlText(d.hwnd, 1002);
        editText = ControlText(d.hwnd, 1003);
        return IDOK;
    });
    ScriptRun run =
        Run("int main() { if (InputString(\"Your name:\", \"Ann\") == \"Ann\") { return 1; } "
            "return 0; }");
    EXPECT_EQ(run.result, 1) << "OK takes the edit field's text";
    EXPECT_EQ(promptText, "Your name:");
    EXPECT_EQ(editText, "Ann");
    EXPECT_EQ(client.cx, full.cx);
    EXPECT_LT(client.cy, full.cy);
    EXPECT_GE(edit.top, prompt.bottom);
    EXPECT_LT(edit.bottom, client.cy);
}

TEST_F(DialogsTest, GetOpenFileNameOffersAllFilesAndReturnsNothingOnCancel) {
    std::string filter, caption;
    RECT rect{};
    DialogCatcher catcher([&](const CaughtDialog& d) {
        char text[256] = {};
        SendMessageA(GetDlgItem(d.hwnd, 0x470), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        filter = text;
        caption = d.caption;
        GetWindowRect(d.hwnd, &rect);
        return IDCANCEL;
    });
    EXPECT_EQ(Run("int main() { return strlen(GetOpenFileName()) + 1; }").result, 1);
    EXPECT_EQ(filter, "All Files (*.*)");
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_GE(rect.left, area.left);
    EXPECT_GE(rect.top, area.top);
    EXPECT_LE(rect.right, area.right);
    EXPECT_LE(rect.bottom, area.bottom);

    EXPECT_EQ(Run("int main() { return strlen(GetOpenFileName(\"txt\", \"\", OFN_FILEMUSTEXIST,"
                  " \"Text files|*.txt|All|*.*||\", \"Pick one\")) + 1; }")
                  .result,
              1);
    EXPECT_EQ(filter, "Text files");
    EXPECT_EQ(caption, "Pick one");
}

TEST_F(DialogsTest, GetOpenFileNameReturnsTheChosenFullPath) {
    ASSERT_TRUE(WriteTextFile(scratch_.File("chosen.txt"), "x"));
    DialogCatcher catcher([](const CaughtDialog& d) {
        HWND name = GetDlgItem(d.hwnd, 0x47c);  // the file name box
        if (!name) name = GetDlgItem(d.hwnd, 0x480);
        SetWindowTextA(name, "chosen.txt");
        return IDOK;
    });
    // The script's folder is the current directory while it runs, so the dialog starts there.
    std::string expected = scratch_.File("chosen.txt");
    ScriptRun run = Run("int main() { if (GetOpenFileName(\"\", \"\", OFN_FILEMUSTEXIST) == \"" +
                        [&] {
                            std::string escaped;
                            for (char c : expected)
                                escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
                            return escaped;
                        }() +
                        "\") { return 1; } return 0; }");
    EXPECT_EQ(run.result, 1);
}

// Picking a file in another folder must not move the script's current folder: relative paths
// go on naming files beside the script.
TEST_F(DialogsTest, GetOpenFileNameLeavesTheCurrentFolderWhereItWas) {
    ASSERT_TRUE(WriteTextFile(scratch_.File("marker.txt"), "here"));
    ASSERT_TRUE(CreateDirectoryA(scratch_.File("other").c_str(), nullptr));
    const std::string picked = scratch_.File("other\\picked.txt");
    ASSERT_TRUE(WriteTextFile(picked, "x"));
    // As a user does it: open the other folder in the dialog, then pick the file there.
    DialogCatcher catcher([&](const CaughtDialog& d) {
        HWND name = GetDlgItem(d.hwnd, 0x47c);
        if (!name) name = GetDlgItem(d.hwnd, 0x480);
        SetWindowTextA(name, scratch_.File("other").c_str());
        SendMessageA(d.hwnd, WM_COMMAND, IDOK, 0);
        SetWindowTextA(name, "picked.txt");
        return IDOK;
    });
    ScriptRun run =
        Run("int main() {\n"
            "    if (GetOpenFileName(\"\", \"\", OFN_FILEMUSTEXIST) != " +
            ScriptLiteral(picked) +
            ") return 1;\n"
            "    if (!FileExists(\"marker.txt\")) return 2;\n"
            "    if (!AppendFileString(\"log.txt\", \"line\")) return 3;\n"
            "    return 10;\n}\n");
    EXPECT_EQ(run.result, 10);
    EXPECT_EQ(ReadTextFile(scratch_.File("log.txt")), "line");
    EXPECT_EQ(GetFileAttributesA(scratch_.File("other\\log.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
