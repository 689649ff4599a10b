// The tools' settings are section "Settings" of the editor's profile.
#include "tool_settings.h"

#include <memory>

#include "settings.h"

int ProfileToolSettings::ReadInt(const char* entry, int defaultValue) {
    return profile_.GetInt(settings::kSection, entry, defaultValue);
}

void ProfileToolSettings::WriteInt(const char* entry, int value) {
    profile_.WriteInt(settings::kSection, entry, value);
}

std::string ProfileToolSettings::ReadString(const char* entry, const std::string& defaultValue) {
    return profile_.GetString(settings::kSection, entry, defaultValue.c_str());
}

void ProfileToolSettings::WriteString(const char* entry, const std::string& value) {
    profile_.WriteString(settings::kSection, entry, value);
}

ToolSettings& RegistryToolSettings() {
    static std::unique_ptr<CProfile> profile = MakeRegistryProfile("Vexa", "Vexa Script");
    static ProfileToolSettings settings(*profile, false);
    return settings;
}
