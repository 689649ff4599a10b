// CModalDialog: the one base of the editor's modal dialogs (About, and the dialogs of the later
// tools). It runs a dialog template of the program, routes commands to virtual handlers and ends
// with the button's identifier.
#pragma once
#include <windows.h>

class CModalDialog {
public:
    explicit CModalDialog(int templateId) : templateId_(templateId) {}
    virtual ~CModalDialog() = default;
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;

    // Shows the dialog owned by `owner` until it ends; returns the ending code (-1 on failure).
    INT_PTR DoModal(HWND owner);
    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    virtual void OnInitDialog() {}
    // A command of a control; the default ends the dialog on OK and Cancel.
    virtual void OnCommand(int id, int notification);
    // Any other message; return true when handled (the result goes in `result`).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
        return false;
    }
    void End(int code) { EndDialog(hwnd_, code); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
};
