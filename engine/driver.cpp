// The drivers behind the exports: one call resets the record, works in the script's folder,
// shows the running window, compiles (and runs), reports a failure once and cleans up.
#include "driver.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "calls.h"
#include "compiler.h"
#include "error_codes.h"
#include "loader.h"
#include "item_stack.h"
#include "random.h"
#include "scanner.h"
#include "stack_guard.h"

namespace {

bool IsAbsolutePath(std::string_view path) {
    return !path.empty() &&
           (path[0] == '/' || path[0] == '\\' || (path.size() >= 2 && path[1] == ':'));
}

// Drive and folder of a script path, with the trailing separator; empty for a bare file name.
std::string FolderOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator != std::string_view::npos) return std::string(path.substr(0, separator + 1));
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    return {};
}

// While a driver runs, the current directory is the script's folder, so #include names and the
// script's relative paths start there; every way out puts the caller's directory back.
class ScriptFolder {
public:
    ScriptFolder(EnginePlatform& platform, std::string_view scriptPath) : platform_(platform) {
        saved_ = platform_.GetCurrentDir(previous_);
        // The caller named the script relative to its own directory; remember where that is
        // before moving away from it.
        loadPath_ = std::string(scriptPath);
        if (saved_ && !IsAbsolutePath(scriptPath) && !previous_.empty()) {
            const char last = previous_.back();
            const bool hasSeparator = last == '/' || last == '\\';
            const char* separator = previous_.find('\\') != std::string::npos ? "\\" : "/";
            loadPath_ = previous_ + (hasSeparator ? "" : separator) + loadPath_;
        }
        const std::string folder = FolderOf(scriptPath);
        if (!folder.empty()) platform_.SetCurrentDir(folder);
    }
    ~ScriptFolder() {
        // Setting a directory is costly on some hosts (a round trip to the system): it is put
        // back only where the run or the script moved away from it.
        std::string now;
        if (saved_ && !(platform_.GetCurrentDir(now) && now == previous_))
            platform_.SetCurrentDir(previous_);
    }
    ScriptFolder(const ScriptFolder&) = delete;
    ScriptFolder& operator=(const ScriptFolder&) = delete;

    // The script path as the loader must open it once the directory has changed.
    const std::string& loadPath() const { return loadPath_; }

private:
    EnginePlatform& platform_;
    std::string previous_;
    std::string loadPath_;
    bool saved_ = false;
};

// What the script-stack part of a driver call needs.
struct DriverJob {
    EnginePlatform& platform;
    RunWindow& window;
    ScriptResult& record;
    const char* path;  // as the caller spelled it
    const std::string& loadPath;
    const char* entryCall;  // null for a test compile
    bool strict;
    // Made on the script stack (OnScriptStack).
    const StackGuardState* guard = nullptr;
    ItemStack* items = nullptr;
};

RunContext ContextOf(DriverJob& job, ScriptProgram& program) {
    return {.window = job.window,
            .program = program,
            .record = job.record,
            .items = job.items,
            .guard = job.guard};
}

// Entry call such as `main()` or `f(1,"a",HKEY_CURRENT_USER)`: the arguments must be literals.
int RunEntryCall(RunContext& context, const char* entryCall) {
    ScriptResult& record = context.record;
    context.window.SetStatusText("Running...");
    SetResultCall(record, entryCall);
    // The entry call is no line of any file: the report shows line -1.
    record.line = -1;
    ScanCursor cursor{entryCall, -1};
    std::string name;
    if (SkipSpace(cursor)) return kErrBadFunctionCall;
    int length = ReadWord(cursor, name);
    if (length < 0) return length;
    if (length == 0) return kErrBadFunctionCall;
    if (SkipSpace(cursor) || *cursor.at != '(') return kErrBadFunctionCall;
    ++cursor.at;

    VariableTable args;
    std::string word;
    for (;;) {
        if (SkipSpace(cursor)) return kErrBadFunctionCall;
        if (*cursor.at == ')') break;
        if (!args.empty()) {
            // The word reader starts right after the comma: a blank there is an empty word.
            if (*cursor.at != ',') return kErrBadFunctionCall;
            ++cursor.at;
        }
        length = ReadWord(cursor, word);
        if (length < 0) return length;
        if (length == 0) return kErrBadFunctionCall;
        switch (ClassifyLiteral(word, true, context.program.strict)) {
        case kLiteralString: args.push_back(MakeString(word)); break;
        case kLiteralInteger: args.push_back(MakeInt(StringToInt(word))); break;
        case kLiteralRootKey:
            args.push_back(MakeHandle(kTypeHkey, static_cast<uint32_t>(StringToInt(word))));
            break;
        default: record.param = static_cast<int32_t>(args.size() + 1); return kErrBadParameterValue;
        }
    }

    ScriptValue result;
    context.functionResult = &result;
    int outcome = CallUserFunction(context, name, args, result);
    context.functionResult = nullptr;
    return outcome < 0 ? outcome : result.integer;
}

