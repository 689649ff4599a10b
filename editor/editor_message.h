// The editor's message boxes: caption "Vexa Script", owned by the given window (or the active one).
#pragma once
#include <windows.h>

#include <string>

inline constexpr char kEditorCaption[] = "Vexa Script";

inline int EditorMessageBox(HWND owner, const std::string& text, UINT type) {
    return MessageBoxA(owner ? owner : GetActiveWindow(), text.c_str(), kEditorCaption, type);
}
