// The editor settings that the tools read and write (section "Settings"): a small interface
// so the tools need not know whether the profile lives in the registry or in "vexedit.ini".
#pragma once
#include <string>

class ToolSettings {
public:
    virtual ~ToolSettings() = default;
    virtual int ReadInt(const char* entry, int defaultValue) = 0;
    virtual void WriteInt(const char* entry, int value) = 0;
    virtual std::string ReadString(const char* entry, const std::string& defaultValue) = 0;
    virtual void WriteString(const char* entry, const std::string& value) = 0;
    // True with /n: the profile is the INI file, which the engine and Windows start-up never see.
    virtual bool IniMode() const = 0;
};

class CProfile;

// Section "Settings" of the editor's profile.
class ProfileToolSettings : public ToolSettings {
public:
    ProfileToolSettings(CProfile& profile, bool iniMode) : profile_(profile), iniMode_(iniMode) {}
    int ReadInt(const char* entry, int defaultValue) override;
    void WriteInt(const char* entry, int value) override;
    std::string ReadString(const char* entry, const std::string& defaultValue) override;
    void WriteString(const char* entry, const std::string& value) override;
    bool IniMode() const override { return iniMode_; }

private:
    CProfile& profile_;
    bool iniMode_;
};

// HKCU\Software\Vexa\Vexa Script\Settings, the editor's normal profile.
ToolSettings& RegistryToolSettings();
