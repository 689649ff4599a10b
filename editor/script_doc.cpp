#include <windows.h>

#include "script_doc.h"

#include <fstream>
#include <sstream>

#include "script_view.h"
#include "vexedit_app.h"

CVexaScriptView* CVexaScriptDoc::ScriptView() const {
    return static_cast<CVexaScriptView*>(FirstView());
}

bool CVexaScriptDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return false;
    if (CVexaScriptView* view = ScriptView()) view->SetText(std::string());
    SetModifiedFlag(false);
    return true;
}

bool CVexaScriptDoc::OnOpenDocument(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
        std::stringstream content;
        content << in.rdbuf();
        if (CVexaScriptView* view = ScriptView()) view->SetText(content.str());
        SetModifiedFlag(false);
        return true;
    }
    MessageBoxA(TheApp().MainWindow(), "Failed to open document.", kAppName,
                MB_OK | MB_ICONEXCLAMATION);
    const std::string question = "Would you like to create a new script file named " + path + "?";
    if (MessageBoxA(TheApp().MainWindow(), question.c_str(), kAppName,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    // The empty script is written at once, so the file exists from now on.
    if (!OnNewDocument()) return false;
    SetPathName(path, true);
    return OnSaveDocument(path);
}

bool CVexaScriptDoc::OnSaveDocument(const std::string& path) {
    CVexaScriptView* view = ScriptView();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (view) out << view->Text();
    if (!out) {
        MessageBoxA(TheApp().MainWindow(), ("Failed to save document " + path + ".").c_str(),
                    kAppName, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CVexaScriptDoc::IsModified() const {
    CVexaScriptView* view = ScriptView();
    return view && view->IsModified();
}

void CVexaScriptDoc::SetModifiedFlag(bool modified) {
    if (CVexaScriptView* view = ScriptView()) view->SetModified(modified);
}

void CVexaScriptDoc::GoToLine(int line) {
    if (CVexaScriptView* view = ScriptView()) view->GoToLine(line);
}
