#include "engine_settings.h"

#include "win_handles.h"

int ReadStrictSetting() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return 0;
    DWORD value = 0, type = 0, size = sizeof(value);
    if (RegQueryValueExA(key.get(), "Strict", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS)
        return 0;
    // Only a 32-bit number counts; a string or binary value under that name is "unreadable".
    if (type != REG_DWORD || size != sizeof(value)) return 0;
    return static_cast<int>(value);
}
