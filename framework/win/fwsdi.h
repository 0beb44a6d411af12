// The single-document template: one document in the program's main frame.
// The first open makes the document, the frame and its view, and the frame
// becomes the application's main window; later opens reuse the document.
#pragma once

#include "fwdoctmpl.h"

class CSingleDocTemplate : public CDocTemplate {
    FW_DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
    CDocument* OpenDocumentFile(const char* path, bool makeVisible = true) override;
};
