#include "neighbours.h"

#include "ideapp.h"
#include "idehelpers.h"
#include "prjframe.h"

FW_IMPLEMENT_DYNCREATE(CPrjDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CUPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CUPrjTreeFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CBetDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CBetFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CBetView, CView)

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

bool CPrjDoc::IsModified() {
    if (this == GetProjectDoc())
        return false;
    return CDocument::IsModified() || (m_pData && m_pData->modified);
}

void CPrjDoc::SetModifiedFlag(bool modified) {
    CDocument::SetModifiedFlag(modified);
    if (!modified && m_pData)
        m_pData->modified = false;
}
