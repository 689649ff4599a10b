#include "run_mode.h"

#include <string>

#include "command_line.h"
#include "engine_imports.h"
#include "settings.h"

int RunScriptUnattended(HWND mainFrame, std::string_view commandLine, const CProfile& profile) {
    HWND parent = HasSwitch(commandLine, 'h') ? nullptr : mainFrame;
    std::string entryCall = BuildEntryCall(commandLine, HasSwitch(commandLine, 'c'));
    int strict = settings::Get(profile, settings::kStrict);
    if (HasSwitch(commandLine, 's'))
        strict = 1;
    else if (HasSwitch(commandLine, 'l'))
        strict = 0;
    std::string path = ScriptPathArgument(commandLine);
    return VexEngRunScriptFile2(parent, path.c_str(), entryCall.c_str(), strict);
}
