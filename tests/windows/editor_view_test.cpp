// The script view, Compile and Run in the real editor: vexedit.exe under Wine driven through its
// windows with messages and real keystrokes, its message boxes answered by the dialog catcher.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "support/editor_session.h"
#include "support/engine_library.h"

namespace {

constexpr int kBuildCompile = 32774;  // Build > Compile
constexpr int kFileSaveAll = 32786;   // File > Save All
constexpr int kBuildRun = 32775;      // Build > Run
constexpr int kViewFont = 32777;      // View > Font...
constexpr int kViewSyntaxColouring = 32785;
constexpr int kFileNew = 0xE100;
constexpr int kFileSave = 0xE103;
constexpr int kFilePrintPreview = 0xE109;
constexpr int kEditPaste = 0xE125;
constexpr int kEditFind = 0xE124;  // Ctrl+F
constexpr int kEditRepeat = 0xE128;
constexpr int kEditReplace = 0xE129;
constexpr int kHelpLanguageReference = 32773;  // F3, Find Next
constexpr int kHelpFunctionReference = 32784;
constexpr int kHelp = 0xE146;  // F1
constexpr DWORD kWait = 15000;

// Answers message boxes only with OK (the running-script window is a dialog too, and must stay).
DialogAnswer AnswerMessageBoxes() {
    return [](const CaughtDialog& d) { return d.messageBox ? IDOK : 0; };
}

// The message boxes among the caught dialogs.
std::vector<CaughtDialog> MessageBoxes(const DialogCatcher& catcher) {
    std::vector<CaughtDialog> boxes;
    for (const CaughtDialog& d : catcher.caught())
        if (d.messageBox) boxes.push_back(d);
    return boxes;
}

bool WaitForMessageBoxes(const DialogCatcher& catcher, size_t count) {
    return WaitUntil([&] { return MessageBoxes(catcher).size() >= count; }, 15000);
}

// Keeps editor settings as they were before a test whose commands change them.
class SettingsKept {
public:
    explicit SettingsKept(std::initializer_list<const char*> names) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        for (const char* name : names) values_.push_back(Saved{name});
        for (Saved& value : values_) {
            value.size = sizeof value.data;
            value.present = RegQueryValueExA(key_, value.name, nullptr, &value.type, value.data,
                                             &value.size) == ERROR_SUCCESS;
        }
    }
    ~SettingsKept() {
        for (const Saved& value : values_) {
            if (value.present)
                RegSetValueExA(key_, value.name, 0, value.type, value.data, value.size);
            else
                RegDeleteValueA(key_, value.name);
        }
        RegCloseKey(key_);
    }
    void Remove(const char* name) { RegDeleteValueA(key_, name); }
    void SetInt(const char* name, DWORD value) {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    std::string FontName() const {
        char name[256] = {};
        DWORD size = sizeof name;
        RegQueryValueExA(key_, "FontName", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size);
        return name;
    }

private:
    static constexpr const char* kKey = "Software\\Vexa\\Vexa Script\\Settings";
    struct Saved {
        const char* name;
        bool present = false;
        DWORD type = 0, size = 0;
        BYTE data[256] = {};
    };
    HKEY key_ = nullptr;
    std::vector<Saved> values_;
};

// Answers the editor's boxes (Yes where there is a Yes) and keeps what they showed.
DialogAnswer AnswerYesOrOk() {
    return [](const CaughtDialog& d) {
        if (!d.messageBox) return 0;
        for (int id : d.buttonIds)
            if (id == IDYES) return IDYES;
        return AnswerDefault(d);
    };
}

class EditorViewTest : public ::testing::Test {
protected:
    // Writes `text` as `name` in the scratch folder and opens it in a new editor.
    HWND OpenScript(const std::string& name, const std::string& text,
                    const std::string& folder = "") {
        EXPECT_TRUE(WriteTextFile(scratch_.File(name), text));
        if (!editor_.Start("\"" + scratch_.File(name) + "\"",
                           folder.empty() ? scratch_.path() : folder))
            return nullptr;
        return editor_.WaitForActiveChild(name, kWait);
    }
    // The text once `condition` holds for it, or the last text seen.
    std::string WaitForText(HWND edit, const std::function<bool(const std::string&)>& condition) {
        std::string text;
        WaitUntil(
            [&] {
                text = editor_.Text(edit);
                return condition(text);
            },
            kWait);
        return text;
    }
    std::string WaitForTextChange(HWND edit, const std::string& before) {
        return WaitForText(edit, [&](const std::string& t) { return t != before; });
    }
    LONG LineStart(HWND edit, int line) {
        return static_cast<LONG>(SendMessageA(edit, EM_LINEINDEX, line, 0));
    }

