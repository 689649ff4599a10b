// The engine's one setting: Strict under HKCU "Software\Vexa\Vexa Script\Settings".
#pragma once

// The key the editor writes its settings to; the engine only reads Strict from it.
constexpr const char kSettingsKey[] = "Software\\Vexa\\Vexa Script\\Settings";

// Non-zero means strict; a missing or unreadable key or value reads as 0.
int ReadStrictSetting();
