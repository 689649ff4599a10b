// The built-in function table and the predefined constants: NULL, the integer constants
// and the registry root keys.
#include "builtin_table.h"

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
#define VEX_HANDLER_WINDOW_CONTROLS VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_KEYS_MOUSE VEX_HANDLER_UNAVAILABLE
#define VEX_HANDLER_INTERNET VEX_HANDLER_UNAVAILABLE
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

constexpr IntegerConstant kIntegerConstants[] = {
    {"BST_CHECKED", 1},
    {"BST_INDETERMINATE", 2},
    {"BST_UNCHECKED", 0},
    {"DOWNLOAD_CONNECT_PASSIVE", 1},
    {"DOWNLOAD_NO_TEMP_FILE", 2},
    {"EWX_LOGOFF", 0},
    {"EWX_REBOOT", 2},
    {"EWX_SHUTDOWN", 1},
    {"FALSE", 0},
    {"TRUE", 1},
    {"RAND_MAX", 32767},
    {"FILE_ATTRIBUTE_ARCHIVE", 32},
    {"FILE_ATTRIBUTE_DIRECTORY", 16},
    {"FILE_ATTRIBUTE_HIDDEN", 2},
    {"FILE_ATTRIBUTE_NORMAL", 128},
    {"FILE_ATTRIBUTE_READONLY", 1},
    {"FILE_ATTRIBUTE_SYSTEM", 4},
    {"FILE_CREATE", 4096},
    {"FILE_NO_TRUNCATE", 8192},
    {"FILE_READ", 0},
    {"FILE_WRITE", 1},
    {"FILE_SHARE_DENY_NONE", 64},
    {"FILE_SHARE_DENY_READ", 48},
    {"FILE_SHARE_DENY_WRITE", 32},
    {"FILE_SHARE_EXCLUSIVE", 16},
    {"FTP_CONNECT_PASSIVE", 1},
    {"FTP_NO_TEMP_FILE", 2},
    {"FTP_TRANSFER_TYPE_ASCII", 1},
    {"FTP_TRANSFER_TYPE_BINARY", 2},
    {"FTP_TRANSFER_TYPE_UNKNOWN", 0},
    {"GFL_FILES", 2},
    {"GFL_FOLDERS", 1},
    {"GFL_SORT", 4},
    {"IDCANCEL", 2},
    {"IDNO", 7},
    {"IDOK", 1},
    {"IDYES", 6},
    {"INTERNET_SETTINGS_SUBMIT_NONENCRYPTED_FORM_DATA", 2},
    {"INTERNET_SETTINGS_WARN_ON_ZONE_CROSSING", 0},
    {"INTERNET_SETTINGS_WARN_ON_POST_REDIRECT", 1},
    {"MB_ICONEXCLAMATION", 48},
    {"MB_ICONINFORMATION", 64},
    {"MB_ICONQUESTION", 32},
    {"MB_OK", 0},
    {"MB_OKCANCEL", 1},
    {"MB_YESNO", 4},
    {"MF_CHECKED", 8},
    {"MF_GRAYED", 1},
    {"MF_DISABLED", 2},
    {"OFN_FILEMUSTEXIST", 4096},
    {"OFN_PATHMUSTEXIST", 2048},
    {"RSW_ALWAYS_ON_TOP", 1},
    {"RSW_NOT_ALWAYS_ON_TOP", 2},
    {"RSW_HIDE", 4},
    {"RSW_SHOW", 8},
    {"RSW_MOVE_COORDINATES", 16},
    {"RSW_MOVE_CENTER", 32},
    {"RSW_MOVE_LOWER_LEFT", 48},
    {"RSW_MOVE_LOWER_RIGHT", 64},
    {"RSW_MOVE_UPPER_LEFT", 80},
    {"RSW_MOVE_UPPER_RIGHT", 96},
    {"SDI_SENDCHANGE", 1},
    {"SENDMAIL_DIALOG", 8},
    {"SW_SHOWNORMAL", 1},
    {"SW_SHOWMINIMIZED", 2},
    {"SW_SHOWMAXIMIZED", 3},
    {"SW_SHOWMINNOACTIVE", 7},
};
static_assert(sizeof kIntegerConstants / sizeof kIntegerConstants[0] == 67);

struct RootKey {
    const char* name;
    uint32_t handle;
};

constexpr RootKey kRootKeys[] = {
    {"HKEY_CLASSES_ROOT", 0x80000000u},     {"HKEY_CURRENT_USER", 0x80000001u},
    {"HKEY_LOCAL_MACHINE", 0x80000002u},    {"HKEY_USERS", 0x80000003u},
    {"HKEY_PERFORMANCE_DATA", 0x80000004u}, {"HKEY_CURRENT_CONFIG", 0x80000005u},
    {"HKEY_DYN_DATA", 0x80000006u},
};

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
