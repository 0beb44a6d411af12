#include "dbgdlgs.h"

#include "dbg_engine.h"
#include "dbg_texts.h"
#include "idehelpers.h"
#include "shellids.h"
#include "smalldlgs.h"

#include "ideservices.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

FW_IMPLEMENT_DYNAMIC(CDbgBreakPointDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CDbgErrorDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CDbgBreakListDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CDbgAddExprDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CDbgDelExprDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CDbgExprRefDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CDbgQuickWatchDlg, CDialog)

namespace {
constexpr int kModuleId = 30000, kLineId = 30018, kCountId = 30019, kEnabledId = 30008;
constexpr int kTextId = 30000, kExprTextId = 30001, kListId = 1021, kExprListId = 30002, kExprId = 30018;
constexpr int kHexId = 30008, kButton1 = 30004, kButton2 = 30005, kButton3 = 30006;
constexpr int kMaxExpression = 255;

std::string ItemText(HWND dlg, int id) {
    HWND h = GetDlgItem(dlg, id);
    int n = h ? GetWindowTextLengthA(h) : 0;
    std::string s(static_cast<size_t>(n) + 1, '\0');
    if (h)
        GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

void Enable(HWND dlg, int id, bool on) { EnableWindow(GetDlgItem(dlg, id), on); }

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

// ---- 213: run-time error ---------------------------------------------------

bool CDbgErrorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowTextA(m_hWnd, m_strModule.c_str());
    std::string err;
    GetRuntimeErrorText(m_nError, err, false, false, false);
    char text[600];
    std::snprintf(text, sizeof text, txdbg::text::kRuntimeErrorLine, int(m_nLine), err.c_str());
    SetDlgItemTextA(m_hWnd, kTextId, text);
    CenterOnDesktop(m_hWnd);
    EnableFrames(false);
    return true;
}

bool CDbgErrorDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kButton1) {
        // The reference help beside the application's help file, for this call only.
        Ide().Help(txdbg::RuntimeErrorHelpContext(m_nError), HELP_CONTEXT,
                   txdbg::RuntimeErrorHelpFile(Ide().HelpFile()));
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CDbgErrorDlg::OnOK() {
    EnableFrames(true);
    CDialog::OnOK();
}

void CDbgErrorDlg::OnCancel() {
    EnableFrames(true);
    CDialog::OnCancel();
}

// ---- 190: breakpoint list --------------------------------------------------

bool CDbgBreakListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = GetDlgItem(m_hWnd, kListId);
    RECT rc{};
    GetClientRect(list, &rc);
    txdbg::BreakListWidths w = txdbg::BreakListColumnWidths(rc.right - rc.left);
    const char* heads[3] = {txdbg::text::kColumnModule, txdbg::text::kColumnNumber, txdbg::text::kColumnCount};
    int widths[3] = {w.module, w.number, w.count};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = LVCFMT_LEFT;
        col.cx = widths[c];
        col.pszText = const_cast<char*>(heads[c]);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
    }
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (m_pEngine)
        m_rows = txdbg::BreakListRows(*m_pEngine);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(m_rows[i].module.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetRow(static_cast<int>(i));
    }
    if (m_bJumpMode)
        SetDlgItemTextA(m_hWnd, IDOK, txdbg::text::kJumpButton);
    CenterOnDesktop(m_hWnd);
    if (!m_bJumpMode)
        EnableFrames(false);
    UpdateButtons();
    return true;
}

