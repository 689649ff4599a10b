// The built-in function table and the predefined constants: NULL, the integer constants
// and the registry root keys.
#include "builtin_table.h"

#include <cstdint>

#include "call_target.h"
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
// The running window may be made late (it is the costly first window of a process); built-ins
// that show, find, drive or wait on windows, or start programs, find it made first.
template <BuiltinHandler handler>
int WithRunningWindow(BuiltinCall& call) {
    call.window.EnsureOpen();
    return handler(call);
}
#define VEX_HANDLER_WITH_WINDOW(name) &WithRunningWindow<&Builtin_##name>

#define VEX_HANDLER_FILES VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_REGISTRY VEX_HANDLER_AVAILABLE
#define VEX_HANDLER_DIALOGS VEX_HANDLER_WITH_WINDOW
#define VEX_HANDLER_RUNNING_WINDOW VEX_HANDLER_WITH_WINDOW
#define VEX_HANDLER_SYSTEM VEX_HANDLER_WITH_WINDOW
#define VEX_HANDLER_WINDOW_CONTROLS VEX_HANDLER_WITH_WINDOW
#define VEX_HANDLER_KEYS_MOUSE VEX_HANDLER_WITH_WINDOW
#define VEX_HANDLER_INTERNET VEX_HANDLER_WITH_WINDOW
#define VEX_HANDLER_BROWSER VEX_HANDLER_WITH_WINDOW
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

// The built-ins in an open-addressed table keyed by the case-folded name: a look-up hashes the
// name once and compares only the entries on its probe path. Entries go in in table order, so
// of two names that fold alike the earlier one is met first, as in a walk of the table.
constexpr std::size_t kIndexSize = 512;  // a power of two, about four times the built-ins

constexpr uint32_t FoldedHash(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(FoldAsciiCase(c))) * 16777619u;
    return hash;
}

#define VEX_BUILTIN_NAME(name, family) #name,
constexpr std::string_view kBuiltinNames[kBuiltinCount] = {VEX_BUILTIN_LIST(VEX_BUILTIN_NAME)};
#undef VEX_BUILTIN_NAME

struct BuiltinIndex {
    int16_t slots[kIndexSize];
};

constexpr BuiltinIndex MakeIndex() {
    BuiltinIndex index{};
    for (int16_t& slot : index.slots) slot = -1;
    for (int i = 0; i < kBuiltinCount; ++i) {
        std::size_t at = FoldedHash(kBuiltinNames[i]) & (kIndexSize - 1);
        while (index.slots[at] >= 0) at = (at + 1) & (kIndexSize - 1);
        index.slots[at] = static_cast<int16_t>(i);
    }
    return index;
}
static_assert(kBuiltinCount * 2 < static_cast<int>(kIndexSize));

// Built by the compiler: a static made at its first use would cost the first run a round trip
// to the threading runtime on some hosts.
constexpr BuiltinIndex kIndex = MakeIndex();

}  // namespace

const BuiltinEntry* FindBuiltin(std::string_view name, bool strict) {
    for (std::size_t at = FoldedHash(name) & (kIndexSize - 1); kIndex.slots[at] >= 0;
         at = (at + 1) & (kIndexSize - 1)) {
        const BuiltinEntry& entry = kBuiltins[kIndex.slots[at]];
        if (NamesEqual(name, entry.name, strict)) return &entry;
    }
    return nullptr;
}

CallTarget ResolveCallTarget(std::string_view name, bool strict) {
    CallTarget target;
    target.exit = NamesEqual(name, "exit", strict);
    if (!target.exit) target.builtin = FindBuiltin(name, strict);
    return target;
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
