// The one calling convention of every built-in family: what a handler receives, how it reads
// its parameters, sets its result, shows its status line and keeps run-owned objects. A family
// includes this header and nothing of the interpreter.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "builtin_names.h"
#include "error_codes.h"
#include "program_resource.h"
#include "run_window.h"
#include "script_result.h"
#include "script_value.h"

struct ScriptProgram;

// Everything a built-in handler receives.
struct BuiltinCall {
    RunWindow& window;
    ScriptProgram& program;  // opaque to families: reach it through the resource functions below
    VariableTable& args;     // prepared arguments; args.size() is the actual count
    ScriptValue& result;     // set to the empty value of the result type first
    ScriptResult& record;    // `param` / `name` of the errors a handler raises
    std::string_view name;   // the built-in's name as the table spells it
};

// Returns 0 or a negative error that stops the run (-19 for a cancelled wait).
using BuiltinHandler = int (*)(BuiltinCall& call);

// Parameter accessors: position is 0-based; on error they store position + 1 in record.param.
int GetIntParam(BuiltinCall& call, int position, int32_t& value);
int GetStringParam(BuiltinCall& call, int position, std::string& value);
// The same for a built-in that only reads the text: `value` shares it instead of copying it,
// so strlen or FindString on a long text cost no copy.
int GetSharedStringParam(BuiltinCall& call, int position, SharedText& value);
int GetFileParam(BuiltinCall& call, int position, int32_t& slot);
int GetBrowserParam(BuiltinCall& call, int position, int32_t& slot);
int GetHandleParam(BuiltinCall& call, int position, uint32_t type, uint32_t& handle);
// Optional parameters: a position beyond the actual count leaves `value` at its default.
int GetOptionalIntParam(BuiltinCall& call, int position, int32_t& value);
int GetOptionalStringParam(BuiltinCall& call, int position, std::string& value);
int GetIntOrStringParam(BuiltinCall& call, int position, bool& isInt, int32_t& value,
                        std::string& text);
// Result setters.
void SetIntResult(BuiltinCall& call, int32_t value);
void SetStringResult(BuiltinCall& call, std::string text);
void SetVoidResult(BuiltinCall& call);
void SetHandleResult(BuiltinCall& call, uint32_t type, uint32_t value);

// True when the system may take `text` as a path, key or value name, command line or window
// title. The system stops at the first NUL, so a text holding one would name something else
// (`DeleteFile(name + ".bak")` deleting `name`): a built-in given such a text answers with
// its failure result and hands nothing to the system.
bool IsSystemText(std::string_view text);

// The run's strict flag (name comparison, int/string conversions).
bool IsStrict(const BuiltinCall& call);
// The next number of the run's rand() sequence, 0 to 32767.
int32_t NextScriptRandom(BuiltinCall& call);

// The run's handle tables: HFILE n and HBROWSER n name slot n - 1 of their table. A slot whose
// object is closed is free and taken again by the next Add; what is open closes with the run.
enum class ResourceTable { kFiles, kBrowsers };
int32_t AddProgramResource(BuiltinCall& call, ResourceTable table,
                           std::unique_ptr<ProgramResource> resource);
// The open object behind a handle value; nullptr for 0, an unknown slot or a free one.
ProgramResource* FindProgramResource(BuiltinCall& call, ResourceTable table, int32_t handle);

// The status line a built-in shows in the running-script window while it works; cleared
// when the scope ends, on every path. A null text shows nothing (functions without status).
class StatusLine {
public:
    StatusLine(RunWindow& window, const char* text) : window_(text ? &window : nullptr) {
        if (window_) window_->SetStatusText(text);
    }
    ~StatusLine() {
        if (window_) window_->SetStatusText("");
    }
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

private:
    RunWindow* window_;
};

// Every handler of the table, declared once.
#define VEX_DECLARE_BUILTIN(name, family) int Builtin_##name(BuiltinCall& call);
VEX_BUILTIN_LIST(VEX_DECLARE_BUILTIN)
#undef VEX_DECLARE_BUILTIN

// Families whose handlers a host does not provide point here: the call fails with -4 naming
// itself.
int BuiltinUnavailable(BuiltinCall& call);
