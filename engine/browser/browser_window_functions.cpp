// Browser window control: launch and attach, navigation, readiness and its waits, showing,
// closing, the list of open pages and the three Internet settings.
#include <windows.h>

#include "browser_backends.h"
#include "browser_table.h"
#include "page_rules.h"
#include "progress_dialog.h"
#include "wait_loop.h"
#include "win_handles.h"

namespace {

constexpr uint32_t kCloseLimitMs = 10000;
// A starting browser program is looked for at this pace, whatever the wait increment.
constexpr DWORD kLaunchPollMs = 25;

using PageTest = bool (*)(PageBackend&);

int TestReadiness(BuiltinCall& call, PageTest test) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (browser) SetIntResult(call, test(*browser->page()) ? 1 : 0);
    return kOk;
}

int WaitReadiness(BuiltinCall& call, PageTest test, const char* status) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    int32_t timeout = 0;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (int error = GetIntParam(call, 1, timeout)) return error;
    if (!browser || timeout <= 0) return kOk;
    PageBackend& page = *browser->page();
    switch (WaitLoop(ProgressWindow(call.window), status, static_cast<uint32_t>(timeout),
                     [&] { return test(page); })) {
    case WaitOutcome::kMet: SetIntResult(call, 1); return kOk;
    case WaitOutcome::kCancelled: return kErrCancelled;
    default: return kOk;
    }
}

// One navigation step on a live browser: 1 when the browser accepted it.
int Step(BuiltinCall& call, const char* status, bool (*step)(PageBackend&)) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, status);
    SetIntResult(call, step(*browser->page()) ? 1 : 0);
    return kOk;
}

}  // namespace

int Builtin_BrowserLaunchIE(BuiltinCall& call) {
    SetHandleResult(call, kTypeHbrowser, 0);
    StatusLine line(call.window, "Launching Internet Explorer...");
    CProgressDlg& window = ProgressWindow(call.window);
    bool cancelled = false;
    auto page = LaunchBrowser([&] {
        cancelled = window.PumpMessages();
        if (!cancelled) Sleep(kLaunchPollMs);
        return !cancelled;
    });
    const bool launched = page != nullptr;
    int32_t handle = AddBrowser(call, std::make_unique<CBrowser>(std::move(page)));
    if (cancelled) return kErrCancelled;
    if (launched) SetHandleResult(call, kTypeHbrowser, static_cast<uint32_t>(handle));
    return kOk;
}

int Builtin_BrowserAttachIE(BuiltinCall& call) {
    SetHandleResult(call, kTypeHbrowser, 0);
    std::string title;
    if (int error = GetStringParam(call, 0, title)) return error;
    StatusLine line(call.window, "Attaching to Internet Explorer...");
    int32_t found = 0;
    ForEachBrowser(call, [&](int32_t handle, CBrowser& browser) {
        std::string shown;
        if (!browser.IsDead() && browser.Title(shown) && shown == title) found = handle;
        return found == 0;
    });
    if (found == 0) {
        // The enumeration goes to its end: of several windows with the title, the last one
        // listed is taken, and only that one enters the table.
        std::unique_ptr<PageBackend> last;
        ForEachOpenPage([&](std::unique_ptr<PageBackend> page) {
            CBrowser probe(std::move(page));
            std::string shown;
            if (probe.Title(shown) && shown == title) last = probe.Release();
            return true;
        });
        if (last) found = AddBrowser(call, std::make_unique<CBrowser>(std::move(last)));
    }
    SetHandleResult(call, kTypeHbrowser, static_cast<uint32_t>(found));
    return kOk;
}

int Builtin_BrowserClose(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Waiting for browser to close...");
    if (!browser->page()->Quit()) return kOk;
    CProgressDlg& window = ProgressWindow(call.window);
    const uint64_t end = TickNow() + kCloseLimitMs;
    while (TickNow() < end) {
        if (window.PumpMessages()) return kErrCancelled;
        if (browser->IsDead()) break;
        Sleep(static_cast<DWORD>(window.waitIncrement()));
    }
    SetIntResult(call, 1);
    return kOk;
}

int Builtin_BrowserShowWindow(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    int32_t command = SW_SHOWNORMAL;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (int error = GetOptionalIntParam(call, 1, command)) return error;
    if (browser) SetIntResult(call, browser->page()->ShowWindow(command));
    return kOk;
}

int Builtin_BrowserSetForegroundWindow(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (browser) SetIntResult(call, browser->page()->BringToFront() ? 1 : 0);
    return kOk;
}

int Builtin_BrowserNavigate(BuiltinCall& call) {
    SetIntResult(call, 0);
    CBrowser* browser = nullptr;
    std::string url;
    if (int error = GetLiveBrowserParam(call, 0, browser)) return error;
    if (int error = GetStringParam(call, 1, url)) return error;
    if (!browser) return kOk;
    StatusLine line(call.window, "Navigate URL...");
    SetIntResult(call, browser->page()->Navigate(url) ? 1 : 0);
    return kOk;
}

int Builtin_BrowserGoBack(BuiltinCall& call) {
    return Step(call, "Go back...", [](PageBackend& page) { return page.GoBack(); });
}

int Builtin_BrowserRefresh(BuiltinCall& call) {
    return Step(call, "Refresh...", [](PageBackend& page) { return page.Refresh(); });
}

int Builtin_BrowserIsDocumentComplete(BuiltinCall& call) {
    return TestReadiness(call, IsPageComplete);
}

int Builtin_BrowserIsDocumentInteractive(BuiltinCall& call) {
    return TestReadiness(call, IsPageInteractive);
}

int Builtin_BrowserWaitDocumentComplete(BuiltinCall& call) {
    return WaitReadiness(call, IsPageComplete, "Waiting for document to be complete...");
}

int Builtin_BrowserWaitDocumentInteractive(BuiltinCall& call) {
    return WaitReadiness(call, IsPageInteractive, "Waiting for document to be interactive...");
}

int Builtin_BrowserGetOpenWindowTitles(BuiltinCall& call) {
    SetStringResult(call, "");
    StatusLine line(call.window, "Getting open Internet Explorer windows...");
    std::string titles;
    ForEachOpenPage([&](std::unique_ptr<PageBackend> page) {
        CBrowser probe(std::move(page));
        std::string title;
        if (probe.Title(title)) titles += title + "\n";
        return true;
    });
    SetStringResult(call, std::move(titles));
    return kOk;
}

int Builtin_BrowserSetInternetSettings(BuiltinCall& call) {
    SetIntResult(call, 0);
    int32_t setting = 0, value = 0;
    if (int error = GetIntParam(call, 0, setting)) return error;
    if (int error = GetIntParam(call, 1, value)) return error;
    struct Target {
        const char* key;
        const char* name;
    };
    static const Target kTargets[] = {
        {"", "warnonzonecrossing"}, {"", "warnonpostredirect"}, {"\\zones\\3", "1601"}};
    if (setting < 0 || setting > 2) return kOk;
    const Target& target = kTargets[setting];
    std::string path =
        std::string("software\\microsoft\\windows\\currentversion\\internet settings") + target.key;
    UniqueRegKey key;  // opened, never created: the browser's own key must be there
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return kOk;
    DWORD data = static_cast<DWORD>(value);
    if (RegSetValueExA(key.get(), target.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                       sizeof data) == ERROR_SUCCESS)
        SetIntResult(call, 1);
    return kOk;
}
