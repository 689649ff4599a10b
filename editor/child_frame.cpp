#include "child_frame.h"

#include "doc_template.h"
#include "document.h"
#include "resource.h"
#include "view.h"

CChildFrame::CChildFrame(CDocTemplate& docTemplate, CDocument* document,
                         std::unique_ptr<CView> view)
    : template_(docTemplate), document_(document), view_(std::move(view)) {}

CChildFrame::~CChildFrame() = default;

const char* CChildFrame::ClassName() {
    // The framework's standard frame class: registered on first use.
    static const char kName[] = "VexaMDIChild";
    RegisterWindowClass(kName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                        LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDR_VEXASCRIPTTYPE)),
                        LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return kName;
}

CChildFrame* CChildFrame::Create(HWND mdiClient, CDocTemplate& docTemplate, CDocument* document,
                                 std::unique_ptr<CView> view) {
    auto* frame = new CChildFrame(docTemplate, document, std::move(view));
    // A new script opens maximized when the active one is.
    BOOL maximized = FALSE;
    SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    DWORD style = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                  (maximized ? WS_MAXIMIZE : 0);
    // Three quarters of the client area: the default size is not applied to MDI children
    // everywhere.
    RECT client;
    GetClientRect(mdiClient, &client);
    if (!frame->CreateEx(WS_EX_MDICHILD | WS_EX_CLIENTEDGE, ClassName(), document->Title().c_str(),
                         style, CW_USEDEFAULT, CW_USEDEFAULT, client.right * 3 / 4,
                         client.bottom * 3 / 4, mdiClient, nullptr)) {
        delete frame;
        return nullptr;
    }
    frame->created_ = true;
    return frame;
}

void CChildFrame::InitialUpdateFrame() {
    if (view_) view_->OnInitialUpdate();
    UpdateTitle();
    ShowWindow(hwnd(), SW_SHOW);
    SendMessageA(GetParent(hwnd()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd()), 0);
    if (view_) SetFocus(view_->hwnd());
}

void CChildFrame::UpdateTitle() {
    std::string title = document_->Title();
    const auto& views = document_->Views();
    if (views.size() > 1) {
        for (size_t i = 0; i < views.size(); ++i)
            if (views[i] == view_.get()) title += ":" + std::to_string(i + 1);
    }
    if (WindowText(hwnd()) != title) SetWindowTextA(hwnd(), title.c_str());
}

LRESULT CChildFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (DefaultProc(message, wParam, lParam) == -1 || !view_ || !view_->Create(hwnd()))
            return -1;
        view_->SetDocument(document_);
        document_->AddView(view_.get());
        return 0;
    case WM_SIZE: {
        RECT client;
        GetClientRect(hwnd(), &client);
        if (view_ && view_->hwnd())
            MoveWindow(view_->hwnd(), 0, 0, client.right, client.bottom, TRUE);
        break;  // DefMDIChildProc keeps the maximized state in step
    }
    case WM_SETFOCUS:
        if (view_ && view_->hwnd()) SetFocus(view_->hwnd());
        return 0;
    case WM_CLOSE:
        // The last view of a modified script asks first; Cancel keeps it open.
        if (document_->Views().size() <= 1 && !document_->SaveModified()) return 0;
        SendMessageA(GetParent(hwnd()), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd()), 0);
        return 0;
    case WM_DESTROY:
        if (view_) document_->RemoveView(view_.get());
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

LRESULT CChildFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcA(hwnd(), message, wParam, lParam);
}

void CChildFrame::OnFinalDestroy() {
    if (!created_) return;  // a failed creation is cleaned up by Create
    CDocument* document = document_;
    CDocTemplate& docTemplate = template_;
    delete this;
    docTemplate.OnFrameDestroyed(document);
}
