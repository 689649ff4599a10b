// CProfile: where the editor keeps its settings, by section and entry. Normally the registry
// under HKEY_CURRENT_USER\Software\<company>\<application>\<section>; with /n an INI file. Every
// setting goes through this one interface, so /n leaves nothing in the registry.
#pragma once
#include <memory>
#include <string>

class CProfile {
public:
    virtual ~CProfile() = default;
    virtual int GetInt(const char* section, const char* entry, int defaultValue) const = 0;
    virtual bool WriteInt(const char* section, const char* entry, int value) = 0;
    virtual std::string GetString(const char* section, const char* entry,
                                  const char* defaultValue) const = 0;
    virtual bool WriteString(const char* section, const char* entry, const std::string& value) = 0;
    // Removes an entry (an emptied recent-file slot, for instance).
    virtual void RemoveEntry(const char* section, const char* entry) = 0;
};

// Settings under HKEY_CURRENT_USER\Software\<company>\<application>.
std::unique_ptr<CProfile> MakeRegistryProfile(const std::string& company,
                                              const std::string& application);
// Settings in the INI file at `path`.
std::unique_ptr<CProfile> MakeIniProfile(const std::string& path);