int RunBody(DriverJob& job) {
    std::string text;
    if (int error = LoadScriptFile(job.loadPath, text)) return error;
    // A Cancel between two stages is a cancelled run, never a success.
    if (job.window.IsCancelled()) return kErrCancelled;
    ScriptProgram program;
    program.strict = job.strict;
    IncludeList includes;  // a run does not enter the main file itself
    RunContext context = ContextOf(job, program);
    int result = Pass1(context, text, includes, false);
    std::string().swap(text);
    if (result == kOk) result = job.window.IsCancelled() ? kErrCancelled : Pass2(context);
    if (result != kOk) return result;
    if (job.window.IsCancelled()) return kErrCancelled;
    SeedRandom(program.random, job.platform.RandomSeed());
    return RunEntryCall(context, job.entryCall);
}

int CompileBody(DriverJob& job) {
    ScriptProgram program;
    program.strict = job.strict;
    IncludeList includes;
    RunContext context = ContextOf(job, program);
    std::string text;
    if (int error = LoadScriptFile(job.loadPath, text)) return error;
    // The main file enters the include list as the caller spelled it.
    int result = CompileLoadedFile(context, job.path, text, includes, false);
    if (result == kOk) result = job.window.IsCancelled() ? kErrCancelled : Pass2(context);
    return result;
}

// Runs on the script stack: a guard turns runaway recursion into "Stack overflow", and no
// exception leaves the script stack (a table that cannot grow is "Out of memory"; the only
// exceptions the core raises are the library's allocation failures).
template <int (*Body)(DriverJob&)>
int OnScriptStack(void* argument) {
    DriverJob& job = *static_cast<DriverJob*>(argument);
    StackGuard guard(job.platform.ScriptStackBudget());
    job.guard = &guard.state();
    try {
        ItemStack items;
        job.items = &items;
        return Body(job);
    } catch (...) {
        return kErrOutOfMemory;
    }
}

void Report(RunWindow& window, int result, const ScriptResult& record) {
    if (result < 0 && result != kErrCancelled)
        window.ShowErrorReport(FormatErrorReport(result, record));
}

int Drive(EnginePlatform& platform, void* owner, const char* path, const char* entryCall,
          int strict, ScriptResult& record) {
    const bool compileOnly = entryCall == nullptr;
    ResetResult(record);
    if (!compileOnly) SetResultFile(record, path);
    ScriptFolder folder(platform, path);
    std::unique_ptr<RunWindow> window = platform.CreateRunningWindow(owner, compileOnly);
    if (!window) return kErrOutOfMemory;
    if (!compileOnly) window->SetStatusText("Loading...");
    SetResultFile(record, path);

    DriverJob job{platform, *window, record, path, folder.loadPath(), entryCall, strict != 0};
    const int result = compileOnly ? platform.RunWithScriptStack(&OnScriptStack<CompileBody>, &job)
                                   : platform.RunWithScriptStack(&OnScriptStack<RunBody>, &job);
    Report(*window, result, record);
    window.reset();
    return result;
}

}  // namespace

// The drivers sit behind C exports: the folder strings, the window and the report text are
// allocated outside the script stack, and nothing may unwind into the caller's process. The
// folder and the window are owners, so the directory and the parent come back on this path too.
int RunScriptFile(EnginePlatform& platform, void* owner, const char* path, const char* entryCall,
                  int strict, ScriptResult& record) {
    try {
        return Drive(platform, owner, path ? path : "", entryCall ? entryCall : "", strict, record);
    } catch (...) {
        return kErrOutOfMemory;
    }
}

int TestCompileScriptFile(EnginePlatform& platform, void* owner, const char* path, int strict,
                          ScriptResult& record) {
    try {
        return Drive(platform, owner, path ? path : "", nullptr, strict, record);
    } catch (...) {
        return kErrOutOfMemory;
    }
}
