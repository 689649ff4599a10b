// The editor's tools joined to the command route: Window Information Finder, Create Desktop
// Shortcut, System Tray Launcher, Tip of the Day; plus the start-up, size and close hooks that
// start the launcher, show the tip, run the update check and close the launcher.
#pragma once
#include <windows.h>

class CVexaScriptApp;

// Adds the tools to the application's command route; call once the main frame exists.
void InstallToolCommands(CVexaScriptApp& app);
// The last steps of start-up: the tray launcher (RunLauncher) and the tip of the day.
void RunStartupTools();
// From the main frame's WM_SIZE: the first restored or maximised size starts the update check.
void ToolsOnMainWindowSize(HWND mainWindow, UINT sizeType);
// After the main frame's close processing: close the launcher with the last editor.
void ToolsOnMainFrameClosed();
