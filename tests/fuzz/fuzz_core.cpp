// libFuzzer target for the language core: arbitrary bytes through the preprocessor, the word,
// expression-text and argument-list readers, the literal classifier and the evaluator.
// The first byte chooses strict mode and escape resolution; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "expression.h"
#include "program.h"
#include "random.h"
#include "run_context.h"
#include "run_window.h"
#include "scanner.h"
#include "script_result.h"
#include "stack_guard.h"

namespace {

class FuzzWindow : public RunWindow {
public:
    void SetStatusText(const std::string&) override {}
    bool PumpMessages() override { return false; }
    bool IsCancelled() const override { return false; }
    void ShowErrorReport(const std::string&) override {}
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

struct Outcome {
    int rc;
    int32_t line;
    uint32_t type;
    int32_t integer;
    std::string text;
    uint32_t handle;
};

// Evaluates `item` from a fixed line and random state, so two evaluations must agree.
Outcome Evaluate(RunContext& context, const ScriptValue& item, VariableTable& locals) {
    SeedRandom(12345);
    context.record.line = 100;
    ScriptValue result;
    int rc = EvaluateExpression(context, item, locals, result);
    return {rc, context.record.line, result.type, result.integer, result.text, result.handle};
}

// The first evaluation lexes and caches; the second runs on the cached form and must match.
void EvaluateTwice(RunContext& context, const ScriptValue& item, VariableTable& locals) {
    Outcome first = Evaluate(context, item, locals);
    Outcome second = Evaluate(context, item, locals);
    Check(first.rc == second.rc && first.line == second.line);
    if (first.rc == 0)
        Check(first.type == second.type && first.integer == second.integer &&
              first.text == second.text && first.handle == second.handle);
    if (first.rc == 0) Check(context.record.line == 100);  // success puts the line back
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool strict = data[0] & 1;
    const bool resolve = data[0] & 2;
    const std::string raw(reinterpret_cast<const char*>(data + 1), size - 1);
    StackGuard guard(std::size_t{1} << 20);

    const std::string text = Preprocess(raw);
    Check(text.size() <= raw.size());

    ScriptResult record{};
    ResetResult(record);
    record.line = 1;

    // Words straight from the raw text (as the entry-call reader does) and from the preprocessed
    // one.
    for (const std::string* source : {&raw, &text}) {
        const char* cursor = source->c_str();
        std::string word;
        int length = ReadWord(cursor, word, record);
        Check(length < 0 || static_cast<std::size_t>(length) == word.size());
        IsValidName(word, strict);
        ClassifyLiteral(word, resolve, strict);
    }

    FuzzWindow window;
    ScriptProgram program;
    program.strict = strict;
    ScriptValue functionResult;
    RunContext context{window, program, record, &functionResult};
    VariableTable locals;

    // An argument list as a call statement would read it, each argument evaluated.
    {
        const char* cursor = text.c_str();
        VariableTable args;
        if (ReadArgumentList(cursor, args, record, strict) == 0) {
            for (const ScriptValue& item : args) EvaluateTwice(context, item, locals);
        }
    }

    // The raw bytes as one expression text: line breaks, tabs and stray characters included.
    {
        ScriptValue item;
        item.type = kTypeExpression;
        item.text = raw.c_str();
        EvaluateTwice(context, item, locals);
    }

    // Expression texts one after another, separated by the terminators that end them.
    const char* cursor = text.c_str();
    for (int count = 0; *cursor != '\0' && count < 64; ++count) {
        VariableTable items;
        if (ReadExpressionText(cursor, items, record, strict) < 0) break;
        Check(items.size() <= 1);
        for (const ScriptValue& item : items) EvaluateTwice(context, item, locals);
        if (*cursor != '\0') ++cursor;
    }
    return 0;
}
