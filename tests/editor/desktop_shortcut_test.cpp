// Tools > Create Desktop Shortcut with the real shell link object: target, arguments,
// description and folder of the link, and the questions before creating or replacing it.
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

// The shell rewrites "Shell Folders" from "User Shell Folders" when it looks a folder up, so a
// test moves the desktop in both; without either value the shell uses its default again.
const char* const kFolderKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"};

void SetDesktop(const std::string& folder) {
    for (const char* key : kFolderKeys) {
        if (folder.empty())
            RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "Desktop");
        else
            RegSetKeyValueA(HKEY_CURRENT_USER, key, "Desktop", REG_SZ, folder.c_str(),
                            DWORD(folder.size() + 1));
    }
}

struct Link {
    std::string target, arguments, description, directory, iconFile;
    int icon = -1, show = -1;
};

bool ReadLink(const std::string& file, Link& link) {
    ComRef<IShellLinkA> shell;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shell.put())))
        return false;
    ComRef<IPersistFile> persist = shell.As<IPersistFile>(IID_IPersistFile);
    std::wstring wide(file.begin(), file.end());
    if (!persist || FAILED(persist->Load(wide.c_str(), STGM_READ))) return false;
    char text[4][1024] = {}, icon[1024] = {};
    shell->GetPath(text[0], 1024, nullptr, SLGP_RAWPATH);
    shell->GetArguments(text[1], 1024);
    shell->GetDescription(text[2], 1024);
    shell->GetWorkingDirectory(text[3], 1024);
    shell->GetIconLocation(icon, 1024, &link.icon);
    shell->GetShowCmd(&link.show);
    link = {text[0], text[1], text[2], text[3], icon, link.icon, link.show};
    return true;
}

TEST(DesktopShortcut, LinkRunsTheScriptStrictOrNotAndAsksBeforeReplacing) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ScratchDir desktop, scripts;
    SettingsGuard guard({"Strict"});
    ToolSettings& settings = RegistryToolSettings();
    TestMainWindow main;
    SetDesktop(desktop.path() + "\\Desk");  // created on first use
    std::string script = scripts.File("backup.vxs"),
                file = desktop.path() + "\\Desk\\Run backup.vxs.lnk";
    std::vector<std::string> texts;
    int replace = IDNO;
    auto create = [&] {
        DialogCatcher catcher([&](const CaughtDialog& box) {
            texts.push_back(box.text);
            EXPECT_EQ(box.icon, box.text.find("saved") == std::string::npos ? MB_ICONQUESTION
                                                                            : MB_ICONINFORMATION);
            return box.text.find("already exists") == std::string::npos ? IDYES : replace;
        });
        CreateDesktopShortcutCommand(main.get(), script, settings);
    };

    settings.WriteInt("Strict", 1);
    create();
    EXPECT_EQ(texts,
              std::vector<std::string>{script + "\n\nAre you sure you want to create a "
                                                "desktop shortcut to run this script file?"});
    Link link;
    ASSERT_TRUE(ReadLink(file, link)) << file;
    EXPECT_EQ(_stricmp(link.target.c_str(), ProgramFilePath().c_str()), 0) << link.target;
    EXPECT_EQ(link.arguments, "/r /s \"" + script + "\"");
    EXPECT_EQ(link.description, "Run backup.vxs");
    EXPECT_EQ(_stricmp(link.iconFile.c_str(), ProgramFilePath().c_str()), 0);
    EXPECT_EQ(link.icon, 0);
    EXPECT_EQ(link.show, SW_SHOWNORMAL);
    EXPECT_EQ(
        _strnicmp(link.directory.c_str(), ProgramFolder().c_str(), ProgramFolder().size() - 1), 0);

    // Strict is off now. Replacing asks first; No keeps the first link, Yes replaces it.
    settings.WriteInt("Strict", 0);
    texts.clear();
    create();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1],
              "\"Run backup.vxs\" already exists.\n\nDo you want to replace the existing "
              "desktop shortcut?");
    ASSERT_TRUE(ReadLink(file, link));
    EXPECT_EQ(link.arguments, "/r /s \"" + script + "\"");
    replace = IDYES;
    create();
    ASSERT_TRUE(ReadLink(file, link));
    EXPECT_EQ(link.arguments, "/r /l \"" + script + "\"");

    // An untitled script gets the "needs to be saved" message and no question.
    texts.clear();
    script.clear();
    create();
    EXPECT_EQ(texts, std::vector<std::string>{
                         "The script file needs to be saved before creating a desktop shortcut."});
    // No desktop folder in the registry: no link and no message.
    SetDesktop("");
    EXPECT_EQ(ShortcutFile(DesktopShortcutFor("x.vxs", "e.exe", false)), "");
    EXPECT_FALSE(CreateShortcut(DesktopShortcutFor("x.vxs", "e.exe", false), "C:\\"));
    CoUninitialize();  // the shell puts its own desktop back when it next looks it up
}

}  // namespace
