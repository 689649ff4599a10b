// The System Tray Launcher dialog and its Add/Edit dialog, driven from a second thread as a user
// would: preselection, button enabling, unique names, the refusal messages in order, and what OK
// and Cancel write (menu file, RunLauncher, the Run value).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "configure_launcher_dlg.h"
#include "dialog_catcher.h"
#include "editor_tools_resource.h"
#include "profile.h"
#include "support/test_support.h"
#include "tool_settings.h"
#include "tool_test_support.h"

namespace {

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_SHORTCUT_LIST); }
int Selected(HWND dialog) {
    return int(SendMessageA(List(dialog), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}
void Select(HWND dialog, int item) {
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(dialog), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}
// Which of Edit, Delete, Move Up, Move Down are enabled, as "1101".
std::string Buttons(HWND dialog) {
    std::string state;
    for (int id : {IDC_EDIT_SHORTCUT, IDC_DELETE_SHORTCUT, IDC_MOVE_UP, IDC_MOVE_DOWN})
        state += IsWindowEnabled(GetDlgItem(dialog, id)) ? '1' : '0';
    return state;
}
HWND Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

class LauncherDialog : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        for (const char* name : {"a.vxs", "b.vxs", "c.vxs"}) WriteTextFile(scripts_.File(name), "");
    }
    INT_PTR Run(const std::string& active, std::function<void(HWND)> drive,
                ToolSettings* settings = nullptr) {
        CConfigureLauncherDlg dialog(settings ? *settings : settings_, host_, active);
        DialogDriver driver("System Tray Launcher", std::move(drive));
        return dialog.DoModal(main_.get());
    }
    // Opens Add or Edit, fills what is given, presses OK; true when the dialog closed.
    bool Entry(HWND dialog, int button, const char* caption, const char* name,
               const std::string* script, std::string* shown = nullptr) {
        PostMessageA(dialog, WM_COMMAND, button, 0);
        HWND entry = nullptr;
        if (!WaitUntil([&] { return (entry = FindOwnDialog(caption)) != nullptr; })) return false;
        if (shown)
            *shown = ControlText(entry, IDC_SHORTCUT_NAME) + "|" +
                     ControlText(entry, IDC_SHORTCUT_SCRIPT);
        return Ok(entry, name, script);
    }
    bool Ok(HWND entry, const char* name, const std::string* script) {
        if (name) SetDlgItemTextA(entry, IDC_SHORTCUT_NAME, name);
        if (script) SetDlgItemTextA(entry, IDC_SHORTCUT_SCRIPT, script->c_str());
        size_t before = messages_.size();
        PostMessageA(entry, WM_COMMAND, IDOK, 0);
        bool closed = false;
        WaitUntil([&] { return (closed = !IsWindowVisible(entry)) || Messages() > before; });
        if (closed) return true;
        // The refusal ends by putting the focus into the field named in the message.
        int expected = Messages() && messages_.back().find("name.") != std::string::npos &&
                               messages_.back().find("script") == std::string::npos
                           ? IDC_SHORTCUT_NAME
                           : IDC_SHORTCUT_SCRIPT;
        WaitUntil([&] { return GetDlgCtrlID(Focus(entry)) == expected; }, 3000);
        focus_.push_back(GetDlgCtrlID(Focus(entry)));
        return false;
    }
    size_t Messages() {
        messages_.clear();
        for (const CaughtDialog& box : catcher_.caught())
            if (box.messageBox) messages_.push_back(box.text);
        return messages_.size();
    }

    ScratchDir folder_, scripts_;
    LauncherHost host_{folder_.path() + "\\", folder_.File("vexedit.exe"), "C:\\start here"};
    SettingsGuard guard_{{"RunLauncher"}};
    RunValueGuard runValue_;
    ToolSettings& settings_ = RegistryToolSettings();
    TestMainWindow main_;
    // Message boxes get OK; the tool dialogs themselves are left to the test.
    DialogCatcher catcher_{[](const CaughtDialog& box) { return box.messageBox ? IDOK : 0; }};
    std::vector<std::string> messages_;
    std::vector<int> focus_;
};

