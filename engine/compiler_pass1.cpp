// Pass 1: the only pass that reads script text. It settles #strict, follows #include, declares
// and initialises globals, and compiles each function body into Block and Statement records.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "compiler.h"
#include "error_codes.h"
#include "expression.h"
#include "loader.h"
#include "run_window.h"
#include "scanner.h"
#include "script_result.h"
#include "stack_guard.h"

namespace {

// One bit per type code: the types declared under one name, so a redeclaration check is one
// look-up however often the name was declared.
uint32_t TypeBit(uint32_t type) { return 1u << (type & 31u); }

// The names declared in one scope with their types, keyed the way NamesEqual compares.
class ScopeNames {
public:
    void Add(std::string_view name, uint32_t type, bool strict) {
        types_[NameKey(name, strict)] |= TypeBit(type);
    }
    // 0 when the name is new here; otherwise the bits of the types declared under it.
    uint32_t Types(std::string_view name, bool strict) const {
        auto found = types_.find(NameKey(name, strict));
        return found == types_.end() ? 0 : found->second;
    }

private:
    std::unordered_map<std::string, uint32_t> types_;
};

// The program's functions and globals by name. Pass 1 only appends to those tables (nested
// includes too), so the index catches up by position before each question.
class DeclarationIndex {
public:
    explicit DeclarationIndex(const ScriptProgram& program) : program_(program) {}

    bool HasFunction(std::string_view name) {
        CatchUp();
        return functions_.count(NameKey(name, program_.strict)) != 0;
    }
    // The type bits of the globals declared under this name; 0 when none.
    uint32_t GlobalTypes(std::string_view name) {
        CatchUp();
        return globals_.Types(name, program_.strict);
    }

private:
    void CatchUp() {
        for (; functionCount_ < program_.functions.size(); ++functionCount_)
            functions_.insert(NameKey(program_.functions[functionCount_].name, program_.strict));
        for (; globalCount_ < program_.globals.size(); ++globalCount_) {
            const ScriptValue& global = program_.globals[globalCount_];
            globals_.Add(global.name, global.type, program_.strict);
        }
    }

    const ScriptProgram& program_;
    std::unordered_set<std::string> functions_;
    ScopeNames globals_;
    std::size_t functionCount_ = 0;
    std::size_t globalCount_ = 0;
};

// One file's compile: the cursor into its preprocessed text and where it came from. The
// cursor's line becomes the record's when the pass ends, unless a nested step (an initial
// value's evaluation, an included file) placed the error itself.
struct PassState {
    RunContext& context;
    IncludeList& includes;
    bool isInclude;
    ScanCursor cursor;
    DeclarationIndex index;
    bool linePlaced = false;

