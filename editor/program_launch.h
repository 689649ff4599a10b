// The editor's launch routine: start a command line as a program, else let the shell open it.
// Used to start the tray launcher, the support page and the update download page.
#pragma once
#include <string>

// The reason shown for a shell result of 32 or less.
std::string ShellErrorReason(int code);
// True when the program started or the shell opened the text; a failure shows
// "Unable to execute " + the command line + the reason, except access denied without a verb.
bool LaunchProgram(const std::string& commandLine);
