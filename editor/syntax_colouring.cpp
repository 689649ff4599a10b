#include "syntax_colouring.h"

#include <richedit.h>

#include <string>

#include "rich_edit_text.h"
#include "syntax_tokens.h"

namespace syntax_colouring {
namespace {

// The colours, one per kind of token, in TokenKind order.
constexpr COLORREF kColours[] = {
    RGB(0, 0, 0),      // Plain
    RGB(0, 0, 192),    // Keyword
    RGB(0, 112, 160),  // Type
    RGB(163, 21, 21),  // String
    RGB(0, 128, 0),    // Comment
    RGB(128, 0, 128),  // Number
    RGB(120, 60, 0),   // Builtin
    RGB(160, 0, 160),  // Constant
};

void Paint(HWND edit, LONG first, LONG last, TokenKind kind) {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = kColours[static_cast<int>(kind)];
    richedit::Select(edit, first, last);
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

std::string WholeLine(HWND edit, LONG line) {
    LONG start = richedit::LineStart(edit, line);
    LONG length = static_cast<LONG>(SendMessageA(edit, EM_LINELENGTH, start, 0));
    return richedit::ReadLine(edit, line, static_cast<size_t>(length) + 1);
}

}  // namespace

void ColourLines(HWND edit, LONG firstLine, LONG lastLine) {
    const LONG lineCount = static_cast<LONG>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    if (lastLine >= lineCount) lastLine = lineCount - 1;
    if (firstLine < 0) firstLine = 0;
    if (firstLine > lastLine) return;
    richedit::QuietChange quiet(edit);
    const LONG rangeStart = richedit::LineStart(edit, firstLine);
    const LONG rangeEnd =
        richedit::LineStart(edit, lastLine) + static_cast<LONG>(WholeLine(edit, lastLine).size());
    Paint(edit, rangeStart, rangeEnd, TokenKind::Plain);
    for (LONG line = firstLine; line <= lastLine; ++line) {
        const LONG start = richedit::LineStart(edit, line);
        for (const SyntaxToken& token : ScanSyntaxLine(WholeLine(edit, line)))
            Paint(edit, start + static_cast<LONG>(token.start),
                  start + static_cast<LONG>(token.start + token.length), token.kind);
    }
}

void ColourVisibleLines(HWND edit) {
    RECT client{};
    GetClientRect(edit, &client);
    POINTL bottom{client.right, client.bottom};
    const LONG first = static_cast<LONG>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const LONG lastChar =
        static_cast<LONG>(SendMessageA(edit, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&bottom)));
    ColourLines(edit, first, richedit::LineOfChar(edit, lastChar) + 1);
}

void RemoveColours(HWND edit) {
    richedit::QuietChange quiet(edit);
    Paint(edit, 0, -1, TokenKind::Plain);
}

}  // namespace syntax_colouring