    ScratchDir scratch_;
    EditorSession editor_;
};

TEST_F(EditorViewTest, TabAndShiftTabIndentAndOutdentTheSelectedLines) {
    HWND edit = OpenScript("block.vxs", "first\r\n  \tb\r\n      c\r\n\td\r\nlast\r\n");
    ASSERT_NE(edit, nullptr);
    const std::string original = editor_.Text(edit);
    // Lines 2 to 4, ending at the very start of line 5: line 5 does not belong to the block.
    editor_.Select(edit, LineStart(edit, 1), LineStart(edit, 4));
    PostMessageA(edit, WM_KEYDOWN, VK_TAB, 1);
    std::string text = WaitForTextChange(edit, original);
    EXPECT_EQ(text, "first\r\n\t  \tb\r\n\t      c\r\n\t\td\r\nlast\r\n");
    CHARRANGE block = editor_.Selection(edit);
    EXPECT_EQ(block.cpMin, LineStart(edit, 1));
    EXPECT_EQ(block.cpMax, LineStart(edit, 4));  // still selected for the next Tab

    // Shift+Tab as the user presses it, twice: one indent step each time.
    ASSERT_TRUE(editor_.FocusEdit(edit));
    PressKeys({VK_SHIFT, VK_TAB});
    text = WaitForTextChange(edit, text);
    EXPECT_EQ(text, original);
    PressKeys({VK_SHIFT, VK_TAB});
    // Two blanks and a tab go together; of six blanks four go; a lone tab goes.
    EXPECT_EQ(WaitForTextChange(edit, text), "first\r\nb\r\n  c\r\nd\r\nlast\r\n");

    // Inside one line Tab is typed as a character.
    editor_.Select(edit, 0, 2);
    text = editor_.Text(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(WaitForTextChange(edit, text).substr(0, 5), "\trst\r");
}

TEST_F(EditorViewTest, EnterKeepsTheIndentationOfItsLine) {
    HWND edit = OpenScript("indent.vxs", "\t  x = 1;\r\nplain\r\n");
    ASSERT_NE(edit, nullptr);
    const LONG endOfFirst = LineStart(edit, 1) - 1;
    editor_.Select(edit, endOfFirst, endOfFirst);
    std::string before = editor_.Text(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    std::string text = WaitForTextChange(edit, before);
    EXPECT_EQ(text, "\t  x = 1;\r\n\t  \r\nplain\r\n");
    EXPECT_EQ(editor_.CaretLine(edit), 1);
    EXPECT_EQ(editor_.Selection(edit).cpMin, LineStart(edit, 1) + 3);

    // Between "x" and " = 1": the moved text starts right at the indentation.
    editor_.Select(edit, 4, 4);
    before = text;
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(WaitForTextChange(edit, before), "\t  x\r\n\t  = 1;\r\n\t  \r\nplain\r\n");

    // An unindented line gets a plain line break.
    const LONG endOfPlain = LineStart(edit, 4) - 1;
    editor_.Select(edit, endOfPlain, endOfPlain);
    before = editor_.Text(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(WaitForTextChange(edit, before), "\t  x\r\n\t  = 1;\r\n\t  \r\nplain\r\n\r\n");
}

TEST_F(EditorViewTest, StatusBarColumnCountsATabToTheNextMultipleOfFour) {
    HWND edit = OpenScript("column.vxs", "// first\r\na\tb\r\n");
    ASSERT_NE(edit, nullptr);
    const LONG afterB = LineStart(edit, 1) + 3;
    editor_.Select(edit, afterB, afterB);
    std::string pane;
    WaitUntil(
        [&] {
            PostMessageA(editor_.MainWindow(), WM_NULL, 0, 0);  // the panes follow at idle time
            pane = editor_.StatusPane(1);
            return pane == "Ln 2, Col 6";
        },
        kWait);
    EXPECT_EQ(pane, "Ln 2, Col 6");
}

TEST_F(EditorViewTest, FontChangeLeavesTheScriptUnmodified) {
    HWND edit = OpenScript("font.vxs", "int main()\r\n{\r\n    return 0;\r\n}\r\n");
    ASSERT_NE(edit, nullptr);
    ASSERT_FALSE(editor_.Modified(edit));
    SettingsKept kept({"FontName", "FontHeight", "FontCharSet"});
    DialogCatcher catcher(AnswerDefault, editor_.ProcessId());  // OK in the Font dialog
    editor_.Command(kViewFont);
    ASSERT_TRUE(catcher.WaitFor(1, kWait));
    EXPECT_EQ(catcher.caught()[0].caption, "Font");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(catcher.caught()[0].hwnd); }, kWait));
    // The chosen font reached the text, and the script is still unchanged.
    editor_.Select(edit, 0, 3);
    EXPECT_EQ(editor_.SelectionFormat(edit).szFaceName, kept.FontName());
    EXPECT_FALSE(editor_.Modified(edit));
    EXPECT_EQ(editor_.Selection(edit).cpMax, 3);
    // Every line has the 32 tab stops of 4, 8, ... blanks of that font.
    editor_.Select(edit, LineStart(edit, 3), LineStart(edit, 3));
    const PARAFORMAT2 para = editor_.SelectionParagraph(edit);
    EXPECT_EQ(para.cTabCount, 32);
    EXPECT_GT(para.rgxTabs[0], 0);
    EXPECT_NEAR(para.rgxTabs[31], 32 * para.rgxTabs[0], 32);
}

TEST_F(EditorViewTest, RunErrorOnLine12LeavesTheCaretThere) {
    std::string script = "// Line 12 calls a function nobody defined.\r\n";
    for (int line = 2; line < 10; ++line) script += "// filler " + std::to_string(line) + "\r\n";
    script += "int main()\r\n{\r\n    NoSuchFunction(1);\r\n    return 0;\r\n}\r\n";
    HWND edit = OpenScript("line12.vxs", script);
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(editor_.CaretLine(edit), 0);
    DialogCatcher catcher(AnswerMessageBoxes(), editor_.ProcessId());
    editor_.Command(kBuildRun);
    ASSERT_TRUE(WaitForMessageBoxes(catcher, 1));
    EXPECT_NE(MessageBoxes(catcher)[0].text.find("line 12: NoSuchFunction - Function not found"),
              std::string::npos)
        << MessageBoxes(catcher)[0].text;
    EXPECT_TRUE(WaitUntil([&] { return editor_.CaretLine(edit) == 11; }, kWait))
        << "caret line " << editor_.CaretLine(edit) + 1;
    EXPECT_EQ(editor_.Selection(edit).cpMin, LineStart(edit, 11));
    EXPECT_EQ(MessageBoxes(catcher).size(), 1u);  // the engine's box only: Run adds nothing
}

TEST_F(EditorViewTest, ErrorInAnIncludedFileOpensThatFileAtItsLine) {
    // The editor runs in another folder: the included name is relative to the script's folder.
    ScratchDir elsewhere;
    ASSERT_TRUE(CreateDirectoryA(scratch_.File("lib").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(scratch_.File("lib\\helpers.vxs"),
                              "// helpers\r\nint Twice(int n)\r\n{\r\n    int if = n;\r\n"
                              "    return n * 2;\r\n}\r\n"));
    HWND edit = OpenScript("uses_lib.vxs",
                           "#include \"lib/helpers.vxs\"\r\nint main()\r\n{\r\n"
                           "    return Twice(2);\r\n}\r\n",
                           elsewhere.path());
    ASSERT_NE(edit, nullptr);
    DialogCatcher catcher(AnswerMessageBoxes(), editor_.ProcessId());
    editor_.Command(kBuildRun);
    ASSERT_TRUE(WaitForMessageBoxes(catcher, 1));
    EXPECT_NE(MessageBoxes(catcher)[0].text.find("lib/helpers.vxs"), std::string::npos);
    HWND included = editor_.WaitForActiveChild("helpers.vxs", kWait);
    ASSERT_NE(included, nullptr) << "active: " << editor_.ActiveTitle();
    EXPECT_TRUE(WaitUntil([&] { return editor_.CaretLine(included) == 3; }, kWait));
    EXPECT_EQ(editor_.Text(included).substr(0, 10), "// helpers");
}

TEST_F(EditorViewTest, CompileSavesTheScriptFirstAndReportsNoErrors) {
    HWND edit = OpenScript("clean.vxs", "int main()\r\n{\r\n    return 7;\r\n}\r\n");
    ASSERT_NE(edit, nullptr);
    const LONG endOfReturn = LineStart(edit, 3) - 1;
    editor_.Select(edit, endOfReturn, endOfReturn);
    for (char c : std::string(" //x")) PostMessageA(edit, WM_CHAR, c, 1);
    WaitForText(edit, [](const std::string& t) { return t.find("7; //x") != std::string::npos; });
    ASSERT_TRUE(editor_.Modified(edit));
    DialogCatcher catcher(AnswerMessageBoxes(), editor_.ProcessId());
    editor_.Command(kBuildCompile);
    ASSERT_TRUE(WaitForMessageBoxes(catcher, 1));
    const CaughtDialog box = MessageBoxes(catcher)[0];
    EXPECT_EQ(box.text, "No errors.");
    EXPECT_EQ(box.caption, "Vexa Script");
    EXPECT_EQ(box.icon, MB_ICONINFORMATION);
    // The typed comment was saved before the engine read the file.
    EXPECT_NE(ReadTextFile(scratch_.File("clean.vxs")).find("return 7; //x\r\n"),
              std::string::npos);
    EXPECT_FALSE(editor_.Modified(edit));
}

TEST_F(EditorViewTest, SaveAllSavesTheChangedScriptWithoutAsking) {
    HWND edit = OpenScript("kept.vxs", "int main()\r\n{\r\n    return 7;\r\n}\r\n");
    ASSERT_NE(edit, nullptr);
    editor_.Select(edit, 0, 0);
    PostMessageA(edit, WM_CHAR, 'x', 1);
    WaitForText(edit, [](const std::string& t) { return t.rfind("xint", 0) == 0; });
    ASSERT_TRUE(editor_.Modified(edit));
    DialogCatcher catcher(AnswerMessageBoxes(), editor_.ProcessId());
    editor_.Command(kFileSaveAll);
    EXPECT_TRUE(WaitUntil([&] { return !editor_.Modified(edit); }, kWait));
    EXPECT_EQ(ReadTextFile(scratch_.File("kept.vxs")).rfind("xint main()\r\n", 0), 0u);
    EXPECT_TRUE(MessageBoxes(catcher).empty());
}

TEST_F(EditorViewTest, FindDialogAndFindNextSelectTheMatches) {
    HWND edit = OpenScript("find.vxs", "alpha beta\r\nALPHA alphabet\r\n");
    ASSERT_NE(edit, nullptr);
    DialogCatcher catcher([](const CaughtDialog&) { return 0; }, editor_.ProcessId());
    editor_.Command(kEditFind);
    ASSERT_TRUE(catcher.WaitFor(1, kWait));
    HWND dialog = catcher.caught()[0].hwnd;
    EXPECT_EQ(catcher.caught()[0].caption, "Find");
    // The search text, whole words, case respected; then the dialog's Find Next button.
    SendMessageA(GetDlgItem(dialog, 0x480), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("alpha"));
    SendMessageA(GetDlgItem(dialog, 0x410), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(GetDlgItem(dialog, 0x411), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return editor_.Selection(edit).cpMax == 5; }, kWait));
    EXPECT_EQ(editor_.Selection(edit).cpMin, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWait));

