// Build > Compile and Build > Run: save the modified scripts, check the engine's version, hand
// the active script to the engine and, after an error, show the file and line it reported.
#pragma once
#include <string>

#include "script_result.h"

// Every modified script is saved (Save As for an untitled one), as Compile and Run do first and
// File > Save All does alone; false when one was not.
bool SaveModifiedScripts();

void CompileActiveScript();
void RunActiveScript();

// The file an engine error names, as a full path: a name relative to the script that ran (an
// included file, as the including script wrote it) is taken from that script's folder.
std::string ErrorFilePath(const std::string& scriptPath, const ScriptResult& record);
