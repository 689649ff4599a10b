// CMainFrame: the editor's MDI frame window, of the class "VexaScript" so other programs find a
// running editor. It owns the MDI client, the toolbar and the status bar (message, line and
// column, Caps Lock, Num Lock), switches between the menu for no script and the menu for an open
// script, routes commands, and opens files dropped on it.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "command_target.h"
#include "window_base.h"

class CChildFrame;
class CView;
class CDocument;

class CMainFrame : public CWindow, public CCommandTarget {
public:
    CMainFrame() = default;
    ~CMainFrame() override;

    // Creates the (hidden) frame window; false on failure.
    bool Create();
    HWND MdiClient() const { return mdiClient_; }
    HWND StatusBar() const { return statusBar_; }
    HWND ToolBar() const { return toolBar_; }

    CChildFrame* ActiveChild() const;
    CView* ActiveView() const;
    CDocument* ActiveDocument() const;

    // Documents opened or closed: the menu and caption follow.
    void OnDocumentsChanged();
    // Shown while the message queue is empty: captions, toolbar and status bar panes.
    void OnIdle();
    // The message pane's text (the idle message when empty).
    void SetMessageText(const std::string& text);
    // Routes `id` to the active view, its document, the frame and the application.
    bool RouteCommand(int id);
    // The state of `id` after asking the same route; disabled when nobody handles it.
    CCmdUI QueryCommand(int id);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateBars();
    void LayoutBars();
    void UpdateMenuItems(HMENU menu);
    void UpdateToolbar();
    void UpdateIndicators();
    void UpdateCaption();
    void OnDropFiles(HDROP drop);
    void ShowMenuPrompt(UINT id, UINT flags);

    HWND mdiClient_ = nullptr;
    HWND toolBar_ = nullptr;
    HWND statusBar_ = nullptr;
    HMENU noScriptMenu_ = nullptr;  // resource 128
    HMENU scriptMenu_ = nullptr;    // resource 129
    bool menuShowsScript_ = false;
    std::string caption_;          // the caption last set (the MDI client may add to it)
    HWND captionChild_ = nullptr;  // the maximized script the caption was set for
};