    // F3 repeats the search from the selection: "ALPHA" and "alphabet" do not match, so it
    // wraps round to the only match and keeps it selected.
    editor_.Select(edit, 6, 6);
    editor_.Command(kEditRepeat);
    EXPECT_TRUE(WaitUntil([&] { return editor_.Selection(edit).cpMin == 0; }, kWait));
    EXPECT_EQ(editor_.Selection(edit).cpMax, 5);

    // Once the Replace dialog was the last one, Find Next is off: F3 leaves the selection.
    editor_.Command(kEditReplace);
    ASSERT_TRUE(catcher.WaitFor(2, kWait));
    HWND replace = catcher.caught()[1].hwnd;
    EXPECT_EQ(catcher.caught()[1].caption, "Replace");
    PostMessageA(replace, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(replace); }, kWait));
    editor_.Select(edit, 6, 6);
    editor_.Command(kEditRepeat);
    SendMessageA(editor_.MainWindow(), WM_NULL, 0, 0);  // the command has run to its end
    EXPECT_EQ(editor_.Selection(edit).cpMin, 6);
    EXPECT_FALSE(editor_.Modified(edit));
}

TEST_F(EditorViewTest, CompileOfAnUntitledScriptAsksForANameAndCancelStopsIt) {
    HWND first = OpenScript("first.vxs", "int main()\r\n{\r\n    return 0;\r\n}\r\n");
    ASSERT_NE(first, nullptr);
    editor_.Command(kFileNew);
    HWND untitled = editor_.WaitForActiveChild("VexEng", kWait);
    ASSERT_NE(untitled, nullptr);
    PostMessageA(untitled, WM_CHAR, 'x', 1);
    ASSERT_TRUE(WaitUntil([&] { return editor_.Modified(untitled); }, kWait));
    // Save As opens for the untitled script; Cancel there means nothing is compiled.
    DialogCatcher catcher([](const CaughtDialog& d) { return d.messageBox ? IDOK : IDCANCEL; },
                          editor_.ProcessId());
    editor_.Command(kBuildCompile);
    ASSERT_TRUE(catcher.WaitFor(1, kWait));
    EXPECT_FALSE(catcher.caught()[0].messageBox);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(catcher.caught()[0].hwnd); }, kWait));
    SendMessageA(editor_.MainWindow(), WM_NULL, 0, 0);  // the command has run to its end
    EXPECT_TRUE(MessageBoxes(catcher).empty()) << MessageBoxes(catcher)[0].text;
    EXPECT_EQ(catcher.count(), 1u) << "no running-script window: the engine was not called";
    EXPECT_TRUE(editor_.Modified(untitled));
}

