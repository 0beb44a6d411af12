// The arrangement dialog (187, command 2019): the active form's grid
// spacing and snapping, checked against its map mode's range.
#include "dsg_group.h"
#include "idehelpers.h"
#include "rcdoc.h"
#include "smalldlgs.h"

#include <commctrl.h>

using namespace dsgwin;

namespace {

// The range of a map mode; modes 0 and 1 in device pixels from 20, 1200
// and 120 twips through the form's device context.
dsg::GridRange RangeOf(const dsg::ControlRecord& f) {
    uint32_t mode = f.area[dsg::fa::mapMode];
    if (mode >= 2)
        return dsg::ArrangeRange(mode);
    auto px = [&](int twips) { return Host().LogicalToDevice(f.hwnd, 6, {twips, -twips}).x; };
    return {px(20), px(1200), px(120)};
}

int32_t ToDevice(const dsg::ControlRecord& f, int32_t v) {
    uint32_t mode = f.area[dsg::fa::mapMode];
    return mode <= 1 ? v : Host().LogicalToDevice(f.hwnd, int(mode), {v, -v}).x;
}

class CArrangeDlg : public CDialog {
public:
    explicit CArrangeDlg(dsg::ControlRecord& form) : CDialog(IDD_ARRANGE), m_form(form) {}
    bool m_bSnap = false;
    int m_nWidth = 0, m_nHeight = 0;

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        m_range = RangeOf(m_form);
        // The standard values: the form's own map mode's default.
        m_standard = dsg::ArrangeStandard(m_form.area[dsg::fa::mapMode], m_range).standard;
        for (int id : {30018, 30019})
            SendDlgItemMessageA(m_hWnd, id, EM_LIMITTEXT, 5, 0);
        for (int id : {1003, 1018})
            SendDlgItemMessageA(m_hWnd, id, UDM_SETRANGE32, WPARAM(m_range.minimum), LPARAM(m_range.maximum));
        CheckDlgButton(m_hWnd, 30008, m_bSnap ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemInt(m_hWnd, 30018, UINT(m_nWidth), FALSE);
        SetDlgItemInt(m_hWnd, 30019, UINT(m_nHeight), FALSE);
        CenterInWorkArea(m_hWnd);
        return true;
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id == 30004) {
            CheckDlgButton(m_hWnd, 30008, BST_CHECKED);
            SetDlgItemInt(m_hWnd, 30018, UINT(m_standard), FALSE);
            SetDlgItemInt(m_hWnd, 30019, UINT(m_standard), FALSE);
            return true;
        }
        return CDialog::OnCommand(id, code, control);
    }
    void OnOK() override {
        bool snap = IsDlgButtonChecked(m_hWnd, 30008) == BST_CHECKED;
        int values[2];
        const int ids[2] = {30018, 30019};
        for (int i = 0; i < 2; ++i) {
            BOOL ok = FALSE;
            values[i] = int(GetDlgItemInt(m_hWnd, ids[i], &ok, FALSE));
            bool inRange = values[i] >= m_range.minimum && values[i] <= m_range.maximum;
            if ((snap && !inRange) || !ok || values[i] > 2117) {
                std::string text = dsg::ArrangeRangeMessage(m_range);
                MessageBoxA(m_hWnd, text.c_str(), "Tambrix", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
                HWND edit = GetDlgItem(m_hWnd, ids[i]);
                SendMessageA(edit, EM_SETSEL, 0, -1);
                SetFocus(edit);
                return;
            }
        }
        m_bSnap = snap;
        m_nWidth = values[0];
        m_nHeight = values[1];
        CDialog::OnOK();
    }

private:
    dsg::ControlRecord& m_form;
    dsg::GridRange m_range{};
    int32_t m_standard = 0;
};

}  // namespace

bool DsgArrange() {
    HWND form = g_hActiveForm ? g_hActiveForm : Sel().form;
    dsg::Form* f = FormOf(form);
    if (!f || f->table.empty())
        return false;
    dsg::ControlRecord& rec = f->table[0];
    uint32_t mode = rec.area[dsg::fa::mapMode];
    dsg::GridRange range = RangeOf(rec);
    int oldX, oldY;
    if (rec.spacingSet && rec.spacingUnit == mode)
        oldX = rec.spacingX, oldY = rec.spacingY;
    else if (mode <= 1 || !rec.spacingSet)
        oldX = mode <= 1 ? int(rec.area[dsg::fa::gridX]) : range.standard,
        oldY = mode <= 1 ? int(rec.area[dsg::fa::gridY]) : range.standard;
    else
        oldX = oldY = range.standard;
    CArrangeDlg dlg(rec);
    dlg.m_bSnap = rec.area[dsg::fa::gridSnap] != 0;
    dlg.m_nWidth = oldX;
    dlg.m_nHeight = oldY;
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    EnableFrames(true);
    if (r != IDOK)
        return false;
    // Applying: the range again, then the spacing into device pixels.
    for (int v : {dlg.m_nWidth, dlg.m_nHeight}) {
        if (v < range.minimum || v > range.maximum) {
            MessageBoxA(nullptr, dsg::ArrangeRangeMessage(range).c_str(), "Tambrix", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
            return false;
        }
    }
    if (dlg.m_nWidth == oldX && dlg.m_nHeight == oldY) {
        rec.area[dsg::fa::gridSnap] = dlg.m_bSnap ? 1 : 0;
    } else {
        rec.spacingX = dlg.m_nWidth;
        rec.spacingY = dlg.m_nHeight;
        rec.spacingUnit = mode;
        rec.spacingSet = 1;
        rec.area[dsg::fa::gridX] = uint32_t(ToDevice(rec, dlg.m_nWidth));
        rec.area[dsg::fa::gridY] = uint32_t(ToDevice(rec, dlg.m_nHeight));
        rec.area[dsg::fa::gridSnap] =
            (rec.area[dsg::fa::gridX] == 0 || rec.area[dsg::fa::gridY] == 0) ? 0 : (dlg.m_bSnap ? 1 : 0);
    }
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}
