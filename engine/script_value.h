// Values and variables: one ScriptValue record serves as variable, parameter, argument,
// operand and result; a VariableTable is an ordered array of them searched newest first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shared_text.h"

struct LexedExpression;

enum ValueType : uint32_t {
    kTypeUndetermined = 0,  // a fresh result slot
    kTypeString = 1,
    kTypeInt = 2,
    kTypeVoid = 3,        // NULL, void functions, the not-yet-typed implicit global
    kTypeVarRef = 4,      // argument text naming a variable (compiler items only)
    kTypeExpression = 5,  // argument text to evaluate at run time (compiler items only)
    kTypeHkey = 6,
    kTypeHbrowser = 7,
    kTypeHfile = 8,
};

struct ScriptValue {
    std::string name;  // variable or parameter name; empty for temporaries
    uint32_t type = kTypeUndetermined;
    int32_t integer = 0;               // int value, HBROWSER/HFILE slot number, repeat count
    SharedText text;                   // string value, or the variable name / expression text
    uint32_t handle = 0;               // HKEY value
    uint32_t line = 0;                 // source line of a block-local declaration
    ScriptValue* reference = nullptr;  // caller's variable an argument was read from
    uint32_t byReference = 0;          // 1 for a parameter declared with '&'
    // Expression items only: the evaluator's lexed form of `text`, filled at the first evaluation
    // so a statement run many times is scanned once. It is bound to the item: an item's text
    // does not change once it has been evaluated, except through CopyValue/MoveValue, which
    // drop the form.
    mutable std::shared_ptr<const LexedExpression> lexed;
};

using VariableTable = std::vector<ScriptValue>;

// A word, expression text or string value may hold at most this many characters (-7 beyond).
constexpr std::size_t kMaxTextLength = 16777216;

// The one ASCII case fold: 'A'..'Z' become 'a'..'z', every other byte stays (names compare
// this way without strict; double-byte text is never folded through it).
constexpr char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string FoldAsciiCase(std::string_view text);

// The one name comparison: exact under strict, ASCII case-insensitive otherwise.
// Inline: every variable read compares names through it.
inline bool NamesEqual(std::string_view a, std::string_view b, bool strict) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && (strict || FoldAsciiCase(a[i]) != FoldAsciiCase(b[i]))) return false;
    }
    return true;
}

// Type keyword table in its order: int, string, void, HKEY, HBROWSER, HFILE. 0 when not a type
// word.
uint32_t TypeFromWord(std::string_view word, bool strict);
const char* TypeName(uint32_t type);

// string -> int: leading white space, optional sign, digits; wraps modulo 2^32, never UB.
int32_t StringToInt(std::string_view text);
// int -> string: decimal with a leading '-' for negatives.
std::string IntToString(int32_t value);

ScriptValue MakeInt(int32_t value);
ScriptValue MakeString(std::string text);
ScriptValue MakeVoid();
ScriptValue MakeHandle(uint32_t type,
                       uint32_t value);  // HKEY in `handle`, HFILE/HBROWSER in `integer`

// The empty value of a type: 0, "", handle 0. Keeps name, line, reference and flag.
inline void SetEmptyValue(ScriptValue& value, uint32_t type) {
    value.type = type;
    value.integer = 0;
    value.text.clear();
    value.handle = 0;
}
// A fresh int value: what storing an int leaves. Keeps name, line, reference and flag.
inline void StoreInt(ScriptValue& value, int32_t integer) {
    SetEmptyValue(value, kTypeInt);
    value.integer = integer;
}

inline bool IsHandleType(uint32_t type) {
    return type == kTypeHkey || type == kTypeHbrowser || type == kTypeHfile;
}

// A slot an expression text may evaluate into: a fresh result, or one typed by what expects it.
inline bool IsExpressionSlot(uint32_t type) {
    return type == kTypeUndetermined || type == kTypeString || type == kTypeInt ||
           IsHandleType(type);
}

// Copies type, integer, text (shared, not duplicated) and handle; the destination keeps its
// name, line, reference, flag. A lexed form the destination held goes with its old text.
inline void CopyValue(ScriptValue& destination, const ScriptValue& source) {
    if (&destination == &source) return;
    destination.type = source.type;
    destination.integer = source.integer;
    destination.text = source.text;
    destination.handle = source.handle;
    if (destination.lexed) destination.lexed.reset();
}
// As CopyValue, for a source that dies anyway: its text is handed over.
inline void MoveValue(ScriptValue& destination, ScriptValue& source) {
    if (&destination == &source) return;
    destination.type = source.type;
    destination.integer = source.integer;
    destination.text = std::move(source.text);
    destination.handle = source.handle;
    if (destination.lexed) destination.lexed.reset();
}

// Converts `value` to `type`: void takes any type; int<->string only when !strict.
// Returns false (value unchanged) when no conversion applies.
bool ConvertValue(ScriptValue& value, uint32_t type, bool strict);

// Newest-first lookup in one table; nullptr when absent. The hot look-up of every variable
// read, so it is inline.
inline ScriptValue* FindVariable(VariableTable& table, std::string_view name, bool strict) {
    ScriptValue* const first = table.data();
    for (ScriptValue* it = first + table.size(); it != first;) {
        --it;
        // The length test in the loop itself keeps a mismatch to one compare (measured).
        if (it->name.size() == name.size() && NamesEqual(it->name, name, strict)) return it;
    }
    return nullptr;
}
