// Tools > Create Desktop Shortcut against the real shell link object under Wine: the link's
// target, arguments, description and folder, and the questions before creating or replacing.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include "com_ref.h"
#include "desktop_shortcut.h"
#include "dialog_catcher.h"
#include "launcher_control.h"
#include "support/test_support.h"
#include "tool_settings.h"
#include "tool_test_support.h"

namespace {

constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

struct LinkFields {
    std::string target, arguments, description, workingDirectory, iconFile;
    int icon = -1, show = -1;
};

bool ReadLink(const std::string& file, LinkFields& fields) {
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.put())))
        return false;
    ComRef<IPersistFile> persist = link.As<IPersistFile>(IID_IPersistFile);
    std::wstring wide(file.begin(), file.end());
    if (!persist || FAILED(persist->Load(wide.c_str(), STGM_READ))) return false;
    char text[1024];
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    fields.target = text;
    link->GetArguments(text, sizeof text);
    fields.arguments = text;
    link->GetDescription(text, sizeof text);
    fields.description = text;
    link->GetWorkingDirectory(text, sizeof text);
    fields.workingDirectory = text;
    link->GetIconLocation(text, sizeof text, &fields.icon);
    fields.iconFile = text;
    link->GetShowCmd(&fields.show);
    return true;
}

// Points the user's desktop folder at a scratch folder for the length of a test. The shell
// rewrites "Shell Folders" from "User Shell Folders" whenever it looks a folder up, so both move.
class DesktopFolderGuard {
public:
    explicit DesktopFolderGuard(const std::string& folder) {
        for (int i = 0; i < 2; ++i) {
            char value[1024] = {};
            DWORD size = sizeof value;
            had_[i] = RegGetValueA(HKEY_CURRENT_USER, kKeys[i], "Desktop",
                                   RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type_[i],
                                   value, &size) == ERROR_SUCCESS;
            old_[i] = value;
        }
        Set(folder);
    }
    ~DesktopFolderGuard() {
        for (int i = 0; i < 2; ++i) {
            if (had_[i])
                RegSetKeyValueA(HKEY_CURRENT_USER, kKeys[i], "Desktop", type_[i], old_[i].c_str(),
                                DWORD(old_[i].size() + 1));
            else
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kKeys[i], "Desktop");
        }
    }
    // An empty folder removes the value the editor reads.
    static void Set(const std::string& folder) {
        for (const char* key : kKeys) {
            if (folder.empty())
                RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "Desktop");
            else
                RegSetKeyValueA(HKEY_CURRENT_USER, key, "Desktop", REG_SZ, folder.c_str(),
                                DWORD(folder.size() + 1));
        }
    }

private:
    static constexpr const char* kKeys[2] = {kShellFolders, kUserShellFolders};
    bool had_[2] = {};
    DWORD type_[2] = {};
    std::string old_[2];
};

class DesktopShortcut : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    ScratchDir desktop_;
    ScratchDir scripts_;
    DesktopFolderGuard folder_{desktop_.path() + "\\Desk"};  // created on first use
    SettingsGuard strict_{{"Strict"}};
    ToolSettings& settings_ = RegistryToolSettings();
    TestMainWindow main_;
};

int AnswerYes(const CaughtDialog&) { return IDYES; }
int AnswerNo(const CaughtDialog&) { return IDNO; }

