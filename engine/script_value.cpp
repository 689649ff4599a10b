// Values and variables: the name comparison, type words, int/string conversions and lookups.
#include "script_value.h"

#include <charconv>

namespace {

struct TypeWord {
    const char* word;
    uint32_t type;
};

// The type keyword table in its fixed order.
constexpr TypeWord kTypeWords[] = {
    {"int", kTypeInt},   {"string", kTypeString},     {"void", kTypeVoid},
    {"HKEY", kTypeHkey}, {"HBROWSER", kTypeHbrowser}, {"HFILE", kTypeHfile},
};

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string FoldAsciiCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = FoldAsciiCase(c);
    return folded;
}

uint32_t TypeFromWord(std::string_view word, bool strict) {
    for (const TypeWord& entry : kTypeWords) {
        if (NamesEqual(word, entry.word, strict)) return entry.type;
    }
    return 0;
}

const char* TypeName(uint32_t type) {
    for (const TypeWord& entry : kTypeWords) {
        if (entry.type == type) return entry.word;
    }
    return "";
}

int32_t StringToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // Unsigned arithmetic wraps modulo 2^32, so over-long digit strings cannot overflow.
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

std::string IntToString(int32_t value) {
    char buffer[16];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

ScriptValue MakeInt(int32_t value) {
    ScriptValue result;
    result.type = kTypeInt;
    result.integer = value;
    return result;
}

ScriptValue MakeString(std::string text) {
    ScriptValue result;
    result.type = kTypeString;
    result.text = std::move(text);
    return result;
}

ScriptValue MakeVoid() {
    ScriptValue result;
    result.type = kTypeVoid;
    return result;
}

ScriptValue MakeHandle(uint32_t type, uint32_t value) {
    ScriptValue result;
    result.type = type;
    if (type == kTypeHkey)
        result.handle = value;
    else
        result.integer = static_cast<int32_t>(value);
    return result;
}

bool ConvertValue(ScriptValue& value, uint32_t type, bool strict) {
    if (value.type == type) return true;
    if (value.type == kTypeVoid) {
        SetEmptyValue(value, type);
        return true;
    }
    if (strict) return false;
    if (value.type == kTypeInt && type == kTypeString) {
        value.text = IntToString(value.integer);
        value.integer = 0;
        value.type = kTypeString;
        return true;
    }
    if (value.type == kTypeString && type == kTypeInt) {
        value.integer = StringToInt(value.text);
        value.text.clear();
        value.type = kTypeInt;
        return true;
    }
    return false;
}
