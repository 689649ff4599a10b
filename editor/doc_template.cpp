#include <windows.h>

#include "doc_template.h"

#include <algorithm>

#include "child_frame.h"
#include "main_frame.h"
#include "script_doc.h"
#include "script_view.h"

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::CloseFrame(HWND frame) {
    SendMessageA(mainFrame_.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame), 0);
}

CChildFrame* CDocTemplate::CreateFrame(CDocument* document) {
    return CChildFrame::Create(mainFrame_.MdiClient(), *this, document,
                               std::make_unique<CVexaScriptView>());
}

CDocument* CDocTemplate::NewDocument() {
    documents_.push_back(std::make_unique<CVexaScriptDoc>());
    CDocument* document = documents_.back().get();
    document->SetTitle("VexEng" + std::to_string(++untitledCount_));
    CChildFrame* frame = CreateFrame(document);
    if (!frame) {
        Discard(document);
        return nullptr;
    }
    if (!document->OnNewDocument()) {
        CloseFrame(frame->hwnd());  // takes the document with it
        return nullptr;
    }
    frame->InitialUpdateFrame();
    return document;
}

CDocument* CDocTemplate::FindDocument(const std::string& path) const {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    std::string wanted = length > 0 && length < MAX_PATH ? std::string(full, length) : path;
    for (const auto& document : documents_)
        if (!document->PathName().empty() &&
            lstrcmpiA(document->PathName().c_str(), wanted.c_str()) == 0)
            return document.get();
    return nullptr;
}

CDocument* CDocTemplate::OpenDocumentFile(const std::string& path) {
    if (CDocument* open = FindDocument(path)) {
        if (CView* view = open->FirstView()) {
            HWND frame = GetParent(view->hwnd());
            SendMessageA(mainFrame_.MdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame),
                         0);
        }
        return open;
    }
    documents_.push_back(std::make_unique<CVexaScriptDoc>());
    CDocument* document = documents_.back().get();
    CChildFrame* frame = CreateFrame(document);
    if (!frame) {
        Discard(document);
        return nullptr;
    }
    if (!document->OnOpenDocument(path)) {
        CloseFrame(frame->hwnd());
        return nullptr;
    }
    document->SetPathName(path);
    frame->InitialUpdateFrame();
    return document;
}

bool CDocTemplate::SaveAllModified() {
    for (const auto& document : documents_)
        if (!document->SaveModified()) return false;
    return true;
}

void CDocTemplate::CloseAllDocuments() {
    // Destroying a document's last frame discards the document, so walk a copy.
    std::vector<HWND> frames;
    for (const auto& document : documents_)
        for (CView* view : document->Views()) frames.push_back(GetParent(view->hwnd()));
    for (HWND frame : frames)
        if (IsWindow(frame)) CloseFrame(frame);
}

void CDocTemplate::OnFrameDestroyed(CDocument* document) {
    if (document->Views().empty()) Discard(document);
}

void CDocTemplate::Discard(CDocument* document) {
    documents_.erase(std::remove_if(documents_.begin(), documents_.end(),
                                    [&](const auto& d) { return d.get() == document; }),
                     documents_.end());
    mainFrame_.OnDocumentsChanged();
}
