// vexrun: the console runner. Runs (or test-compiles) one script through vexeng.dll, bound by
// ordinal like the editor binds it, and answers the engine's error box so nothing stays on screen.
//
//   vexrun [/s | /l] [/compile] [/call TEXT] [/show] [/record] [/time] [/echo] script.vxs [ARG...]
//
// /echo prints the text of each MessageBox the script opens on standard output and answers it
// with OK: a script reports what it does through its own message boxes.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog_catcher.h"
#include "script_result.h"

namespace {

using VersionFunction = int(WINAPI*)();
using TestCompileFunction = int(WINAPI*)(HWND, const char*, ScriptResult*);
using RunExFunction = int(WINAPI*)(HWND, const char*, const char*, ScriptResult*);
using TestCompile2Function = int(WINAPI*)(HWND, const char*, int, ScriptResult*);
using RunEx2Function = int(WINAPI*)(HWND, const char*, const char*, int, ScriptResult*);

// Exit code when vexrun itself cannot run the script (bad command line, no engine).
constexpr int kRunnerFailure = -1;

// How long /time waits after the runner's start before the call it times.
constexpr DWORD kSettleMs = 250;

struct Options {
    int strict = -1;  // -1: the Strict setting decides
    bool compileOnly = false;
    bool show = false;
    bool record = false;
    bool time = false;  // print how long the engine call took, without the runner's start-up
    bool echo = false;
    bool haveCall = false;
    std::string call;
    std::string script;
    std::vector<std::string> args;
};

bool SwitchIs(const char* arg, const char* name) { return lstrcmpiA(arg, name) == 0; }

bool ParseCommandLine(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc && argv[i][0] == '/'; ++i) {
        const char* arg = argv[i];
        if (SwitchIs(arg, "/s"))
            options.strict = 1;
        else if (SwitchIs(arg, "/l")) {
            if (options.strict != 1) options.strict = 0;
        }  // /s wins
        else if (SwitchIs(arg, "/compile"))
            options.compileOnly = true;
        else if (SwitchIs(arg, "/show"))
            options.show = true;
        else if (SwitchIs(arg, "/record"))
            options.record = true;
        else if (SwitchIs(arg, "/time"))
            options.time = true;
        else if (SwitchIs(arg, "/echo"))
            options.echo = true;
        else if (SwitchIs(arg, "/call") && i + 1 < argc) {
            options.haveCall = true;
            options.call = argv[++i];
        } else {
            fprintf(stderr, "vexrun: unknown switch %s\n", arg);
            return false;
        }
    }
    if (i >= argc) return false;
    options.script = argv[i++];
    for (; i < argc; ++i) options.args.push_back(argv[i]);
    return true;
}

// main("one","two words","C:\\x"): every argument a string literal with \ and " escaped.
std::string BuildEntryCall(const std::vector<std::string>& args) {
    std::string call = "main(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) call += ',';
        call += '"';
        for (char c : args[i]) {
            if (c == '\\' || c == '"') call += '\\';
            call += c;
        }
        call += '"';
    }
    return call + ")";
}

std::string EngineBesideProgram() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder + "vexeng.dll";
}

template <typename Function>
Function Ordinal(HMODULE engine, int ordinal) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(engine, MAKEINTRESOURCEA(ordinal))));
}

// The record's message line: the error box text with its line breaks written as \n.
std::string OneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n')
            out += "\\n";
        else
            out += text[i];
    }
    return out;
}

void PrintRecord(int result, const ScriptResult& record, const std::string& message) {
    printf("result=%d\n", result);
    printf("file=%.*s\n", static_cast<int>(sizeof(record.file)), record.file);
    printf("line=%d\n", record.line);
    printf("param=%d\n", record.param);
    printf("name=%.*s\n", static_cast<int>(sizeof(record.name)), record.name);
    printf("call=%.*s\n", static_cast<int>(sizeof(record.call)), record.call);
    printf("message=%s\n", OneLine(message).c_str());
}

