// The registry profile of the tools: HKCU\Software\Vexa\Vexa Script, section "Settings".
#include "tool_settings.h"

#include <windows.h>

#include "win_handles.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Vexa\\Vexa Script\\Settings";

class RegistrySettings : public ToolSettings {
public:
    int ReadInt(const char* entry, int defaultValue) override {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, entry, RRF_RT_REG_DWORD, &type, &value,
                         &size) != ERROR_SUCCESS)
            return defaultValue;
        return int(value);
    }
    void WriteInt(const char* entry, int value) override {
        DWORD data = DWORD(value);
        Write(entry, REG_DWORD, &data, sizeof data);
    }
    std::string ReadString(const char* entry, const std::string& defaultValue) override {
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, entry, RRF_RT_REG_SZ, nullptr, nullptr,
                         &size) != ERROR_SUCCESS)
            return defaultValue;
        std::string text(size + 1, '\0');
        if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, entry, RRF_RT_REG_SZ, nullptr,
                         text.data(), &size) != ERROR_SUCCESS)
            return defaultValue;
        text.resize(strnlen(text.c_str(), text.size()));
        return text;
    }
    void WriteString(const char* entry, const std::string& value) override {
        Write(entry, REG_SZ, value.c_str(), DWORD(value.size() + 1));
    }
    bool IniMode() const override { return false; }

private:
    static void Write(const char* entry, DWORD type, const void* data, DWORD size) {
        UniqueRegKey key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            key.put(), nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key.get(), entry, 0, type, static_cast<const BYTE*>(data), size);
    }
};

}  // namespace

ToolSettings& RegistryToolSettings() {
    static RegistrySettings settings;
    return settings;
}
