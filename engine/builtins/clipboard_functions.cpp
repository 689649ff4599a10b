// Clipboard built-ins: plain 8-bit text in and out; the running-script window owns the
// clipboard while a function works with it.
#include <windows.h>

#include <cstring>
#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "win_handles.h"

namespace {

HWND ClipboardOwner(BuiltinCall& call) { return ProgressWindow(call.window).hwnd(); }

}  // namespace

int Builtin_CopyToClipboard(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string text;
    if (int error = GetStringParam(call, 0, text)) return error;
    ClipboardSession clipboard(ClipboardOwner(call));
    if (!clipboard.isOpen() || !EmptyClipboard()) return kOk;
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1));
    if (!block) return kOk;
    {
        GlobalLockGuard bytes(block.get());
        if (!bytes.get()) return kOk;
        std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
    }
    if (SetClipboardData(CF_TEXT, block.get())) {
        block.release();  // the clipboard owns the block from now on
        SetIntResult(call, 1);
    }
    return kOk;
}

int Builtin_GetClipboardText(BuiltinCall& call) {
    SetStringResult(call, "");
    if (!IsClipboardFormatAvailable(CF_TEXT)) return kOk;
    ClipboardSession clipboard(ClipboardOwner(call));
    if (!clipboard.isOpen()) return kOk;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return kOk;
    GlobalLockGuard lock(data);
    if (const char* bytes = static_cast<const char*>(lock.get())) {
        // Bounded by the block's size, in case another program left no terminating zero.
        SetStringResult(call, std::string(bytes, strnlen(bytes, GlobalSize(data))));
    }
    return kOk;
}

int Builtin_EmptyClipboard(BuiltinCall& call) {
    SetIntResult(call, 0);
    ClipboardSession clipboard(ClipboardOwner(call));
    if (clipboard.isOpen()) {
        EmptyClipboard();
        SetIntResult(call, 1);
    }
    return kOk;
}
