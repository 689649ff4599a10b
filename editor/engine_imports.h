// The four engine entry points the editor uses, imported from vexeng.dll by ordinal at load time
// (vexeng_ordinals.def): the editor does not start without the engine.
#pragma once
#include <windows.h>

#include "script_result.h"

extern "C" {
__declspec(dllimport) int WINAPI VexEngVersion();  // 1
__declspec(dllimport) int WINAPI
    VexEngTestCompileScriptFile(HWND, const char*, ScriptResult*);  // 3
__declspec(dllimport) int WINAPI VexEngRunScriptFileEx(HWND, const char*, const char*,
                                                       ScriptResult*);                       // 4
__declspec(dllimport) int WINAPI VexEngRunScriptFile2(HWND, const char*, const char*, int);  // 6
}
