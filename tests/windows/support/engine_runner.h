// Runs scripts through vexeng.dll's exported entry point inside the test process, so a test
// can arrange the outside world first (environment, registry overrides, open windows) and
// inspect it afterwards. The engine's error box, if any, is answered and its text kept.
#pragma once
#include <windows.h>

#include <string>

#include "script_result.h"

struct ScriptRun {
    int result = 0;
    ScriptResult record{};
    std::string errorBox;  // text of the engine's error box; empty when none was shown
};

// Writes `text` to `folder`\`name` and runs `entryCall` in it without an owner window.
ScriptRun RunScriptText(const std::string& folder, const std::string& text,
                        const std::string& entryCall = "main()", int strict = 0,
                        const std::string& name = "test.vxs");
// A script string literal holding `text` (backslashes and quotes escaped).
std::string ScriptLiteral(const std::string& text);
