#include "dbgdlgs.h"

#include "dbg_engine.h"
#include "dbg_texts.h"
#include "idehelpers.h"
#include "resource.h"
#include "smalldlgs.h"

#include <cstdlib>

FW_IMPLEMENT_DYNAMIC(CDbgBreakPointDlg, CDialog)

namespace {
constexpr int kModuleId = 30000, kLineId = 30018, kCountId = 30019, kEnabledId = 30008;

// A whole number from a dialog edit; false for anything else.
bool ReadNumber(HWND dlg, int id, uint32_t& out) {
    char buf[32] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    char* end = nullptr;
    unsigned long v = std::strtoul(buf, &end, 10);
    if (end == buf || *end != '\0')
        return false;
    out = static_cast<uint32_t>(v);
    return true;
}
}  // namespace

bool CDbgBreakPointDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemTextA(m_hWnd, kModuleId, m_strModule.c_str());
    SetDlgItemInt(m_hWnd, kLineId, m_nLine, FALSE);
    SetDlgItemInt(m_hWnd, kCountId, m_nCount, FALSE);
    CheckDlgButton(m_hWnd, kEnabledId, m_bEnabled ? BST_CHECKED : BST_UNCHECKED);
    CenterOnDesktop(m_hWnd);
    if (m_bNormalMode)
        EnableFrames(false);
    return true;
}

void CDbgBreakPointDlg::Refuse(int id) {
    MessageBoxA(m_hWnd, txdbg::MessageText(id), fw::LoadStr(IDR_MAINFRAME).c_str(), MB_ICONHAND);
}

void CDbgBreakPointDlg::OnOK() {
    uint32_t line = 0, count = 0;
    // The pass count goes from 1 to 65535.
    if (!ReadNumber(m_hWnd, kLineId, line) || !ReadNumber(m_hWnd, kCountId, count) || count < 1 ||
        count > 65535) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (m_bCheckLine && m_pEngine) {
        if (!m_pEngine->FindLineInfo(m_strModule, line)) {
            Refuse(txdbg::kMsgNoCodeAtLine);
            return;
        }
        const txdbg::DbgLine* l = m_pEngine->FindLineInfo(m_strModule, line);
        if (!l->breakpoint && m_pEngine->BreakpointCount() >= txdbg::kMaxBreakpointCount) {
            Refuse(txdbg::kMsgTooManyBreakpoints);
            return;
        }
    }
    m_nLine = line;
    m_nCount = count;
    m_bEnabled = IsDlgButtonChecked(m_hWnd, kEnabledId) == BST_CHECKED;
    if (m_bCheckLine && m_pEngine)
        m_pEngine->SetLineBreakpoint(m_bEnabled != 0, line, count, count, reinterpret_cast<uintptr_t>(m_hFrame),
                                     m_strModule);
    if (m_bNormalMode)
        EnableFrames(true);
    CDialog::OnOK();
}

void CDbgBreakPointDlg::OnCancel() {
    if (m_bNormalMode)
        EnableFrames(true);
    CDialog::OnCancel();
}
