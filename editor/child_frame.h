// CChildFrame: the MDI child window around one view of a script. It puts the document's title in
// its caption, keeps its view filling it, and asks to save before the last view of a modified
// script closes.
#pragma once
#include <memory>

#include "window_base.h"

class CDocument;
class CDocTemplate;
class CView;

class CChildFrame : public CWindow {
public:
    // The frame deletes itself when its window is destroyed.
    static CChildFrame* Create(HWND mdiClient, CDocTemplate& docTemplate, CDocument* document,
                               std::unique_ptr<CView> view);

    CView* View() const { return view_.get(); }
    CDocument* Document() const { return document_; }
    // Sets the caption from the document title (":2" and so on when it has several views).
    void UpdateTitle();
    // Shows and activates the frame once its view has been set up.
    void InitialUpdateFrame();
    static const char* ClassName();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalDestroy() override;

private:
    CChildFrame(CDocTemplate& docTemplate, CDocument* document, std::unique_ptr<CView> view);
    ~CChildFrame() override;

    CDocTemplate& template_;
    CDocument* document_;
    std::unique_ptr<CView> view_;
    bool created_ = false;
};
