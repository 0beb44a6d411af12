// The tab-order dialog (228, command 32787): the form's controls in table
// order, exchanged row by row but never across a group's start.
#include "dsg_group.h"
#include "idehelpers.h"
#include "rcdoc.h"
#include "smalldlgs.h"

#include <commctrl.h>

using namespace dsgwin;

namespace {

const char kTitle[] = "\xC0\xCC\xDE\xB5\xB0\xC0\xDE\xB0\x82\xCC\x90\xDD\x92\xE8";  // ﾀﾌﾞｵｰﾀﾞｰの設定
const char kCrossGroup[] =
    "\x83\x4F\x83\x8B\x81\x5B\x83\x76\x82\xCC\x94\xCD\x88\xCD\x82\xF0\x89\x7A\x82\xA6\x82\xC4\x83\x5E\x83\x75\x83\x49"
    "\x81\x5B\x83\x5F\x81\x5B\x82\xF0\x93\xFC\x82\xEA\x91\xD6\x82\xA6\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x42\n"
    "\x88\xEA\x92\x55\x83\x4F\x83\x8B\x81\x5B\x83\x76\x82\xF0\x89\xF0\x8F\x9C\x82\xB5\x82\xC4\x82\xA9\x82\xE7\x95\xCF"
    "\x8D\x58\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42";
const char kOn[] = "\x97\x4C\x8C\xF8", kOff[] = "\x96\xB3\x8C\xF8";  // 有効, 無効

const char* KindLabel(uint32_t kind) {
    switch (kind) {
    case 3: return "\xCC\xDF\xAF\xBC\xAD\xCE\xDE\xC0\xDD";
    case 4: return "\xD7\xBC\xDE\xB5\xCE\xDE\xC0\xDD";
    case 5: return "\xC1\xAA\xAF\xB8\xCE\xDE\xAF\xB8\xBD";
    case 6: return "\xB8\xDE\xD9\xB0\xCC\xDF\xCE\xDE\xAF\xB8\xBD";
    case 7: return "\xB4\xC3\xDE\xA8\xAF\xC4\xBA\xDD\xC4\xDB\xB0\xD9";
    case 9: return "\xD8\xBD\xC4\xCE\xDE\xAF\xB8\xBD";
    case 10: return "\x90\x85\x95\xBD\xBD\xB8\xDB\xB0\xD9\xCA\xDE\xB0";
    case 11: return "\x90\x82\x92\xBC\xBD\xB8\xDB\xB0\xD9\xCA\xDE\xB0";
    case 12: return "\xBA\xDD\xCE\xDE\xCE\xDE\xAF\xB8\xBD";
    case 15: return "\xCB\xDE\xAF\xC4\xCF\xAF\xCC\xDF\xCE\xDE\xC0\xDD";
    default: return "";
    }
}

bool Listed(uint32_t kind) {
    return !(kind == dsg::kForm || kind == dsg::kText || kind == dsg::kPicture || kind == dsg::kOleClient ||
             kind == dsg::kTimer || kind == dsg::kMci);
}

class CTabOrderDlg : public CDialog {
public:
    explicit CTabOrderDlg(dsg::Form& form) : CDialog(IDD_TAB_ORDER), m_form(form) {}
    struct Row {
        dsg::ControlRecord rec;
        size_t from;  // its table position when the dialog opened
    };
    std::vector<Row> m_rows;
    std::vector<size_t> m_places;  // the table positions the rows hold
    bool m_modified = false;

protected:
    HWND List() const { return GetDlgItem(m_hWnd, 1008); }

