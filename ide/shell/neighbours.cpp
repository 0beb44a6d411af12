#include "neighbours.h"

#include "ideapp.h"
#include "idehelpers.h"
#include "prjframe.h"

FW_IMPLEMENT_DYNCREATE(CPrjDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CUPrjTree, CView)
FW_IMPLEMENT_DYNCREATE(CUPrjTreeFrm, CMDIChildWnd)

CPrjDoc::FileRecord* CPrjDoc::FindFileRecord(uint32_t id) {
    for (auto& f : m_files) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
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
