// Finds the message boxes and dialogs that a process (or this one) opens, records what they
// show, and answers them — so tests and the console runner never block on a box.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct CaughtDialog {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    std::string caption;
    std::string text;         // the message text (message box static, else first text control)
    bool messageBox = false;  // the text came from a system message box's text control
    int icon = 0;  // MB_ICONEXCLAMATION, MB_ICONINFORMATION, MB_ICONQUESTION, MB_ICONHAND or 0
    std::vector<std::string> buttons;  // button texts in z-order, "&" included
    std::vector<int> buttonIds;
};

// Decides which command to send to a dialog (IDOK, IDYES, ...); 0 leaves it open.
using DialogAnswer = std::function<int(const CaughtDialog&)>;

// Answers every dialog with its default: IDOK when it has an OK button, else IDCANCEL, else the
// first.
int AnswerDefault(const CaughtDialog& dialog);

class DialogCatcher {
public:
    // Watches the top-level "#32770" windows of `processId` (0: this process; -1: any process).
    explicit DialogCatcher(DialogAnswer answer = AnswerDefault, DWORD processId = 0);
    ~DialogCatcher();
    DialogCatcher(const DialogCatcher&) = delete;
    DialogCatcher& operator=(const DialogCatcher&) = delete;

    // Also watch dialogs of this process (for example a child started after the catcher).
    void AddProcess(DWORD processId);
    std::vector<CaughtDialog> caught() const;
    size_t count() const;
    // Waits until at least `n` dialogs were caught; false after `timeoutMs`.
    bool WaitFor(size_t n, DWORD timeoutMs) const;

    static CaughtDialog Describe(HWND dialog);

private:
    void Watch();
    bool Wanted(DWORD processId) const;

    DialogAnswer answer_;
    std::set<DWORD> processes_;
    bool anyProcess_ = false;
    mutable std::mutex mutex_;
    std::vector<CaughtDialog> caught_;
    std::set<HWND> seen_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> stopped_{false};  // the watcher has left its loop
    std::thread thread_;
};
