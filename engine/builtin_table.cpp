// The built-in function table and the predefined constants: NULL, the integer constants
// and the registry root keys.
#include "builtin_table.h"
#include "constant_names.h"

#include "error_codes.h"
#include "script_result.h"
#include "script_value.h"

// Which families have handlers in this host. The string functions are portable; the Windows
// families that later milestones switch on stay unavailable until then.
#define VEX_HANDLER_AVAILABLE(name) &Builtin_##name
#define VEX_HANDLER_UNAVAILABLE(name) &BuiltinUnavailable

#define VEX_HANDLER_STRINGS VEX_HANDLER_AVAILABLE
#ifdef VEX_WINDOWS_HOST
#define VEX_HANDLER_DIALOGS VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_RUNNING_WINDOW VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_FILES VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_REGISTRY VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_SYSTEM VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_WINDOW_CONTROLS VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_KEYS_MOUSE VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_INTERNET VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_BROWSER VEX_HANDLER_AVAILABLE
#else
#define VEX_HANDLER_DIALOGS VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_RUNNING_WINDOW VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_FILES VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_REGISTRY VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_SYSTEM VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_WINDOW_CONTROLS VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_KEYS_MOUSE VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_INTERNET VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_BROWSER VEX_HANDLER_UNAVAILABLE
#endif

#define VEX_BUILTIN_ENTRY(name, family) {#name, VEX_HANDLER_##family(name)},
const BuiltinEntry kBuiltins[kBuiltinCount] = {VEX_BUILTIN_LIST(VEX_BUILTIN_ENTRY)};
#undef VEX_BUILTIN_ENTRY

#define VEX_COUNT_BUILTIN(name, family) +1
static_assert(0 VEX_BUILTIN_LIST(VEX_COUNT_BUILTIN) == kBuiltinCount);
#undef VEX_COUNT_BUILTIN

namespace {

struct IntegerConstant {
    const char* name;
    int32_t value;
};

#define VEX_INTEGER_CONSTANT_ENTRY(name, value) {#name, value},
constexpr IntegerConstant kIntegerConstants[] = {
    VEX_INTEGER_CONSTANT_LIST(VEX_INTEGER_CONSTANT_ENTRY)};
#undef VEX_INTEGER_CONSTANT_ENTRY
static_assert(sizeof kIntegerConstants / sizeof kIntegerConstants[0] == 67);

struct RootKey {
    const char* name;
    uint32_t handle;
};

#define VEX_ROOT_KEY_ENTRY(name, handle) {#name, handle},
constexpr RootKey kRootKeys[] = {VEX_ROOT_KEY_LIST(VEX_ROOT_KEY_ENTRY)};
#undef VEX_ROOT_KEY_ENTRY

}  // namespace

const BuiltinEntry* FindBuiltin(std::string_view name, bool strict) {
    for (const BuiltinEntry& entry : kBuiltins) {
        if (NamesEqual(name, entry.name, strict)) return &entry;
    }
    return nullptr;
}

bool IsBuiltinName(std::string_view name, bool strict) {
    return FindBuiltin(name, strict) != nullptr;
}

bool FindIntegerConstant(std::string_view name, bool strict, int32_t& value) {
    for (const IntegerConstant& constant : kIntegerConstants) {
        if (NamesEqual(name, constant.name, strict)) {
            value = constant.value;
            return true;
        }
    }
    return false;
}

bool FindRootKey(std::string_view name, bool strict, uint32_t& handle) {
    for (const RootKey& key : kRootKeys) {
        if (NamesEqual(name, key.name, strict)) {
            handle = key.handle;
            return true;
        }
    }
    return false;
}

bool IsNullWord(std::string_view name, bool strict) { return NamesEqual(name, "NULL", strict); }
