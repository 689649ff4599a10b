// The program starter of Run, shared with the built-ins that open a program or a document
// (BrowseURL): create the process from the command line and wait until it is idle, or hand
// the command line to the shell's open action.
#pragma once
#include <cstdint>
#include <string>

#include "run_window.h"

// 1 started, 0 not started, or -19 when Cancel ended the wait for the new program.
int StartProgramOrDocument(RunWindow& window, const std::string& commandLine, int32_t showCmd);
