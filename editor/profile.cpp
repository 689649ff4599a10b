#include <windows.h>

#include "profile.h"

#include "../engine/runtime_windows/win_handles.h"

namespace {

class CRegistryProfile : public CProfile {
public:
    explicit CRegistryProfile(std::string root) : root_(std::move(root)) {}

    int GetInt(const char* section, const char* entry, int defaultValue) const override {
        DWORD value = 0, type = 0, size = sizeof(value);
        UniqueRegKey key = Open(section, false);
        if (!key ||
            RegQueryValueExA(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                             &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof(value))
            return defaultValue;
        return static_cast<int>(value);
    }

    bool WriteInt(const char* section, const char* entry, int value) override {
        UniqueRegKey key = Open(section, true);
        DWORD data = static_cast<DWORD>(value);
        return key &&
               RegSetValueExA(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof(data)) == ERROR_SUCCESS;
    }

    std::string GetString(const char* section, const char* entry,
                          const char* defaultValue) const override {
        UniqueRegKey key = Open(section, false);
        DWORD type = 0, size = 0;
        if (!key ||
            RegQueryValueExA(key.get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return defaultValue;
        std::string text(size + 1, '\0');
        if (RegQueryValueExA(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &size) != ERROR_SUCCESS)
            return defaultValue;
        text.resize(strnlen(text.c_str(), size));  // the stored size may count the terminator
        return text;
    }

    bool WriteString(const char* section, const char* entry, const std::string& value) override {
        UniqueRegKey key = Open(section, true);
        return key && RegSetValueExA(key.get(), entry, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }

    void RemoveEntry(const char* section, const char* entry) override {
        UniqueRegKey key = Open(section, false, KEY_SET_VALUE);
        if (key) RegDeleteValueA(key.get(), entry);
    }

private:
    // Reading never creates the key, so a program that only looks leaves no trace.
    UniqueRegKey Open(const char* section, bool create, REGSAM access = 0) const {
        UniqueRegKey key;
        std::string path = root_ + "\\" + section;
        if (create)
            RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            key.put(), nullptr);
        else
            RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access ? access : KEY_QUERY_VALUE,
                          key.put());
        return key;
    }

    std::string root_;
};

class CIniProfile : public CProfile {
public:
    explicit CIniProfile(std::string path) : path_(std::move(path)) {}

    int GetInt(const char* section, const char* entry, int defaultValue) const override {
        return static_cast<int>(GetPrivateProfileIntA(section, entry, defaultValue, path_.c_str()));
    }

    bool WriteInt(const char* section, const char* entry, int value) override {
        return WriteString(section, entry, std::to_string(value));
    }

    std::string GetString(const char* section, const char* entry,
                          const char* defaultValue) const override {
        char buffer[4096] = {};
        DWORD length = GetPrivateProfileStringA(section, entry, defaultValue, buffer,
                                                sizeof(buffer), path_.c_str());
        return std::string(buffer, length);
    }

    bool WriteString(const char* section, const char* entry, const std::string& value) override {
        return WritePrivateProfileStringA(section, entry, value.c_str(), path_.c_str()) != FALSE;
    }

    void RemoveEntry(const char* section, const char* entry) override {
        WritePrivateProfileStringA(section, entry, nullptr, path_.c_str());
    }

private:
    std::string path_;
};

}  // namespace

std::unique_ptr<CProfile> MakeRegistryProfile(const std::string& company,
                                              const std::string& application) {
    return std::make_unique<CRegistryProfile>("Software\\" + company + "\\" + application);
}

std::unique_ptr<CProfile> MakeIniProfile(const std::string& path) {
    return std::make_unique<CIniProfile>(path);
}
