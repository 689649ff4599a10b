#include <windows.h>

#include "script_view.h"

#include <commdlg.h>
#include <richedit.h>

#include "build_commands.h"
#include "document.h"
#include "editing_aids.h"
#include "find_replace.h"
#include "help_topics.h"
#include "main_frame.h"
#include "print_layout.h"
#include "print_preview.h"
#include "resource.h"
#include "rich_edit_text.h"
#include "settings.h"
#include "syntax_colouring.h"
#include "vexedit_app.h"

namespace {

constexpr UINT_PTR kColourTimer = 1;
constexpr UINT kColourDelayMs = 40;

int RepeatCount(LPARAM flags) {
    int count = LOWORD(flags);
    return count < 1 ? 1 : count;
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

EditorFont SettingsFont() {
    CProfile& profile = TheApp().Profile();
    return EditorFont{settings::Get(profile, settings::kFontHeight),
                      settings::Get(profile, settings::kFontCharSet),
                      settings::Get(profile, settings::kFontName)};
}

HWND ActiveScriptEdit() {
    CView* view = TheApp().MainFrame().ActiveView();
    return dynamic_cast<CVexaScriptView*>(view) ? view->hwnd() : nullptr;
}

// Messages after which the text or the lines in sight may have changed.
bool ChangesTextOrSight(UINT message) {
    switch (message) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case EM_REPLACESEL:
    case EM_PASTESPECIAL:
    case WM_SETTEXT:
    case EM_SETTEXTEX:
    case EM_STREAMIN:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_SIZE:
    case EM_SCROLL:
    case EM_LINESCROLL:
    case EM_SCROLLCARET:
    case EM_EXSETSEL:
    case EM_SETSEL:
    case WM_LBUTTONUP:
    case WM_IME_COMPOSITION: return true;
    default: return false;
    }
}

struct StreamText {
    const std::string* in = nullptr;
    size_t at = 0;
    std::string* out = nullptr;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* stream = reinterpret_cast<StreamText*>(cookie);
    size_t left = stream->in->size() - stream->at;
    size_t count = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
    memcpy(buffer, stream->in->data() + stream->at, count);
    stream->at += count;
    *done = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    reinterpret_cast<StreamText*>(cookie)->out->append(reinterpret_cast<char*>(buffer),
                                                       static_cast<size_t>(size));
    *done = size;
    return 0;
}

}  // namespace

LRESULT OnFindReplaceNotification(LPARAM findReplace) {
    if (HWND closing = find_replace::HandleMessage(findReplace))
        TheApp().RemoveModelessDialog(closing);
    return 0;
}

bool CVexaScriptView::Create(HWND frame) {
    static HMODULE richEdit = LoadLibraryA("riched20.dll");  // stays for the program's life
    if (!richEdit) return false;
    RECT client;
    GetClientRect(frame, &client);
    // Rich text inside (colours need it), plain text in and out: files are streamed as text.
    if (!CreateEx(0, RICHEDIT_CLASSA, "",
                  WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL |
                      ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL | ES_DISABLENOSCROLL,
                  0, 0, client.right, client.bottom, frame, nullptr))
        return false;
    SendMessageA(hwnd(), EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    const EditorFont font = SettingsFont();
    ApplyFont(font.height, font.charSet, font.face);
    return true;
}

void CVexaScriptView::OnInitialUpdate() {
    CProfile& profile = TheApp().Profile();
    // The font went in while the control was empty; the loaded text took it from there.
    const EditorFont font = SettingsFont();
    if (!(font == appliedFont_)) ApplyFont(font.height, font.charSet, font.face);
    PrepareScriptEdit(hwnd(), settings::Get(profile, settings::kAutoWordSelection) != 0);
    SetColouring(settings::Get(profile, syntax_colouring::kSetting) != 0);
}

std::string CVexaScriptView::LineColumnText() { return CaretPositionText(hwnd()); }

void CVexaScriptView::ApplyFont(int height, int charSet, const std::string& faceName) {
    appliedFont_ = EditorFont{height, charSet, faceName};
    ApplyEditorFont(hwnd(), appliedFont_);
}

void CVexaScriptView::SetColouring(bool on) {
    colouring_ = on;
    if (on)
        ScheduleColouring();
    else
        syntax_colouring::RemoveColours(hwnd());
}

// One timer for a burst of changes: it is not restarted while it runs, so steady typing or
// scrolling still gets its colours within the delay.
void CVexaScriptView::ScheduleColouring() {
    if (!colouring_ || painting_ || colourPending_) return;
    colourPending_ = SetTimer(hwnd(), kColourTimer, kColourDelayMs, nullptr) != 0;
}

std::string CVexaScriptView::Text() const {
    std::string text;
    StreamText stream;
    stream.out = &text;
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&stream), 0, WriteToString};
    SendMessageA(hwnd(), EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&edit));
    return text;
}

