#include "neighbours.h"

#include "ideapp.h"

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
    if (TheApp().m_pPrjTreeFrame == this)
        TheApp().m_pPrjTreeFrame = nullptr;
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
