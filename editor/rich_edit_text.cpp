#include "rich_edit_text.h"

#include <richole.h>
#include <tom.h>

#include <vector>

namespace richedit {
namespace {

// {8CC497C0-A1DF-11CE-8098-00AA0047BE5D}
constexpr GUID kTextDocumentId = {
    0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

}  // namespace

UndoSuspended::UndoSuspended(HWND edit) {
    IRichEditOle* ole = nullptr;
    SendMessageA(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
    if (!ole) return;
    void* document = nullptr;
    if (SUCCEEDED(ole->QueryInterface(kTextDocumentId, &document)))
        document_ = static_cast<ITextDocument*>(document);
    ole->Release();
    if (document_) document_->Undo(tomSuspend, nullptr);
}

UndoSuspended::~UndoSuspended() {
    if (!document_) return;
    document_->Undo(tomResume, nullptr);
    document_->Release();
}

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
    : noUndo_(edit),
      edit_(edit),
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
