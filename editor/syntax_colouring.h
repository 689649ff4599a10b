// Syntax colouring of a script view. Only the lines in sight are coloured, after each change or
// scroll, so a megabyte script costs no more than a short one; colours are no edit: they set no
// modified flag and leave no step in the undo history.
#pragma once
#include <windows.h>

#include "settings.h"

namespace syntax_colouring {

// Off unless the user switches it on: the editor shows a script as plain text by default.
inline constexpr settings::IntEntry kSetting{"SyntaxColouring", 0};

// Colours the lines of `edit` from `firstLine` to `lastLine` (0-based, inclusive).
void ColourLines(HWND edit, LONG firstLine, LONG lastLine);
// Colours the lines that the control shows now.
void ColourVisibleLines(HWND edit);
// Puts the whole text back into the plain text colour.
void RemoveColours(HWND edit);

}  // namespace syntax_colouring
