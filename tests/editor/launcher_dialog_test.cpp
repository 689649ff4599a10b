// The System Tray Launcher dialog and its Add/Edit dialog, driven as a user would from a second
// thread: preselection, button enabling, unique names, the refusal messages, and what OK and
// Cancel write (menu file, RunLauncher, the Run value).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "configure_launcher_dlg.h"
#include "dialog_catcher.h"
#include "editor_tools_resource.h"
#include "launcher_control.h"
#include "launcher_menu_file.h"
#include "support/test_support.h"
#include "tool_settings.h"
#include "tool_test_support.h"

namespace {

constexpr char kCaption[] = "System Tray Launcher";

// Message boxes are answered with OK; the tool dialogs themselves are left to the test.
int AnswerMessageBoxes(const CaughtDialog& box) { return box.messageBox ? IDOK : 0; }

std::vector<std::string> MessageTexts(const DialogCatcher& catcher) {
    std::vector<std::string> texts;
    for (const CaughtDialog& box : catcher.caught())
        if (box.messageBox) texts.push_back(box.text);
    return texts;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

struct Buttons {
    bool edit, remove, up, down;
    bool operator==(const Buttons&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Buttons& b) {
    return out << "{edit " << b.edit << ", delete " << b.remove << ", up " << b.up << ", down "
               << b.down << "}";
}
Buttons ButtonsOf(HWND dialog) {
    return {Enabled(dialog, IDC_EDIT_SHORTCUT), Enabled(dialog, IDC_DELETE_SHORTCUT),
            Enabled(dialog, IDC_MOVE_UP), Enabled(dialog, IDC_MOVE_DOWN)};
}

HWND ListOf(HWND dialog) { return GetDlgItem(dialog, IDC_SHORTCUT_LIST); }
int SelectedItem(HWND dialog) {
    return int(SendMessageA(ListOf(dialog), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}
void Select(HWND dialog, int item) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(ListOf(dialog), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}
std::string ItemText(HWND dialog, int item, int column) {
    char text[512] = {};
    LVITEMA get{};
    get.iSubItem = column;
    get.pszText = text;
    get.cchTextMax = sizeof text;
    SendMessageA(ListOf(dialog), LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&get));
    return text;
}
int ItemCount(HWND dialog) { return int(SendMessageA(ListOf(dialog), LVM_GETITEMCOUNT, 0, 0)); }

// Opens the Add/Edit dialog with a button of the launcher dialog and waits for it.
HWND OpenEntryDialog(HWND dialog, int button, const char* caption) {
    PostMessageA(dialog, WM_COMMAND, button, 0);
    HWND entry = nullptr;
    WaitUntil([&] { return (entry = FindOwnDialog(caption)) != nullptr; });
    return entry;
}

// Presses OK in the Add/Edit dialog; true when it closed, false when it stayed open.
bool PressOk(HWND entry, DialogCatcher& catcher, size_t& boxes) {
    PostMessageA(entry, WM_COMMAND, IDOK, 0);
    bool closed = false;
    WaitUntil([&] {
        closed = !IsWindow(entry) || !IsWindowVisible(entry);
        return closed || MessageTexts(catcher).size() > boxes;
    });
    if (!closed) {
        ++boxes;
        WaitUntil([&] { return FindOwnDialog("Vexa Script") == nullptr; });
    }
    return closed;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The registry profile, or the same values with the INI file's restrictions.
class IniModeSettings : public ToolSettings {
public:
    int ReadInt(const char* e, int d) override { return RegistryToolSettings().ReadInt(e, d); }
    void WriteInt(const char* e, int v) override { RegistryToolSettings().WriteInt(e, v); }
    std::string ReadString(const char* e, const std::string& d) override {
        return RegistryToolSettings().ReadString(e, d);
    }
    void WriteString(const char* e, const std::string& v) override {
        RegistryToolSettings().WriteString(e, v);
    }
    bool IniMode() const override { return true; }
};

class LauncherDialog : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        host_ = {folder_.path() + "\\", folder_.File("vexedit.exe"), "C:\\start here"};
        for (const char* name : {"a.vxs", "b.vxs", "c.vxs"})
            WriteTextFile(scripts_.File(name), "int main() { return 0; }");
    }
    void SaveEntries(std::vector<CLauncherCommand> entries) {
        LauncherConfig config;
        SetEditorHeader(config, "old.exe", "", "old");
        config.entries = std::move(entries);
        ASSERT_TRUE(SaveMenuFile(MenuFilePath(host_), config));
    }
    INT_PTR Run(ToolSettings& settings, const std::string& active,
                std::function<void(HWND)> drive) {
        CConfigureLauncherDlg dialog(settings, host_, active);
        DialogDriver driver(kCaption, std::move(drive));
        INT_PTR result = dialog.DoModal(main_.get());
        EXPECT_TRUE(driver.found());
        return result;
    }

    ScratchDir folder_, scripts_;
    LauncherHost host_;
    SettingsGuard guard_{{"RunLauncher"}};
    RunValueGuard runValue_;
    ToolSettings& settings_ = RegistryToolSettings();
    TestMainWindow main_;
};

TEST_F(LauncherDialog, PreselectsTheActiveScriptEnablesButtonsAndEditsTheMenu) {
    std::string a = scripts_.File("a.vxs"), b = scripts_.File("b.vxs"), c = scripts_.File("c.vxs");
    SaveEntries({{"backup", a, 0}, {"mail", b, 7}, {"report", c, 0}});
    std::string activeB = b;
    for (char& ch : activeB) ch = char(toupper(ch));  // paths compare without regard to case

    DialogCatcher catcher(AnswerMessageBoxes);
    size_t boxes = 0;
    std::vector<Buttons> buttons;
    std::vector<int> selections;
    std::string addName = "?", addScript = "?", addCaption, editCaption, editName;
    bool refused = false, focusOnName = false, editAccepted = false;
    std::vector<std::string> rows;
    INT_PTR result = Run(settings_, activeB, [&](HWND dialog) {
        selections.push_back(SelectedItem(dialog));
        buttons.push_back(ButtonsOf(dialog));
        Select(dialog, 0);
        buttons.push_back(ButtonsOf(dialog));
        Select(dialog, 2);
        buttons.push_back(ButtonsOf(dialog));

        // Add starts empty: the active script is already in the list.
        HWND add = OpenEntryDialog(dialog, IDC_ADD_SHORTCUT, "Add");
        if (!add) return;
        addName = ControlText(add, IDC_SHORTCUT_NAME);
        addScript = ControlText(add, IDC_SHORTCUT_SCRIPT);
        SetDlgItemTextA(add, IDC_SHORTCUT_NAME, "Backup");
        SetDlgItemTextA(add, IDC_SHORTCUT_SCRIPT, a.c_str());
        refused = !PressOk(add, catcher, boxes);
        focusOnName = FocusOf(add) == GetDlgItem(add, IDC_SHORTCUT_NAME);
        SetDlgItemTextA(add, IDC_SHORTCUT_NAME, "Weekly");
        PressOk(add, catcher, boxes);
        WaitUntil([&] { return ItemCount(dialog) == 4; });
        selections.push_back(SelectedItem(dialog));

        // Move the new entry up, then edit it keeping its name.
        SendMessageA(dialog, WM_COMMAND, IDC_MOVE_UP, 0);
        selections.push_back(SelectedItem(dialog));
        HWND edit = OpenEntryDialog(dialog, IDC_EDIT_SHORTCUT, "Edit");
        if (!edit) return;
        editName = ControlText(edit, IDC_SHORTCUT_NAME);
        editAccepted = PressOk(edit, catcher, boxes);

        // Delete the first entry: nothing is selected afterwards.
        Select(dialog, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_DELETE_SHORTCUT, 0);
        selections.push_back(SelectedItem(dialog));
        buttons.push_back(ButtonsOf(dialog));
        for (int i = 0; i < ItemCount(dialog); ++i)
            rows.push_back(ItemText(dialog, i, 0) + "|" + ItemText(dialog, i, 1));

        CheckDlgButton(dialog, IDC_RUN_WITH_EDITOR, BST_UNCHECKED);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);

    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0], (Buttons{true, true, true, true}));      // "mail", in the middle
    EXPECT_EQ(buttons[1], (Buttons{true, true, false, true}));     // first
    EXPECT_EQ(buttons[2], (Buttons{true, true, true, false}));     // last
    EXPECT_EQ(buttons[3], (Buttons{false, false, false, false}));  // nothing selected
    EXPECT_EQ(selections, (std::vector<int>{1, 3, 2, -1}));
    EXPECT_EQ(addName, "");
    EXPECT_EQ(addScript, "");
    EXPECT_TRUE(refused);
    EXPECT_TRUE(focusOnName);
    EXPECT_EQ(MessageTexts(catcher),
              (std::vector<std::string>{"Backup already exists. Please enter a unique name."}));
    EXPECT_EQ(editName, "Weekly");
    EXPECT_TRUE(editAccepted);
    EXPECT_EQ(rows, (std::vector<std::string>{"mail|" + b, "Weekly|" + a, "report|" + c}));

    // OK wrote the menu in list order with the editor's header, and the settings.
    LauncherConfig saved;
    ASSERT_TRUE(LoadMenuFile(MenuFilePath(host_), saved));
    EXPECT_EQ(saved.launcherName, "Vexa Script Launcher");
    EXPECT_EQ(saved.editorProgram, host_.editorProgram);
    EXPECT_EQ(saved.editorWindowClass, "VexaScript");
    EXPECT_EQ(saved.startDirectory, "C:\\start here");
    ASSERT_EQ(saved.entries.size(), 3u);
    EXPECT_EQ(saved.entries[0].name, "mail");
    EXPECT_EQ(saved.entries[0].flag, 7);  // never edited: the stored flag stays
    EXPECT_EQ(saved.entries[1].name, "Weekly");
    EXPECT_EQ(saved.entries[1].flag, 1);
    EXPECT_EQ(saved.entries[2].flag, 0);
    EXPECT_EQ(settings_.ReadInt("RunLauncher", -1), 0);
    EXPECT_FALSE(LauncherStartsWithWindows());
}

TEST_F(LauncherDialog, AddRefusesInOrderAndSuggestsTheActiveScript) {
    std::string a = scripts_.File("a.vxs");
    DialogCatcher catcher(AnswerMessageBoxes);
    size_t boxes = 0;
    std::string suggestedName, suggestedScript;
    std::vector<HWND> focus;
    std::vector<HWND> nameAndScript;
    Run(settings_, a, [&](HWND dialog) {
        HWND add = OpenEntryDialog(dialog, IDC_ADD_SHORTCUT, "Add");
        if (!add) return;
        nameAndScript = {GetDlgItem(add, IDC_SHORTCUT_NAME), GetDlgItem(add, IDC_SHORTCUT_SCRIPT)};
        suggestedName = ControlText(add, IDC_SHORTCUT_NAME);
        suggestedScript = ControlText(add, IDC_SHORTCUT_SCRIPT);
        auto attempt = [&](const char* name, const std::string& script) {
            SetDlgItemTextA(add, IDC_SHORTCUT_NAME, name);
            SetDlgItemTextA(add, IDC_SHORTCUT_SCRIPT, script.c_str());
            bool closed = PressOk(add, catcher, boxes);
            if (!closed) focus.push_back(FocusOf(add));
            return closed;
        };
        attempt("", "");
        attempt("Daily", "");
        attempt("Daily", scripts_.File("missing.vxs"));
        attempt("Daily", scripts_.path());  // a folder is no script file
        attempt("Daily", a);
        WaitUntil([&] { return ItemCount(dialog) == 1; });
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(suggestedName, "a");
    EXPECT_EQ(suggestedScript, a);
    EXPECT_EQ(
        MessageTexts(catcher),
        (std::vector<std::string>{
            "Please enter a unique name.", "Please enter an existing script file name.",
            scripts_.File("missing.vxs") +
                " does not exist. Please enter an existing script file name.",
            scripts_.path() + " does not exist. Please enter an existing script file name."}));
    for (const CaughtDialog& box : catcher.caught()) {
        if (box.messageBox) {
            EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);
        }
    }
    ASSERT_EQ(focus.size(), 4u);
    ASSERT_EQ(nameAndScript.size(), 2u);
    EXPECT_EQ(focus[0], nameAndScript[0]);
    EXPECT_EQ(focus[1], nameAndScript[1]);
    EXPECT_EQ(focus[2], nameAndScript[1]);
    LauncherConfig saved;
    ASSERT_TRUE(LoadMenuFile(MenuFilePath(host_), saved));
    ASSERT_EQ(saved.entries.size(), 1u);
    EXPECT_EQ(saved.entries[0].name, "Daily");
    EXPECT_EQ(saved.entries[0].flag, 1);
}

TEST_F(LauncherDialog, CancelWritesNothingAndADamagedMenuOpensEmpty) {
    ASSERT_TRUE(WriteTextFile(MenuFilePath(host_), "VEXL\x03\x00 damaged"));
    std::string before = ReadTextFile(MenuFilePath(host_));
    int items = -1;
    bool withEditor = false, withWindows = true, windowsBoxEnabled = false;
    INT_PTR result = Run(settings_, "", [&](HWND dialog) {
        items = ItemCount(dialog);
        withEditor = IsDlgButtonChecked(dialog, IDC_RUN_WITH_EDITOR) == BST_CHECKED;
        withWindows = IsDlgButtonChecked(dialog, IDC_RUN_WITH_WINDOWS) == BST_CHECKED;
        windowsBoxEnabled = Enabled(dialog, IDC_RUN_WITH_WINDOWS);
        CheckDlgButton(dialog, IDC_RUN_WITH_WINDOWS, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(items, 0);
    EXPECT_TRUE(withEditor);  // RunLauncher defaults to 1
    EXPECT_FALSE(withWindows);
    EXPECT_TRUE(windowsBoxEnabled);
    EXPECT_EQ(ReadTextFile(MenuFilePath(host_)), before);
    EXPECT_EQ(settings_.ReadInt("RunLauncher", -1), -1);
    EXPECT_FALSE(LauncherStartsWithWindows());

    // OK rewrites the damaged file and registers the launcher with Windows.
    Run(settings_, "", [&](HWND dialog) {
        CheckDlgButton(dialog, IDC_RUN_WITH_WINDOWS, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    LauncherConfig saved;
    EXPECT_TRUE(LoadMenuFile(MenuFilePath(host_), saved));
    EXPECT_TRUE(saved.entries.empty());
    EXPECT_EQ(settings_.ReadInt("RunLauncher", -1), 1);
    char value[1024] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName, RRF_RT_REG_SZ, nullptr, value,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(value), "\"" + host_.folder + "launcher.exe\" " + MenuFilePath(host_));
}

TEST_F(LauncherDialog, IniProfileDisablesTheWindowsStartUpBox) {
    IniModeSettings ini;
    bool enabled = true;
    Run(ini, "", [&](HWND dialog) {
        enabled = Enabled(dialog, IDC_RUN_WITH_WINDOWS);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(enabled);
}

}  // namespace
