// A vexeng.dll of another version for the editor's version check: VexEngVersion answers 2, and
// every other entry point fails loudly, so a test sees whether the editor called it.
#include <windows.h>

namespace {
int Called(HWND owner) {
    MessageBoxA(owner, "wrong engine called", "fake engine", MB_OK);
    return -1;
}
}  // namespace

extern "C" {
int WINAPI VexEngVersion() { return 2; }
int WINAPI VexEngRunScriptFile(HWND owner, const char*, const char*) { return Called(owner); }
int WINAPI VexEngTestCompileScriptFile(HWND owner, const char*, void*) { return Called(owner); }
int WINAPI VexEngRunScriptFileEx(HWND owner, const char*, const char*, void*) {
    return Called(owner);
}
int WINAPI VexEngTestCompileScriptFile2(HWND owner, const char*, int, void*) {
    return Called(owner);
}
int WINAPI VexEngRunScriptFile2(HWND owner, const char*, const char*, int) { return Called(owner); }
int WINAPI VexEngRunScriptFileEx2(HWND owner, const char*, const char*, int, void*) {
    return Called(owner);
}
}
