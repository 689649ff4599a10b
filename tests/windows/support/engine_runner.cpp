#include "engine_runner.h"

#include "dialog_catcher.h"
#include "test_support.h"

namespace {

using RunEx2Function = int(WINAPI*)(HWND, const char*, const char*, int, ScriptResult*);

HMODULE Engine() {
    static HMODULE engine = LoadLibraryA((BinaryDir() + "\\vexeng.dll").c_str());
    return engine;
}

}  // namespace

ScriptRun RunScriptText(const std::string& folder, const std::string& text, const std::string& entryCall,
                        int strict, const std::string& name) {
    ScriptRun run;
    std::string path = folder + "\\" + name;
    auto runEx2 = reinterpret_cast<RunEx2Function>(
        reinterpret_cast<void*>(GetProcAddress(Engine(), MAKEINTRESOURCEA(7))));
    if (!runEx2 || !WriteTextFile(path, text)) {
        run.result = -1000;
        return run;
    }
    DialogCatcher catcher([](const CaughtDialog& dialog) {
        return dialog.messageBox && dialog.caption == "Vexa Script" ? IDOK : 0;
    });
    run.record.line = -1;
    run.result = runEx2(nullptr, path.c_str(), entryCall.c_str(), strict, &run.record);
    for (const CaughtDialog& dialog : catcher.caught())
        if (dialog.messageBox && dialog.caption == "Vexa Script") run.errorBox = dialog.text;
    return run;
}

std::string ScriptLiteral(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') literal += '\\';
        literal += c;
    }
    return literal + "\"";
}