TEST_F(LauncherDialog, PreselectsTheActiveScriptEnablesButtonsAndEditsTheMenu) {
    std::string a = scripts_.File("a.vxs"), b = scripts_.File("b.vxs"), c = scripts_.File("c.vxs");
    LauncherConfig config;
    config.entries = {{"backup", a, 0}, {"mail", b, 7}, {"report", c, 0}};
    ASSERT_TRUE(SaveMenuFile(MenuFilePath(host_), config));
    std::string activeB = b;
    for (char& ch : activeB) ch = char(toupper(ch));  // paths compare without regard to case

    std::vector<std::string> buttons;
    std::vector<int> selected;
    std::string added;
    bool refused = false, accepted = false;
    INT_PTR result = Run(activeB, [&](HWND dialog) {
        selected.push_back(Selected(dialog));
        for (int item : {1, 0, 2}) {
            Select(dialog, item);
            buttons.push_back(Buttons(dialog));
        }
        // Add starts empty (the active script is listed); "Backup" clashes with "backup".
        refused = !Entry(dialog, IDC_ADD_SHORTCUT, "Add", "Backup", &a, &added);
        HWND add = FindOwnDialog("Add");
        Ok(add, "Weekly", nullptr);
        selected.push_back(Selected(dialog));
        SendMessageA(dialog, WM_COMMAND, IDC_MOVE_UP, 0);
        selected.push_back(Selected(dialog));
        accepted = Entry(dialog, IDC_EDIT_SHORTCUT, "Edit", nullptr, nullptr);  // same name: fine
        Select(dialog, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_DELETE_SHORTCUT, 0);
        selected.push_back(Selected(dialog));
        buttons.push_back(Buttons(dialog));
        CheckDlgButton(dialog, IDC_RUN_WITH_EDITOR, BST_UNCHECKED);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(buttons, (std::vector<std::string>{"1111", "1101", "1110", "0000"}));
    EXPECT_EQ(selected, (std::vector<int>{1, 3, 2, -1}));
    EXPECT_EQ(added, "|");
    EXPECT_TRUE(refused);
    EXPECT_EQ(focus_, std::vector<int>{IDC_SHORTCUT_NAME});  // the refusal's field
    Messages();
    EXPECT_EQ(messages_,
              std::vector<std::string>{"Backup already exists. Please enter a unique name."});
    EXPECT_TRUE(accepted);

    LauncherConfig saved;
    ASSERT_TRUE(LoadMenuFile(MenuFilePath(host_), saved));
    EXPECT_EQ(saved.launcherName, "Vexa Script Launcher");
    EXPECT_EQ(saved.editorProgram, host_.editorProgram);
    EXPECT_EQ(saved.editorWindowClass, "VexaScript");
    EXPECT_EQ(saved.startDirectory, "C:\\start here");
    ASSERT_EQ(saved.entries.size(), 3u);
    EXPECT_EQ(saved.entries[0].name + saved.entries[1].name + saved.entries[2].name,
              "mailWeeklyreport");
    EXPECT_EQ(saved.entries[0].flag, 7);  // never edited: the stored flag stays
    EXPECT_EQ(saved.entries[1].flag, 1);
    EXPECT_EQ(settings_.ReadInt("RunLauncher", -1), 0);
    EXPECT_FALSE(LauncherStartsWithWindows());
}

TEST_F(LauncherDialog, AddRefusesInOrderAndSuggestsTheActiveScript) {
    std::string a = scripts_.File("a.vxs"), missing = scripts_.File("missing.vxs");
    std::string suggested, empty, folder = scripts_.path();
    Run(a, [&](HWND dialog) {
        Entry(dialog, IDC_ADD_SHORTCUT, "Add", "", &empty, &suggested);
        HWND add = FindOwnDialog("Add");
        Ok(add, "Daily", &empty);
        Ok(add, "Daily", &missing);
        Ok(add, "Daily", &folder);  // a folder is no script file
        Ok(add, "Daily", &a);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(suggested, "a|" + a);
    Messages();
    EXPECT_EQ(messages_,
              (std::vector<std::string>{
                  "Please enter a unique name.", "Please enter an existing script file name.",
                  missing + " does not exist. Please enter an existing script file name.",
                  folder + " does not exist. Please enter an existing script file name."}));
    for (const CaughtDialog& box : catcher_.caught()) {
        if (box.messageBox) {
            EXPECT_EQ(box.icon, MB_ICONEXCLAMATION);
        }
    }
    EXPECT_EQ(focus_, (std::vector<int>{IDC_SHORTCUT_NAME, IDC_SHORTCUT_SCRIPT, IDC_SHORTCUT_SCRIPT,
                                        IDC_SHORTCUT_SCRIPT}));
    LauncherConfig saved;
    ASSERT_TRUE(LoadMenuFile(MenuFilePath(host_), saved));
    ASSERT_EQ(saved.entries.size(), 1u);
    EXPECT_EQ(saved.entries[0].name, "Daily");
    EXPECT_EQ(saved.entries[0].flag, 1);
}

class IniSettings : public ProfileToolSettings {
public:
    explicit IniSettings(CProfile& profile) : ProfileToolSettings(profile, true) {}
};

TEST_F(LauncherDialog, CancelWritesNothingOkRewritesADamagedMenuAndRegistersWithWindows) {
    ASSERT_TRUE(WriteTextFile(MenuFilePath(host_), "VEXL\x03\x00 damaged"));
    std::string before = ReadTextFile(MenuFilePath(host_)), state;
    INT_PTR result = Run("", [&](HWND dialog) {
        state = std::to_string(ListView_GetItemCount(List(dialog))) +
                std::to_string(IsDlgButtonChecked(dialog, IDC_RUN_WITH_EDITOR)) +
                std::to_string(IsDlgButtonChecked(dialog, IDC_RUN_WITH_WINDOWS));
        CheckDlgButton(dialog, IDC_RUN_WITH_WINDOWS, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(state, "010");  // empty list, RunLauncher's default 1, no Run value
    EXPECT_EQ(ReadTextFile(MenuFilePath(host_)), before);
    EXPECT_EQ(settings_.ReadInt("RunLauncher", -1), -1);

    Run("", [&](HWND dialog) {
        CheckDlgButton(dialog, IDC_RUN_WITH_WINDOWS, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    LauncherConfig saved;
    EXPECT_TRUE(LoadMenuFile(MenuFilePath(host_), saved));
    EXPECT_EQ(settings_.ReadInt("RunLauncher", -1), 1);
    char value[1024] = {};
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName, RRF_RT_REG_SZ, nullptr, value, &size);
    EXPECT_EQ(std::string(value), "\"" + host_.folder + "launcher.exe\" " + MenuFilePath(host_));

    // With the INI profile the Windows start-up box is disabled.
    std::unique_ptr<CProfile> profile = MakeIniProfile(folder_.File("vexedit.ini"));
    IniSettings ini(*profile);
    bool enabled = true;
    Run(
        "",
        [&](HWND dialog) {
            enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_RUN_WITH_WINDOWS));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        &ini);
    EXPECT_FALSE(enabled);
}

}  // namespace