void CVexaScriptView::SetText(const std::string& text) {
    StreamText stream;
    stream.in = &text;
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&stream), 0, ReadFromString};
    // Replacing the selection keeps the paragraph format (the tab stops) for the new text.
    richedit::Select(hwnd(), 0, -1);
    SendMessageA(hwnd(), EM_STREAMIN, SF_TEXT | SFF_SELECTION, reinterpret_cast<LPARAM>(&edit));
    richedit::Select(hwnd(), 0, 0);
    SendMessageA(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
    ScheduleColouring();
}

bool CVexaScriptView::IsModified() const { return SendMessageA(hwnd(), EM_GETMODIFY, 0, 0) != 0; }

void CVexaScriptView::SetModified(bool modified) {
    SendMessageA(hwnd(), EM_SETMODIFY, modified, 0);
}

void CVexaScriptView::GoToLine(int line) { ::GoToLine(hwnd(), line); }

LRESULT CVexaScriptView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (OnKeyDown(wParam, lParam)) return 0;
        break;
    case WM_CHAR:
        if (OnChar(wParam, lParam)) return 0;
        break;
    case WM_PASTE: PastePlainText(hwnd()); return 0;
    case WM_RBUTTONUP: ShowContextMenu(); return 0;
    case WM_TIMER:
        if (wParam != kColourTimer) break;
        KillTimer(hwnd(), kColourTimer);
        colourPending_ = false;
        painting_ = true;
        syntax_colouring::ColourVisibleLines(hwnd());
        painting_ = false;
        return 0;
    default: break;
    }
    LRESULT result = DefaultProc(message, wParam, lParam);
    if (ChangesTextOrSight(message)) ScheduleColouring();
    return result;
}

// Enter and Tab are handled at key-down: some rich-edit controls act on them there and never
// see the character, others only at the character, which is then dropped.
bool CVexaScriptView::OnKeyDown(WPARAM key, LPARAM flags) {
    swallowChar_ = 0;
    const bool control = KeyHeld(VK_CONTROL), alt = KeyHeld(VK_MENU);
    if (control && !alt) {
        // The control's own character formatting shortcuts would break the plain text.
        switch (key) {
        case 'B':
        case 'I':
        case 'U':
        case 'L':
        case 'E':
        case 'R':
        case 'J':
        case '1':
        case '2':
        case '5': return true;
        default: return false;
        }
    }
    if (alt) return false;
    if (key == VK_RETURN && BreakLineIndented(hwnd(), RepeatCount(flags))) {
        swallowChar_ = '\r';
        return true;
    }
    if (key == VK_TAB && IndentBlock(hwnd(), KeyHeld(VK_SHIFT), RepeatCount(flags))) {
        swallowChar_ = '\t';
        return true;
    }
    return false;
}

bool CVexaScriptView::OnChar(WPARAM character, LPARAM flags) {
    if (swallowChar_ != 0 && character == swallowChar_) {
        swallowChar_ = 0;
        return true;
    }
    swallowChar_ = 0;
    if (character == '\r' || character == '\n')
        return BreakLineIndented(hwnd(), RepeatCount(flags));
    if (character == '\t') return IndentBlock(hwnd(), KeyHeld(VK_SHIFT), RepeatCount(flags));
    return false;
}

