// The debugger's dialogs.
#pragma once

#include "dbgids.h"
#include "fw.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dbg_breaklist.h"
#include "watch_block.h"


// The breakpoint of a line: its line, pass count and whether it is enabled.
// On OK it is set in the engine unless the line holds no code or the
// breakpoints are used up; then the dialog stays open.
class CDbgBreakPointDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgBreakPointDlg)
public:
    CDbgBreakPointDlg(txdbg::DebugEngine* engine, CWnd* parent = nullptr) : CDialog(IDD_DBG_BREAKPOINT, parent), m_pEngine(engine) {}
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

// 213: a run-time error stop: the module as caption, "%d行 %s", help.
class CDbgErrorDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgErrorDlg)
public:
    CDbgErrorDlg(CWnd* parent = nullptr) : CDialog(IDD_DBG_ERROR, parent) {}
    uint32_t m_nError = 0;
    uint32_t m_nLine = 0;
    std::string m_strModule;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
};

// 190: every user breakpoint; in jump mode OK goes to the row's line.
class CDbgBreakListDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgBreakListDlg)
public:
    CDbgBreakListDlg(txdbg::DebugEngine* engine, bool jumpMode, CWnd* parent = nullptr)
        : CDialog(IDD_DBG_BREAKPOINT_LIST, parent), m_pEngine(engine), m_bJumpMode(jumpMode) {}
    // The selected row at OK (jump mode).
    std::string m_strModule;
    uint32_t m_nLine = 0;
    bool m_bSelected = false;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;

private:
    int Selected() const;
    void UpdateButtons();
    void SetRow(int i);
    txdbg::DebugEngine* m_pEngine;
    bool m_bJumpMode;
    std::vector<txdbg::BreakListRow> m_rows;
    std::vector<uint64_t> m_deleted;
};

// 192: a new watch's expression and its hexadecimal flag.
class CDbgAddExprDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgAddExprDlg)
public:
    CDbgAddExprDlg(CWnd* parent = nullptr) : CDialog(IDD_DBG_ADD_EXPR, parent) {}
    std::string m_strExpr;
    int m_bHex = 0;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};

// 193: the watches to delete, by number.
class CDbgDelExprDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgDelExprDlg)
public:
    CDbgDelExprDlg(std::vector<std::pair<uint32_t, std::string>> watches, CWnd* parent = nullptr)
        : CDialog(IDD_DBG_DELETE_EXPR, parent), m_watches(std::move(watches)) {}
    std::vector<uint32_t> m_deleted;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void UpdateButtons();
    std::vector<std::pair<uint32_t, std::string>> m_watches;
};

// 194: an expression ("式変更" in change mode); OK only with some text.
class CDbgExprRefDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgExprRefDlg)
public:
    CDbgExprRefDlg(bool changeMode, CWnd* parent = nullptr) : CDialog(IDD_DBG_EXPR, parent), m_bChange(changeMode) {}
    std::string m_strExpr;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    bool m_bChange;
};

// 195: one expression's value; add makes it a watch, change asks another.
class CDbgQuickWatchDlg : public CDialog {
    FW_DECLARE_DYNAMIC(CDbgQuickWatchDlg)
public:
    CDbgQuickWatchDlg(txdbg::DebugEngine* engine, std::unique_ptr<txwatch::WatchVar> var, std::string value,
                      std::function<void(const std::string&)> addWatch, CWnd* parent = nullptr)
        : CDialog(IDD_DBG_QUICK_WATCH, parent), m_pEngine(engine), m_var(std::move(var)), m_strValue(std::move(value)),
          m_addWatch(std::move(addWatch)) {}
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    const txwatch::WatchVar* Var() const { return m_var.get(); }

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void Show();
    txdbg::DebugEngine* m_pEngine;
    std::unique_ptr<txwatch::WatchVar> m_var;
    std::string m_strValue;
    std::function<void(const std::string&)> m_addWatch;
};
