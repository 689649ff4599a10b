// Starting programs: Run (with the shell's open action as fallback) and RunWait (waits for
// the program to end, up to a time-out, pumping messages so Cancel stays live).
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "builtin_api.h"
#include "current_folder.h"
#include "error_codes.h"
#include "program_starter.h"
#include "progress_dialog.h"
#include "wait_loop.h"
#include "win_handles.h"

namespace {

constexpr int32_t kDefaultShow = SW_SHOWNORMAL;
constexpr int32_t kDefaultRunWaitTimeout = 86400000;  // one day
constexpr DWORD kInputIdleTimeout = 30000;

constexpr DWORD kIdleSlice = 20;

struct StartedProcess {
    UniqueKernelHandle process;
    UniqueKernelHandle thread;
};

enum class StartOutcome { kStarted, kFailed, kCancelled };

// Gives the new program up to 30 s to become idle waiting for input. The wait runs in short
// slices with the message pump between them, so the window stays live and Cancel is seen.
bool WaitUntilIdle(RunWindow& window, HANDLE process) {
    uint64_t deadline = TickNow() + kInputIdleTimeout;
    while (WaitForInputIdle(process, kIdleSlice) == WAIT_TIMEOUT && TickNow() < deadline)
        if (window.PumpMessages()) return false;
    return true;
}

// Creates the process from the command line alone (no program name, no inherited handles).
StartOutcome StartProcess(RunWindow& window, const std::string& commandLine, int32_t showCmd,
                          StartedProcess& started) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCmd);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info))
        return StartOutcome::kFailed;
    started.process.reset(info.hProcess);
    started.thread.reset(info.hThread);
    return WaitUntilIdle(window, info.hProcess) ? StartOutcome::kStarted : StartOutcome::kCancelled;
}

bool EndsWithLnk(const std::string& text) {
    return text.size() >= 4 && lstrcmpiA(text.c_str() + text.size() - 4, ".lnk") == 0;
}

// The shell's open action; a shortcut runs its default action instead, where "access
// denied" is what the shell reports for some targets that did start.
bool ShellStart(const std::string& commandLine, int32_t showCmd) {
    bool shortcut = EndsWithLnk(commandLine);
    CurrentFolderKeeper keeper;
    auto code =
        reinterpret_cast<INT_PTR>(ShellExecuteA(GetDesktopWindow(), shortcut ? nullptr : "open",
                                                commandLine.c_str(), nullptr, "", showCmd));
    return code > 32 || (shortcut && code == SE_ERR_ACCESSDENIED);
}

}  // namespace

int StartProgramOrDocument(RunWindow& window, const std::string& commandLine, int32_t showCmd) {
    StartedProcess started;
    StartOutcome outcome = StartProcess(window, commandLine, showCmd, started);
    if (outcome == StartOutcome::kCancelled) return kErrCancelled;
    return outcome == StartOutcome::kStarted || ShellStart(commandLine, showCmd) ? 1 : 0;
}

int Builtin_Run(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string commandLine;
    int32_t showCmd = kDefaultShow;
    if (int error = GetStringParam(call, 0, commandLine)) return error;
    if (int error = GetOptionalIntParam(call, 1, showCmd)) return error;
    if (!IsSystemText(commandLine)) return kOk;
    StatusLine status(call.window, "Running command line...");
    int started = StartProgramOrDocument(call.window, commandLine, showCmd);
    if (started < 0) return started;
    SetIntResult(call, started);
    return kOk;
}

// 1 when the program ended, -1 while it still runs at the time-out (it is left running),
// 0 when it could not be started. A program that exits with 259 looks still active.
int Builtin_RunWait(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string commandLine;
    int32_t showCmd = kDefaultShow;
    int32_t timeout = kDefaultRunWaitTimeout;
    if (int error = GetStringParam(call, 0, commandLine)) return error;
    if (int error = GetOptionalIntParam(call, 1, showCmd)) return error;
    if (int error = GetOptionalIntParam(call, 2, timeout)) return error;
    if (!IsSystemText(commandLine)) return kOk;
    StatusLine status(call.window, "Running command line...");
    StartedProcess started;
    StartOutcome outcome = StartProcess(call.window, commandLine, showCmd, started);
    if (outcome == StartOutcome::kCancelled) return kErrCancelled;
    if (outcome == StartOutcome::kFailed) return kOk;

    call.window.SetStatusText("Waiting for program to close...");
    SetIntResult(call, -1);
    CProgressDlg& window = ProgressWindow(call.window);
    uint64_t deadline = TickNow() + static_cast<uint64_t>(timeout > 0 ? timeout : 0);
    while (TickNow() < deadline) {
        if (window.PumpMessages()) return kErrCancelled;
        Sleep(static_cast<DWORD>(window.waitIncrement()));
        DWORD code = 0;
        if (!GetExitCodeProcess(started.process.get(), &code) || code != STILL_ACTIVE) {
            SetIntResult(call, 1);
            break;
        }
    }
    return kOk;
}