    void Texts(int i) {
        const auto& r = m_rows[size_t(i)].rec;
        std::string name = dsg::FieldText(r.name, sizeof r.name), text;
        if (r.kind >= dsg::kButton && r.kind <= dsg::kGroup) {
            char buf[256] = {};
            ::GetWindowTextA(Hwnd(r.hwnd), buf, sizeof buf);
            text = buf;
        }
        const char* cols[4] = {name.c_str(), KindLabel(r.kind), text.c_str(), (r.style & dsg::kWsTabStop) ? kOn : kOff};
        for (int c = 0; c < 4; ++c) {
            LVITEMA it{};
            it.iSubItem = c;
            it.pszText = const_cast<char*>(cols[c]);
            SendMessageA(List(), LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&it));
        }
    }
    int Selected() const { return int(SendMessageA(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }
    void Select(int i) {
        LVITEMA it{};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&it));
        UpdateButtons();
    }
    void UpdateButtons() {
        int i = Selected(), n = int(m_rows.size());
        EnableWindow(GetDlgItem(m_hWnd, 30004), i > 0);
        EnableWindow(GetDlgItem(m_hWnd, 30005), i >= 0 && i + 1 < n);
    }

    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        RECT lr;
        GetClientRect(List(), &lr);
        int w = lr.right / 17;
        const char* heads[4] = {"\xBA\xDD\xC4\xDB\xB0\xD9\x49\x44", "\x8E\xED\x95\xCA", "\xC3\xB7\xBD\xC4", "\xC0\xCC\xDE"};
        for (int c = 0; c < 4; ++c) {
            LVCOLUMNA col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.pszText = const_cast<char*>(heads[c]);
            col.cx = c < 3 ? 5 * w - 1 : 2 * w - 1;
            SendMessageA(List(), LVM_INSERTCOLUMNA, WPARAM(c), reinterpret_cast<LPARAM>(&col));
        }
        SendMessageA(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        for (size_t i = 1; i < m_form.table.size(); ++i) {
            if (!Listed(m_form.table[i].kind))
                continue;
            m_rows.push_back({m_form.table[i], i});
            m_places.push_back(i);
            LVITEMA it{};
            it.mask = LVIF_TEXT;
            it.iItem = int(m_rows.size() - 1);
            it.pszText = const_cast<char*>("");
            SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
            Texts(int(m_rows.size() - 1));
        }
        if (!m_rows.empty())
            Select(0);
        CenterInWorkArea(m_hWnd);
        return true;
    }

    void Exchange(bool up) {
        int i = Selected();
        if (i < 0)
            return;
        std::vector<uint32_t> styles;
        for (const auto& r : m_rows)
            styles.push_back(r.rec.style);
        if (!dsg::TabOrderMayMove(styles, size_t(i), up)) {
            if ((up && i > 0) || (!up && i + 1 < int(m_rows.size())))
                MessageBoxA(m_hWnd, kCrossGroup, kTitle, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        int j = up ? i - 1 : i + 1;
        auto& a = m_rows[size_t(i)].rec;
        auto& b = m_rows[size_t(j)].rec;
        // The group marks stay with their rows.
        uint32_t gs = dsg::kWsGroup, ga = dsg::kCaGroup | dsg::kCaEnd;
        uint32_t as = a.style & gs, aa = a.attributes & ga;
        a.style = (a.style & ~gs) | (b.style & gs);
        a.attributes = (a.attributes & ~ga) | (b.attributes & ga);
        b.style = (b.style & ~gs) | as;
        b.attributes = (b.attributes & ~ga) | aa;
        std::swap(m_rows[size_t(i)], m_rows[size_t(j)]);
        Texts(i);
        Texts(j);
        Select(j);
        m_modified = true;
    }

    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id == 30004 || id == 30005) {
            Exchange(id == 30004);
            return true;
        }
        if (id == 30006) {
            int i = Selected();
            if (i >= 0) {
                m_rows[size_t(i)].rec.style ^= dsg::kWsTabStop;
                Texts(i);
                m_modified = true;
            }
            return true;
        }
        return CDialog::OnCommand(id, code, control);
    }
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override {
        if (id == 1008 && nm->code == LVN_ITEMCHANGED)
            UpdateButtons();
        return CDialog::OnNotify(id, nm, result);
    }

private:
    dsg::Form& m_form;
};

}  // namespace

bool DsgTabOrder() {
    HWND form = g_hActiveForm ? g_hActiveForm : Sel().form;
    dsg::Form* f = FormOf(form);
    if (!f)
        return false;
    CTabOrderDlg dlg(*f);
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    EnableFrames(true);
    if (r != IDOK || !dlg.m_modified)
        return false;
    // Each row's record takes the place the row held; the events follow.
    std::vector<dsg::ControlRecord> table = f->table;
    std::vector<dsg::EventBlock> blocks = f->events.blocks;
    bool events = blocks.size() == table.size();
    for (size_t i = 0; i < dlg.m_rows.size(); ++i) {
        table[dlg.m_places[i]] = dlg.m_rows[i].rec;
        if (events)
            blocks[dlg.m_places[i]] = f->events.blocks[dlg.m_rows[i].from];
    }
    f->table = table;
    if (events)
        f->events.blocks = blocks;
    for (size_t i = 1; i < f->table.size(); ++i) {
        if (HWND c = Hwnd(f->table[i].hwnd)) {
            LONG_PTR s = GetWindowLongPtrA(c, GWL_STYLE);
            s = (f->table[i].style & dsg::kWsTabStop) ? (s | WS_TABSTOP) : (s & ~LONG_PTR(WS_TABSTOP));
            SetWindowLongPtrA(c, GWL_STYLE, s);
        }
    }
    ApplyTableOrder(form);
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
    InvalidateRect(form, nullptr, TRUE);
    return true;
}
