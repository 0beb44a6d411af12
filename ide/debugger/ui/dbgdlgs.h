// The debugger's dialogs.
#pragma once

#include "fw.h"

#include <cstdint>
#include <string>

namespace txdbg {
class DebugEngine;
}

// The breakpoint of a line: its line, pass count and whether it is enabled.
// On OK it is set in the engine unless the line holds no code or the
// breakpoints are used up; then the dialog stays open.
class CDbgBreakPointDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgBreakPointDlg)
public:
    CDbgBreakPointDlg(txdbg::DebugEngine* engine, CWnd* parent = nullptr) : CDialog(189, parent), m_pEngine(engine) {}
    std::string m_strModule;
    uint32_t m_nLine = 1;
    uint32_t m_nCount = 1;
    int m_bEnabled = 1;
    int m_bCheckLine = 1;
    int m_bNormalMode = 1;  // 0 when the breakpoint list opened it
    HWND m_hFrame = nullptr;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    txdbg::DebugEngine* m_pEngine;
    void Refuse(int id);
};
