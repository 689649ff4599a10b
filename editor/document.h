// CDocument: the framework side of an open script: its path and title, its views, saving with
// the Save As dialog, and the "Save changes to %1?" question. The script document (script_doc.h)
// derives from it and supplies reading, writing and the modified flag through its view.
#pragma once
#include <string>
#include <vector>

#include "command_target.h"

class CView;

class CDocument : public CCommandTarget {
public:
    CDocument() = default;
    ~CDocument() override = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& PathName() const { return path_; }
    const std::string& Title() const { return title_; }
    // Takes `path` as the document's file: the title becomes its file name, and the file joins
    // the recent-file list when `addToRecent` is set.
    void SetPathName(const std::string& path, bool addToRecent = true);
    void SetTitle(const std::string& title);

    // A new empty script; false when it cannot be set up.
    virtual bool OnNewDocument();
    // Loads `path` into the document; false when the open fails (after telling the user).
    virtual bool OnOpenDocument(const std::string& path) = 0;
    // Writes the document to `path`; false when it failed (after telling the user).
    virtual bool OnSaveDocument(const std::string& path) = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModifiedFlag(bool modified) = 0;

    // Save (Save As when untitled); false when cancelled or failed.
    bool DoFileSave();
    // Save As: asks for a name starting from the current one; false when cancelled or failed.
    bool DoSaveAs();
    // Before closing: asks "Save changes to %1?" when modified; false when the user cancelled.
    bool SaveModified();

    const std::vector<CView*>& Views() const { return views_; }
    CView* FirstView() const { return views_.empty() ? nullptr : views_.front(); }
    void AddView(CView* view);
    void RemoveView(CView* view);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    std::string path_;
    std::string title_;
    std::vector<CView*> views_;
};
