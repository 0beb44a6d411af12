// Document templates: which document, frame and view classes a kind of
// file opens with, described by a string of seven "\n" fields (window
// title, document name, file-new name, filter name, filter extension,
// registered file type id and name).
#pragma once

#include "fwdoc.h"
#include "fwframe.h"
#include "doctmpl_rules.h"

#include <string>
#include <vector>

class CDocTemplate : public CCmdTarget {
    FW_DECLARE_DYNAMIC(CDocTemplate)
public:
    CDocTemplate(UINT resId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return m_nIDResource; }
    std::string GetDocString(fw::DocField field) const;
    void SetTemplateString(const std::string& s) { m_strDocStrings = s; }

    // Yes also when the document is open already (it is then returned).
    fw::DocMatch MatchDocType(const std::string& path, CDocument*& open) const;

    // Opens path (or a new document for nullptr) in a new frame; nullptr on
    // failure, which the framework has reported.
    virtual CDocument* OpenDocumentFile(const char* path, bool makeVisible = true);
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc);
    void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, bool makeVisible = true);
    void SetDefaultTitle(CDocument* doc);

    const std::vector<CDocument*>& GetDocuments() const { return m_docs; }
    void AddDocument(CDocument* doc);
    void RemoveDocument(CDocument* doc);
    bool SaveAllModified();
    void CloseAllDocuments();

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    std::string m_strDocStrings;
    std::vector<CDocument*> m_docs;
    int m_nUntitledCount = 0;
};

// The framework's multi-document template: any number of documents, each
// in MDI children of the application's main window.
class CMultiDocTemplate : public CDocTemplate {
    FW_DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
};
