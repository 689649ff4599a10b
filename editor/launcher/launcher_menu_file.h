// The launcher menu file "Vexa Script.mnu": the only state the editor shares with the tray
// launcher. The editor writes it; both programs read it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One entry of the launcher's tray menu.
struct CLauncherCommand {
    std::string name;        // unique among the entries, compared without regard to case
    std::string scriptPath;  // full path of the script to run
    uint16_t flag = 0;       // 1 once the entry was added or edited in the dialog
};

// The menu file's header plus its entries in menu order.
struct LauncherConfig {
    std::string launcherName;
    int32_t headerValue = 0;
    std::string editorProgram;
    std::string editorWindowClass;
    std::string startDirectory;
    uint8_t flagA = 0;
    uint8_t flagB = 0;
    std::vector<CLauncherCommand> entries;
};

inline constexpr char kLauncherName[] = "Vexa Script Launcher";
inline constexpr char kMenuFileName[] = "Vexa Script.mnu";
inline constexpr char kEditorWindowClass[] = "VexaScript";

// The header the editor writes: launcher name, value 1, flags 0 and 1.
void SetEditorHeader(LauncherConfig& config, const std::string& editorProgram,
                     const std::string& windowClass, const std::string& startDirectory);

// Creates or truncates `path`; false on any file error (the caller shows nothing).
bool SaveMenuFile(const std::string& path, const LauncherConfig& config);
// False on a missing, truncated or foreign file; fields read before the fault keep their values.
bool LoadMenuFile(const std::string& path, LauncherConfig& config);
