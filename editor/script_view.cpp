#include <windows.h>

#include "script_view.h"

#include <richedit.h>

#include "resource.h"
#include "settings.h"
#include "vexedit_app.h"

bool CVexaScriptView::Create(HWND frame) {
    static HMODULE richEdit = LoadLibraryA("riched20.dll");  // stays for the program's life
    if (!richEdit) return false;
    RECT client;
    GetClientRect(frame, &client);
    if (!CreateEx(0, RICHEDIT_CLASSA, "",
                  WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL |
                      ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                  0, 0, client.right, client.bottom, frame, nullptr))
        return false;
    SendMessageA(hwnd(), EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_SINGLECODEPAGE, 0);
    SendMessageA(hwnd(), EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    return true;
}

void CVexaScriptView::OnInitialUpdate() {
    CProfile& profile = TheApp().Profile();
    ApplyFont(settings::Get(profile, settings::kFontHeight),
              settings::Get(profile, settings::kFontCharSet),
              settings::Get(profile, settings::kFontName));
}

std::string CVexaScriptView::LineColumnText() {
    CHARRANGE selection{};
    SendMessageA(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    long line = static_cast<long>(SendMessageA(hwnd(), EM_EXLINEFROMCHAR, 0, selection.cpMin));
    long start = static_cast<long>(SendMessageA(hwnd(), EM_LINEINDEX, line, 0));
    char text[32];
    wsprintfA(text, "Ln %d, Col %d", line + 1, selection.cpMin - start + 1);
    return text;
}

void CVexaScriptView::ApplyFont(int height, int charSet, const std::string& faceName) {
    bool modified = IsModified();
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD;
    format.yHeight = height * 2;
    format.bCharSet = static_cast<BYTE>(charSet);
    lstrcpynA(format.szFaceName, faceName.c_str(), LF_FACESIZE);
    SendMessageA(hwnd(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SetModified(modified);
}

bool CVexaScriptView::OnCommand(int id) {
    switch (id) {
    case ID_EDIT_UNDO: SendMessageA(hwnd(), EM_UNDO, 0, 0); return true;
    case ID_EDIT_CUT: SendMessageA(hwnd(), WM_CUT, 0, 0); return true;
    case ID_EDIT_COPY: SendMessageA(hwnd(), WM_COPY, 0, 0); return true;
    case ID_EDIT_PASTE: SendMessageA(hwnd(), EM_PASTESPECIAL, CF_TEXT, 0); return true;
    default: return false;
    }
}

bool CVexaScriptView::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.id) {
    case ID_EDIT_UNDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE: return true;
    default: return false;
    }
}

std::string CVexaScriptView::Text() const {
    GETTEXTLENGTHEX lengthRequest{GTL_USECRLF | GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    LRESULT length =
        SendMessageA(hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthRequest), 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GETTEXTEX request{static_cast<DWORD>(text.size()), GT_USECRLF, CP_ACP, nullptr, nullptr};
    LRESULT copied = SendMessageA(hwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

void CVexaScriptView::SetText(const std::string& text) {
    SETTEXTEX request{ST_DEFAULT, CP_ACP};
    SendMessageA(hwnd(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&request),
                 reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
}

bool CVexaScriptView::IsModified() const { return SendMessageA(hwnd(), EM_GETMODIFY, 0, 0) != 0; }

void CVexaScriptView::SetModified(bool modified) {
    SendMessageA(hwnd(), EM_SETMODIFY, modified, 0);
}