TEST_F(EditorViewTest, PasteTakesOnlyTheTextOfTheClipboard) {
    HWND edit = OpenScript("paste.vxs", "int main()\r\n{\r\n}\r\n");
    ASSERT_NE(edit, nullptr);
    // The clipboard holds plain text and rich text that would make it bold and red.
    const std::string plain = "plain words";
    const std::string rich = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\b rich words}";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    for (auto [format, text] : {std::pair<UINT, std::string>{CF_TEXT, plain},
                                {RegisterClipboardFormatA("Rich Text Format"), rich}}) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
    editor_.Select(edit, 0, 0);
    editor_.Command(kEditPaste);
    const std::string text =
        WaitForText(edit, [&](const std::string& t) { return t.rfind(plain, 0) == 0; });
    EXPECT_EQ(text, plain + "int main()\r\n{\r\n}\r\n");
    editor_.Select(edit, 0, 5);
    const CHARFORMAT2A format = editor_.SelectionFormat(edit);
    EXPECT_FALSE(format.dwEffects & CFE_BOLD);
}

TEST_F(EditorViewTest, PrintPreviewPagesTheScriptWithItsMargins) {
    std::string script;
    for (int line = 1; line <= 150; ++line) script += "// line " + std::to_string(line) + "\r\n";
    HWND edit = OpenScript("pages.vxs", script);
    ASSERT_NE(edit, nullptr);
    editor_.Command(kFilePrintPreview);
    HWND preview = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            // Shown once its buttons and first page are ready.
            preview = FindWindowA("VexaScriptPrintPreview", nullptr);
            return preview && IsWindowVisible(preview);
        },
        kWait));
    char caption[128] = {};
    GetWindowTextA(preview, caption, sizeof caption);
    EXPECT_STREQ(caption, "Print Preview - pages.vxs");
    // 150 lines do not fit one page: Next Page leads on, Prev Page waits on the first.
    HWND next = FindWindowExA(preview, nullptr, "Button", "&Next Page");
    HWND prev = FindWindowExA(preview, nullptr, "Button", "Pre&v Page");
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(IsWindowEnabled(next));
    EXPECT_FALSE(IsWindowEnabled(prev));
    PostMessageA(preview, WM_COMMAND, GetDlgCtrlID(next), 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(prev); }, kWait));
    PostMessageA(preview, WM_COMMAND,
                 GetDlgCtrlID(FindWindowExA(preview, nullptr, "Button", "&Close")), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(preview); }, kWait));
    EXPECT_FALSE(editor_.Modified(edit));
}

