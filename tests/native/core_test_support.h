// Helpers for the language-core tests: a context in which expression texts are read by the real
// scanner and evaluated by the real evaluator, with the one fake host window.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "compiler.h"
#include "expression.h"
#include "fake_platform.h"
#include "item_stack.h"
#include "program.h"
#include "run_context.h"
#include "run_window.h"
#include "scanner.h"
#include "script_result.h"

namespace core_test {

// One program, record and local scope; Evaluate reads `text` as a statement argument would be.
struct Evaluator {
    explicit Evaluator(bool strict = false) {
        program.strict = strict;
        ResetResult(record);
        record.line = 10;
        SetResultName(record, "");
    }

    // The item the compiler would keep for `text`; -5 when the text holds no value.
    int ReadItem(std::string_view text, ScriptValue& item) {
        std::string copy(text);
        ScanCursor cursor{copy.c_str(), record.line};
        VariableTable items;
        if (int rc = ReadExpressionText(cursor, items, program.strict); rc < 0) return rc;
        if (items.size() != 1) return -5;
        item = items[0];
        return 0;
    }

    int Evaluate(std::string_view text, ScriptValue& out, uint32_t expected = kTypeUndetermined) {
        ScriptValue item;
        if (int rc = ReadItem(text, item); rc < 0) return rc;
        out = ScriptValue{};
        out.type = expected;
        return EvaluateExpression(context, item, locals, out);
    }

    // Compiles `source` into the program with the real pass 1, for user functions and globals.
    int Compile(const std::string& source) {
        IncludeList includes;
        int rc = Pass1(context, source, includes, false);
        record.line = 10;
        return rc;
    }

    void AddGlobal(const std::string& name, ScriptValue value) {
        value.name = name;
        program.globals.push_back(value);
    }

    void AddLocal(const std::string& name, ScriptValue value) {
        value.name = name;
        locals.push_back(value);
    }

    FakePlatform platform;
    FakeRunWindow window{platform, nullptr, false};
    ScriptProgram program;
    ScriptResult record{};
    VariableTable locals;
    ScriptValue functionResult;
    ItemStack items;
    RunContext context{.window = window,
                       .program = program,
                       .record = record,
                       .functionResult = &functionResult,
                       .items = &items};
};

}  // namespace core_test
