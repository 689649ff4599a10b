// CVexaScriptDoc: a script file as plain 8-bit text, read and written through its view. Owned by
// the document and view work (with script_view.h); the frame relies only on what CDocument
// declares.
#pragma once
#include "document.h"

class CVexaScriptView;

class CVexaScriptDoc : public CDocument {
public:
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    bool IsModified() const override;
    void SetModifiedFlag(bool modified) override;

    // Puts the caret at the start of 1-based `line` in the first view.
    void GoToLine(int line);

private:
    CVexaScriptView* ScriptView() const;
};