TEST_F(EditorViewTest, AScriptThatLooksLikeRichTextIsReadAndSavedAsItIs) {
    // Text that starts like a rich-text file must not be taken for one: it would lose its words.
    const std::string text = "{\\rtf1 {\\b bold} words}\r\n// int main()\r\n";
    HWND edit = OpenScript("rtf.vxs", text);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(editor_.Text(edit), text);
    PostMessageA(edit, WM_CHAR, ' ', 1);  // the caret stands at the start
    WaitForTextChange(edit, text);
    DialogCatcher catcher(AnswerMessageBoxes(), editor_.ProcessId());
    editor_.Command(kFileSave);
    EXPECT_TRUE(
        WaitUntil([&] { return ReadTextFile(scratch_.File("rtf.vxs")) == " " + text; }, kWait));
}

TEST_F(EditorViewTest, RightClickMenuPastesIntoTheScript) {
    HWND edit = OpenScript("menu.vxs", "int main()\r\n");
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 5);
    memcpy(GlobalLock(block), "// x", 5);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    ASSERT_TRUE(editor_.FocusEdit(edit));
    editor_.Select(edit, 0, 0);
    PostMessageA(edit, WM_RBUTTONUP, 0, MAKELPARAM(20, 10));
    // The menu of Cut, Copy and Paste opens; its P key takes Paste.
    ASSERT_TRUE(WaitUntil(
        [&] {
            return FindTopWindow(editor_.ProcessId(), [](HWND window) {
                       char name[16] = {};
                       GetClassNameA(window, name, sizeof name);
                       return strcmp(name, "#32768") == 0 && IsWindowVisible(window);
                   }) != nullptr;
        },
        kWait));
    PressKeys({'P'});
    EXPECT_EQ(WaitForText(edit, [](const std::string& t) { return t.rfind("// x", 0) == 0; }),
              "// xint main()\r\n");
}

