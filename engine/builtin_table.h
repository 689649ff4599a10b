// The fixed vocabularies scripts see besides their own names: the built-in function table
// (resolved before user functions) and the predefined constants.
#pragma once
#include <cstdint>
#include <string_view>

#include "builtin_api.h"
#include "builtin_names.h"

struct BuiltinEntry {
    const char* name;
    BuiltinHandler handler;
};

constexpr int kBuiltinCount = 130;
extern const BuiltinEntry kBuiltins[kBuiltinCount];

// The first built-in in table order that matches under the name comparison (hashed, so the
// cost does not grow with the table); nullptr when none matches.
const BuiltinEntry* FindBuiltin(std::string_view name, bool strict);
bool IsBuiltinName(std::string_view name, bool strict);

// The 67 integer constants (TRUE, MB_OK, FILE_READ, ...); false when `name` is none of them.
bool FindIntegerConstant(std::string_view name, bool strict, int32_t& value);
// The seven registry root keys (HKEY_CLASSES_ROOT 0x80000000 ... HKEY_DYN_DATA 0x80000006).
bool FindRootKey(std::string_view name, bool strict, uint32_t& handle);
bool IsNullWord(std::string_view name, bool strict);