void CDbgBreakListDlg::SetRow(int i) {
    HWND list = GetDlgItem(m_hWnd, kListId);
    const txdbg::BreakListRow& r = m_rows[static_cast<size_t>(i)];
    const std::string* texts[3] = {&r.module, &r.number, &r.count};
    for (int c = 0; c < 3; ++c) {
        LVITEMA item{};
        item.iSubItem = c;
        item.pszText = const_cast<char*>(texts[c]->c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

int CDbgBreakListDlg::Selected() const {
    return static_cast<int>(SendMessageA(GetDlgItem(m_hWnd, kListId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         LVNI_SELECTED));
}

void CDbgBreakListDlg::UpdateButtons() {
    bool sel = Selected() >= 0;
    Enable(m_hWnd, kButton1, !m_bJumpMode && sel);
    Enable(m_hWnd, kButton2, !m_bJumpMode && sel);
    Enable(m_hWnd, kButton3, !m_bJumpMode && !m_rows.empty());
    if (m_bJumpMode)
        Enable(m_hWnd, IDOK, sel);
}

bool CDbgBreakListDlg::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (id == kListId && nm->code == LVN_ITEMCHANGED) {
        UpdateButtons();
        return true;
    }
    if (id == kListId && nm->code == NM_SETFOCUS && Selected() < 0 && !m_rows.empty()) {
        // The first row becomes selected as a Down key would select it.
        PostMessageA(nm->hwndFrom, WM_KEYDOWN, VK_DOWN, 0);
        return true;
    }
    return CDialog::OnNotify(id, nm, result);
}

bool CDbgBreakListDlg::OnCommand(UINT id, UINT code, HWND control) {
    HWND list = GetDlgItem(m_hWnd, kListId);
    int sel = Selected();
    if (id == kButton1 && sel >= 0) {
        txdbg::BreakListRow& r = m_rows[static_cast<size_t>(sel)];
        CDbgBreakPointDlg dlg(nullptr, this);
        dlg.m_bNormalMode = 0;
        dlg.m_bCheckLine = 0;
        dlg.m_strModule = r.module;
        dlg.m_nLine = static_cast<uint32_t>(std::strtoul(r.number.c_str(), nullptr, 10));
        dlg.m_nCount = static_cast<uint32_t>(std::strtoul(r.count.c_str(), nullptr, 10));
        dlg.m_bEnabled = r.number.find('D') == std::string::npos;
        if (dlg.DoModal() == IDOK) {
            size_t dash = r.count.find('-');
            uint32_t remaining = dash == std::string::npos ? dlg.m_nCount
                                                           : uint32_t(std::strtoul(r.count.c_str() + dash + 1, nullptr, 10));
            r.number = txdbg::BreakRowNumber(dlg.m_nLine, !dlg.m_bEnabled);
            r.count = txdbg::BreakRowCount(dlg.m_nCount, remaining);
            SetRow(sel);
        }
        return true;
    }
    if (id == kButton2 && sel >= 0) {
        m_deleted.push_back(m_rows[static_cast<size_t>(sel)].address);
        m_rows.erase(m_rows.begin() + sel);
        SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(sel), 0);
        UpdateButtons();
        return true;
    }
    if (id == kButton3) {
        for (const auto& r : m_rows)
            m_deleted.push_back(r.address);
        m_rows.clear();
        SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
        UpdateButtons();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CDbgBreakListDlg::OnOK() {
    if (m_bJumpMode) {
        int sel = Selected();
        if (sel < 0)
            return;
        const txdbg::BreakListRow& r = m_rows[static_cast<size_t>(sel)];
        m_strModule = r.module;
        m_nLine = static_cast<uint32_t>(std::strtoul(r.number.c_str(), nullptr, 10));
        m_bSelected = true;
    } else {
        if (m_pEngine)
            txdbg::ApplyBreakList(*m_pEngine, m_deleted, m_rows);
        EnableFrames(true);
    }
    CDialog::OnOK();
}

void CDbgBreakListDlg::OnCancel() {
    if (!m_bJumpMode)
        EnableFrames(true);
    CDialog::OnCancel();
}

// ---- 192: add expression ---------------------------------------------------

bool CDbgAddExprDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessageA(m_hWnd, kExprId, EM_LIMITTEXT, kMaxExpression, 0);
    SetDlgItemTextA(m_hWnd, kExprId, m_strExpr.c_str());
    CheckDlgButton(m_hWnd, kHexId, BST_UNCHECKED);
    // Unlike the other dialogs this one stays where it opens and leaves the
    // frames alone until it closes.
    return true;
}

void CDbgAddExprDlg::OnOK() {
    m_strExpr = ItemText(m_hWnd, kExprId);
    m_bHex = IsDlgButtonChecked(m_hWnd, kHexId) == BST_CHECKED;
    EnableFrames(true);
    CDialog::OnOK();
}

void CDbgAddExprDlg::OnCancel() {
    EnableFrames(true);
    CDialog::OnCancel();
}

// ---- 193: delete expressions -----------------------------------------------

bool CDbgDelExprDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = GetDlgItem(m_hWnd, kExprListId);
    for (const auto& [number, text] : m_watches) {
        int at = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(number));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    UpdateButtons();
    CenterOnDesktop(m_hWnd);
    EnableFrames(false);
    return true;
}

void CDbgDelExprDlg::UpdateButtons() {
    bool any = SendDlgItemMessageA(m_hWnd, kExprListId, LB_GETCOUNT, 0, 0) > 0;
    Enable(m_hWnd, kButton1, any);
    Enable(m_hWnd, kButton2, any);
}

bool CDbgDelExprDlg::OnCommand(UINT id, UINT code, HWND control) {
    HWND list = GetDlgItem(m_hWnd, kExprListId);
    if (id == kButton1) {
        int sel = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        if (sel >= 0) {
            m_deleted.push_back(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0)));
            SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
            int left = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(sel < left ? sel : left - 1), 0);
        }
        UpdateButtons();
        return true;
    }
    if (id == kButton2) {
        int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            m_deleted.push_back(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        UpdateButtons();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CDbgDelExprDlg::OnOK() {
    EnableFrames(true);
    CDialog::OnOK();
}

void CDbgDelExprDlg::OnCancel() {
    m_deleted.clear();
    EnableFrames(true);
    CDialog::OnCancel();
}

// ---- 194: expression -------------------------------------------------------

bool CDbgExprRefDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_bChange)
        SetWindowTextA(m_hWnd, txdbg::text::kExprChangeCaption);
    SendDlgItemMessageA(m_hWnd, kExprId, EM_LIMITTEXT, kMaxExpression, 0);
    SetDlgItemTextA(m_hWnd, kExprId, m_strExpr.c_str());
    Enable(m_hWnd, IDOK, !ItemText(m_hWnd, kExprId).empty());
    CenterOnDesktop(m_hWnd);
    if (!m_bChange)
        EnableFrames(false);
    return true;
}

