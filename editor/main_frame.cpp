#include "main_frame.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "child_frame.h"
#include "doc_template.h"
#include "document.h"
#include "find_replace.h"
#include "resource.h"
#include "script_view.h"
#include "tool_commands.h"
#include "toolbar_images.h"
#include "vexedit_app.h"
#include "view.h"

namespace {

const char kFrameClass[] = "VexaScript";
const int kWindowMenuIndex = 5;  // File, Edit, View, Build, Tools, Window, Help

// The toolbar's buttons: standard images first, then the two of our own.
struct ToolButton {
    int image;  // -1: separator
    int command;
};
const ToolButton kToolButtons[] = {
    {STD_FILENEW, ID_FILE_NEW},
    {STD_FILEOPEN, ID_FILE_OPEN},
    {STD_FILESAVE, ID_FILE_SAVE},
    {-1, 0},
    {STD_CUT, ID_EDIT_CUT},
    {STD_COPY, ID_EDIT_COPY},
    {STD_PASTE, ID_EDIT_PASTE},
    {-1, 0},
    {STD_FIND, ID_EDIT_FIND},
    {STD_PRINT, ID_FILE_PRINT},
    {-1, 0},
    {kCompileImage, ID_BUILD_COMPILE},
    {kRunImage, ID_BUILD_RUN},
    {-1, 0},
    {STD_HELP, ID_APP_ABOUT},
};

// Width of a status pane that must hold `text` in the bar's font, plus its borders.
int PaneWidth(HWND bar, const char* text) {
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return size.cx + 12;
}

// The part after the newline of a command's prompt string is its tooltip.
std::string PromptPart(UINT id, bool tooltip) {
    std::string text = LoadResourceString(id);
    size_t newline = text.find('\n');
    if (newline == std::string::npos) return tooltip ? std::string() : text;
    return tooltip ? text.substr(newline + 1) : text.substr(0, newline);
}

}  // namespace

CMainFrame::~CMainFrame() {
    // The menu on the window goes with the window; the other one is ours to destroy.
    DestroyMenu(menuShowsScript_ ? noScriptMenu_ : scriptMenu_);
    if (!hwnd()) return;
    SetMenu(hwnd(), nullptr);
    DestroyMenu(menuShowsScript_ ? scriptMenu_ : noScriptMenu_);
}

bool CMainFrame::Create() {
    noScriptMenu_ = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    scriptMenu_ = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_VEXASCRIPTTYPE));
    if (!noScriptMenu_ || !scriptMenu_) return false;
    HMENU menu = noScriptMenu_;
    if (!CreateEx(0, kFrameClass, kAppName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu))
        return false;
    return mdiClient_ != nullptr;
}

