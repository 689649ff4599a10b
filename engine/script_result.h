// The caller-owned record of one engine call: where an error happened and what it quotes.
// Its layout crosses the library boundary (the editor owns one on its stack), so it is fixed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

struct ScriptResult {
    char file[260];  // script file of the error (main, included, or the running function's)
    char call[256];  // entry-call text, then the user function being called
    int32_t line;    // 1-based line in `file`; -1 when unset
    int32_t param;   // 1-based parameter position for "Parameter %d" errors; 0 when unset
    char name[256];  // the quoted name, operator or code of the message
};

static_assert(sizeof(ScriptResult) == 780);
static_assert(offsetof(ScriptResult, file) == 0);
static_assert(offsetof(ScriptResult, call) == 260);
static_assert(offsetof(ScriptResult, line) == 516);
static_assert(offsetof(ScriptResult, param) == 520);
static_assert(offsetof(ScriptResult, name) == 524);

// Start of every entry point: `name` is deliberately left as it was.
void ResetResult(ScriptResult& record);
// Bounded copies: `file` keeps at most 259 characters, `call` and `name` at most 255.
void SetResultFile(ScriptResult& record, std::string_view text);
void SetResultCall(ScriptResult& record, std::string_view text);
void SetResultName(ScriptResult& record, std::string_view text);
