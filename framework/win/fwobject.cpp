#include "fwobject.h"

#include "fwstatusbar.h"

#include <commctrl.h>

const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};
FW_IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == base)
            return true;
    }
    return false;
}

const FwCmdMap* CCmdTarget::GetThisCmdMap() {
    static const FwCmdEntry entries[] = {{0, 0, FwCmdKind::Command, nullptr}};
    static const FwCmdMap map = {nullptr, entries};
    return &map;
}

bool CCmdTarget::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    FwCmdKind want = kind == FwCmdKind::Probe ? FwCmdKind::Command : kind;
    for (const FwCmdMap* m = GetCmdMap(); m; m = m->base ? m->base() : nullptr) {
        for (const FwCmdEntry* e = m->entries; e->call; ++e) {
            if (e->kind != want || id < e->first || id > e->last)
                continue;
            if (kind == FwCmdKind::Probe)
                return true;
            if (ui)
                ui->m_bEnableChanged = false;
            e->call(this, id, ui);
            return true;
        }
    }
    return false;
}

void CCmdUI::Enable(bool on) {
    m_bEnableChanged = true;
    if (m_hMenu)
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    else if (m_pStatusBar)
        m_pStatusBar->SetPaneEnabled(static_cast<int>(m_nIndex), on);
    else if (m_hToolBar)
        SendMessageA(m_hToolBar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? TRUE : FALSE, 0));
}

void CCmdUI::SetCheck(int check) {
    if (m_hMenu)
        CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    else if (m_hToolBar)
        SendMessageA(m_hToolBar, TB_CHECKBUTTON, m_nID, MAKELPARAM(check ? TRUE : FALSE, 0));
}

void CCmdUI::SetText(const char* text) {
    if (m_hMenu) {
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_STRING;
        mi.dwTypeData = const_cast<char*>(text);
        SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &mi);
    } else if (m_pStatusBar) {
        m_pStatusBar->SetPaneText(static_cast<int>(m_nIndex), text);
    }
}
