#include "progress_dialog.h"

#include <cstdlib>

#include "resource.h"

// A look into the queue is a call into the window system; Cancel waits a few statements more.
CProgressDlg::CProgressDlg() : RunWindow(kStatementsPerPump) {}

CProgressDlg::~CProgressDlg() { DestroyRunningWindow(); }

CProgressDlg& ProgressWindow(RunWindow& window) {
    auto* progress = dynamic_cast<CProgressDlg*>(&window);
    if (!progress) std::abort();  // a host wiring fault, never a script's doing
    progress->EnsureOpen();
    return *progress;
}

namespace {

// The system tick in milliseconds. Reading it costs a memory read, where a performance-counter
// query per statement cost more than the statement itself under Wine.
int64_t MillisecondTick() { return static_cast<int64_t>(GetTickCount64()); }

// How long a run without an owner goes without its hidden window: the first window of a
// process costs tens of milliseconds (the window system's set-up), more than most short runs.
constexpr int64_t kDeferHiddenWindowMs = 100;

}  // namespace

bool CProgressDlg::CreateRunningWindow(HWND owner, bool compileOnly) {
    // A handle that names no window is treated as no owner at all.
    owner_ = owner && IsWindow(owner) ? owner : nullptr;
    compileOnly_ = compileOnly;
    // A shown window is made at once; a hidden one when something needs it (EnsureOpen) or
    // when the run has lasted long enough for others to look for it.
    if (!owner_) {
        const int64_t now = MillisecondTick();
        openAt_ = now + kDeferHiddenWindowMs;
        // Nor does the queue need a look before the clock's next tick: a look is a round trip
        // to the window system, longer than many whole runs.
        nextPump_ = now + 1;
        return true;
    }
    return Open();
}

void CProgressDlg::EnsureOpen() {
    if (!opened_) Open();
}

bool CProgressDlg::Open() {
    opened_ = true;
    // Only an owner that we disabled is enabled again at the end.
    ownerDisabled_ = owner_ && !EnableWindow(owner_, FALSE);
    if (!Create(IDD_RUNNING_SCRIPT, owner_)) {
        DestroyRunningWindow();
        return false;
    }
    RECT rect{};
    GetWindowRect(hwnd(), &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (compileOnly_) {
        RECT over = WorkAreaOf(hwnd());
        if (owner_ && IsWindowVisible(owner_)) GetWindowRect(owner_, &over);
        SetWindowPos(hwnd(), nullptr, over.left + (over.right - over.left - width) / 2,
                     over.top + (over.bottom - over.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT area = WorkAreaOf(hwnd());
        SetWindowPos(hwnd(), HWND_TOPMOST, area.right - width, area.bottom - height, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (!status_.empty()) SetDlgItemTextA(hwnd(), IDC_STATUS_TEXT, status_.c_str());
    // Without an owner the window stays hidden until the script shows it.
    if (owner_) {
        ShowWindow(hwnd(), SW_SHOW);
        UpdateWindow(hwnd());
    }
    return true;
}

void CProgressDlg::DestroyRunningWindow() {
    // The owner is enabled first so that it, not some other program, becomes active.
    if (ownerDisabled_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
    owner_ = nullptr;
    Destroy();
}

void CProgressDlg::OnInitDialog() { SetStatusText(""); }

void CProgressDlg::OnCancel() { running_ = 0; }

void CProgressDlg::OnCommand(int id) {
    if (id == IDC_CONTINUE) continue_ = 1;
}

void CProgressDlg::SetStatusText(const std::string& text) {
    if (!opened_) status_ = text;  // shown once the window is made
    if (hwnd()) SetDlgItemTextA(hwnd(), IDC_STATUS_TEXT, text.c_str());
}

void CProgressDlg::ShowContinueButton(bool show) {
    continue_ = 0;
    if (hwnd()) ShowChild(Item(IDC_CONTINUE), show);
}

void CProgressDlg::ShowErrorReport(const std::string& text) {
    EnsureOpen();  // the box is owned by the running window
    MessageBoxA(hwnd(), text.c_str(), "Vexa Script", MB_OK | MB_ICONEXCLAMATION);
}

bool CProgressDlg::PumpMessages() {
    // Each look into the queue is a round trip to the window system: a tight loop looks at
    // most once per tick of the system clock (1 to 16 milliseconds), which Cancel never notices.
    const int64_t now = MillisecondTick();
    if (now < nextPump_) return IsCancelled();
    nextPump_ = now + 1;
    if (!opened_ && now >= openAt_) Open();
    return PumpQueue(nullptr);
}

bool CProgressDlg::PumpDialogMessages(HWND dialog) { return PumpQueue(dialog); }

bool CProgressDlg::PumpQueue(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return true;  // consumed: the run stops as if cancelled
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        // Esc and Tab work in the running window too.
        if (hwnd() && IsDialogMessageA(hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return IsCancelled();
}
