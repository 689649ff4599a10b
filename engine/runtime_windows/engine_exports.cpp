// The seven exports of vexeng.dll (names and ordinals in vexeng.def). Ordinals 2, 4 and 6 only
// supply missing arguments to the run of ordinal 7; ordinal 3 is the test compile of 5 with strict
// 0.
#include <windows.h>

#include "driver.h"
#include "engine_settings.h"
#include "error_codes.h"
#include "script_result.h"
#include "windows_platform.h"

namespace {

// A null path or entry call is treated as empty text: the run then fails with the
// ordinary load or entry-call error instead of crashing in the caller's process.
const char* OrEmpty(const char* text) { return text ? text : ""; }

// The drivers keep every exception inside; these guards cover what runs around them (the
// platform, the Strict setting), so nothing ever unwinds into the caller's process.
int Run(HWND parent, const char* path, const char* entryCall, int strict, ScriptResult* record) {
    try {
        ScriptResult own{};  // callers without a record (or with a null one) get one of ours
        WindowsPlatform platform;
        return RunScriptFile(platform, parent, OrEmpty(path), OrEmpty(entryCall), strict,
                             record ? *record : own);
    } catch (...) {
        return kErrOutOfMemory;
    }
}

int TestCompile(HWND parent, const char* path, int strict, ScriptResult* record) {
    try {
        ScriptResult own{};
        WindowsPlatform platform;
        return TestCompileScriptFile(platform, parent, OrEmpty(path), strict,
                                     record ? *record : own);
    } catch (...) {
        return kErrOutOfMemory;
    }
}

}  // namespace

extern "C" {

int WINAPI VexEngVersion() { return 1; }

int WINAPI VexEngRunScriptFile(HWND parent, const char* path, const char* entryCall) {
    return Run(parent, path, entryCall, ReadStrictSetting(), nullptr);
}

int WINAPI VexEngTestCompileScriptFile(HWND parent, const char* path, ScriptResult* record) {
    return TestCompile(parent, path, 0, record);
}

int WINAPI VexEngRunScriptFileEx(HWND parent, const char* path, const char* entryCall,
                                 ScriptResult* record) {
    return Run(parent, path, entryCall, ReadStrictSetting(), record);
}

int WINAPI VexEngTestCompileScriptFile2(HWND parent, const char* path, int strict,
                                        ScriptResult* record) {
    return TestCompile(parent, path, strict, record);
}

int WINAPI VexEngRunScriptFile2(HWND parent, const char* path, const char* entryCall, int strict) {
    return Run(parent, path, entryCall, strict, nullptr);
}

int WINAPI VexEngRunScriptFileEx2(HWND parent, const char* path, const char* entryCall, int strict,
                                  ScriptResult* record) {
    return Run(parent, path, entryCall, strict, record);
}

}  // extern "C"
