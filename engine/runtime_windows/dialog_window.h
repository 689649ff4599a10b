// CDialogWindow: the one thin base of the engine's modeless dialogs (the running-script window,
// the message and input dialogs). It creates the dialog from a template of this library, routes
// OK/Cancel/other commands to virtual handlers and destroys the window with the object.
#pragma once
#include <windows.h>

#include <string>

class CDialogWindow {
public:
    CDialogWindow() = default;
    virtual ~CDialogWindow();
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

    // Creates the (hidden unless the template says otherwise) dialog; false on failure.
    bool Create(int templateId, HWND owner);
    void Destroy();
    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    virtual void OnInitDialog() {}
    virtual void OnOK() {}
    virtual void OnCancel() {}  // the Cancel button, Esc, and the close box
    virtual void OnCommand(int id) {}
    // Any other message (WM_NOTIFY, private messages); TRUE when handled.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// The module that holds the dialog templates and the icon (vexeng.dll itself).
HINSTANCE EngineModule();

// The desktop work area of the monitor that `window` is on.
RECT WorkAreaOf(HWND window);
// Moves `window`, keeping its size, to the middle of its monitor's work area.
void CenterInWorkArea(HWND window);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
void MoveChild(HWND child, const RECT& rect);
void ShowChild(HWND child, bool show);  // shows and enables, or hides and disables

// The size `text` needs when word-wrapped in `control`'s width with its dialog's font (tabs
// expanded, "&" shown as is).
SIZE MeasureControlText(HWND control, const std::string& text);

std::string WindowTextOf(HWND window);

// "\n", "\r", "\r\n" and "\n\r" each become "\r\n", as edit controls and statics expect.
std::string NormalizeLineBreaks(const std::string& text);
