// The compiled program of one engine call: globals, functions with their statement trees,
// the run's open-file and browser tables, call depth and the strict flag.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "call_target.h"
#include "program_resource.h"
#include "random.h"
#include "script_value.h"

struct Block;
struct BoundBody;

// What a statement is, read off its keyword and block the first time it runs.
enum class StatementKind : uint8_t {
    kUnclassified,
    kBlock,
    kEmpty,
    kAssignment,
    kReturn,
    kIf,
    kElse,
    kWhile,
    kRepeat,
    kBreak,
    kCall,
};

struct Statement {
    std::string keyword;  // "", "=name", if, else, while, repeat, break, return, or a call name
    VariableTable items;  // expression items as the scanner read them
    int line = 0;
    std::unique_ptr<Block> block;  // only for a brace-enclosed block
    // A call statement's target, resolved at its first run under the program's name rule.
    mutable CallTarget target;
    mutable int8_t targetRule = -1;  // the strict flag `target` was resolved under; -1: not yet
    mutable StatementKind kind = StatementKind::kUnclassified;
};

struct Block {
    VariableTable locals;  // declared directly in this block, with their lines
    std::vector<Statement> statements;
};

struct FunctionDef {
    std::string name;
    std::string file;          // the record's `file` when the definition was read
    int line = 0;              // line of the header
    VariableTable parameters;  // name, type, byReference
    bool writesBack = false;   // some parameter is declared with '&'
    Block body;
    ScriptValue result;  // typed result slot, reset to its empty value at each call
    // The body's bound form (bound_body.h), made at the first call under `boundRule`; null
    // after that when the body runs on the walker.
    mutable std::shared_ptr<const BoundBody> bound;
    mutable int8_t boundRule = -1;
};

// A table of the call pool. A local table keeps its function's parameters (names, types,
// flags) between calls, so the next call of that function at the same depth copies none.
struct CallTable {
    VariableTable values;
    const FunctionDef* parametersOf = nullptr;  // whose parameters `values` begins with
};

struct ScriptProgram {
    VariableTable globals;
    std::vector<FunctionDef> functions;
    std::vector<std::unique_ptr<ProgramResource>> browsers;  // HBROWSER n is browsers[n-1]
    std::vector<std::unique_ptr<ProgramResource>> files;     // HFILE n is files[n-1]
    int callDepth = 0;
    RandomState random;  // rand()'s, seeded when the run starts
    bool strict = false;
    // Off: every body runs on the walker (the fuzzer's reference run compares the two).
    bool bindBodies = true;
    // Local and argument tables, one per nesting level of calls, emptied when a call ends but
    // keeping their storage, so a call allocates no table (TableLease in calls.cpp). They
    // live in blocks, each as large as all before it: growing the pool never moves the tables
    // that running calls hold, and a deep first descent allocates a block now and then.
    std::vector<CallTable*> callTables;
    std::size_t callTablesInUse = 0;
    std::vector<std::unique_ptr<CallTable[]>> callTableBlocks;

    ~ScriptProgram() {
        files.clear();  // open files close before browsers go, as the run ends
        browsers.clear();
    }
    // First function in table order whose name matches; nullptr when none.
    FunctionDef* FindFunction(std::string_view name);
    // The same through a call site's hint, which it updates.
    FunctionDef* FindFunction(std::string_view name, FunctionHint& hint);
    // Adds a block of call tables when all are in use.
    void GrowCallTables();
};

// Files loaded during one compile, in the spelling the compiler stored.
using IncludeList = std::vector<std::string>;
