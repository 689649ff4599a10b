// The editor's settings: section "Settings" of the profile, every entry with its default.
#pragma once
#include "profile.h"

namespace settings {

inline constexpr char kSection[] = "Settings";

struct IntEntry {
    const char* name;
    int defaultValue;
};
struct StringEntry {
    const char* name;
    const char* defaultValue;
};

inline constexpr IntEntry kStrict{"Strict", 0};
inline constexpr IntEntry kFontHeight{"FontHeight", 100};  // tenths of a point
inline constexpr StringEntry kFontName{"FontName", "Courier New"};
inline constexpr IntEntry kFontCharSet{"FontCharSet", 1};  // DEFAULT_CHARSET
inline constexpr IntEntry kAutoWordSelection{"AutoWordSelection", 0};
inline constexpr IntEntry kRunLauncher{"RunLauncher", 1};
inline constexpr StringEntry kLastCheckForUpdate{"LastCheckForUpdate", ""};
inline constexpr StringEntry kDontShowUpdate{"DontShowUpdate", ""};
inline constexpr IntEntry kTipOfTheDay{"TipOfTheDay", 0};
inline constexpr IntEntry kShowTipOfTheDay{"ShowTipOfTheDay", 1};

// Longer stored face names do not fit a font description and give way to the default.
inline constexpr size_t kMaxFontNameLength = 30;

inline int Get(const CProfile& profile, const IntEntry& entry) {
    return profile.GetInt(kSection, entry.name, entry.defaultValue);
}
inline std::string Get(const CProfile& profile, const StringEntry& entry) {
    return profile.GetString(kSection, entry.name, entry.defaultValue);
}
inline bool Set(CProfile& profile, const IntEntry& entry, int value) {
    return profile.WriteInt(kSection, entry.name, value);
}
inline bool Set(CProfile& profile, const StringEntry& entry, const std::string& value) {
    return profile.WriteString(kSection, entry.name, value);
}

}  // namespace settings
