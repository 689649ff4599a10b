// What every compile and run step works with, bundled so signatures stay short.
#pragma once

class RunWindow;
struct ScriptProgram;
struct ScriptResult;
struct ScriptValue;

struct RunContext {
    RunWindow& window;
    ScriptProgram& program;
    ScriptResult& record;
    // Result slot of the user function now running: `return` and `exit` store into it.
    ScriptValue* functionResult = nullptr;
};
