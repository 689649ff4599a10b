// The programmer's aids of the script view, each acting on the view's rich-edit control:
// block indent and outdent, automatic indentation, the caret's line and column, the F1 word,
// go-to-line, plain-text paste and the editor font.
#pragma once
#include <windows.h>

#include <string>

// Tab with a selection over several lines: indents (or with `outdent` removes one indent step
// from) every line of the block `repeat` times and selects the block. False when the selection
// lies on one line, so the control types the tab itself.
bool IndentBlock(HWND edit, bool outdent, int repeat);
// Enter on an indented line: a line break followed by the same indentation. False when the
// line has none, so the control inserts the plain line break itself.
bool BreakLineIndented(HWND edit, int repeat);
// "Ln %d, Col %d" for the selection start, both 1-based.
std::string CaretPositionText(HWND edit);
// The word under the caret or the selection inside one line; empty when there is none.
std::string HelpWordAtCaret(HWND edit);
// Puts the caret at the start of 1-based `line` with nothing selected; lines below 1 or past
// the end leave the caret alone.
void GoToLine(HWND edit, int line);
// Pastes only the text of the clipboard, whatever other formats it holds.
void PastePlainText(HWND edit);

struct EditorFont {
    int height = 100;  // tenths of a point
    int charSet = 1;
    std::string face = "Courier New";
};
// Applies the font to the whole text and sets 32 tab stops of four blanks each, without
// marking the text modified or moving the caret.
void ApplyEditorFont(HWND edit, const EditorFont& font);
// Text that replaces the selection takes its paragraph's format, so a control whose font was
// applied while empty needs no second pass over a loaded script.
bool operator==(const EditorFont& a, const EditorFont& b);
// The first update of a view: no word wrap, automatic word selection on or off.
void PrepareScriptEdit(HWND edit, bool autoWordSelection);
