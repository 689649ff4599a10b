// Find, Replace and Find Next over the script views: the system's find and replace dialogs,
// one modeless dialog at a time, and the last search shared by every view of the program.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace find_replace {

// Where the dialogs' commands apply: the edit control of the active script view, or null.
using EditLocator = std::function<HWND()>;

// Opens the Find (or Replace) dialog owned by `owner`, which must pass the dialogs' registered
// message to HandleMessage; returns the new dialog, or null when the open one was brought forward.
HWND OpenDialog(HWND owner, bool replace, const EditLocator& activeEdit);
// The message the dialogs send their owner.
UINT DialogMessage();
// Handles a DialogMessage() notification (its lParam); returns the dialog when it is closing.
HWND HandleMessage(LPARAM findReplace);

// Find Next is enabled once something was searched for in the Find dialog (not Replace).
bool CanFindNext();
// Repeats the last search from the selection of `edit`; beeps and keeps the selection when the
// text is not found.
void FindNext(HWND edit);

// One search in `edit` from its selection, wrapping once to the other end; selects the match.
bool FindInEdit(HWND edit, const std::string& text, DWORD flags);
// Replaces every match of `text` in `edit`; the number of replacements.
int ReplaceAllInEdit(HWND edit, const std::string& text, const std::string& with, DWORD flags);

}  // namespace find_replace