TEST_F(EditorViewTest, AnEngineOfAnotherVersionIsNotCalled) {
    ASSERT_TRUE(CopyInto(BinaryDir() + "\\vexedit.exe", scratch_.path()));
    ASSERT_TRUE(CopyInto(TestProgramsDir() + "\\wrong_version\\vexeng.dll", scratch_.path()));
    ASSERT_TRUE(
        WriteTextFile(scratch_.File("any.vxs"), "int main()\r\n{\r\n    return 0;\r\n}\r\n"));
    ASSERT_TRUE(editor_.Start("\"" + scratch_.File("any.vxs") + "\"", scratch_.path(),
                              scratch_.File("vexedit.exe")));
    ASSERT_NE(editor_.WaitForActiveChild("any.vxs", kWait), nullptr);
    DialogCatcher catcher(AnswerMessageBoxes(), editor_.ProcessId());
    for (int command : {kBuildCompile, kBuildRun}) {
        const size_t before = MessageBoxes(catcher).size();
        editor_.Command(command);
        ASSERT_TRUE(WaitForMessageBoxes(catcher, before + 1));
        SendMessageA(editor_.MainWindow(), WM_NULL, 0, 0);  // the command has run to its end
        const std::vector<CaughtDialog> boxes = MessageBoxes(catcher);
        ASSERT_EQ(boxes.size(), before + 1) << boxes.back().text;
        EXPECT_EQ(boxes.back().text, "vexeng.dll is the wrong version!");
        EXPECT_EQ(boxes.back().icon, MB_ICONEXCLAMATION);
    }
}

