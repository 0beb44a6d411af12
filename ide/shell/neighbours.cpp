#include "neighbours.h"

#include "ideapp.h"
#include "prjframe.h"

FW_IMPLEMENT_DYNCREATE(CPrjDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CUPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CUPrjTreeFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CPrjTreeFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CBetDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CBetFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CBetView, CView)

int CPrjTreeFrm::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    TheApp().m_pPrjTreeFrame = this;
    SetWindowPos(m_hWnd, nullptr, 0, 0, 230, 310, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void CPrjTreeFrm::OnDestroy() {
    CIdeApp& app = TheApp();
    if (app.m_pPrjTreeFrame == this)
        app.m_pPrjTreeFrame = nullptr;
    // The project goes with its frame: nothing may hold it any longer.
    if (app.m_pHeldPrjDoc && app.m_pHeldPrjDoc == GetActiveDocument()) {
        app.m_pHeldPrjDoc = nullptr;
        app.m_strProjectPath.clear();
        if (app.m_pPrjFrame && app.m_pPrjFrame->m_hWnd)
            app.m_pPrjFrame->SetReadyText();
    }
    CMDIChildWnd::OnDestroy();
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
