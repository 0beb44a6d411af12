#include "jumpdlgs.h"

#include "editor.h"
#include "idehelpers.h"
#include "ideapp.h"
#include "mbcs.h"
#include "neighbours.h"
#include "prjframe.h"
#include "dbgsession.h"
#include "smalldlgs.h"
#include "project_env.h"

#include <cstdio>
#include <cstdlib>

FW_IMPLEMENT_DYNAMIC(CLineJumpDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CMarkDlg, CDialog)

namespace {

constexpr int kFirstId = 30014, kLastId = 30015, kGivenId = 30016;
constexpr int kEditId = 30018, kSpinId = 1003;
constexpr int kJumpId = 30004, kMarkId = 30005, kBreakId = 30006;
constexpr int kFileId = 30040, kListId = 1008;
constexpr int kAddId = 30004, kMarkJumpId = 30005, kRemoveId = 30007, kRemoveAllId = 30028;

void Enable(HWND dlg, int id, bool on) { EnableWindow(GetDlgItem(dlg, id), on); }

// The debugger's list is worth opening with more than one breakpoint.
bool HasBreakpointsToList(CPrjDoc* prj) {
    return prj && DebugOf(prj).RunBreakpointCount() > 1;
}

std::string ItemText(HWND dlg, int id) {
    char buf[512] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}

// The line count and caret line (1-based) of an editor frame.
int LinesOf(CChildFrame* f, int& caret) {
    caret = 1;
    CBasEditView* v = f ? f->GetEditView() : nullptr;
    if (!v)
        return -1;
    int s, e;
    v->GetSel(s, e);
    caret = v->LineFromChar(s) + 1;
    return v->GetLineCount();
}

void SetSpin(HWND dlg, const tambrix::LineRange& r) {
    SendDlgItemMessageA(dlg, kSpinId, UDM_SETRANGE32, static_cast<WPARAM>(r.low), r.high);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(r.start));
    SetDlgItemTextA(dlg, kEditId, buf);
}

// Jumps in frame f to line (below 1: the last line) and gives it the focus.
void JumpTo(CChildFrame* f, int line) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (pf && pf->m_hWndMDIClient)
        SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    if (CBasEditView* v = f->GetEditView()) {
        v->GoToLine(line);
        SetFocus(v->m_hWnd);
    }
}

CChildFrame* OpenForJump(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return FindEditorFrameByName(path, true);
    ++g_nNoRecentEntry;
    TheApp().OpenDocumentFile(path.c_str());
    --g_nNoRecentEntry;
    return FindEditorFrameByName(path, true);
}

}  // namespace

CChildFrame* FindEditorFrameByName(const std::string& name, bool byPath) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (!pf)
        return nullptr;
    for (CMDIChildWnd* c = pf->FindEditorChildFrame(); c; c = pf->FindEditorChildFrame(c)) {
        auto* f = dynamic_cast<CChildFrame*>(c);
        CDocument* d = f ? f->GetActiveDocument() : nullptr;
        if (!d && f && f->GetEditView())
            d = f->GetEditView()->GetDocument();
        if (d && fw::EqualNoCase(byPath ? d->GetPathName() : d->GetTitle(), name))
            return f;
    }
    return nullptr;
}

// ---- CLineJumpDlg --------------------------------------------------------

bool CLineJumpDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterOnDesktop(m_hWnd);
    EnableFrames(false);
    HWND h = m_hWnd;
    if (!m_strTarget.empty()) {
        int caret = 1;
        int count = LinesOf(FindEditorFrameByName(m_strTarget, false), caret);
        m_range = tambrix::JumpLineRange(count, caret);
        SetSpin(h, m_range);
        CheckRadioButton(h, kFirstId, kGivenId, kGivenId);
        HWND edit = GetDlgItem(h, kEditId);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        char title[256] = {};
        ::GetWindowTextA(h, title, sizeof title);
        ::SetWindowTextA(h, (std::string(title) + " - " + m_strTarget).c_str());
    } else {
        for (int id : {kJumpId, kFirstId, kLastId, kGivenId, kEditId, kSpinId})
            Enable(h, id, false);
    }
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    Enable(h, kMarkId, pf && !pf->m_marks.Empty());
    Enable(h, kBreakId, HasBreakpointsToList(CurrentProjectDoc()));
    return m_strTarget.empty();  // the focus was set
}