TEST_F(EditorViewTest, MissingFileAnsweredYesBecomesAnEmptyScript) {
    DialogCatcher catcher(AnswerYesOrOk(), static_cast<DWORD>(-1));
    const std::string path = scratch_.File("new script.vxs");
    ASSERT_TRUE(editor_.Start("\"" + path + "\"", scratch_.path()));
    catcher.AddProcess(editor_.ProcessId());
    ASSERT_TRUE(catcher.WaitFor(2, kWait));
    EXPECT_EQ(catcher.caught()[1].text,
              "Would you like to create a new script file named " + path + "?");
    EXPECT_EQ(catcher.caught()[1].icon, MB_ICONQUESTION);
    HWND edit = editor_.WaitForActiveChild("new script.vxs", kWait);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ReadTextFile(path), "");
}

TEST_F(EditorViewTest, ColouringIsOffUntilSwitchedOnAndNeverModifiesOrAddsUndoSteps) {
    SettingsKept kept({"SyntaxColouring"});
    kept.Remove("SyntaxColouring");  // the default
    HWND edit = OpenScript("colours.vxs", "int main()\r\n{\r\n    return 0; // done\r\n}\r\n");
    ASSERT_NE(edit, nullptr);
    const LONG comment = LineStart(edit, 2) + 14;
    CHARFORMAT2A keyword{}, note{}, plain{};
    // A script is plain text until View > Syntax Colouring is chosen.
    Sleep(500);  // longer than the colouring timer
    editor_.Select(edit, 0, 3);
    EXPECT_EQ(editor_.SelectionFormat(edit).crTextColor, 0u);
    editor_.Command(kViewSyntaxColouring);
    WaitUntil(
        [&] {
            editor_.Select(edit, 0, 3);  // int
            keyword = editor_.SelectionFormat(edit);
            editor_.Select(edit, comment, comment + 7);  // "// done"
            note = editor_.SelectionFormat(edit);
            return keyword.crTextColor != 0 && note.crTextColor != 0;
        },
        kWait);
    editor_.Select(edit, 4, 8);  // main: no colour of its own
    plain = editor_.SelectionFormat(edit);
    EXPECT_NE(keyword.crTextColor, 0u);
    EXPECT_NE(note.crTextColor, 0u);
    EXPECT_NE(keyword.crTextColor, note.crTextColor);
    EXPECT_EQ(plain.crTextColor, 0u);
    EXPECT_FALSE(editor_.Modified(edit));
    EXPECT_EQ(SendMessageA(edit, EM_CANUNDO, 0, 0), 0) << "colouring left an undo step";

    // View > Syntax Colouring switches the colours off and on again, as an edit would not.
    editor_.Command(kViewSyntaxColouring);
    EXPECT_TRUE(WaitUntil(
        [&] {
            editor_.Select(edit, 0, 3);
            return editor_.SelectionFormat(edit).crTextColor == 0;
        },
        kWait));
    editor_.Command(kViewSyntaxColouring);
    EXPECT_TRUE(WaitUntil(
        [&] {
            editor_.Select(edit, 0, 3);
            return editor_.SelectionFormat(edit).crTextColor == keyword.crTextColor;
        },
        kWait));
    EXPECT_FALSE(editor_.Modified(edit));
    EXPECT_EQ(SendMessageA(edit, EM_CANUNDO, 0, 0), 0);

    // Typing then undoing restores the text: colours never stand in the undo history's way.
    const std::string before = editor_.Text(edit);
    editor_.Select(edit, 0, 0);
    PostMessageA(edit, WM_CHAR, 'x', 1);
    WaitForTextChange(edit, before);
    SendMessageA(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(editor_.Text(edit), before);
}

TEST_F(EditorViewTest, LargeScriptIsColouredOnlyWhereItIsSeen) {
    SettingsKept kept({"SyntaxColouring"});
    kept.SetInt("SyntaxColouring", 1);
    std::string script;
    while (script.size() < 1024 * 1024) script += "int x = 1; // a line of a large script\r\n";
    HWND edit = OpenScript("large.vxs", script);
    ASSERT_NE(edit, nullptr);
    CHARFORMAT2A top{};
    WaitUntil(
        [&] {
            editor_.Select(edit, 0, 3);
            top = editor_.SelectionFormat(edit);
            return top.crTextColor != 0;
        },
        kWait);
    EXPECT_NE(top.crTextColor, 0u);
    const LONG distant = LineStart(edit, 20000);
    editor_.Select(edit, distant, distant + 3);
    // Selecting scrolls the line into sight, so only a look straight away finds it uncoloured.
    EXPECT_EQ(editor_.SelectionFormat(edit).crTextColor, 0u);
    EXPECT_TRUE(WaitUntil([&] { return editor_.SelectionFormat(edit).crTextColor != 0; }, kWait))
        << "the lines scrolled into sight were not coloured";
}

// The browser the system names for .html pages is started with the whole address, anchor included.
class HtmlBrowser {
public:
    explicit HtmlBrowser(const std::string& program) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.html", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &extension_, nullptr);
        char old[256] = {};
        DWORD size = sizeof old;
        hadOld_ = RegQueryValueExA(extension_, nullptr, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
        old_ = old;
        Set(extension_, nullptr, "VexaHelpTestPage");
        HKEY command = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                        "Software\\Classes\\VexaHelpTestPage\\shell\\open\\command", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &command, nullptr);
        Set(command, nullptr, "\"" + program + "\" \"%1\"");
        RegCloseKey(command);
    }
    ~HtmlBrowser() {
        if (hadOld_)
            Set(extension_, nullptr, old_);
        else
            RegDeleteValueA(extension_, nullptr);
        RegCloseKey(extension_);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\VexaHelpTestPage");
    }

private:
    static void Set(HKEY key, const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    HKEY extension_ = nullptr;
    bool hadOld_ = false;
    std::string old_;
};

TEST_F(EditorViewTest, F1OpensTheReferenceAtTheWordUnderTheCaret) {
    HtmlBrowser browser(TestProgramsDir() + "\\RecordingBrowser.exe");
    const std::string record = scratch_.File("browser.txt");
    SetEnvironmentVariableA("VEX_BROWSER_RECORD", record.c_str());
    HWND edit = OpenScript("help.vxs", "int main()\r\n{\r\n    MessageBox(\"hi\");\r\n}\r\n");
    SetEnvironmentVariableA("VEX_BROWSER_RECORD", nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG inside = LineStart(edit, 2) + 9;  // between "Message" and "Box"
    editor_.Select(edit, inside, inside);
    // F1 or a Help command starts the browser; its command line is the address it was given.
    auto openHelp = [&](int command) {
        DeleteFileA(record.c_str());
        editor_.Command(command);
        std::string line;
        WaitUntil(
            [&] {
                line = ReadTextFile(record);
                return !line.empty();
            },
            kWait);
        return line;
    };
    std::string line = openHelp(kHelp);
    EXPECT_NE(line.find("/docs/functions.html#MessageBox"), std::string::npos) << line;

    // On a blank F1 opens the contents.
    editor_.Select(edit, LineStart(edit, 2) + 1, LineStart(edit, 2) + 1);
    line = openHelp(kHelp);
    EXPECT_NE(line.find("/docs/index.html"), std::string::npos) << line;

    // The two references open their pages the same way, by their context numbers.
    line = openHelp(kHelpLanguageReference);
    EXPECT_NE(line.find("/docs/language.html"), std::string::npos) << line;
    line = openHelp(kHelpFunctionReference);
    EXPECT_NE(line.find("/docs/functions.html"), std::string::npos) << line;
    EXPECT_EQ(line.find('#'), std::string::npos) << line;
}

}  // namespace
