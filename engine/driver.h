// The run and test-compile drivers behind the exported entry points: record, current
// directory, running-script window, load, both passes, entry call and error report.
#pragma once
#include <string>

#include "run_window.h"
#include "script_result.h"

int RunScriptFile(EnginePlatform& platform, void* owner, const char* path, const char* entryCall,
                  int strict, ScriptResult& record);
int TestCompileScriptFile(EnginePlatform& platform, void* owner, const char* path, int strict,
                          ScriptResult& record);
