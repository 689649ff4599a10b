#include "find_replace.h"

#include <commdlg.h>
#include <richedit.h>

#include <cstring>
#include <utility>

#include "rich_edit_text.h"

namespace find_replace {
namespace {

constexpr size_t kTextSize = 256;

struct SearchState {
    FINDREPLACEA dialog{};
    char findText[kTextSize] = {};
    char replaceText[kTextSize] = {};
    HWND window = nullptr;  // the open dialog
    EditLocator activeEdit;
    std::string lastText;  // what Find Next repeats
    DWORD lastFlags = FR_DOWN;
    bool lastWasReplace = false;
};

SearchState& State() {
    static SearchState state;
    return state;
}

DWORD SearchFlags(DWORD dialogFlags) {
    return dialogFlags & (FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD);
}

// Searches [first, last) (backwards when first > last) and selects the match.
bool FindAndSelect(HWND edit, const std::string& text, DWORD flags, LONG first, LONG last) {
    FINDTEXTEXA find{};
    find.chrg = {first, last};
    find.lpstrText = text.c_str();
    LRESULT at = SendMessageA(edit, EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find));
    if (at < 0) return false;
    richedit::Select(edit, find.chrgText.cpMin, find.chrgText.cpMax);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    return true;
}

// Whether the selection of `edit` is exactly a match of the search, so Replace may take it.
bool SelectionMatches(HWND edit, const std::string& text, DWORD flags) {
    CHARRANGE sel = richedit::Selection(edit);
    if (sel.cpMax - sel.cpMin != static_cast<LONG>(text.size()) || text.empty()) return false;
    FINDTEXTEXA find{};
    find.chrg = sel;
    find.lpstrText = text.c_str();
    LRESULT at =
        SendMessageA(edit, EM_FINDTEXTEX, flags | FR_DOWN, reinterpret_cast<LPARAM>(&find));
    return at == sel.cpMin;
}

}  // namespace

UINT DialogMessage() {
    static const UINT message = RegisterWindowMessageA(FINDMSGSTRINGA);
    return message;
}

bool FindInEdit(HWND edit, const std::string& text, DWORD flags) {
    if (!edit || text.empty()) return false;
    const CHARRANGE sel = richedit::Selection(edit);
    const LONG length = richedit::TextLength(edit);
    if (flags & FR_DOWN) {
        if (FindAndSelect(edit, text, flags, sel.cpMax, length)) return true;
        return sel.cpMin > 0 && FindAndSelect(edit, text, flags, 0, sel.cpMin);
    }
    if (FindAndSelect(edit, text, flags, sel.cpMin, 0)) return true;
    return sel.cpMax < length && FindAndSelect(edit, text, flags, length, sel.cpMax);
}

int ReplaceAllInEdit(HWND edit, const std::string& text, const std::string& with, DWORD flags) {
    if (!edit || text.empty()) return 0;
    int count = 0;
    LONG from = 0;
    for (;;) {
        FINDTEXTEXA find{};
        find.chrg = {from, -1};
        find.lpstrText = text.c_str();
        if (SendMessageA(edit, EM_FINDTEXTEX, flags | FR_DOWN, reinterpret_cast<LPARAM>(&find)) < 0)
            break;
        richedit::Select(edit, find.chrgText.cpMin, find.chrgText.cpMax);
        richedit::ReplaceSelection(edit, with);
        // The replacement itself is never searched again.
        from = find.chrgText.cpMin + static_cast<LONG>(with.size());
        ++count;
    }
    return count;
}

HWND OpenDialog(HWND owner, bool replace, const EditLocator& activeEdit) {
    SearchState& state = State();
    state.activeEdit = activeEdit;
    if (state.window) {
        // One dialog at a time: switching between Find and Replace closes the other.
        if (state.lastWasReplace == replace) {
            SetActiveWindow(state.window);
            return nullptr;
        }
        DestroyWindow(state.window);
        state.window = nullptr;
    }
    // A one-line selection is what the user most likely wants to search for.
    if (HWND edit = activeEdit ? activeEdit() : nullptr) {
        CHARRANGE sel = richedit::Selection(edit);
        if (sel.cpMax > sel.cpMin && sel.cpMax - sel.cpMin < static_cast<LONG>(kTextSize) &&
            richedit::LineOfChar(edit, sel.cpMin) == richedit::LineOfChar(edit, sel.cpMax)) {
            TEXTRANGEA range{sel, state.findText};
            SendMessageA(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        }
    }
    state.dialog = {};
    state.dialog.lStructSize = sizeof state.dialog;
    state.dialog.hwndOwner = owner;
    state.dialog.Flags = state.lastFlags;
    state.dialog.lpstrFindWhat = state.findText;
    state.dialog.wFindWhatLen = kTextSize;
    state.dialog.lpstrReplaceWith = state.replaceText;
    state.dialog.wReplaceWithLen = kTextSize;
    state.window = replace ? ReplaceTextA(&state.dialog) : FindTextA(&state.dialog);
    state.lastWasReplace = replace;
    return state.window;
}

HWND HandleMessage(LPARAM findReplace) {
    SearchState& state = State();
    const auto* dialog = reinterpret_cast<const FINDREPLACEA*>(findReplace);
    if (dialog->Flags & FR_DIALOGTERM) return std::exchange(state.window, nullptr);
    const DWORD flags =
        SearchFlags(dialog->Flags) | (state.lastWasReplace ? FR_DOWN : (dialog->Flags & FR_DOWN));
    state.lastText = state.findText;
    state.lastFlags = flags;
    HWND edit = state.activeEdit ? state.activeEdit() : nullptr;
    if (!edit) return nullptr;
    if (dialog->Flags & FR_REPLACEALL) {
        if (ReplaceAllInEdit(edit, state.lastText, state.replaceText, flags) == 0)
            MessageBeep(MB_ICONHAND);
        return nullptr;
    }
    if ((dialog->Flags & FR_REPLACE) && SelectionMatches(edit, state.lastText, flags))
        richedit::ReplaceSelection(edit, state.replaceText);
    if (!FindInEdit(edit, state.lastText, flags)) MessageBeep(MB_ICONHAND);
    return nullptr;
}

bool CanFindNext() {
    const SearchState& state = State();
    return !state.lastText.empty() && !state.lastWasReplace;
}

void FindNext(HWND edit) {
    const SearchState& state = State();
    if (!CanFindNext() || !FindInEdit(edit, state.lastText, state.lastFlags))
        MessageBeep(MB_ICONHAND);
}

}  // namespace find_replace