bool CLineJumpDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case kJumpId:
        OnJump();
        return true;
    case kMarkId:
        OnMark();
        return true;
    case kBreakId:
        OnBreakpoints();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CLineJumpDlg::OnJump() {
    if (m_strTarget.empty())
        return;
    CChildFrame* f = FindEditorFrameByName(m_strTarget, false);
    if (!f)
        f = OpenForJump(m_strTarget);
    if (!f)
        return;
    int line = 1;
    if (IsDlgButtonChecked(m_hWnd, kLastId))
        line = -1;
    else if (IsDlgButtonChecked(m_hWnd, kGivenId))
        line = tambrix::ClampJumpLine(m_range, std::strtoll(ItemText(m_hWnd, kEditId).c_str(), nullptr, 10));
    JumpTo(f, line);
    EnableFrames(true);
    EndDialog(IDOK);
}

void CLineJumpDlg::OnMark() {
    CMarkDlg dlg(this);
    if (dlg.DoModal() == IDOK) {
        EnableFrames(true);
        EndDialog(IDOK);
        return;
    }
    EnableFrames(false);
    SetActiveWindow(m_hWnd);
}

void CLineJumpDlg::OnBreakpoints() {
    Enable(m_hWnd, kBreakId, false);
    CPrjDoc* prj = CurrentProjectDoc();
    bool jumped = prj && DebugOf(prj).DebugBreakpointList(1) != 0;
    Enable(m_hWnd, kBreakId, true);
    if (!jumped) {
        EnableFrames(false);
        SetActiveWindow(m_hWnd);
        return;
    }
    if (CPrjFrame* pf = TheApp().m_pPrjFrame)
        SetActiveWindow(pf->m_hWnd);
    EnableFrames(true);
    EndDialog(IDOK);
}

void CLineJumpDlg::OnOK() { OnJump(); }

void CLineJumpDlg::OnCancel() {
    EnableFrames(true);
    CDialog::OnCancel();
}

// ---- CMarkDlg ------------------------------------------------------------

bool CMarkDlg::OnInitDialog() {
    m_lstMarks.SubclassDlgItem(kListId, this);
    m_cmbFiles.SubclassDlgItem(kFileId, this);
    CDialog::OnInitDialog();
    CenterOnDesktop(m_hWnd);
    EnableFrames(false);
    HWND h = m_hWnd;
    CPrjFrame* pf = TheApp().m_pPrjFrame;

    // The open sources, the topmost selected.
    size_t longest = 0;
    if (pf) {
        for (CMDIChildWnd* c = pf->FindEditorChildFrame(); c; c = pf->FindEditorChildFrame(c)) {
            auto* f = dynamic_cast<CChildFrame*>(c);
            CBasEditView* v = f ? f->GetEditView() : nullptr;
            if (!v || !v->GetDocument())
                continue;
            std::string path = v->GetDocument()->GetPathName();
            m_cmbFiles.AddString(path.c_str());
            longest = std::max(longest, path.size());
        }
    }
    if (m_cmbFiles.GetCount() > 0) {
        m_cmbFiles.SetCurSel(0);
        m_cmbFiles.SetDroppedWidth(static_cast<int>(longest) * 8);
        OnFileChange();
    } else {
        for (int id : {kAddId, kFileId, kEditId, kSpinId})
            Enable(h, id, false);
    }

    RECT rc;
    GetClientRect(m_lstMarks.m_hWnd, &rc);
    int w = rc.right - rc.left;
    m_lstMarks.InsertColumn(0, "\xCC\xA7\xB2\xD9\x96\xBC", LVCFMT_LEFT, w * 2 / 3 - 1);  // ﾌｧｲﾙ名
    m_lstMarks.InsertColumn(1, "\x92\xCA\x94\xD4\x8D\x86", LVCFMT_LEFT, w / 3 - 1);     // 通番号
    if (pf) {
        for (const auto& m : pf->m_marks.Items()) {
            m_lstMarks.InsertItem(0, m.file.c_str());
            m_lstMarks.SetItemText(0, 1, std::to_string(static_cast<long>(m.line)).c_str());
        }
    }
    m_bListReady = true;
    EnableRowButtons(false);
    Enable(h, kRemoveAllId, m_lstMarks.GetItemCount() > 0);
    return true;
}

void CMarkDlg::EnableRowButtons(bool on) {
    Enable(m_hWnd, kMarkJumpId, on);
    Enable(m_hWnd, kRemoveId, on);
}

void CMarkDlg::OnFileChange() {
    int sel = m_cmbFiles.GetCurSel();
    if (sel < 0)
        return;
    int caret = 1;
    int count = LinesOf(FindEditorFrameByName(m_cmbFiles.GetLBText(sel), true), caret);
    tambrix::LineRange r = tambrix::JumpLineRange(count < 0 ? 0 : count, caret);
    SetSpin(m_hWnd, r);
}

