#include "support/engine_library.h"

namespace {

template <typename Function>
void Bind(HMODULE module, int ordinal, Function& function) {
    function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

HWND FindOwnWindow(const std::function<bool(HWND)>& wanted) {
    return FindTopWindow(GetCurrentProcessId(), [&](HWND window) {
        return ClassOf(window) == "#32770" && wanted(window);
    });
}

}  // namespace

HWND FindTopWindow(DWORD processId, const std::function<bool(HWND)>& wanted) {
    struct Search {
        DWORD pid;
        const std::function<bool(HWND)>* wanted;
        HWND found;
    } search{processId, &wanted, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != s->pid || !(*s->wanted)(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

const EngineLibrary& EngineLibrary::Get() {
    static EngineLibrary library = [] {
        EngineLibrary l;
        l.module = LoadLibraryA((BinaryDir() + "\\vexeng.dll").c_str());
        if (!l.module) return l;
        Bind(l.module, 1, l.Version);
        Bind(l.module, 2, l.RunScriptFile);
        Bind(l.module, 3, l.TestCompileScriptFile);
        Bind(l.module, 4, l.RunScriptFileEx);
        Bind(l.module, 5, l.TestCompileScriptFile2);
        Bind(l.module, 6, l.RunScriptFile2);
        Bind(l.module, 7, l.RunScriptFileEx2);
        return l;
    }();
    return library;
}

HWND FindOwnDialog(const std::string& caption) {
    // The caption is read without a message to the dialog's thread, which may be busy or
    // sleeping between polls: the search must see a box that is up for only a moment.
    return FindOwnWindow([&](HWND window) {
        wchar_t text[1024] = {};
        int length = InternalGetWindowText(window, text, 1024);
        return std::wstring(text, length) == std::wstring(caption.begin(), caption.end());
    });
}

HWND FindRunningWindow() {
    return FindOwnWindow([](HWND window) {
        HWND button = GetDlgItem(window, 1001);
        return button && TextOf(button) == "Continue" && GetDlgItem(window, IDCANCEL);
    });
}

std::string ControlText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(5);
    }
    return true;
}

std::string WaitForStatus(const std::string& prefix, DWORD timeoutMs) {
    std::string status;
    WaitUntil(
        [&] {
            HWND running = FindRunningWindow();
            status = running ? ControlText(running, 1000) : "";
            return running && status.compare(0, prefix.size(), prefix) == 0;
        },
        timeoutMs);
    return status.compare(0, prefix.size(), prefix) == 0 ? status : "";
}

void ClickButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ULONGLONG Now() { return GetTickCount64(); }

void EngineTest::SetUp() {
    ASSERT_NE(EngineLibrary::Get().module, nullptr) << "vexeng.dll not found in " << BinaryDir();
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    startDirectory_ = directory;
}

void EngineTest::TearDown() {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    EXPECT_EQ(startDirectory_, directory) << "the engine left the current directory changed";
    EXPECT_EQ(FindRunningWindow(), nullptr) << "the running window outlived the run";
}

ScriptRun EngineTest::Run(const std::string& text, const std::string& call, int strict,
                          HWND owner) {
    ScriptRun run;
    EXPECT_TRUE(WriteTextFile(ScriptPath(), text));
    run.result = EngineLibrary::Get().RunScriptFileEx2(owner, ScriptPath().c_str(), call.c_str(),
                                                       strict, &run.record);
    run.endedAt = Now();
    return run;
}

OwnerWindow::OwnerWindow() {
    hwnd_ = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                            200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}
