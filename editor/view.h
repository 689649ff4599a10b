// CView: a window that shows a document inside a child frame. The script view (script_view.h)
// derives from it; the frame asks it for the line and column pane and hands it the font.
#pragma once
#include <string>

#include "command_target.h"
#include "window_base.h"

class CDocument;

class CView : public CWindow, public CCommandTarget {
public:
    // Creates the view's window as a child of `frame`, filling it; false on failure.
    virtual bool Create(HWND frame) = 0;
    // Once after the document is loaded or set up new, before the frame is shown.
    virtual void OnInitialUpdate() {}
    // The text of the status bar's line and column pane; empty leaves the pane blank.
    virtual std::string LineColumnText() { return std::string(); }
    // The editor font changed (height in tenths of a point, character set, face name).
    virtual void ApplyFont(int height, int charSet, const std::string& faceName) {}
    // A chance to handle a keyboard message before accelerators and dialogs see it.
    virtual bool PreTranslateMessage(MSG& message) { return false; }

    CDocument* Document() const { return document_; }
    void SetDocument(CDocument* document) { document_ = document; }

private:
    CDocument* document_ = nullptr;
};