TEST_F(DesktopShortcut, StrictLinkRunsTheScriptAndAsksBeforeReplacing) {
    std::string script = scripts_.File("backup.vxs");
    std::string link = desktop_.path() + "\\Desk\\Run backup.vxs.lnk";
    settings_.WriteInt("Strict", 1);
    {
        DialogCatcher catcher(AnswerYes);
        CreateDesktopShortcutCommand(main_.get(), script, settings_);
        ASSERT_EQ(catcher.count(), 1u);
        CaughtDialog question = catcher.caught()[0];
        EXPECT_EQ(question.text,
                  script +
                      "\n\nAre you sure you want to create a desktop shortcut to run this script "
                      "file?");
        EXPECT_EQ(question.caption, "Vexa Script");
        EXPECT_EQ(question.icon, MB_ICONQUESTION);
    }
    LinkFields fields;
    ASSERT_TRUE(ReadLink(link, fields)) << link;
    EXPECT_EQ(_stricmp(fields.target.c_str(), ProgramFilePath().c_str()), 0) << fields.target;
    EXPECT_EQ(fields.arguments, "/r /s \"" + script + "\"");
    EXPECT_EQ(fields.description, "Run backup.vxs");
    EXPECT_EQ(_stricmp(fields.iconFile.c_str(), ProgramFilePath().c_str()), 0) << fields.iconFile;
    EXPECT_EQ(fields.icon, 0);
    EXPECT_EQ(fields.show, SW_SHOWNORMAL);
    std::string folder = ProgramFolder();
    EXPECT_EQ(_strnicmp(fields.workingDirectory.c_str(), folder.c_str(), folder.size() - 1), 0)
        << fields.workingDirectory;

    // Strict is now off. A second shortcut asks before replacing; No keeps the first.
    settings_.WriteInt("Strict", 0);
    {
        std::vector<std::string> texts;
        DialogCatcher catcher([&](const CaughtDialog& box) {
            texts.push_back(box.text);
            return texts.size() == 1 ? IDYES : IDNO;
        });
        CreateDesktopShortcutCommand(main_.get(), script, settings_);
        ASSERT_EQ(catcher.count(), 2u);
        EXPECT_EQ(catcher.caught()[1].text,
                  "\"Run backup.vxs\" already exists.\n\nDo you want to replace the existing "
                  "desktop shortcut?");
        EXPECT_EQ(catcher.caught()[1].icon, MB_ICONQUESTION);
    }
    ASSERT_TRUE(ReadLink(link, fields));
    EXPECT_EQ(fields.arguments, "/r /s \"" + script + "\"");
    {
        DialogCatcher catcher(AnswerYes);
        CreateDesktopShortcutCommand(main_.get(), script, settings_);
        EXPECT_EQ(catcher.count(), 2u);
    }
    ASSERT_TRUE(ReadLink(link, fields));
    EXPECT_EQ(fields.arguments, "/r /l \"" + script + "\"");
}

TEST_F(DesktopShortcut, UntitledScriptNoAnswerAndMissingFolderCreateNothing) {
    {
        DialogCatcher catcher(AnswerYes);
        CreateDesktopShortcutCommand(main_.get(), "", settings_);
        ASSERT_EQ(catcher.count(), 1u);
        EXPECT_EQ(catcher.caught()[0].text,
                  "The script file needs to be saved before creating a desktop shortcut.");
        EXPECT_EQ(catcher.caught()[0].icon, MB_ICONINFORMATION);
    }
    std::string script = scripts_.File("mail.vxs");
    {
        DialogCatcher catcher(AnswerNo);
        CreateDesktopShortcutCommand(main_.get(), script, settings_);
        EXPECT_EQ(catcher.count(), 1u);
    }
    EXPECT_EQ(GetFileAttributesA((desktop_.path() + "\\Desk").c_str()), INVALID_FILE_ATTRIBUTES);

    // No desktop folder in the registry: no shortcut and no message beyond the question.
    DesktopFolderGuard::Set("");
    ShortcutDescription shortcut = DesktopShortcutFor(script, ProgramFilePath(), false);
    EXPECT_EQ(ShortcutFile(shortcut), "");
    {
        DialogCatcher catcher(AnswerYes);
        CreateDesktopShortcutCommand(main_.get(), script, settings_);
        EXPECT_EQ(catcher.count(), 1u);
    }
    EXPECT_FALSE(CreateShortcut(shortcut, ProgramFolder()));
}

}  // namespace
