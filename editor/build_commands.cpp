#include <windows.h>

#include "build_commands.h"

#include <shlwapi.h>

#include "doc_template.h"
#include "engine_imports.h"
#include "main_frame.h"
#include "script_doc.h"
#include "vexedit_app.h"

namespace {

constexpr char kEntryCall[] = "main()";

// Opens (or activates) the file of the error and puts the caret on its line.
void ShowErrorPlace(const std::string& scriptPath, const ScriptResult& record) {
    const std::string file = ErrorFilePath(scriptPath, record);
    if (file.empty()) return;
    if (auto* script = dynamic_cast<CVexaScriptDoc*>(TheApp().OpenDocumentFile(file)))
        script->GoToLine(record.line);
}

void BuildActiveScript(bool run) {
    if (!SaveModifiedScripts()) return;
    auto* script = dynamic_cast<CVexaScriptDoc*>(TheApp().MainFrame().ActiveDocument());
    if (!script) return;
    HWND mainWindow = TheApp().MainWindow();
    if (VexEngVersion() != 1) {
        MessageBoxA(mainWindow, "vexeng.dll is the wrong version!", kAppName,
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string path = script->PathName();
    if (path.empty()) return;
    ScriptResult record{};
    const int result = run ? VexEngRunScriptFileEx(mainWindow, path.c_str(), kEntryCall, &record)
                           : VexEngTestCompileScriptFile(mainWindow, path.c_str(), &record);
    if (!run && result == 0)
        MessageBoxA(mainWindow, "No errors.", kAppName, MB_OK | MB_ICONINFORMATION);
    // The engine has shown its message already; the editor only takes the user there.
    if (result < 0) ShowErrorPlace(path, record);
}

}  // namespace

bool SaveModifiedScripts() {
    for (const auto& document : TheApp().DocTemplate().Documents()) {
        auto* script = dynamic_cast<CVexaScriptDoc*>(document.get());
        if (script && script->IsModified() && !script->DoFileSave()) return false;
    }
    return true;
}

void CompileActiveScript() { BuildActiveScript(false); }
void RunActiveScript() { BuildActiveScript(true); }

std::string ErrorFilePath(const std::string& scriptPath, const ScriptResult& record) {
    const std::string file(record.file, strnlen(record.file, sizeof record.file));
    if (file.empty()) return {};
    std::string combined = file;
    if (PathIsRelativeA(file.c_str())) {
        const size_t slash = scriptPath.find_last_of("\\/");
        combined =
            (slash == std::string::npos ? std::string() : scriptPath.substr(0, slash + 1)) + file;
    }
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(combined.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : combined;
}
