#include "neighbours.h"

#include "ideapp.h"

FW_IMPLEMENT_DYNCREATE(CPrjDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CUPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CUPrjTreeFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CRcDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CRcTreeFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CRcTreeView, CView)
FW_IMPLEMENT_DYNCREATE(CBetDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CBetFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CBetView, CView)
FW_IMPLEMENT_DYNCREATE(CDbgWatchDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CDbgWatchFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CDbgWatchView, CView)

CRcDoc* g_pRcDoc = nullptr;

CRcDoc::CRcDoc() { g_pRcDoc = this; }

CRcDoc::~CRcDoc() {
    if (g_pRcDoc == this)
        g_pRcDoc = nullptr;
}

CPrjDoc::FileRecord* CPrjDoc::FindFileRecord(uint32_t id) {
    for (auto& f : m_files) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

void CPrjDoc::RenameTreeItem(const std::string& from, const std::string& to) {
    m_treeRenames.push_back(from + ">" + to);
}
