#include "fwsdi.h"

#include "fwapp.h"

FW_IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* path, bool makeVisible) {
    if (m_docs.empty()) {
        CDocument* doc = CreateNewDocument();
        if (!doc)
            return nullptr;
        CFrameWnd* frame = CreateNewFrame(doc);
        if (!frame) {
            RemoveDocument(doc);
            delete doc;
            return nullptr;
        }
        CWinApp* app = FwGetApp();
        if (app && !app->m_pMainWnd)
            app->m_pMainWnd = frame;
        bool ok = path ? doc->OnOpenDocument(path) : (SetDefaultTitle(doc), doc->OnNewDocument());
        if (!ok) {
            frame->DestroyWindow();
            return nullptr;
        }
        if (path)
            doc->SetPathName(path);
        InitialUpdateFrame(frame, doc, makeVisible);
        return doc;
    }
    CDocument* doc = m_docs.front();
    if (!doc->SaveModified())
        return nullptr;
    if (!path)
        return doc->OnNewDocument() ? doc : nullptr;
    if (!doc->OnOpenDocument(path))
        return nullptr;
    doc->SetPathName(path);
    doc->UpdateAllViews(nullptr);
    return doc;
}