void CVexaScriptView::ShowContextMenu() {
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
    if (!menu) return;
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   TheApp().MainWindow(), nullptr);
    DestroyMenu(menu);
}

void CVexaScriptView::KeywordHelp() {
    // While a dialog or a running script owns the input, F1 belongs to them.
    const std::string word = IsWindowEnabled(TheApp().MainWindow()) ? HelpWordAtCaret(hwnd()) : "";
    OpenHelpTopic(word.empty() ? ContentsTopic() : TopicForWord(word));
}

bool CVexaScriptView::OnCommand(int id) {
    switch (id) {
    case ID_EDIT_UNDO: SendMessageA(hwnd(), EM_UNDO, 0, 0); return true;
    case ID_EDIT_CUT: SendMessageA(hwnd(), WM_CUT, 0, 0); return true;
    case ID_EDIT_COPY: SendMessageA(hwnd(), WM_COPY, 0, 0); return true;
    case ID_EDIT_PASTE: PastePlainText(hwnd()); return true;
    case ID_EDIT_SELECT_ALL: richedit::Select(hwnd(), 0, -1); return true;
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE:
        if (HWND dialog = find_replace::OpenDialog(TheApp().MainWindow(), id == ID_EDIT_REPLACE,
                                                   ActiveScriptEdit))
            TheApp().AddModelessDialog(dialog);
        return true;
    case ID_EDIT_REPEAT: find_replace::FindNext(hwnd()); return true;
    case ID_HELP: KeywordHelp(); return true;
    case ID_FILE_PRINT: Print(); return true;
    case ID_FILE_PRINT_PREVIEW:
        CPrintPreview::Show(Text(), appliedFont_, Document() ? Document()->Title() : std::string());
        return true;
    case ID_FILE_SAVE_ALL: SaveModifiedScripts(); return true;
    case ID_BUILD_COMPILE: CompileActiveScript(); return true;
    case ID_BUILD_RUN: RunActiveScript(); return true;
    default: return false;
    }
}

bool CVexaScriptView::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.id) {
    case ID_EDIT_UNDO: ui.enabled = SendMessageA(hwnd(), EM_CANUNDO, 0, 0) != 0; return true;
    case ID_EDIT_CUT:
    case ID_EDIT_COPY: {
        CHARRANGE sel = richedit::Selection(hwnd());
        ui.enabled = sel.cpMax > sel.cpMin;
        return true;
    }
    case ID_EDIT_PASTE: ui.enabled = IsClipboardFormatAvailable(CF_TEXT) != 0; return true;
    case ID_EDIT_REPEAT: ui.enabled = find_replace::CanFindNext(); return true;
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE:
    case ID_HELP:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_SAVE_ALL:
    case ID_BUILD_COMPILE:
    case ID_BUILD_RUN: return true;
    default: return false;
    }
}

// The rich-edit control formats the pages itself; the layout keeps half-inch margins.
void CVexaScriptView::Print() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = TheApp().MainWindow();
    dialog.hDevMode = TheApp().PrinterDevMode();
    dialog.hDevNames = TheApp().PrinterDevNames();
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS;
    if (!PrintDlgA(&dialog) || !dialog.hDC) return;
    PrintOn(dialog.hDC);
    DeleteDC(dialog.hDC);
}

void CVexaScriptView::PrintOn(HDC printer) {
    const CPageLayout layout(Text(), appliedFont_, printer);
    const std::string title = Document() ? Document()->Title() : std::string();
    DOCINFOA job{sizeof job, title.c_str(), nullptr, nullptr, 0};
    if (StartDocA(printer, &job) <= 0) return;
    for (int page = 0; page < layout.PageCount(); ++page) {
        StartPage(printer);
        layout.Render(printer, page, true);
        EndPage(printer);
    }
    EndDoc(printer);
}
