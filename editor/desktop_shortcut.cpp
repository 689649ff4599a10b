// Desktop shortcuts through IShellLink and IPersistFile.
#include "desktop_shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "com_ref.h"
#include "editor_message.h"
#include "launcher_control.h"
#include "tool_settings.h"

namespace {

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\shell folders";

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    return wide;
}

}  // namespace

ShortcutDescription DesktopShortcutFor(const std::string& scriptPath,
                                       const std::string& editorProgram, bool strict) {
    ShortcutDescription shortcut;
    shortcut.name = "Run " + FileNameOf(scriptPath);
    shortcut.target = editorProgram;
    shortcut.arguments = std::string("/r") + (strict ? " /s" : " /l") + " \"" + scriptPath + "\"";
    shortcut.shellFolder = "Desktop";
    return shortcut;
}

std::string ShortcutFolder(const ShortcutDescription& shortcut) {
    char folder[MAX_PATH * 2] = {};
    DWORD size = sizeof folder;
    if (RegGetValueA(HKEY_CURRENT_USER, kShellFoldersKey, shortcut.shellFolder.c_str(),
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, folder,
                     &size) != ERROR_SUCCESS ||
        folder[0] == '\0')
        return "";
    std::string path = folder;
    if (!shortcut.subfolder.empty()) path += "\\" + shortcut.subfolder;
    return path;
}

std::string ShortcutFile(const ShortcutDescription& shortcut) {
    std::string folder = ShortcutFolder(shortcut);
    return folder.empty() ? "" : folder + "\\" + shortcut.name + ".lnk";
}

bool CreateShortcut(const ShortcutDescription& shortcut, const std::string& workingDirectory) {
    std::string folder = ShortcutFolder(shortcut);
    if (folder.empty()) return false;
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);  // already there is fine
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.put())))
        return false;
    link->SetPath(shortcut.target.c_str());
    link->SetWorkingDirectory(workingDirectory.c_str());
    link->SetDescription(shortcut.name.c_str());
    link->SetArguments(shortcut.arguments.c_str());
    link->SetShowCmd(shortcut.showCommand);
    link->SetIconLocation(shortcut.target.c_str(), shortcut.iconIndex);
    ComRef<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    return file &&
           SUCCEEDED(file->Save(Wide(folder + "\\" + shortcut.name + ".lnk").c_str(), TRUE));
}

void CreateDesktopShortcutCommand(HWND owner, const std::string& scriptPath,
                                  ToolSettings& settings) {
    if (scriptPath.empty()) {
        EditorMessageBox(owner,
                         "The script file needs to be saved before creating a desktop shortcut.",
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (EditorMessageBox(owner,
                         scriptPath + "\n\nAre you sure you want to create a desktop shortcut to "
                                      "run this script file?",
                         MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The strict switch is fixed now; later changes of Build > Strict leave the link alone.
    ShortcutDescription shortcut =
        DesktopShortcutFor(scriptPath, ProgramFilePath(), settings.ReadInt("Strict", 0) != 0);
    std::string file = ShortcutFile(shortcut);
    if (!file.empty() && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
        EditorMessageBox(owner,
                         "\"" + shortcut.name +
                             "\" already exists.\n\nDo you want to replace the existing desktop "
                             "shortcut?",
                         MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CreateShortcut(shortcut, ProgramFolder());
}