bool CDbgExprRefDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == static_cast<UINT>(kExprId) && code == EN_CHANGE) {
        Enable(m_hWnd, IDOK, !ItemText(m_hWnd, kExprId).empty());
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CDbgExprRefDlg::OnOK() {
    m_strExpr = ItemText(m_hWnd, kExprId);
    if (m_strExpr.empty())
        return;
    if (!m_bChange)
        EnableFrames(true);
    CDialog::OnOK();
}

void CDbgExprRefDlg::OnCancel() {
    if (!m_bChange)
        EnableFrames(true);
    CDialog::OnCancel();
}

// ---- 195: quick watch ------------------------------------------------------

bool CDbgQuickWatchDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Show();
    CenterOnDesktop(m_hWnd);
    EnableFrames(false);
    return true;
}

void CDbgQuickWatchDlg::Show() {
    SetDlgItemTextA(m_hWnd, kExprTextId, m_var ? m_var->text.c_str() : "");
    SetDlgItemTextA(m_hWnd, kExprId, m_strValue.c_str());
}

bool CDbgQuickWatchDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kButton1) {
        if (m_var && m_addWatch)
            m_addWatch(m_var->text);
        m_var.reset();
        EnableFrames(true);
        EndDialog(IDOK);
        return true;
    }
    if (id == kButton2) {
        CDbgExprRefDlg ask(true, this);
        ask.m_strExpr = m_var ? m_var->text : std::string();
        if (ask.DoModal() == IDOK && m_pEngine) {
            std::string value;
            if (auto fresh = m_pEngine->EvaluateText(ask.m_strExpr, value)) {
                m_var = std::move(fresh);
                m_strValue = value;
                Show();
            }
        }
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CDbgQuickWatchDlg::OnOK() {
    m_var.reset();
    EnableFrames(true);
    CDialog::OnOK();
}

void CDbgQuickWatchDlg::OnCancel() {
    m_var.reset();
    EnableFrames(true);
    CDialog::OnCancel();
}
