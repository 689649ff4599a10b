// Reading and changing the text of a rich-edit control by lines and character positions,
// with the paragraph end counted as one character as the control counts it.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>

struct ITextDocument;

namespace richedit {

CHARRANGE Selection(HWND edit);
void Select(HWND edit, LONG first, LONG last);
void ReplaceSelection(HWND edit, const std::string& text);
LONG LineOfChar(HWND edit, LONG position);
// Position where `line` (0-based) starts; -1 when the control has no such line.
LONG LineStart(HWND edit, LONG line);
LONG TextLength(HWND edit);
// Up to `limit` characters of `line`, without its line end.
std::string ReadLine(HWND edit, LONG line, size_t limit);

// Keeps changes out of the control's undo history while it lives.
class UndoSuspended {
public:
    explicit UndoSuspended(HWND edit);
    ~UndoSuspended();
    UndoSuspended(const UndoSuspended&) = delete;
    UndoSuspended& operator=(const UndoSuspended&) = delete;

private:
    ::ITextDocument* document_ = nullptr;
};

// Keeps the undo history, the modified flag, the selection and the scroll position of a control
// across changes that are not the user's edits (formats, colours); redraws once at the end.
class QuietChange {
public:
    explicit QuietChange(HWND edit);
    ~QuietChange();
    QuietChange(const QuietChange&) = delete;
    QuietChange& operator=(const QuietChange&) = delete;

private:
    UndoSuspended noUndo_;
    HWND edit_;
    BOOL modified_;
    CHARRANGE selection_;
    POINT scroll_{};
    LRESULT eventMask_;
};

}  // namespace richedit
