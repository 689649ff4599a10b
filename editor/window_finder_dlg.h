// Tools > Window Information Finder... (Ctrl+I): drag the finder icon over any window to see
// its caption, class name and control identifier; the window under the pointer is outlined.
#pragma once
#include <windows.h>

class CWindowFinderDlg;

// The drag source: shows the finder bitmap, captures the mouse while dragging, and outlines
// the window under the pointer with an inverted three-rectangle frame.
class CFinderCtrl {
public:
    // Creates the control over `rect` (dialog client coordinates).
    bool Create(CWindowFinderDlg& owner, HWND dialog, const RECT& rect);
    HWND window() const { return window_; }
    HWND outlined() const { return outlined_; }
    bool dragging() const { return dragging_; }

    // Draws the frame on `target`; drawing it a second time restores the screen.
    static void DrawOutline(HWND target);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);
    void Track(POINT point);
    void RemoveOutline();

    CWindowFinderDlg* owner_ = nullptr;
    HWND window_ = nullptr;
    bool dragging_ = false;
    HCURSOR previousCursor_ = nullptr;
    HWND outlined_ = nullptr;
};

class CWindowFinderDlg {
public:
    // `mainWindow` is the editor's main window: never described, hidden on request.
    explicit CWindowFinderDlg(HWND mainWindow) : mainWindow_(mainWindow) {}
    INT_PTR DoModal();

    HWND dialog() const { return dialog_; }
    HWND mainWindow() const { return mainWindow_; }
    // The window found under the pointer, after the descent and the smallest-sibling rule;
    // nullptr for nothing to show (no window, the editor, the finder itself).
    HWND WindowToDescribe(POINT screen) const;
    void Describe(HWND window);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnHideToggled();
    void OnClose();

    HWND mainWindow_;
    HWND dialog_ = nullptr;
    CFinderCtrl finder_;
};
