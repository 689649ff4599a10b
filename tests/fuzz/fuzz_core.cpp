// libFuzzer target for the language core: arbitrary bytes through the preprocessor, the word,
// expression-text and argument-list readers, the literal classifier and the evaluator, and as a
// whole script through pass 1, pass 2 and a run of main() with the fake host, whose Cancel
// after a number of statements ends every loop.
// The first byte chooses strict mode and escape resolution; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "calls.h"
#include "compiler.h"
#include "expression.h"
#include "expression_lexer.h"
#include "fake_platform.h"
#include "item_stack.h"
#include "program.h"
#include "random.h"
#include "run_context.h"
#include "scanner.h"
#include "script_result.h"
#include "stack_guard.h"

namespace {

// Statements a fuzzed run may start before Cancel ends it.
constexpr int kStatementBudget = 2000;

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
    SeedRandom(context.program.random, 12345);
    context.record.line = 100;
    ScriptValue result;
    int rc = EvaluateExpression(context, item, locals, result);
    return {rc, context.record.line, result.type, result.integer, result.text, result.handle};
}

// Binds to an expression item (nested calls and groups included) a lexed form whose shortcut
// and call plan are off, so its evaluation takes the general path everywhere.
void SwitchOffPlans(const ScriptValue& item, bool strict) {
    if (item.type != kTypeExpression) return;
    if (!item.lexed || item.lexed->strict != strict) item.lexed = LexExpression(item.text, strict);
    // LexExpression makes a non-const object, so dropping the const is sound here.
    auto* lexed = const_cast<LexedExpression*>(item.lexed.get());
    lexed->plan = ExprPlan::kGeneral;
    lexed->callPlan = false;
    for (const ExprToken& token : lexed->tokens) {
        for (const ScriptValue& argument : token.args) SwitchOffPlans(argument, strict);
        if (token.kind == TokenKind::Group) SwitchOffPlans(token.value, strict);
    }
}

void SwitchOffPlans(const Block& block, bool strict) {
    for (const Statement& statement : block.statements) {
        for (const ScriptValue& item : statement.items) SwitchOffPlans(item, strict);
        if (statement.block) SwitchOffPlans(*statement.block, strict);
    }
}

// The same text with its int plans switched off, so only the general path runs.
Outcome EvaluateGenerally(RunContext& context, const ScriptValue& item, VariableTable& locals) {
    ScriptValue general = item;
    general.lexed.reset();
    SwitchOffPlans(general, context.program.strict);
    return Evaluate(context, general, locals);
}

void CheckSame(const Outcome& first, const Outcome& second) {
    Check(first.rc == second.rc && first.line == second.line);
    if (first.rc == 0)
        Check(first.type == second.type && first.integer == second.integer &&
              first.text == second.text && first.handle == second.handle);
}

// The first evaluation lexes and caches; the second runs on the cached form and must match,
// and so must the general path without the int plan.
void EvaluateTwice(RunContext& context, const ScriptValue& item, VariableTable& locals) {
    Outcome first = Evaluate(context, item, locals);
    Outcome second = Evaluate(context, item, locals);
    CheckSame(first, second);
    if (first.rc == 0) Check(context.record.line == 100);  // success puts the line back
    CheckSame(first, EvaluateGenerally(context, item, locals));
}

struct RunOutcome {
    int rc;
    int32_t line;
    uint32_t type;
    int32_t integer;
    std::string text;
    int pumps;
    int32_t param;
    std::string call;
    std::string name;
};

// Runs main() of a compiled program from the same globals, random state and Cancel budget.
RunOutcome RunMain(FakePlatform& platform, RunContext& context, const VariableTable& globals) {
    platform.ClearObservations();
    context.program.globals = globals;
    context.program.callDepth = 0;
    ResetResult(context.record);
    SetResultName(context.record, "");
    SeedRandom(context.program.random, 12345);
    ScriptValue result;
    context.functionResult = &result;
    VariableTable args;
    int rc = CallUserFunction(context, "main", args, result);
    context.functionResult = nullptr;
    const ScriptResult& record = context.record;
    return {rc,          context.record.line, result.type,  result.integer,
            result.text, platform.pumps,      record.param, record.call,
            record.name};
}

