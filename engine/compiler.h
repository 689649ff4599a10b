// The two compile passes: pass 1 reads the text into the ScriptProgram, pass 2 checks
// that no local or parameter bears a function's name.
#pragma once
#include <string>
#include <string_view>

#include "program.h"
#include "run_context.h"

// Loads `path`, enters it into `includes`, and runs Pass1 over it (used for #include and test
// compile).
int CompileFile(RunContext& context, const std::string& path, IncludeList& includes,
                bool isInclude);
// CompileFile after its load: enters `path` into `includes`, makes it the record's file and runs
// Pass1 unless Cancel is set (the drivers load a main file themselves).
int CompileLoadedFile(RunContext& context, const std::string& path, const std::string& text,
                      IncludeList& includes, bool isInclude);
// Pass 1 over a loaded text; the main file (isInclude false) may change the strict flag.
int Pass1(RunContext& context, const std::string& text, IncludeList& includes, bool isInclude);
int Pass2(RunContext& context);

// A name folded the way NamesEqual compares it (ASCII case only without strict): the key under
// which the passes index functions and globals, so their checks stay linear in the script size.
inline std::string NameKey(std::string_view name, bool strict) {
    return strict ? std::string(name) : FoldAsciiCase(name);
}
