#include "rich_edit_text.h"

#include <vector>

namespace richedit {

CHARRANGE Selection(HWND edit) {
    CHARRANGE range{};
    SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void Select(HWND edit, LONG first, LONG last) {
    CHARRANGE range{first, last};
    SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void ReplaceSelection(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

LONG LineOfChar(HWND edit, LONG position) {
    return static_cast<LONG>(SendMessageA(edit, EM_EXLINEFROMCHAR, 0, position));
}

LONG LineStart(HWND edit, LONG line) {
    return static_cast<LONG>(SendMessageA(edit, EM_LINEINDEX, line, 0));
}

LONG TextLength(HWND edit) {
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<LONG>(
        SendMessageA(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

std::string ReadLine(HWND edit, LONG line, size_t limit) {
    if (line < 0 || line >= SendMessageA(edit, EM_GETLINECOUNT, 0, 0)) return {};
    // EM_GETLINE takes the buffer size in the buffer's first word and writes no terminator.
    std::vector<char> buffer(limit + 2 > sizeof(WORD) ? limit + 2 : sizeof(WORD), '\0');
    *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(limit);
    LRESULT copied = SendMessageA(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer.data()));
    std::string text(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

QuietChange::QuietChange(HWND edit)
    : edit_(edit),
      modified_(static_cast<BOOL>(SendMessageA(edit, EM_GETMODIFY, 0, 0))),
      selection_(Selection(edit)),
      eventMask_(SendMessageA(edit, EM_SETEVENTMASK, 0, 0)) {
    SendMessageA(edit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
    SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    SendMessageA(edit, EM_HIDESELECTION, TRUE, 0);
}

QuietChange::~QuietChange() {
    SendMessageA(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
    SendMessageA(edit_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
    SendMessageA(edit_, EM_HIDESELECTION, FALSE, 0);
    SendMessageA(edit_, EM_SETMODIFY, modified_, 0);
    SendMessageA(edit_, EM_SETEVENTMASK, 0, eventMask_);
    SendMessageA(edit_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit_, nullptr, FALSE);
}

}  // namespace richedit