bool CMainFrame::CreateBars() {
    toolBar_ =
        CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0,
                        0, hwnd(), reinterpret_cast<HMENU>(IDW_TOOLBAR), AppInstance(), nullptr);
    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
                                 reinterpret_cast<HMENU>(IDW_STATUS_BAR), AppInstance(), nullptr);
    if (!toolBar_ || !statusBar_) return false;

    SendMessageA(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageA(toolBar_, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
    TBADDBITMAP own{nullptr, reinterpret_cast<UINT_PTR>(CreateBuildImages())};
    int ownFirst =
        static_cast<int>(SendMessageA(toolBar_, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&own)));
    std::vector<TBBUTTON> buttons;
    for (const ToolButton& b : kToolButtons) {
        TBBUTTON button{};
        if (b.image < 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap =
                b.image >= kCompileImage ? ownFirst + b.image - kCompileImage : b.image;
            button.idCommand = b.command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    SendMessageA(toolBar_, TB_ADDBUTTONSA, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(toolBar_, TB_AUTOSIZE, 0, 0);

    CLIENTCREATESTRUCT client{nullptr, IDW_FIRST_MDI_CHILD};
    mdiClient_ =
        CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0,
                        0, hwnd(), reinterpret_cast<HMENU>(IDW_MDI_CLIENT), AppInstance(), &client);
    LayoutBars();  // the first WM_SIZE may come only when the frame is shown
    return mdiClient_ != nullptr;
}

void CMainFrame::LayoutBars() {
    RECT client;
    GetClientRect(hwnd(), &client);
    int top = 0, bottom = client.bottom;
    if (toolBar_ && IsWindowVisible(toolBar_)) {
        SendMessageA(toolBar_, TB_AUTOSIZE, 0, 0);
        RECT r;
        GetWindowRect(toolBar_, &r);
        top = r.bottom - r.top;
    }
    if (statusBar_ && IsWindowVisible(statusBar_)) {
        SendMessageA(statusBar_, WM_SIZE, 0, 0);
        RECT r;
        GetWindowRect(statusBar_, &r);
        bottom -= r.bottom - r.top;
        // Message pane takes what the three indicators leave.
        int caps = PaneWidth(statusBar_, "CAP"), num = PaneWidth(statusBar_, "NUM");
        int lineColumn = PaneWidth(statusBar_, "Ln 00000, Col 000");
        int grip = GetSystemMetrics(SM_CXVSCROLL);
        int right = client.right - grip;
        int parts[4] = {std::max(0, right - num - caps - lineColumn), right - num - caps,
                        right - num, -1};
        SendMessageA(statusBar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    }
    if (mdiClient_) MoveWindow(mdiClient_, 0, top, client.right, std::max(0, bottom - top), TRUE);
}

CChildFrame* CMainFrame::ActiveChild() const {
    if (!mdiClient_) return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient_, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<CChildFrame*>(CWindow::FromHandle(active));
}

CView* CMainFrame::ActiveView() const {
    CChildFrame* child = ActiveChild();
    return child ? child->View() : nullptr;
}

CDocument* CMainFrame::ActiveDocument() const {
    CChildFrame* child = ActiveChild();
    return child ? child->Document() : nullptr;
}

void CMainFrame::OnDocumentsChanged() {
    bool script = !TheApp().DocTemplate().Documents().empty();
    if (script == menuShowsScript_ || !mdiClient_) return;
    menuShowsScript_ = script;
    HMENU menu = script ? scriptMenu_ : noScriptMenu_;
    HMENU windowMenu = script ? GetSubMenu(scriptMenu_, kWindowMenuIndex) : nullptr;
    SendMessageA(mdiClient_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                 reinterpret_cast<LPARAM>(windowMenu));
    DrawMenuBar(hwnd());
    UpdateCaption();
}

void CMainFrame::UpdateCaption() {
    // With the script maximized the MDI client adds " - [title]" itself, so the frame keeps the
    // program name alone.
    CChildFrame* child = ActiveChild();
    bool maximized = child && IsZoomed(child->hwnd());
    CDocument* document = child ? child->Document() : nullptr;
    std::string caption =
        document && !maximized ? document->Title() + " - " + kAppName : std::string(kAppName);
    if (caption == caption_ && !(maximized && child->hwnd() != captionChild_)) return;
    caption_ = caption;
    captionChild_ = maximized ? child->hwnd() : nullptr;
    SetWindowTextA(hwnd(), caption.c_str());
}

void CMainFrame::OnIdle() {
    // A document closed by its last frame may have left the menu behind.
    OnDocumentsChanged();
    for (const auto& document : TheApp().DocTemplate().Documents())
        for (CView* view : document->Views())
            if (auto* frame =
                    dynamic_cast<CChildFrame*>(CWindow::FromHandle(GetParent(view->hwnd()))))
                frame->UpdateTitle();
    UpdateCaption();
    UpdateToolbar();
    UpdateIndicators();
}

void CMainFrame::UpdateToolbar() {
    if (!toolBar_ || !IsWindowVisible(toolBar_)) return;
    for (const ToolButton& b : kToolButtons) {
        if (b.image < 0) continue;
        CCmdUI ui = QueryCommand(b.command);
        if (static_cast<bool>(SendMessageA(toolBar_, TB_ISBUTTONENABLED, b.command, 0)) !=
            ui.enabled)
            SendMessageA(toolBar_, TB_ENABLEBUTTON, b.command, MAKELONG(ui.enabled, 0));
    }
}

void CMainFrame::UpdateIndicators() {
    if (!statusBar_ || !IsWindowVisible(statusBar_)) return;
    auto setPane = [&](int pane, const std::string& text) {
        char current[128] = {};
        if (LOWORD(SendMessageA(statusBar_, SB_GETTEXTLENGTHA, pane, 0)) < sizeof(current))
            SendMessageA(statusBar_, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(current));
        if (text != current)
            SendMessageA(statusBar_, SB_SETTEXTA, pane, reinterpret_cast<LPARAM>(text.c_str()));
    };
    CView* view = ActiveView();
    setPane(1, view ? view->LineColumnText() : std::string());
    setPane(2, GetKeyState(VK_CAPITAL) & 1 ? LoadResourceString(ID_INDICATOR_CAPS) : "");
    setPane(3, GetKeyState(VK_NUMLOCK) & 1 ? LoadResourceString(ID_INDICATOR_NUM) : "");
}

void CMainFrame::SetMessageText(const std::string& text) {
    if (!statusBar_) return;
    std::string shown = text.empty() ? LoadResourceString(IDS_IDLE_MESSAGE) : text;
    SendMessageA(statusBar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

void CMainFrame::ShowMenuPrompt(UINT id, UINT flags) {
    if (flags == 0xFFFF || (flags & (MF_POPUP | MF_SEPARATOR))) {
        SetMessageText(std::string());
        return;
    }
    SetMessageText(PromptPart(id, false));
}

bool CMainFrame::RouteCommand(int id) {
    if (CView* view = ActiveView()) {
        if (view->OnCommand(id)) return true;
        if (view->Document() && view->Document()->OnCommand(id)) return true;
    }
    if (OnCommand(id)) return true;
    return TheApp().RouteToTargets(id);
}

CCmdUI CMainFrame::QueryCommand(int id) {
    CCmdUI ui;
    ui.id = id;
    if (CView* view = ActiveView()) {
        if (view->OnUpdateCommand(ui)) return ui;
        if (view->Document() && view->Document()->OnUpdateCommand(ui)) return ui;
    }
    if (OnUpdateCommand(ui)) return ui;
    if (TheApp().QueryTargets(ui)) return ui;
    ui.enabled = false;  // nobody handles it
    ui.checked = false;
    return ui;
}

void CMainFrame::UpdateMenuItems(HMENU menu) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        UINT id = GetMenuItemID(menu, i);
        // Separators, submenus, system commands and the Window menu's script list keep their
        // state.
        if (id == 0 || id == static_cast<UINT>(-1) || id >= SC_SIZE) continue;
        if (id == ID_FILE_MRU_FILE1 && TheApp().RecentFiles().Files().empty()) continue;
        CCmdUI ui = QueryCommand(static_cast<int>(id));
        EnableMenuItem(menu, i, MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, i, MF_BYPOSITION | (ui.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool CMainFrame::OnCommand(int id) {
    switch (id) {
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR: {
        HWND bar = id == ID_VIEW_TOOLBAR ? toolBar_ : statusBar_;
        ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
        LayoutBars();
        return true;
    }
    case ID_WINDOW_CASCADE: SendMessageA(mdiClient_, WM_MDICASCADE, 0, 0); return true;
    case ID_WINDOW_TILE_HORZ:
        SendMessageA(mdiClient_, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        return true;
    case ID_WINDOW_TILE_VERT:
        SendMessageA(mdiClient_, WM_MDITILE, MDITILE_VERTICAL, 0);
        return true;
    case ID_WINDOW_ARRANGE: SendMessageA(mdiClient_, WM_MDIICONARRANGE, 0, 0); return true;
    case ID_FILE_CLOSE:
        if (CChildFrame* child = ActiveChild()) {
            // Closing the script closes every window on it, asking once.
            CDocument* document = child->Document();
            if (!document->SaveModified()) return true;
            std::vector<HWND> frames;
            for (CView* view : document->Views()) frames.push_back(GetParent(view->hwnd()));
            for (HWND frame : frames)
                SendMessageA(mdiClient_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame), 0);
        }
        return true;
    case ID_APP_EXIT: PostMessageA(hwnd(), WM_CLOSE, 0, 0); return true;
    case ID_NEXT_PANE:
        if (CView* view = ActiveView()) SetFocus(view->hwnd());
        return true;
    default: return false;
    }
}

bool CMainFrame::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.id) {
    case ID_VIEW_TOOLBAR: ui.checked = IsWindowVisible(toolBar_); return true;
    case ID_VIEW_STATUS_BAR: ui.checked = IsWindowVisible(statusBar_); return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT:
    case ID_WINDOW_ARRANGE:
    case ID_FILE_CLOSE:
    case ID_NEXT_PANE: ui.enabled = ActiveChild() != nullptr; return true;
    case ID_APP_EXIT: return true;
    default: return false;
    }
}

void CMainFrame::OnDropFiles(HDROP drop) {
    SetForegroundWindow(hwnd());
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, MAX_PATH)) TheApp().OpenDocumentFile(path);
    }
    DragFinish(drop);
}

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == find_replace::DialogMessage()) return OnFindReplaceNotification(lParam);
    switch (message) {
    case WM_CREATE:
        if (DefaultProc(message, wParam, lParam) == -1 || !CreateBars()) return -1;
        SetMessageText(std::string());
        return 0;
    case WM_SIZE:
        LayoutBars();
        ToolsOnMainWindowSize(hwnd(), UINT(wParam));
        return 0;  // DefFrameProc would stretch the MDI client over the bars
    case WM_COMMAND:
        if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolBar_) {
            int id = LOWORD(wParam);
            if (id >= IDW_FIRST_MDI_CHILD) break;  // Window menu's list of scripts
            if (RouteCommand(id)) return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) {
            HMENU popup = reinterpret_cast<HMENU>(wParam);
            if (GetMenuItemID(popup, 0) == ID_FILE_NEW) TheApp().RecentFiles().UpdateMenu(popup);
            UpdateMenuItems(popup);
        }
        return 0;
    case WM_MENUSELECT: ShowMenuPrompt(LOWORD(wParam), HIWORD(wParam)); break;
    case WM_EXITMENULOOP: SetMessageText(std::string()); break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            static std::string tip;
            tip = PromptPart(static_cast<UINT>(header->idFrom), true);
            info->lpszText = tip.data();
            return 0;
        }
        break;
    }
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_CLOSE:
        if (!TheApp().DocTemplate().SaveAllModified()) return 0;
        TheApp().DocTemplate().CloseAllDocuments();
        DestroyWindow(hwnd());
        ToolsOnMainFrameClosed();
        return 0;
    case WM_QUERYENDSESSION:
        // Windows is shutting down: the same questions as on exit; Cancel vetoes the shutdown.
        return TheApp().DocTemplate().SaveAllModified();
    case WM_DESTROY: PostQuitMessage(0); break;
    }
    return DefaultProc(message, wParam, lParam);
}

LRESULT CMainFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefFrameProcA(hwnd(), mdiClient_, message, wParam, lParam);
}
