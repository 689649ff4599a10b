// CVexaScriptView: the rich-edit view of a script (plain text, the editor font, tab stops, block
// indent, automatic indentation, the line and column pane, keyword help, Find and Replace).
// This file and script_view.cpp, script_doc.h/.cpp belong to the document and view work; the frame
// relies only on what CView declares.
#pragma once
#include <string>

#include "view.h"

class CVexaScriptView : public CView {
public:
    bool Create(HWND frame) override;
    void OnInitialUpdate() override;
    std::string LineColumnText() override;
    void ApplyFont(int height, int charSet, const std::string& faceName) override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The whole text as 8-bit text with CR LF line ends.
    std::string Text() const;
    void SetText(const std::string& text);
    bool IsModified() const;
    void SetModified(bool modified);
};
