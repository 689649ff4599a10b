// Tools > Create Desktop Shortcut: a shell link on the desktop that runs a script through the
// editor's run mode, "/r /s|/l \"path\"".
#pragma once
#include <windows.h>

#include <string>

class ToolSettings;

// What a shortcut is made of; the self-install mode describes its shortcuts the same way.
struct ShortcutDescription {
    std::string name;    // file name of the link without ".lnk", and its description
    std::string target;  // program the link starts
    std::string arguments;
    std::string shellFolder;  // value name under the user's "shell folders" key
    std::string subfolder;    // appended to that folder after a backslash when not empty
    int iconIndex = 0;
    int showCommand = SW_SHOWNORMAL;
};

// "Run <name>.vxs" starting `editorProgram` with "/r /s" (strict) or "/r /l" and the path.
ShortcutDescription DesktopShortcutFor(const std::string& scriptPath,
                                       const std::string& editorProgram, bool strict);
// The folder the link goes into; empty when the registry does not name it.
std::string ShortcutFolder(const ShortcutDescription& shortcut);
// Folder + "\" + name + ".lnk"; empty when the folder is unknown.
std::string ShortcutFile(const ShortcutDescription& shortcut);
// Writes the link (creating its folder); shell errors give false and no message.
bool CreateShortcut(const ShortcutDescription& shortcut, const std::string& workingDirectory);

// The whole command for the document at `scriptPath` (empty: never saved), with its questions.
void CreateDesktopShortcutCommand(HWND owner, const std::string& scriptPath,
                                  ToolSettings& settings);
