// CProgressDlg: the "Running Script" window shown while the engine compiles or runs a script.
// It is the engine's RunWindow on Windows: status line, Cancel, Continue, message pump.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "dialog_window.h"
#include "run_window.h"

class CProgressDlg : public RunWindow, public CDialogWindow {
public:
    CProgressDlg();
    ~CProgressDlg() override;

    // Disables the owner (if any) and creates the window: centred when compile-only, otherwise
    // lower-right and top-most; shown at once only when there is an owner. False on failure.
    // Without an owner the hidden window is made later, by EnsureOpen or after a short run.
    bool CreateRunningWindow(HWND owner, bool compileOnly);
    // Re-enables the owner and destroys the window.
    void DestroyRunningWindow();

    // RunWindow
    void SetStatusText(const std::string& text) override;
    bool PumpMessages() override;
    bool IsCancelled() const override { return running_ == 0; }
    void ShowErrorReport(const std::string& text) override;
    void EnsureOpen() override;

    // Like PumpMessages, but offers each message to `dialog`'s keyboard navigation first.
    bool PumpDialogMessages(HWND dialog);
    // Resets the continue flag, then shows and enables (or hides and disables) Continue.
    void ShowContinueButton(bool show);
    bool ContinueRequested() const { return continue_ != 0; }

    HWND owner() const { return owner_; }
    int waitIncrement() const { return waitIncrement_; }
    void setWaitIncrement(int milliseconds) { waitIncrement_ = milliseconds; }

protected:
    void OnInitDialog() override;
    void OnCancel() override;
    void OnCommand(int id) override;

private:
    bool Open();
    bool PumpQueue(HWND dialog);

    HWND owner_ = nullptr;
    bool compileOnly_ = false;
    bool opened_ = false;         // the window was made (or its making failed)
    int64_t openAt_ = 0;          // system tick at which a deferred window is made
    std::string status_;          // the status text while the window is not yet made
    bool ownerDisabled_ = false;  // we disabled the owner and must enable it again
    int running_ = 1;             // 0 once Cancel was pressed; never set back during a run
    int continue_ = 0;            // 1 after Continue; reset whenever Continue is shown or hidden
    int waitIncrement_ = 1;       // milliseconds between two polls of every waiting built-in
    int64_t nextPump_ = 0;        // system tick before which PumpMessages skips the queue
};

// The running window of a built-in call, made first if it was deferred: on Windows every
// RunWindow is a CProgressDlg, and the checked cast stops at once if a host hands in another.
CProgressDlg& ProgressWindow(RunWindow& window);

// Restores and activates `window` despite the foreground lock; true when it is now in front.
bool BringWindowToForeground(HWND window);

// 1 Windows 95, 0x11 Windows 98, 0x1100 NT 4.0, 0x2100 NT 5.x, 0x100 other NT, 0 otherwise.
unsigned WindowsVersionCode();
