// Run mode (/r): the script named on the command line runs through the engine and its result
// becomes the exit code; the editor shows no window of its own.
#pragma once
#include <windows.h>

#include <string_view>

class CProfile;

// `commandLine` is the line after the program name. Returns the engine's result.
int RunScriptUnattended(HWND mainFrame, std::string_view commandLine, const CProfile& profile);