    ScriptProgram& program() { return context.program; }
    ScriptResult& record() { return context.record; }
    bool strict() const { return context.program.strict; }
    bool AtEnd() { return SkipSpace(cursor); }
};

const VariableTable kNoOuterNames;

// The errors whose message quotes a name.
int FailNamed(ScriptResult& record, int code, std::string_view name) {
    SetResultName(record, name);
    return code;
}

// Reads the one expression item of an initialiser or assigned value (cursor after '=').
int ReadSingleValue(PassState& state, VariableTable& items, int& line) {
    if (state.AtEnd()) return kErrMissingSemicolon;
    line = state.cursor.line;
    if (int error = ReadExpressionText(state.cursor, items, state.strict())) return error;
    return items.size() == 1 ? kOk : kErrSyntax;
}

void AppendStatement(Block& block, std::string keyword, VariableTable items, int line) {
    Statement statement;
    statement.keyword = std::move(keyword);
    statement.items = std::move(items);
    statement.line = line;
    block.statements.push_back(std::move(statement));
}

// The main file's first #strict line overrides the caller's flag, before anything is declared.
int StrictPrescan(RunContext& context, const char* text) {
    ScanCursor cursor{text, 1};
    int result = kOk;
    std::string word;
    for (;;) {
        if (context.window.IsCancelled()) {
            result = kErrCancelled;
            break;
        }
        if (SkipSpace(cursor)) break;
        if (*cursor.at == '#') {
            ++cursor.at;
            int length = ReadWord(cursor, word);
            if (length < 0) {
                result = length;
                break;
            }
            if (FoldAsciiCase(word) == "strict") {
                SkipBlanks(cursor);
                length = ReadWord(cursor, word);
                const std::string option = FoldAsciiCase(word);
                if (length < 0) {
                    result = length;
                } else if (option.empty() || option == "on" || option == "yes") {
                    context.program.strict = true;
                } else if (option == "off" || option == "no") {
                    context.program.strict = false;
                } else {
                    result = kErrInvalidOption;
                }
                break;
            }
        }
        while (*cursor.at != '\0' && *cursor.at != '\n') ++cursor.at;
        if (*cursor.at == '\n') {
            ++cursor.at;
            ++cursor.line;
        }
    }
    context.record.line = cursor.line;
    return result;
}

// A global's initial value is computed now, in a world of its own: no globals, no user
// functions, strict off. An `exit` inside it only supplies the value. The program's handle
// tables are lent to it, so a file or browser it opens keeps its handle for the whole run and
// closes with the run's others: a handle stored in a global never names another object later.
int EvaluateInitialValue(RunContext& context, const ScriptValue& item, ScriptValue& value) {
    ScriptProgram scratch;
    ScriptProgram& program = context.program;
    scratch.files.swap(program.files);
    scratch.browsers.swap(program.browsers);
    scratch.random = program.random;  // rand() goes on from one initial value to the next
    ScriptValue exitValue;
    RunContext own{.window = context.window,
                   .program = scratch,
                   .record = context.record,
                   .functionResult = &exitValue,
                   .items = context.items,
                   .guard = context.guard};
    VariableTable locals;
    int outcome = EvaluateExpression(own, item, locals, value);
    scratch.files.swap(program.files);
    scratch.browsers.swap(program.browsers);
    program.random = scratch.random;
    if (outcome == kSignalExit) {
        CopyValue(value, exitValue);
        outcome = kOk;
    }
    return outcome;
}

// One global declarator, name already read and the character after it consumed; `end` receives
// the ',' or ';' that ends it. `implicit` is the untyped `name = value` form.
int DeclareGlobal(PassState& state, const std::string& name, uint32_t type, bool implicit,
                  bool hasValue, char& end) {
    ScriptProgram& program = state.program();
    ScriptResult& record = state.record();
    const bool strict = state.strict();
    if (!implicit && type == kTypeVoid) return FailNamed(record, kErrInvalidVariableType, "void");
    if (!IsValidName(name, strict)) return FailNamed(record, kErrInvalidVariableName, name);
    if (const uint32_t types = state.index.GlobalTypes(name)) {
        // Without strict a redeclaration adds an entry unless it changes the type.
        if (strict || (!implicit && (types & ~TypeBit(type)) != 0))
            return FailNamed(record, kErrVariableAlreadyDefined, name);
    }
    if (state.index.HasFunction(name)) return FailNamed(record, kErrNameAlreadyDefined, name);

    ScriptValue global;
    global.name = name;
    SetEmptyValue(global, type);
    if (hasValue) {
        VariableTable items;
        int line = 0;
        if (int error = ReadSingleValue(state, items, line)) return error;
        if (*state.cursor.at != ',' && *state.cursor.at != ';') return kErrMissingSemicolon;
        end = *state.cursor.at++;
        ScriptValue value;
        record.line = state.cursor.line;  // evaluation errors count their lines from here
        if (int error = EvaluateInitialValue(state.context, items.front(), value)) {
            state.linePlaced = true;
            return error;
        }
        if (!implicit && value.type != type) {
            if (value.type == kTypeVoid) {
                SetEmptyValue(value, type);
            } else if (!ConvertValue(value, type, strict)) {
                return kErrInvalidValueType;
            }
        }
        CopyValue(global, value);
    }
    program.globals.push_back(std::move(global));
    return kOk;
}

// Parameter list, cursor after '('. `(void)` is an empty list like `()`.
int CompileParameters(PassState& state, VariableTable& parameters) {
    const bool strict = state.strict();
    ScriptResult& record = state.record();
    std::string word;
    bool first = true;
    bool previousVoid = false;
    // A list that runs into the end of the text right after a word ends quietly; the missing
    // body is reported by the caller.
    while (*state.cursor.at != '\0') {
        if (state.AtEnd()) return kErrMissingParen;
        if (*state.cursor.at == ')') {
            ++state.cursor.at;
            return kOk;
        }
        if (!first) {
            if (*state.cursor.at != ',' || previousVoid) return kErrSyntax;
            ++state.cursor.at;
            if (state.AtEnd()) return kErrMissingParen;
        }
        int length = ReadWord(state.cursor, word);
        if (length < 0) return length;
        if (length == 0) return kErrSyntax;
        const uint32_t type = TypeFromWord(word, strict);
        if (type == 0) return FailNamed(record, kErrInvalidVariableType, word);
        if (state.AtEnd()) return kErrMissingParen;
        bool byReference = false;
        if (*state.cursor.at == '&') {
            byReference = true;
            ++state.cursor.at;
            if (state.AtEnd()) return kErrMissingParen;
        }
        length = ReadWord(state.cursor, word);
        if (length < 0) return length;
        if (type == kTypeVoid) {
            if (length > 0 || !first) return kErrSyntax;
        } else {
            if (length == 0) return kErrSyntax;
            if (!IsValidName(word, strict)) return FailNamed(record, kErrInvalidVariableName, word);
            for (const ScriptValue& parameter : parameters) {
                if (NamesEqual(parameter.name, word, strict))
                    return FailNamed(record, kErrVariableAlreadyDefined, word);
            }
            ScriptValue parameter;
            parameter.name = word;
            SetEmptyValue(parameter, type);
            parameter.byReference = byReference ? 1 : 0;
            parameters.push_back(std::move(parameter));
        }
        previousVoid = type == kTypeVoid;
        first = false;
    }
    return kOk;
}

// A local declarator inside a block, name read; an initialiser becomes an assignment statement.
int DeclareLocal(PassState& state, Block& block, ScopeNames& names, const std::string& name,
                 uint32_t type, char& end) {
    const bool strict = state.strict();
    ScriptResult& record = state.record();
    if (state.AtEnd()) return kErrMissingSemicolon;
    const char next = *state.cursor.at;
    if (next != ',' && next != ';' && next != '=') return kErrSyntax;
    ++state.cursor.at;
    if (!IsValidName(name, strict)) return FailNamed(record, kErrInvalidVariableName, name);
    if (type == kTypeVoid) return FailNamed(record, kErrInvalidVariableType, "void");
    // A repeat is the same name under strict, the same name with another type without it.
    if (const uint32_t types = names.Types(name, strict)) {
        if (strict || (types & ~TypeBit(type)) != 0)
            return FailNamed(record, kErrVariableAlreadyDefined, name);
    }
    names.Add(name, type, strict);
    ScriptValue local;
    local.name = name;
    SetEmptyValue(local, type);
    local.line = static_cast<uint32_t>(state.cursor.line);
    block.locals.push_back(std::move(local));
    end = next;
    if (next != '=') return kOk;

    VariableTable items;
    int line = 0;
    if (int error = ReadSingleValue(state, items, line)) return error;
    if (*state.cursor.at != ',' && *state.cursor.at != ';') return kErrMissingSemicolon;
    end = *state.cursor.at++;
    AppendStatement(block, "=" + name, std::move(items), line);
    return kOk;
}

int CompileReturn(PassState& state, Block& block, int line) {
    if (state.AtEnd()) return kErrMissingSemicolon;
    VariableTable items;
    if (int error = ReadExpressionText(state.cursor, items, state.strict())) return error;
    if (items.empty()) items.push_back(MakeVoid());  // `return;`
    if (*state.cursor.at != ';') return kErrMissingSemicolon;
    ++state.cursor.at;
    AppendStatement(block, "return", std::move(items), line);
    return kOk;
}

// `word(args...)` (a call, or an if/while/repeat header) or `word = value;`.
int CompileCallOrAssignment(PassState& state, Block& block, const std::string& word) {
    const bool strict = state.strict();
    if (state.AtEnd()) return kErrSyntax;
    int line = state.cursor.line;
    VariableTable items;
    if (*state.cursor.at == '(') {
        ++state.cursor.at;
        if (int error = ReadArgumentList(state.cursor, items, strict)) return error;
        // Headers are stored in their lower-case spelling; the controlled statement follows.
        for (const char* header : {"if", "while", "repeat"}) {
            if (!NamesEqual(word, header, strict)) continue;
            if (items.size() != 1) return kErrSyntax;
            AppendStatement(block, header, std::move(items), line);
            return kOk;
        }
        if (state.AtEnd() || *state.cursor.at != ';') return kErrMissingSemicolon;
        ++state.cursor.at;
        AppendStatement(block, word, std::move(items), line);
        return kOk;
    }
    if (*state.cursor.at == '=') {
        ++state.cursor.at;
        if (int error = ReadSingleValue(state, items, line)) return error;
        if (*state.cursor.at != ';') return kErrMissingSemicolon;
        ++state.cursor.at;
        AppendStatement(block, "=" + word, std::move(items), line);
        return kOk;
    }
    return kErrSyntax;
}

// A block's body, cursor after '{'; `outerNames` are the parameters of a function's top block.
int CompileBlock(PassState& state, Block& block, const VariableTable& outerNames) {
    if (StackGuard::Exhausted(*state.context.guard)) return kErrStackOverflow;  // `{{{{...`
    const bool strict = state.strict();
    uint32_t pending = 0;
    std::string word;
    // The block's own locals and the outer names, indexed for the redeclaration check.
    ScopeNames names;
    for (const ScriptValue& outer : outerNames) names.Add(outer.name, outer.type, strict);
    for (;;) {
        if (*state.cursor.at == '\0') return kErrMissingCloseBrace;
        if (state.context.window.IsCancelled()) return kErrCancelled;
        if (state.AtEnd()) return kErrMissingCloseBrace;
        const int line = state.cursor.line;
        if (*state.cursor.at == '{') {
            ++state.cursor.at;
            auto nested = std::make_unique<Block>();
            if (int error = CompileBlock(state, *nested, kNoOuterNames)) return error;
            Statement statement;
            statement.line = line;
            statement.block = std::move(nested);
            block.statements.push_back(std::move(statement));
            continue;
        }
        int length = ReadWord(state.cursor, word);
        if (length < 0) return length;
        if (length == 0) {
            if (*state.cursor.at == '}') {
                ++state.cursor.at;
                return kOk;
            }
            if (*state.cursor.at != ';') return kErrSyntax;
            ++state.cursor.at;
            AppendStatement(block, "", {}, line);
            continue;
        }
        if (const uint32_t type = TypeFromWord(word, strict)) {
            if (pending) return kErrSyntax;
            pending = type;
            continue;
        }
        int error = kOk;
        if (pending) {
            char end = ';';
            error = DeclareLocal(state, block, names, word, pending, end);
            if (end == ';') pending = 0;
        } else if (NamesEqual(word, "return", strict)) {
            error = CompileReturn(state, block, line);
        } else if (NamesEqual(word, "else", strict)) {
            AppendStatement(block, "else", {}, line);
        } else if (NamesEqual(word, "break", strict)) {
            if (state.AtEnd() || *state.cursor.at != ';') return kErrMissingSemicolon;
            ++state.cursor.at;
            AppendStatement(block, "break", {}, line);
        } else {
            error = CompileCallOrAssignment(state, block, word);
        }
        if (error) return error;
    }
}

// Function definition: return type pending, name read, cursor after '('.
int CompileFunction(PassState& state, uint32_t returnType, const std::string& name) {
    ScriptProgram& program = state.program();
    ScriptResult& record = state.record();
    const bool strict = state.strict();
    const bool isMain = NamesEqual(name, "main", strict);
    if (!isMain && !IsValidName(name, strict))
        return FailNamed(record, kErrInvalidFunctionName, name);
    // An included file's main is compiled but never entered, so it cannot clash.
    const bool entered = !(isMain && state.isInclude);
    if (entered && state.index.HasFunction(name))
        return FailNamed(record, kErrFunctionAlreadyDefined, name);
    if (state.index.GlobalTypes(name)) return FailNamed(record, kErrNameAlreadyDefined, name);

    FunctionDef function;
    function.name = name;
    function.file = record.file;
    function.line = state.cursor.line;
    SetEmptyValue(function.result, returnType);
    if (int error = CompileParameters(state, function.parameters)) return error;
    for (const ScriptValue& parameter : function.parameters) {
        if (NamesEqual(parameter.name, name, strict))
            return FailNamed(record, kErrVariableAlreadyDefined, name);
        if (parameter.byReference) function.writesBack = true;
    }
    if (state.AtEnd() || *state.cursor.at != '{') return kErrMissingBrace;
    ++state.cursor.at;
    if (int error = CompileBlock(state, function.body, function.parameters)) return error;
    if (entered) program.functions.push_back(std::move(function));
    return kOk;
}

// `#include "file"` on a line of its own, cursor after the word include.
int CompileInclude(PassState& state) {
    ScriptResult& record = state.record();
    std::string word;
    if (SkipBlanks(state.cursor)) return kErrIncludeFileName;
    int length = ReadWord(state.cursor, word);
    if (length < 0) return length;
    if (length == 0) return kErrIncludeFileName;
    SkipBlanks(state.cursor);
    if (*state.cursor.at != '\n') return kErrExpectedNewline;
    if (ClassifyLiteral(word, false, state.strict()) != kLiteralString) return kErrIncludeFileName;
    const std::string name = FoldAsciiCase(word);
    for (const std::string& included : state.includes) {
        if (included == name) return kErrAlreadyIncluded;
    }
    // The included file reports against a copy; only its failure replaces the record, so the
    // line count of this file goes on after a success.
    record.line = state.cursor.line;  // a file that does not load reports this line
    ScriptResult nestedRecord = record;
    RunContext nested{.window = state.context.window,
                      .program = state.context.program,
                      .record = nestedRecord,
                      .functionResult = state.context.functionResult,
                      .items = state.context.items,
                      .guard = state.context.guard};
    int error = CompileFile(nested, name, state.includes, true);
    if (error != kOk) {
        record = nestedRecord;
        state.linePlaced = true;
    }
    return error;
}

int CompileDirective(PassState& state) {
    std::string word;
    int length = ReadWord(state.cursor, word);
    if (length < 0) return length;
    if (length == 0) return kErrSyntax;
    if (NamesEqual(word, "include", state.strict())) return CompileInclude(state);
    if (FoldAsciiCase(word) == "strict") {
        // Only the main file's first #strict line counts, and the prescan has read it.
        SkipBlanks(state.cursor);
        length = ReadWord(state.cursor, word);
        return length < 0 ? length : kOk;
    }
    return kErrSyntax;
}

int CompileTopLevel(PassState& state) {
    uint32_t pending = 0;
    std::string word;
    for (;;) {
        if (state.context.window.IsCancelled()) return kErrCancelled;
        if (state.AtEnd()) return kOk;
        int length = ReadWord(state.cursor, word);
        if (length < 0) return length;
        int error = kOk;
        if (length > 0) {
            const bool strict = state.strict();
            if (const uint32_t type = TypeFromWord(word, strict)) {
                if (pending) return kErrSyntax;
                pending = type;
                continue;
            }
            if (pending) {
                if (state.AtEnd()) return kErrMissingSemicolon;
                const char next = *state.cursor.at;
                if (next == '(') {
                    ++state.cursor.at;
                    error = CompileFunction(state, pending, word);
                    pending = 0;
                } else if (next == ',' || next == ';' || next == '=') {
                    ++state.cursor.at;
                    char end = next;
                    error = DeclareGlobal(state, word, pending, false, next == '=', end);
                    if (end == ';') pending = 0;
                } else {
                    return kErrSyntax;
                }
            } else {
                // Without strict, `name = value` declares a global of the value's type.
                if (strict || state.AtEnd() || *state.cursor.at != '=') return kErrSyntax;
                ++state.cursor.at;
                char end = ';';
                error = DeclareGlobal(state, word, kTypeVoid, true, true, end);
            }
        } else if (*state.cursor.at == '#') {
            ++state.cursor.at;
            error = CompileDirective(state);
        } else if (*state.cursor.at == ';' && !pending) {
            ++state.cursor.at;
        } else {
            return kErrSyntax;
        }
        if (error) return error;
    }
}

}  // namespace

int CompileFile(RunContext& context, const std::string& path, IncludeList& includes,
                bool isInclude) {
    if (StackGuard::Exhausted(*context.guard)) return kErrStackOverflow;  // chained includes
    std::string text;
    if (int error = LoadScriptFile(path, text)) return error;
    return CompileLoadedFile(context, path, text, includes, isInclude);
}

int CompileLoadedFile(RunContext& context, const std::string& path, const std::string& text,
                      IncludeList& includes, bool isInclude) {
    includes.push_back(path);
    if (context.window.IsCancelled()) return kErrCancelled;
    SetResultFile(context.record, path);
    return Pass1(context, text, includes, isInclude);
}

int Pass1(RunContext& context, const std::string& text, IncludeList& includes, bool isInclude) {
    context.window.SetStatusText("Compiling Pass 1...");
    const std::string source = Preprocess(text);
    int result = isInclude ? kOk : StrictPrescan(context, source.c_str());
    if (result == kOk) {
        PassState state{context, includes, isInclude, ScanCursor{source.c_str(), 1},
                        DeclarationIndex(context.program)};
        result = CompileTopLevel(state);
        if (!state.linePlaced) context.record.line = state.cursor.line;
    }
    context.window.SetStatusText("");
    return result;
}