// The engine's own error box: a system message box captioned "Vexa Script". The script's
// MessageBox dialogs have the same caption but are no system message box; they are left alone.
bool IsEngineErrorBox(const CaughtDialog& dialog) {
    return dialog.messageBox && dialog.caption == "Vexa Script";
}

// The script's MessageBox: a dialog of the engine with an OK button (the running-script window
// has none), whatever caption the script gave it.
bool IsScriptMessageBox(const CaughtDialog& dialog) {
    return !dialog.messageBox && std::find(dialog.buttonIds.begin(), dialog.buttonIds.end(),
                                           IDOK) != dialog.buttonIds.end();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseCommandLine(argc, argv, options)) {
        fprintf(stderr,
                "usage: vexrun [/s | /l] [/compile] [/call TEXT] [/show] [/record] [/time] "
                "[/echo] script.vxs [ARG...]\n");
        return kRunnerFailure;
    }
    std::string enginePath = EngineBesideProgram();
    HMODULE engine = LoadLibraryExA(enginePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!engine) {
        fprintf(stderr, "vexrun: cannot load %s\n", enginePath.c_str());
        return kRunnerFailure;
    }
    auto version = Ordinal<VersionFunction>(engine, 1);
    if (!version || version() != 1) {
        fprintf(stderr, "vexeng.dll is the wrong version!\n");
        return kRunnerFailure;
    }
    // The browser functions rely on the host having initialised the component model.
    OleInitialize(nullptr);

    DialogCatcher catcher([&options](const CaughtDialog& dialog) {
        if (IsEngineErrorBox(dialog)) {
            fprintf(stderr, "%s\n", dialog.text.c_str());
            fflush(stderr);
            return IDOK;
        }
        if (options.echo && IsScriptMessageBox(dialog)) {
            printf("%s\n", dialog.text.c_str());
            fflush(stdout);
            return IDOK;
        }
        return 0;
    });
    // With /show the running window gets an owner, which makes the engine show it at once.
    HWND owner = options.show ? CreateWindowExA(0, "STATIC", "vexrun", WS_OVERLAPPED, CW_USEDEFAULT,
                                                CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                                                GetModuleHandleA(nullptr), nullptr)
                              : nullptr;

    // A new process under Wine is still being set up around it for a while (Wine's server, the
    // display, the desktop process): a call timed at once shares the cores with that work and
    // came out 1-4 ms slower, at random. Timed, the call waits until the start-up has settled.
    if (options.time) Sleep(kSettleMs);

    ScriptResult record{};
    record.line = -1;
    const char* script = options.script.c_str();
    LARGE_INTEGER started, finished, frequency;
    QueryPerformanceCounter(&started);
    int result;
    if (options.compileOnly) {
        result =
            options.strict < 0
                ? Ordinal<TestCompileFunction>(engine, 3)(owner, script, &record)
                : Ordinal<TestCompile2Function>(engine, 5)(owner, script, options.strict, &record);
    } else {
        std::string call = options.haveCall ? options.call : BuildEntryCall(options.args);
        result = options.strict < 0
                     ? Ordinal<RunExFunction>(engine, 4)(owner, script, call.c_str(), &record)
                     : Ordinal<RunEx2Function>(engine, 7)(owner, script, call.c_str(),
                                                          options.strict, &record);
    }
    QueryPerformanceCounter(&finished);
    QueryPerformanceFrequency(&frequency);
    if (owner) DestroyWindow(owner);
    if (options.time)
        printf("elapsed_ms=%.3f\n",
               (finished.QuadPart - started.QuadPart) * 1000.0 / frequency.QuadPart);

    if (options.record) {
        std::string message;
        for (const CaughtDialog& dialog : catcher.caught())
            if (IsEngineErrorBox(dialog)) message = dialog.text;
        PrintRecord(result, record, message);
    }
    fflush(stdout);
    return result;
}