bool CMarkDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case kFileId:
        if (code == CBN_SELCHANGE)
            OnFileChange();
        return true;
    case kAddId:
        OnAdd();
        return true;
    case kMarkJumpId:
        OnJump();
        return true;
    case kRemoveId:
        OnRemove();
        return true;
    case kRemoveAllId:
        OnRemoveAll();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

bool CMarkDlg::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (id != kListId || !m_bListReady)
        return CDialog::OnNotify(id, nm, result);
    switch (nm->code) {
    case LVN_ITEMCHANGED: {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
        if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED))
            SelectRow(lv->iItem);
        break;
    }
    case NM_CLICK: {
        DWORD pos = GetMessagePos();
        POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        ScreenToClient(m_lstMarks.m_hWnd, &pt);
        int hit = -1;
        for (int i = 0; i < m_lstMarks.GetItemCount(); ++i) {
            RECT r;
            if (m_lstMarks.GetItemRect(i, &r, LVIR_BOUNDS) && PtInRect(&r, pt))
                hit = i;
        }
        if (hit >= 0) {
            SelectRow(hit);
        } else {
            m_selected.line = 0;
            if (m_lstMarks.GetSelectedItem() < 0)
                EnableRowButtons(false);
        }
        break;
    }
    case NM_DBLCLK:
        OnJump();
        break;
    case NM_SETFOCUS:
        if (m_lstMarks.GetSelectedItem() < 0 && m_lstMarks.GetItemCount() > 0)
            PostMessageA(m_lstMarks.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
        break;
    default:
        break;
    }
    *result = 0;
    return true;
}

void CMarkDlg::SelectRow(int row) {
    if (row < 0 || row >= m_lstMarks.GetItemCount())
        return;
    m_selected.file = m_lstMarks.GetItemText(row, 0);
    m_selected.line = static_cast<uint32_t>(std::strtoul(m_lstMarks.GetItemText(row, 1).c_str(), nullptr, 10));
    EnableRowButtons(true);
}

void CMarkDlg::OnAdd() {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    int sel = m_cmbFiles.GetCurSel();
    if (!pf || sel < 0)
        return;
    std::string file = m_cmbFiles.GetLBText(sel);
    auto line = static_cast<uint32_t>(std::strtoul(ItemText(m_hWnd, kEditId).c_str(), nullptr, 10));
    if (!pf->m_marks.Add(file, line))
        return;
    m_lstMarks.InsertItem(0, file.c_str());
    m_lstMarks.SetItemText(0, 1, std::to_string(static_cast<long>(line)).c_str());
    Enable(m_hWnd, kRemoveAllId, true);
}

void CMarkDlg::OnJump() {
    if (m_selected.line == 0)
        return;
    CChildFrame* f = OpenForJump(m_selected.file);
    if (!f) {
        // The file was deleted or renamed: say so and stay.
        MessageBoxById(prj::kMsgReadFailed, MB_ICONEXCLAMATION, 1, m_selected.file.c_str());
        EnableFrames(false);
        SetActiveWindow(m_hWnd);
        return;
    }
    JumpTo(f, static_cast<int>(m_selected.line));
    EnableFrames(true);
    EndDialog(IDOK);
}

void CMarkDlg::OnRemove() {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (!pf || m_selected.line == 0)
        return;
    for (int i = m_lstMarks.GetItemCount() - 1; i >= 0; --i) {
        if (fw::EqualNoCase(m_lstMarks.GetItemText(i, 0), m_selected.file) &&
            std::strtoul(m_lstMarks.GetItemText(i, 1).c_str(), nullptr, 10) == m_selected.line) {
            ListView_DeleteItem(m_lstMarks.m_hWnd, i);
            break;
        }
    }
    pf->m_marks.Remove(m_selected.file, m_selected.line);
    m_selected = {};
    EnableRowButtons(false);
    Enable(m_hWnd, kRemoveAllId, m_lstMarks.GetItemCount() > 0);
    SetFocus(GetDlgItem(m_hWnd, IDCANCEL));
}

void CMarkDlg::OnRemoveAll() {
    if (CPrjFrame* pf = TheApp().m_pPrjFrame)
        pf->m_marks.Clear();
    m_lstMarks.DeleteAllItems();
    m_selected = {};
    EnableRowButtons(false);
    Enable(m_hWnd, kRemoveAllId, false);
    SetFocus(GetDlgItem(m_hWnd, IDCANCEL));
}

void CMarkDlg::OnCancel() {
    EnableFrames(true);
    CDialog::OnCancel();
}
