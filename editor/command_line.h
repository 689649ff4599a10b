// The editor's command line: one-letter switches before the script path (/n, /r, /h, /c, /s, /l)
// and, in run mode, the entry call built from the script's arguments. Plain text work, no
// Windows header, so the rules are checked natively as well.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// Where the switch area ends: the first character that is neither a blank nor part of a switch.
size_t SwitchAreaEnd(std::string_view commandLine);
// True when the switch area holds a slash directly followed by `letter` (case-sensitive).
bool HasSwitch(std::string_view commandLine, char letter);

// The script path of the command line (after the switches), its quotes removed.
std::string ScriptPathArgument(std::string_view commandLine);

// The words after the script path, their quotes removed: the print-to verb's printer, driver
// and port.
std::vector<std::string> ArgumentsAfterPath(std::string_view commandLine);

// "main(...)" with every argument after the script path as a string literal. With
// `keepEscapes` a backslash before a double quote stays an escape; otherwise backslashes are
// doubled so paths arrive unchanged.
std::string BuildEntryCall(std::string_view commandLine, bool keepEscapes);

// The command line after the program's own name (as GetCommandLine returns it whole).
std::string_view AfterProgramName(std::string_view fullCommandLine);

// "%d.%02d" of the major and minor version, plus " Beta %d" for a third number of 1 to 99.
std::string VersionText(int major, int minor, int third);
