// Registry built-ins: each call opens the key it needs, does one thing and closes it.
// Only plain strings (REG_SZ) and double words (REG_DWORD) are read or written.
#include <windows.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "win_handles.h"

namespace {

constexpr DWORD kStringBuffer = 512;
constexpr DWORD kSubKeyNameBuffer = 128;

// Script root keys hold 0x80000000..0x80000006; on 64-bit Windows the predefined handles
// are those values sign-extended, so the mapping goes through the table, not a cast.
HKEY RootKey(uint32_t handle) {
    static const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,     HKEY_LOCAL_MACHINE,
                                  HKEY_USERS,        HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
                                  HKEY_DYN_DATA};
    uint32_t index = handle - 0x80000000u;
    return index < sizeof kRoots / sizeof kRoots[0] ? kRoots[index] : nullptr;
}

// The parameters every registry function starts with: root and sub-key path.
int KeyParams(BuiltinCall& call, HKEY& root, std::string& subKey) {
    uint32_t handle = 0;
    if (int error = GetHandleParam(call, 0, kTypeHkey, handle)) return error;
    if (int error = GetStringParam(call, 1, subKey)) return error;
    // No root: every registry function then fails without touching the registry.
    root = IsSystemText(subKey) ? RootKey(handle) : nullptr;
    return kOk;
}

// Root, sub-key and value name: the first three parameters of every value function.
int ValueParams(BuiltinCall& call, HKEY& root, std::string& subKey, std::string& valueName) {
    if (int error = KeyParams(call, root, subKey)) return error;
    if (int error = GetStringParam(call, 2, valueName)) return error;
    if (!IsSystemText(valueName)) root = nullptr;
    return kOk;
}

UniqueRegKey OpenKey(HKEY root, const std::string& subKey, REGSAM access) {
    UniqueRegKey key;
    if (!root || RegOpenKeyExA(root, subKey.c_str(), 0, access, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

// Deepest keys first: sub-key indexes run downwards so the remaining ones stay valid.
bool DeleteTree(HKEY root, const std::string& path) {
    {
        UniqueRegKey key = OpenKey(root, path, KEY_ALL_ACCESS);
        if (!key) return false;
        DWORD count = 0;
        if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            for (DWORD index = count; index-- > 0;) {
                char name[kSubKeyNameBuffer];
                DWORD length = kSubKeyNameBuffer;
                if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr,
                                  nullptr) != ERROR_SUCCESS)
                    continue;
                if (!DeleteTree(root, path + "\\" + name)) return false;
            }
        }
    }
    return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool HasNoSubKeys(HKEY root, const std::string& path) {
    UniqueRegKey key = OpenKey(root, path, KEY_READ);
    DWORD count = 0;
    return key &&
           RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           count == 0;
}

// An empty path (or one of separators only) names the root itself: deleting "its tree"
// would wipe a whole hive, so it is refused.
bool NamesAKey(const std::string& path) {
    return path.find_first_not_of("\\") != std::string::npos;
}

bool SetValue(HKEY root, const std::string& subKey, const std::string& valueName, DWORD type,
              const void* data, DWORD size) {
    UniqueRegKey key = OpenKey(root, subKey, KEY_SET_VALUE);
    return key && RegSetValueExA(key.get(), valueName.c_str(), 0, type,
                                 static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

}  // namespace

int Builtin_RegCreateKey(BuiltinCall& call) {
    SetIntResult(call, 0);
    HKEY root = nullptr;
    std::string subKey;
    if (int error = KeyParams(call, root, subKey)) return error;
    UniqueRegKey key;
    if (root && RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, key.put(), nullptr) == ERROR_SUCCESS)
        SetIntResult(call, 1);
    return kOk;
}

int Builtin_RegDeleteKey(BuiltinCall& call) {
    SetIntResult(call, 0);
    HKEY root = nullptr;
    std::string subKey;
    int32_t recursive = 1;
    if (int error = KeyParams(call, root, subKey)) return error;
    if (int error = GetOptionalIntParam(call, 2, recursive)) return error;
    if (!root || !NamesAKey(subKey)) return kOk;
    bool deleted = recursive ? DeleteTree(root, subKey)
                             : HasNoSubKeys(root, subKey) &&
                                   RegDeleteKeyA(root, subKey.c_str()) == ERROR_SUCCESS;
    SetIntResult(call, deleted ? 1 : 0);
    return kOk;
}

int Builtin_RegDeleteKeyValue(BuiltinCall& call) {
    SetIntResult(call, 0);
    HKEY root = nullptr;
    std::string subKey, valueName;
    if (int error = ValueParams(call, root, subKey, valueName)) return error;
    UniqueRegKey key = OpenKey(root, subKey, KEY_SET_VALUE);
    if (key && RegDeleteValueA(key.get(), valueName.c_str()) == ERROR_SUCCESS)
        SetIntResult(call, 1);
    return kOk;
}

int Builtin_RegGetKeyValueInt(BuiltinCall& call) {
    SetIntResult(call, 0);
    HKEY root = nullptr;
    std::string subKey, valueName;
    int32_t fallback = 0;
    if (int error = ValueParams(call, root, subKey, valueName)) return error;
    if (int error = GetOptionalIntParam(call, 3, fallback)) return error;
    SetIntResult(call, fallback);
    UniqueRegKey key = OpenKey(root, subKey, KEY_QUERY_VALUE);
    DWORD type = 0, value = 0, size = sizeof value;
    if (key &&
        RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value)
        SetIntResult(call, static_cast<int32_t>(value));
    return kOk;
}

int Builtin_RegGetKeyValueString(BuiltinCall& call) {
    SetStringResult(call, "");
    HKEY root = nullptr;
    std::string subKey, valueName, fallback;
    if (int error = ValueParams(call, root, subKey, valueName)) return error;
    if (int error = GetOptionalStringParam(call, 3, fallback)) return error;
    SetStringResult(call, fallback);
    UniqueRegKey key = OpenKey(root, subKey, KEY_QUERY_VALUE);
    char buffer[kStringBuffer];
    DWORD type = 0, size = kStringBuffer;
    if (key &&
        RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        // The stored bytes need not end with a zero; the text ends at the first one.
        std::string_view text(buffer, size);
        SetStringResult(call, std::string(text.substr(0, text.find('\0'))));
    }
    return kOk;
}

int Builtin_RegSetKeyValueInt(BuiltinCall& call) {
    SetIntResult(call, 0);
    HKEY root = nullptr;
    std::string subKey, valueName;
    int32_t value = 0;
    if (int error = ValueParams(call, root, subKey, valueName)) return error;
    if (int error = GetIntParam(call, 3, value)) return error;
    DWORD data = static_cast<DWORD>(value);
    SetIntResult(call, SetValue(root, subKey, valueName, REG_DWORD, &data, sizeof data) ? 1 : 0);
    return kOk;
}

int Builtin_RegSetKeyValueString(BuiltinCall& call) {
    SetIntResult(call, 0);
    HKEY root = nullptr;
    std::string subKey, valueName, value;
    if (int error = ValueParams(call, root, subKey, valueName)) return error;
    if (int error = GetStringParam(call, 3, value)) return error;
    SetIntResult(call, SetValue(root, subKey, valueName, REG_SZ, value.c_str(),
                                static_cast<DWORD>(value.size() + 1))
                           ? 1
                           : 0);
    return kOk;
}