// The text as a whole script. The first run binds the bodies it can (bound_body.h) and lexes
// every expression it meets; the second runs on the bound and cached forms and must end the
// same way, and so must a third run on the walker and the general path alone.
void RunWholeScript(const std::string& raw, bool strict, const StackGuard& guard) {
    // An #include could name a device or a file outside the fuzzer's control.
    if (FoldAsciiCase(raw).find("include") != std::string::npos) return;
    FakePlatform platform;
    platform.cancelAtPump = kStatementBudget;
    FakeRunWindow window(platform, nullptr, false);
    ScriptProgram program;
    program.strict = strict;
    ScriptResult record{};
    ResetResult(record);
    ItemStack items;
    RunContext context{.window = window,
                       .program = program,
                       .record = record,
                       .items = &items,
                       .guard = &guard.state()};
    IncludeList includes;
    int rc = Pass1(context, raw, includes, false);
    if (rc == 0) rc = Pass2(context);
    if (rc != 0) return;
    const VariableTable globals = program.globals;
    RunOutcome fresh = RunMain(platform, context, globals);
    RunOutcome cached = RunMain(platform, context, globals);
    for (const FunctionDef& function : program.functions) SwitchOffPlans(function.body, strict);
    program.bindBodies = false;
    RunOutcome general = RunMain(platform, context, globals);
    for (const RunOutcome* other : {&cached, &general}) {
        // Where a runaway recursion meets the stack budget depends on the frames of the path
        // that runs it: bound bodies and the walker stop at different depths, so one of them
        // may meet Cancel's statement budget first.
        if (fresh.rc == kErrStackOverflow || other->rc == kErrStackOverflow) continue;
        Check(fresh.rc == other->rc);
        Check(fresh.line == other->line && fresh.pumps == other->pumps &&
              fresh.call == other->call);
        if (fresh.rc >= 0)
            Check(fresh.type == other->type && fresh.integer == other->integer &&
                  fresh.text == other->text);
        else
            Check(fresh.param == other->param && fresh.name == other->name);
    }
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
        ScanCursor cursor{source->c_str(), 1};
        std::string word;
        int length = ReadWord(cursor, word);
        Check(length < 0 || static_cast<std::size_t>(length) == word.size());
        IsValidName(word, strict);
        ClassifyLiteral(word, resolve, strict);
    }

    FakePlatform platform;
    FakeRunWindow window(platform, nullptr, false);
    ScriptProgram program;
    program.strict = strict;
    ScriptValue functionResult;
    ItemStack items;
    RunContext context{.window = window,
                       .program = program,
                       .record = record,
                       .functionResult = &functionResult,
                       .items = &items,
                       .guard = &guard.state()};
    // A few variables of each kind, so operands are found with ints and with other types.
    VariableTable locals;
    for (ScriptValue value : {MakeInt(7), MakeInt(-2147483647 - 1), MakeInt(0), MakeString("12"),
                              MakeHandle(kTypeHkey, 5), MakeVoid()}) {
        value.name = std::string(1, static_cast<char>('a' + locals.size()));
        locals.push_back(value);
    }

    // An argument list as a call statement would read it, each argument evaluated.
    {
        ScanCursor cursor{text.c_str(), 1};
        VariableTable args;
        if (ReadArgumentList(cursor, args, strict) == 0) {
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
    ScanCursor cursor{text.c_str(), 1};
    for (int count = 0; *cursor.at != '\0' && count < 64; ++count) {
        VariableTable items;
        if (ReadExpressionText(cursor, items, strict) < 0) break;
        Check(items.size() <= 1);
        for (const ScriptValue& item : items) EvaluateTwice(context, item, locals);
        if (*cursor.at != '\0') ++cursor.at;
    }

    RunWholeScript(raw, strict, guard);
    return 0;
}
