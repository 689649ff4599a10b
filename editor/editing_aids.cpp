#include "editing_aids.h"

#include <richedit.h>

#include <cstdio>
#include <cstring>

#include "rich_edit_text.h"
#include "script_text_rules.h"

using namespace richedit;

namespace {

constexpr int kTabStopCount = 32;

// The lines a multi-line selection covers; a selection that ends at the very start of a line
// leaves that line out.
bool SelectedLines(HWND edit, LONG& first, LONG& last) {
    CHARRANGE sel = Selection(edit);
    first = LineOfChar(edit, sel.cpMin);
    last = LineOfChar(edit, sel.cpMax);
    if (first == last) return false;
    if (sel.cpMax <= LineStart(edit, last)) --last;
    return true;
}

}  // namespace

bool IndentBlock(HWND edit, bool outdent, int repeat) {
    LONG first = 0, last = 0;
    if (!SelectedLines(edit, first, last)) return false;
    if (repeat < 1) repeat = 1;
    for (LONG line = first; line <= last; ++line) {
        const LONG start = LineStart(edit, line);
        if (!outdent) {
            Select(edit, start, start);
            ReplaceSelection(edit, std::string(static_cast<size_t>(repeat), '\t'));
            continue;
        }
        for (int i = 0; i < repeat; ++i) {
            size_t remove = OutdentLength(ReadLine(edit, line, kLineBufferSize));
            if (remove == 0) break;
            Select(edit, start, start + static_cast<LONG>(remove));
            ReplaceSelection(edit, "");
        }
    }
    LONG end = LineStart(edit, last + 1);
    Select(edit, LineStart(edit, first), end < 0 ? TextLength(edit) : end);
    return true;
}

bool BreakLineIndented(HWND edit, int repeat) {
    const std::string line =
        ReadLine(edit, LineOfChar(edit, Selection(edit).cpMin), kLineBufferSize);
    const std::string indent(LeadingIndent(line));
    if (indent.empty()) return false;
    if (repeat < 1) repeat = 1;
    for (int i = 0; i < repeat; ++i) {
        ReplaceSelection(edit, "\r\n" + indent);
        // Blanks that stood after the caret would push the moved text past the indentation.
        const LONG caret = Selection(edit).cpMin;
        const LONG lineNo = LineOfChar(edit, caret);
        const std::string moved = ReadLine(edit, lineNo, kLineBufferSize);
        size_t at = static_cast<size_t>(caret - LineStart(edit, lineNo));
        size_t end = at;
        while (end < moved.size() && (moved[end] == ' ' || moved[end] == '\t')) ++end;
        if (end > at) {
            Select(edit, caret, caret + static_cast<LONG>(end - at));
            ReplaceSelection(edit, "");
        }
    }
    return true;
}

std::string CaretPositionText(HWND edit) {
    const LONG caret = Selection(edit).cpMin;
    const LONG line = LineOfChar(edit, caret);
    const std::string text = ReadLine(edit, line, 65535);
    const int column = CaretColumn(text, static_cast<size_t>(caret - LineStart(edit, line)));
    char buffer[64];
    snprintf(buffer, sizeof buffer, "Ln %d, Col %d", static_cast<int>(line) + 1, column + 1);
    return buffer;
}

std::string HelpWordAtCaret(HWND edit) {
    const CHARRANGE sel = Selection(edit);
    const LONG line = LineOfChar(edit, sel.cpMin);
    if (line != LineOfChar(edit, sel.cpMax)) return {};
    const LONG start = LineStart(edit, line);
    return HelpWordAt(ReadLine(edit, line, kLineBufferSize), static_cast<size_t>(sel.cpMin - start),
                      static_cast<size_t>(sel.cpMax - start));
}

void GoToLine(HWND edit, int line) {
    if (line < 1) return;
    const LONG start = LineStart(edit, line - 1);
    if (start >= 0) Select(edit, start, start);
}

void PastePlainText(HWND edit) { SendMessageA(edit, EM_PASTESPECIAL, CF_TEXT, 0); }

void ApplyEditorFont(HWND edit, const EditorFont& font) {
    HDC screen = GetDC(edit);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    HFONT made =
        CreateFontA(-MulDiv(font.height, pixelsPerInch, 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                    FALSE, static_cast<BYTE>(font.charSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
    HGDIOBJ old = SelectObject(screen, made);

    CHARFORMAT2A chars{};
    chars.cbSize = sizeof chars;
    chars.dwMask = CFM_BOLD | CFM_FACE | CFM_SIZE | CFM_CHARSET;
    chars.yHeight = font.height * 2;
    chars.bCharSet = static_cast<BYTE>(font.charSet);
    strncpy(chars.szFaceName, font.face.c_str(), LF_FACESIZE - 1);

    PARAFORMAT2 para{};
    para.cbSize = sizeof para;
    para.dwMask = PFM_TABSTOPS;
    para.cTabCount = kTabStopCount;
    for (int k = 1; k <= kTabStopCount; ++k) {
        SIZE size{};
        const std::string blanks(static_cast<size_t>(4 * k), ' ');
        GetTextExtentPoint32A(screen, blanks.c_str(), static_cast<int>(blanks.size()), &size);
        para.rgxTabs[k - 1] = MulDiv(size.cx, 1440, pixelsPerInch);
    }
    SelectObject(screen, old);
    DeleteObject(made);
    ReleaseDC(edit, screen);

    {
        QuietChange quiet(edit);
        // The whole text at once: as a selection this costs seconds on a large script.
        SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&chars));
        Select(edit, 0, -1);
        SendMessageA(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para));
        // Text typed into an empty control takes the default format, so it gets the font too.
        SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&chars));
    }
}

bool operator==(const EditorFont& a, const EditorFont& b) {
    return a.height == b.height && a.charSet == b.charSet && a.face == b.face;
}

void PrepareScriptEdit(HWND edit, bool autoWordSelection) {
    SendMessageA(edit, EM_SETTARGETDEVICE, 0, 1);  // no word wrap: lines run on to the right
    SendMessageA(
        edit, EM_SETOPTIONS, autoWordSelection ? ECOOP_OR : ECOOP_AND,
        autoWordSelection ? ECO_AUTOWORDSELECTION : ~static_cast<LPARAM>(ECO_AUTOWORDSELECTION));
}
