#include "fwdoctmpl.h"

#include "fwapp.h"
#include "fwres.h"
#include "mbcs.h"

#include <windows.h>

FW_IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
FW_IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT resId, const CRuntimeClass* docClass,
                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_nIDResource(resId), m_pDocClass(docClass), m_pFrameClass(frameClass),
      m_pViewClass(viewClass), m_strDocStrings(fw::LoadStr(resId)) {}

CDocTemplate::~CDocTemplate() {
    // Documents still open when the program ends are freed without frames.
    while (!m_docs.empty()) {
        CDocument* d = m_docs.back();
        m_docs.pop_back();
        d->m_pDocTemplate = nullptr;
        delete d;
    }
}

std::string CDocTemplate::GetDocString(fw::DocField field) const {
    return fw::DocTemplateField(m_strDocStrings, field);
}

fw::DocMatch CDocTemplate::MatchDocType(const std::string& path, CDocument*& open) const {
    open = nullptr;
    for (CDocument* d : m_docs) {
        if (!d->GetPathName().empty() && fw::EqualNoCase(d->GetPathName(), path)) {
            open = d;
            return fw::DocMatch::Yes;
        }
    }
    return fw::MatchDocExtension(GetDocString(fw::DocField::FilterExt), path);
}

void CDocTemplate::AddDocument(CDocument* doc) {
    m_docs.push_back(doc);
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
    for (auto it = m_docs.begin(); it != m_docs.end(); ++it) {
        if (*it == doc) {
            m_docs.erase(it);
            break;
        }
    }
    doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* obj = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(obj);
    if (!doc) {
        delete obj;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc) {
    CCreateContext ctx;
    ctx.m_pCurrentDoc = doc;
    ctx.m_pNewViewClass = m_pViewClass;
    ctx.m_pNewDocTemplate = this;
    CObject* obj = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(obj);
    if (!frame) {
        delete obj;
        return nullptr;
    }
    CWinApp* app = FwGetApp();
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                          app ? app->m_pMainWnd : nullptr, &ctx)) {
        // A frame whose window never came is not deleted by its window.
        if (!frame->m_hWnd)
            delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, bool makeVisible) {
    frame->InitialUpdateFrame(doc, makeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* doc) {
    std::string name = GetDocString(fw::DocField::DocName);
    if (name.empty())
        name = fw::LoadStr(FW_IDS_UNTITLED);
    doc->SetTitle(name + std::to_string(++m_nUntitledCount));
}

CDocument* CDocTemplate::OpenDocumentFile(const char* path, bool makeVisible) {
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    CFrameWnd* frame = CreateNewFrame(doc);
    if (!frame) {
        delete doc;
        return nullptr;
    }
    if (!path) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
    } else {
        if (!doc->OnOpenDocument(path)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

bool CDocTemplate::SaveAllModified() {
    std::vector<CDocument*> docs = m_docs;
    for (CDocument* d : docs) {
        if (!d->SaveModified())
            return false;
    }
    return true;
}

void CDocTemplate::CloseAllDocuments() {
    std::vector<CDocument*> docs = m_docs;
    for (CDocument* d : docs)
        d->OnCloseDocument();
}
