// The editor's side of the tray launcher: starting it, telling it to re-read its menu, closing
// it with the last editor, and the Windows start-up value.
#pragma once
#include <windows.h>

#include <string>

inline constexpr UINT kLauncherReloadMessage = WM_USER + 10;  // 1034
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Where the launcher lives and what the menu file records about the running editor.
struct LauncherHost {
    std::string folder;          // the editor's program folder, with a trailing backslash
    std::string editorProgram;   // full path of the running editor program file
    std::string startDirectory;  // the editor's start directory
};

// The running program's file and folder (the folder with a trailing backslash).
std::string ProgramFilePath();
std::string ProgramFolder();
LauncherHost CurrentLauncherHost(const std::string& startDirectory);

std::string MenuFilePath(const LauncherHost& host);
std::string LauncherCommandLine(const LauncherHost& host);
std::string LauncherWindowTitle(const LauncherHost& host);
HWND FindLauncherWindow(const LauncherHost& host);

// Rewrites the menu file for this editor and starts the launcher, or tells a running one to
// re-read the file. Nothing happens when "launcher.exe" is not beside the editor.
void StartLauncher(const LauncherHost& host);
// Sends message 1034 when the launcher's window exists.
void NotifyLauncher(const LauncherHost& host);
// After the main frame closed: closes the launcher when it is not started with Windows and
// no editor window is left.
void CloseLauncherIfLastEditor(const LauncherHost& host);

// The Run value "Vexa Script Launcher": present and non-empty, written, deleted.
bool LauncherStartsWithWindows();
void SetLauncherStartsWithWindows(bool on, const LauncherHost& host);
