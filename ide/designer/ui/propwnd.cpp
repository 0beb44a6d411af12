// The property window: listing a group of the current form or control,
// the in-place editors, the checks, and carrying out what applying a value
// asks of the live windows. The rules themselves are the core's (dsg_prop).
#include "propwnd.h"

#include "colorctl.h"
#include "dsg_formdata.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "rcdoc.h"
#include "sjis_path.h"
#include "smalldlgs.h"

#include <algorithm>
#include <cstdio>

using namespace dsgwin;

FW_IMPLEMENT_DYNAMIC(CPropertyWnd, CDialog)

CPropertyWnd* g_pPropWnd = nullptr;
bool g_bPropKeepOnTop = false;

namespace {

constexpr uint32_t kEnabledBit = 0x10000;
// Units the editors stand out of the value cell.
constexpr int kEditorMargin = 2, kMultiLineDepth = 40, kListDepth = 100;
constexpr int kTwipsMinimum = 170;

// Window styles the live windows take here.
constexpr uint32_t kStyleDesign = WS_VISIBLE;

void MarkModified() {
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
}

std::string WindowText(HWND w) {
    int n = GetWindowTextLengthA(w);
    std::string s(size_t(n > 0 ? n : 0) + 1, '\0');
    GetWindowTextA(w, &s[0], n + 1);
    s.resize(size_t(n > 0 ? n : 0));
    return s;
}

bool IsListKind(uint32_t kind) { return kind == dsg::kList || kind == dsg::kCombo; }

int DigitsOf(int32_t v) {
    int n = 1;
    for (int64_t x = v < 0 ? -int64_t(v) : v; x >= 10; x /= 10)
        ++n;
    return n;
}

void Restyle(HWND w, const dsg::ControlRecord& r) {
    SetWindowLongPtrA(w, GWL_STYLE, LONG_PTR((r.style | kStyleDesign) & ~uint32_t(WS_DISABLED)));
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// A form's record's rectangle onto its window and back.
void PlaceForm(HWND w, dsg::ControlRecord& r) {
    if (IsIconic(w) || IsZoomed(w))
        ShowWindow(w, SW_RESTORE);
    SetWindowPos(w, nullptr, r.x, r.y, r.cx, r.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT client;
    GetClientRect(w, &client);
    SendMessageA(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    RECT wr;
    GetWindowRect(w, &wr);
    r.x = wr.left, r.y = wr.top, r.cx = wr.right - wr.left, r.cy = wr.bottom - wr.top;
}

void FrmReapplyFrame(HWND w, dsg::ControlRecord& r) {
    if (r.area[dsg::fa::mapMode] != 0) {
        r.style &= ~uint32_t(WS_HSCROLL | WS_VSCROLL);
        SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL));
    } else {
        dsg::FrmCalcWindowRect(Host(), r, GetMenu(w) != nullptr);
        dsg::Rect wr;
        memcpy(&wr, &r.area[dsg::fa::windowRect], sizeof wr);
        r.cx = std::min(r.cx, wr.right - wr.left);
        r.cy = std::min(r.cy, wr.bottom - wr.top);
    }
    PlaceForm(w, r);
}

void FrmFitTextArea(HWND w, dsg::ControlRecord& r) { FrmReapplyFrame(w, r); }

// The 3-D edge of every edit and list box of a form.
void Reapply3DEdges(HWND form, bool on) {
    dsg::Form* f = FormOf(form);
    if (!f)
        return;
    for (size_t i = 1; i < f->table.size(); ++i) {
        dsg::ControlRecord& r = f->table[i];
        if (r.kind != dsg::kEdit && r.kind != dsg::kList)
            continue;
        if (((r.exStyle & WS_EX_CLIENTEDGE) != 0) == on)
            continue;
        dsg::PropSet3DEdge(r, on);
        PropRecreateControl(form, Hwnd(r.hwnd));
    }
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The main frame's bars are off while an edit is open.
void EnableBars(bool enable) {
    Ide().EnableBars(enable);
}

std::string HotKeyName(uint16_t code) {
    CHotKeyDlg dlg;
    dlg.SetHotKeyValue(code);
    std::string s;
    dlg.FormatHotKeyName(s);
    return s;
}

struct SizeScan {
    std::vector<int> heights;
    bool scalable = false;
};

int CALLBACK AddSize(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD type, LPARAM lp) {
    auto* s = reinterpret_cast<SizeScan*>(lp);
    if (!(type & RASTER_FONTTYPE)) {
        s->scalable = true;
        return 0;
    }
    (void)lf;
    s->heights.push_back(int(tm->tmHeight - tm->tmInternalLeading));
    return 1;
}

// A one-line or multi-line edit over a value cell: Return and Escape of a
// multi-line edit, the check when it loses the focus.
LRESULT PropEditMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC own = reinterpret_cast<WNDPROC>(GetPropA(w, "TxPropEdit"));
    bool multi = (GetWindowLongPtrA(w, GWL_STYLE) & ES_MULTILINE) != 0;
    if (multi && msg == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | CallWindowProcA(own, w, msg, wp, lp);
    if (multi && msg == WM_KEYDOWN && wp == VK_RETURN && GetKeyState(VK_CONTROL) >= 0) {
        PostMessageA(GetParent(w), WM_COMMAND, IDOK, 0);
        return 0;
    }
    if (multi && msg == WM_CHAR && wp == '\r' && GetKeyState(VK_CONTROL) >= 0)
        return 0;
    if (multi && msg == WM_KEYDOWN && wp == VK_ESCAPE) {
        PostMessageA(GetParent(w), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return CallWindowProcA(own, w, msg, wp, lp);
}

LRESULT CALLBACK PropEditProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] { return PropEditMessage(w, msg, wp, lp); });
}

}  // namespace

// ---- the window ---------------------------------------------------------

CPropertyWnd::~CPropertyWnd() {
    if (g_pPropWnd == this)
        g_pPropWnd = nullptr;
    delete m_pColour;
}

void CPropertyWnd::PostNcDestroy() {
    if (g_pPropWnd == this)
        g_pPropWnd = nullptr;
}

bool CPropertyWnd::CreateAt(const RECT& rc) {
    if (!Create(kTemplate, nullptr))
        return false;
    SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool CPropertyWnd::OnInitDialog() {
    HWND list = Item(kList);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT rc;
    GetClientRect(list, &rc);
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.cx = rc.right / 3;
    c.pszText = const_cast<char*>("\x8D\x80\x96\xDA");  // 項目
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&c));
    c.cx = rc.right - rc.right / 3;
    c.pszText = const_cast<char*>("\x93\xE0\x97\x65");  // 内容
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&c));
    HMENU sys = GetSystemMenu(m_hWnd, FALSE);
    AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(sys, MF_STRING | (g_bPropKeepOnTop ? MF_CHECKED : 0), kKeepOnTop, dsg::kKeepOnTopText);
    if (g_bPropKeepOnTop)
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(Item(kControlCombo), CB_LIMITTEXT, 21, 0);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(198));
    if (icon)
        SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetWindowTextA(m_hWnd, dsg::kPropTitle);
    return true;
}

void CPropertyWnd::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    for (UINT id : {kControlCombo, kGroupCombo, kList}) {
        HWND h = Item(id);
        if (!h)
            return;
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        int height = id == kList ? std::max(0L, cy - r.top - 4) : r.bottom - r.top;
        SetWindowPos(h, nullptr, 0, 0, std::max(0L, cx - r.left * 2), height, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void CPropertyWnd::SetTitle(const char* name) {
    if (name && *name) {
        char buf[128];
        std::snprintf(buf, sizeof buf, dsg::kPropTitleOf, name);
        SetWindowTextA(m_hWnd, buf);
        return;
    }
    SetWindowTextA(m_hWnd, dsg::kPropTitle);
    CloseEditor();
    m_nMenuItem = -1;
    SendMessageA(Item(kControlCombo), CB_RESETCONTENT, 0, 0);
    SendMessageA(Item(kGroupCombo), CB_RESETCONTENT, 0, 0);
    SendMessageA(Item(kList), LVM_DELETEALLITEMS, 0, 0);
    m_rowId.clear(), m_rowGroup.clear(), m_rowType.clear(), m_rowEnabled.clear();
    m_hForm = m_hControl = nullptr;
}

dsg::ControlRecord* CPropertyWnd::Record() {
    dsg::Form* f = FormOf(m_hForm);
    if (f && m_nMenuItem >= 0)
        return MenuItemOf() ? &m_menuRec : nullptr;
    if (!f || !m_hControl)
        return nullptr;
    return m_hControl == m_hForm ? &f->table[0] : RecordOf(*f, m_hControl);
}

dsg::PropView CPropertyWnd::View() {
    HDC dc = GetDC(m_hWnd);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(m_hWnd, dc);
    const dsg::Form* f = FormOf(m_hForm);
    const dsg::ControlRecord* r = Record();
    bool loaded = r && r->kind == dsg::kBmpButton && r->area[dsg::ba::bitmapWidth] != 0;
    return dsg::PropView{Host(), g_pRcDoc ? &g_pRcDoc->m_doc : nullptr, f, ppi, loaded, HotKeyName};
}

void CPropertyWnd::FillControls() {
    HWND combo = Item(kControlCombo);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    dsg::Form* f = FormOf(m_hForm);
    if (!f || !g_pRcDoc)
        return;
    for (const auto& o : dsg::PropObjectItems(*f, g_pRcDoc->m_doc.menus)) {
        int i = int(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(o.name.c_str())));
        SendMessageA(combo, CB_SETITEMDATA, WPARAM(i), LPARAM(o.data));
    }
}

void CPropertyWnd::SelectObjectEntry(uint32_t data) {
    HWND combo = Item(kControlCombo);
    int n = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        if (uint32_t(SendMessageA(combo, CB_GETITEMDATA, WPARAM(i), 0)) == data) {
            SendMessageA(combo, CB_SETCURSEL, WPARAM(i), 0);
            return;
        }
    }
}

dsg::MenuItem* CPropertyWnd::MenuItemOf() {
    dsg::Form* f = FormOf(m_hForm);
    if (!f || !g_pRcDoc || m_nMenuItem < 0 || f->menu < 0 || size_t(f->menu) >= g_pRcDoc->m_doc.menus.menus.size())
        return nullptr;
    dsg::MenuBlock& m = g_pRcDoc->m_doc.menus.menus[size_t(f->menu)].block;
    return size_t(m_nMenuItem) < m.ItemCount() ? &m.items[size_t(m_nMenuItem)] : nullptr;
}

dsg::EventTable* CPropertyWnd::Events() {
    dsg::Form* f = FormOf(m_hForm);
    if (!f || m_nMenuItem < 0)
        return f ? &f->events : nullptr;
    return MenuItemOf() ? &g_pRcDoc->m_doc.menus.menus[size_t(f->menu)].events : nullptr;
}

void CPropertyWnd::SelectMenuItem(int index) {
    CloseEditor();
    m_nMenuItem = index;
    dsg::MenuItem* it = MenuItemOf();
    if (!it) {
        m_nMenuItem = -1;
        return;
    }
    m_hControl = nullptr;
    m_menuRec = dsg::ControlRecord{};
    m_menuRec.kind = dsg::MnuItemKind(*it);
    m_menuRec.id = it->id;
    dsg::SetField(m_menuRec.name, dsg::FieldText(it->name, sizeof it->name));
    ListMenuItem(-1);
}

// A menu item has only its events (a separator not even those); they are
// listed once the group is chosen.
void CPropertyWnd::ListMenuItem(int group) {
    CloseEditor();
    HWND list = Item(kList), groups = Item(kGroupCombo);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(groups, CB_RESETCONTENT, 0, 0);
    m_rowId.clear(), m_rowGroup.clear(), m_rowType.clear(), m_rowEnabled.clear(), m_groupIds.clear();
    SelectObjectEntry(dsg::ObjectData(m_menuRec.id, m_menuRec.kind));
    if (m_menuRec.kind == dsg::kSeparatorKind)
        return;
    SendMessageA(groups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dsg::kEventGroupName));
    m_groupIds.push_back(dsg::kGrpEvent);
    if (group != 0)
        return;
    m_nGroup = dsg::kGrpEvent;
    ListEvents(m_menuRec);
    SendMessageA(groups, CB_SETCURSEL, 0, 0);
}

void CPropertyWnd::SelectForm(HWND form) {
    CloseEditor();
    SendMessageA(Item(kList), LVM_DELETEALLITEMS, 0, 0);
    m_hForm = form;
    m_hControl = form;
    m_nMenuItem = -1;
    dsg::Form* f = FormOf(form);
    if (!f || !IsWindow(form))
        return;
    std::string caption = WindowText(form);
    if (!caption.empty())
        SetTitle(caption.c_str());
    FillControls();
    SendMessageA(Item(kControlCombo), CB_SETCURSEL, 0, 0);
    int group = int(SendMessageA(Item(kGroupCombo), CB_GETCURSEL, 0, 0));
    ListGroup(group < 0 ? 0 : group);
}

void CPropertyWnd::RefreshControl(HWND form, HWND control) {
    CloseEditor();
    if (form != m_hForm || SendMessageA(Item(kControlCombo), CB_GETCOUNT, 0, 0) == 0)
        SelectForm(form);
    if (control == form)
        return;
    dsg::Form* f = FormOf(form);
    dsg::ControlRecord* r = f ? RecordOf(*f, control) : nullptr;
    if (!r)
        return;
    m_nMenuItem = -1;
    m_hControl = control;
    ListGroup(0);
}

int CPropertyWnd::GroupIndexOf(int32_t groupId) const {
    for (size_t i = 0; i < m_groupIds.size(); ++i) {
        if (m_groupIds[i] == groupId)
            return int(i);
    }
    return -1;
}

void CPropertyWnd::ListGroup(int group) {
    if (m_nMenuItem >= 0) {
        ListMenuItem(group);
        return;
    }
    CloseEditor();
    HWND list = Item(kList), groups = Item(kGroupCombo);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(groups, CB_RESETCONTENT, 0, 0);
    m_rowId.clear(), m_rowGroup.clear(), m_rowType.clear(), m_rowEnabled.clear(), m_groupIds.clear();
    dsg::ControlRecord* r = Record();
    if (!r)
        return;
    const dsg::PropertyGroup* g = dsg::PropGroupsOf(r->kind);
    for (const dsg::PropertyGroup* p = g; p && p->name; ++p) {
        SendMessageA(groups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p->name));
        m_groupIds.push_back(p->id);
    }
    if (m_groupIds.empty())
        return;
    if (group < 0 || size_t(group) >= m_groupIds.size())
        group = 0;
    m_nGroup = m_groupIds[size_t(group)];
    if (m_nGroup == dsg::kGrpEvent) {
        ListEvents(*r);
    } else {
        for (const dsg::PropertyRow* row = dsg::PropFindGroup(r->kind, m_nGroup); row && row->name; ++row) {
            if (row->id == dsg::kPrEvent)
                break;
            if (!dsg::PropRowVisible(r->kind, m_nGroup, row->id))
                continue;
            int32_t type = row->type;
            if (r->kind == dsg::kEdit && row->id == dsg::kPrText && (r->style & ES_MULTILINE))
                type = dsg::kEdLines;
            LVITEMA it{};
            it.mask = LVIF_TEXT | LVIF_PARAM;
            it.iItem = int(m_rowId.size());
            it.pszText = const_cast<char*>(row->name);
            it.lParam = LPARAM(uint32_t(type) | kEnabledBit);
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
            m_rowId.push_back(row->id);
            m_rowGroup.push_back(m_nGroup);
            m_rowType.push_back(type);
            m_rowEnabled.push_back(1);
            ShowRow(int(m_rowId.size()) - 1);
        }
    }
    // The control's item in the control combo, the group in the group combo.
    HWND combo = Item(kControlCombo);
    for (int pass = 0; pass < 2; ++pass) {
        int n = int(SendMessageA(combo, CB_GETCOUNT, 0, 0)), at = -1;
        // Id and kind: a popup's number may equal a record's id.
        for (int i = 0; i < n && at < 0; ++i) {
            if (uint32_t(SendMessageA(combo, CB_GETITEMDATA, WPARAM(i), 0)) == dsg::ObjectData(r->id, r->kind))
                at = i;
        }
        if (at >= 0) {
            SendMessageA(combo, CB_SETCURSEL, WPARAM(at), 0);
            break;
        }
        // A control made since the form was shown.
        FillControls();
    }
    SendMessageA(groups, CB_SETCURSEL, WPARAM(group), 0);
}

void CPropertyWnd::ListEvents(const dsg::ControlRecord& r) {
    dsg::EventTable* events = Events();
    const dsg::EventBlock* b = events ? events->Find(r.id) : nullptr;
    std::string name = dsg::FieldText(r.name, sizeof r.name);
    HWND list = Item(kList);
    int count = dsg::EventCountOf(r.kind);
    for (int k = 0; k < count; ++k) {
        int n = dsg::KthEvent(r.kind, k);
        std::string proc = b && size_t(k) < b->entries.size() && b->entries[size_t(k)].event == n
                               ? b->entries[size_t(k)].proc
                               : dsg::DefaultProcName(name, n, true);
        LVITEMA it{};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = k;
        it.pszText = const_cast<char*>(dsg::kEventNames[n].caption);
        it.lParam = LPARAM(uint32_t(dsg::kEdText) | kEnabledBit);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
        m_rowId.push_back(n);
        m_rowGroup.push_back(dsg::kGrpEvent);
        m_rowType.push_back(dsg::kEdText);
        m_rowEnabled.push_back(1);
        SetRowText(k, prj::UpperSb(proc));
    }
}

void CPropertyWnd::ShowRow(int row) {
    dsg::ControlRecord* r = Record();
    if (!r || row < 0 || row >= RowCount())
        return;
    dsg::RowText t;
    if (!dsg::PropShowByKind(View(), *r, m_rowGroup[size_t(row)], m_rowId[size_t(row)], t))
        return;
    SetRowText(row, t.text);
    SetRowEnabled(row, t.enabled);
}

void CPropertyWnd::SetRowText(int row, const std::string& text) {
    LVITEMA it{};
    it.iSubItem = 1;
    it.pszText = const_cast<char*>(text.c_str());
    SendMessageA(Item(kList), LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&it));
}

void CPropertyWnd::SetRowEnabled(int row, bool enabled) {
    if (row < 0 || row >= RowCount())
        return;
    m_rowEnabled[size_t(row)] = enabled ? 1 : 0;
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = row;
    it.lParam = LPARAM(uint32_t(m_rowType[size_t(row)]) | (enabled ? kEnabledBit : 0));
    SendMessageA(Item(kList), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    InvalidateRect(Item(kList), nullptr, FALSE);
}

int CPropertyWnd::RowOf(int32_t id) const {
    for (size_t i = 0; i < m_rowId.size(); ++i) {
        if (m_rowId[i] == id)
            return int(i);
    }
    return -1;
}

std::string CPropertyWnd::RowText(int row) const {
    char buf[1024] = {};
    LVITEMA it{};
    it.iSubItem = 1;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(Item(kList), LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&it));
    return buf;
}

bool CPropertyWnd::RowEnabled(int row) const {
    return row >= 0 && row < RowCount() && m_rowEnabled[size_t(row)] != 0;
}

void CPropertyWnd::ShowRect(const RECT& rc, bool position, bool size) {
    if (m_nGroup != dsg::kGrpBasic)
        return;
    dsg::ControlRecord* r = Record();
    bool locked = r && (r->attributes & dsg::kCaLocked);
    auto put = [&](int32_t id, int32_t v) {
        int row = RowOf(id);
        if (row < 0)
            return;
        SetRowText(row, std::to_string(v));
        SetRowEnabled(row, !locked);
    };
    dsg::Form* f = FormOf(m_hForm);
    uint32_t mode = f ? f->table[0].area[dsg::fa::mapMode] : 0;
    uint32_t key = f ? f->window : 0;
    if (position) {
        dsg::Point p = dsg::FrmDPtoLP(Host(), key, mode, {rc.left, rc.top});
        put(dsg::kPrX, p.x), put(dsg::kPrY, p.y);
    }
    if (size && r && r->kind != dsg::kTimer && r->kind != dsg::kMci) {
        dsg::Point p = dsg::FrmDPtoLP(Host(), key, mode, {rc.right - rc.left, rc.bottom - rc.top});
        put(dsg::kPrWidth, p.x), put(dsg::kPrHeight, p.y);
    }
}

// ---- editing -------------------------------------------------------------

bool CPropertyWnd::StartEdit(int row) {
    if (row < 0 || row >= RowCount())
        return false;
    if (row == m_nEditRow && m_hEditor) {
        SetFocus(m_hEditor);
        return true;
    }
    if (!RowEnabled(row)) {
        if (m_hEditor)
            SetFocus(m_hEditor);
        return false;
    }
    if (m_nEditRow >= 0) {
        if (!Commit())
            return false;
        CloseEditor();
    }
    dsg::ControlRecord* rec = Record();
    if (!rec)
        return false;
    EditCell c;
    c.row = row;
    c.id = m_rowId[size_t(row)];
    c.type = m_rowType[size_t(row)];
    c.event = m_rowGroup[size_t(row)] == dsg::kGrpEvent;
    c.def = c.event ? nullptr : dsg::PropFindRow(rec->kind, c.id);
    m_nEditRow = row;
    m_nEditType = c.type;
    m_strOpenText = RowText(row);
    HWND list = Item(kList);
    c.rect.top = 1;
    c.rect.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&c.rect));
    MapWindowPoints(list, m_hWnd, reinterpret_cast<POINT*>(&c.rect), 2);
    c.font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));

    if (c.type == dsg::kEdHotKey && c.def && c.def->marker == dsg::kHotKeyMarker)
        return EditHotKey(row, *rec);
    bool editType = c.event || c.type == dsg::kEdText || c.type == dsg::kEdSigned || c.type == dsg::kEdDigits ||
                    c.type == dsg::kEdLines;
    bool opened = editType ? OpenTextEditor(c, *rec)
                  : c.type == dsg::kEdColour ? OpenColourEditor(c)
                                             : OpenListEditor(c, *rec);
    if (!opened) {
        m_nEditRow = -1;
        return false;
    }
    SetWindowPos(m_hEditor, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(m_hEditor);
    return true;
}

// The hot-key row edits in its own dialog.
bool CPropertyWnd::EditHotKey(int row, dsg::ControlRecord& rec) {
    CHotKeyDlg dlg(this);
    dlg.SetHotKeyValue(rec.hotKey);
    m_nEditRow = -1;
    if (dlg.DoModal() == IDOK) {
        m_nEditRow = row;
        rec.hotKey = dlg.m_nValue;
        m_strApplyText = HotKeyName(rec.hotKey);
        m_nApplyIndex = -1;
        SetRowText(row, m_strApplyText);
        ApplyEdit();
        m_nEditRow = -1;
    }
    return true;
}

bool CPropertyWnd::OpenTextEditor(const EditCell& c, dsg::ControlRecord& rec) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
    if (c.type == dsg::kEdDigits)
        style |= ES_NUMBER;
    RECT at{c.rect.left, c.rect.top - kEditorMargin, c.rect.right, c.rect.bottom + kEditorMargin};
    std::string text = m_strOpenText;
    if (c.type == dsg::kEdLines) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        at.bottom = c.rect.bottom + kMultiLineDepth;
        HWND w = Hwnd(rec.hwnd);
        text = IsListKind(rec.kind) ? dsg::PropJoinItems(Host().GetListItems(rec.hwnd), 2) : WindowText(w);
    }
    m_nMin = c.def ? c.def->min : 0;
    m_nMax = c.def ? c.def->max : 0;
    if (c.event) {
        m_nMin = 0;
        m_nMax = 31;
    }
    if (!c.event && (c.id == dsg::kPrWidth || c.id == dsg::kPrHeight)) {
        dsg::Form* f = FormOf(m_hForm);
        uint32_t mode = f ? f->table[0].area[dsg::fa::mapMode] : 0;
        HDC dc = GetDC(m_hForm);
        int px = MulDiv(kTwipsMinimum, GetDeviceCaps(dc, LOGPIXELSX), 1440);
        ReleaseDC(m_hForm, dc);
        dsg::Point lo = dsg::FrmDPtoLP(Host(), f ? f->window : 0, mode, {px, px});
        m_nMin = c.id == dsg::kPrWidth ? lo.x : lo.y;
        m_nMax = 32767 - (c.id == dsg::kPrWidth ? rec.x : rec.y);
        if (rec.kind == dsg::kForm)
            m_nMax = 32767;
    }
    m_hEditor = CreateWindowExA(0, "Edit", "", style, at.left, at.top, at.right - at.left, at.bottom - at.top,
                                m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(kEditor)), GetModuleHandleA(nullptr),
                                nullptr);
    if (!m_hEditor)
        return false;
    SetPropA(m_hEditor, "TxPropEdit",
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(m_hEditor, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(PropEditProc))));
    SendMessageA(m_hEditor, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    if (m_nMax != 0) {
        int limit = c.type == dsg::kEdText || c.type == dsg::kEdLines || c.event
                        ? m_nMax
                        : DigitsOf(m_nMax) + (c.type == dsg::kEdSigned ? 1 : 0);
        SendMessageA(m_hEditor, EM_LIMITTEXT, WPARAM(limit), 0);
    }
    m_bPutting = true;
    SetWindowTextA(m_hEditor, text.c_str());
    m_bPutting = false;
    m_strOpenText = text;
    SendMessageA(m_hEditor, EM_SETSEL, 0, -1);
    EnableBars(false);
    return true;
}

bool CPropertyWnd::OpenColourEditor(const EditCell& c) {
    m_pColour = new CColorComboBox;
    RECT at{c.rect.left, c.rect.top - kEditorMargin, c.rect.right, c.rect.bottom + kListDepth};
    if (!m_pColour->Create("ComboBox",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, at, this,
                           kEditor)) {
        delete m_pColour;
        m_pColour = nullptr;
        return false;
    }
    m_hEditor = m_pColour->m_hWnd;
    m_pColour->AddColorItems();
    for (int i = 0; i < 16; ++i) {
        if (m_strOpenText == dsg::kColourNames[i])
            m_pColour->SetCurSel(i);
    }
    m_pColour->m_pPropWnd = this;
    return true;
}

// The choices of a list row: a property's own, the document's files,
// menus and pointers, the fonts and their sizes.
std::vector<std::string> CPropertyWnd::ListChoices(const EditCell& c, const dsg::ControlRecord& rec) {
    std::vector<std::string> items;
    auto files = [&](int listKind) {
        items.push_back(dsg::kTextNone);
        if (g_pRcDoc) {
            for (const auto& e : g_pRcDoc->m_doc.List(listKind).entries)
                items.push_back(dsg::ResourceName(e.path));
        }
    };
    switch (c.type) {
    case dsg::kEdChoice:
        for (int i = 0; c.def && c.def->choices && c.def->choices[i]; ++i)
            items.push_back(c.def->choices[i]);
        break;
    case dsg::kEdYesNo: items = {dsg::kTextYes, dsg::kTextNo}; break;
    case dsg::kEdFont: {
        HDC dc = GetDC(m_hWnd);
        items = FontFaceNames(dc, false);
        ReleaseDC(m_hWnd, dc);
        break;
    }
    case dsg::kEdSize: {
        int faceRow = RowOf(dsg::kPrFace);
        std::string face = faceRow >= 0 ? RowText(faceRow) : std::string();
        SizeScan scan;
        HDC dc = GetDC(m_hWnd);
        EnumFontsA(dc, face.c_str(), AddSize, reinterpret_cast<LPARAM>(&scan));
        ReleaseDC(m_hWnd, dc);
        if (scan.scalable || scan.heights.empty()) {
            for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48})
                items.push_back(std::to_string(s));
        } else {
            std::sort(scan.heights.begin(), scan.heights.end());
            scan.heights.erase(std::unique(scan.heights.begin(), scan.heights.end()), scan.heights.end());
            bool pixels = rec.kind != dsg::kForm || rec.area[dsg::fa::mapMode] <= 1;
            for (int h : scan.heights) {
                items.push_back(pixels ? std::to_string(h)
                                       : dsg::FormatTenths(h * 1440 / std::max(1, View().pixelsPerInch) / 2));
            }
        }
        break;
    }
    case dsg::kEdCursor:
        items.push_back(dsg::kTextNone);
        for (const dsg::StockPointer* p = dsg::kStockPointers; p->id; ++p)
            items.push_back(p->caption);
        if (g_pRcDoc) {
            for (const auto& e : g_pRcDoc->m_doc.List(dsg::kListCursor).entries)
                items.push_back(dsg::ResourceName(e.path));
        }
        break;
    case dsg::kEdMenu:
        items.push_back(dsg::kTextNone);
        if (g_pRcDoc) {
            for (const auto& m : g_pRcDoc->m_doc.menus.menus)
                items.push_back(m.block.Name());
        }
        break;
    case dsg::kEdBitmap: files(dsg::kListBitmap); break;
    case dsg::kEdIcon: files(dsg::kListIcon); break;
    default: break;
    }
    return items;
}

bool CPropertyWnd::OpenListEditor(const EditCell& c, dsg::ControlRecord& rec) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL;
    if (c.type == dsg::kEdFont)
        style |= CBS_SORT;
    m_hEditor = CreateWindowExA(0, "ComboBox", "", style, c.rect.left, c.rect.top - kEditorMargin,
                                c.rect.right - c.rect.left, c.rect.bottom - c.rect.top + kListDepth, m_hWnd,
                                reinterpret_cast<HMENU>(UINT_PTR(kEditor)), GetModuleHandleA(nullptr), nullptr);
    if (!m_hEditor)
        return false;
    SendMessageA(m_hEditor, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    std::vector<std::string> items = ListChoices(c, rec);
    for (const auto& s : items)
        SendMessageA(m_hEditor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    int at = int(SendMessageA(m_hEditor, CB_FINDSTRINGEXACT, WPARAM(-1),
                              reinterpret_cast<LPARAM>(m_strOpenText.c_str())));
    SendMessageA(m_hEditor, CB_SETCURSEL, WPARAM(at < 0 ? 0 : at), 0);
    return true;
}

bool CPropertyWnd::CheckEdit() {
    if (!m_hEditor || m_pColour || m_nEditType == dsg::kEdLines)
        return true;
    char cls[16] = {};
    GetClassNameA(m_hEditor, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") != 0 || (m_nMin == 0 && m_nMax == 0))
        return true;
    std::string text = WindowText(m_hEditor);
    bool event = m_rowGroup[size_t(m_nEditRow)] == dsg::kGrpEvent;
    bool ok;
    if (event || m_nEditType == dsg::kEdText) {
        ok = !event ? int32_t(text.size()) <= m_nMax : true;
    } else {
        long long v = std::strtoll(text.c_str(), nullptr, 10);
        ok = v >= m_nMin && v <= m_nMax;
    }
    if (ok)
        return true;
    m_bChecking = true;
    char msg[160];
    std::snprintf(msg, sizeof msg, dsg::kRangeFormat, int(m_nMin), int(m_nMax));
    EnableFrames(false);
    MessageBoxA(m_hWnd, msg, "Tambrix", MB_OK | MB_ICONSTOP);
    EnableFrames(true);
    m_bChecking = false;
    if (IsWindow(m_hEditor)) {
        SetFocus(m_hEditor);
        SendMessageA(m_hEditor, EM_SETSEL, 0, -1);
    }
    return false;
}

bool CPropertyWnd::Commit() {
    if (m_nEditRow < 0 || !m_hEditor)
        return true;
    int row = m_nEditRow;
    std::string text;
    int index = -1;
    if (m_pColour) {
        index = m_pColour->GetCurSel();
        if (index < 0)
            return false;
        text = dsg::kColourNames[index & 15];
    } else {
        char cls[16] = {};
        GetClassNameA(m_hEditor, cls, sizeof cls);
        if (lstrcmpiA(cls, "ComboBox") == 0) {
            index = int(SendMessageA(m_hEditor, CB_GETCURSEL, 0, 0));
            if (index < 0) {
                SetFocus(m_hEditor);
                return false;
            }
            int len = int(SendMessageA(m_hEditor, CB_GETLBTEXTLEN, WPARAM(index), 0));
            text.assign(size_t(std::max(len, 0)) + 1, '\0');
            SendMessageA(m_hEditor, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(&text[0]));
            text.resize(size_t(std::max(len, 0)));
        } else {
            if (!CheckEdit())
                return false;
            text = WindowText(m_hEditor);
        }
    }
    size_t crlf = text.find("\r\n");
    SetRowText(row, crlf == std::string::npos ? text : text.substr(0, crlf));
    if (m_rowGroup[size_t(row)] == dsg::kGrpEvent) {
        if (text.empty()) {
            MessageBoxById(dsg::kMsgEmptyProc, MB_OK | MB_ICONEXCLAMATION, 1);
            SetFocus(m_hEditor);
            return false;
        }
        ApplyEventName(row, text);
        return true;
    }
    m_strApplyText = text;
    m_nApplyIndex = index;
    ApplyEdit();
    return true;
}

void CPropertyWnd::CancelEdit() {
    if (m_nEditRow < 0 || !m_hEditor)
        return;
    int row = m_nEditRow;
    int index = -1;
    m_bPutting = true;
    if (m_pColour) {
        for (int i = 0; i < 16; ++i) {
            if (m_strOpenText == dsg::kColourNames[i])
                index = i;
        }
        m_pColour->SetCurSel(index);
    } else {
        char cls[16] = {};
        GetClassNameA(m_hEditor, cls, sizeof cls);
        if (lstrcmpiA(cls, "ComboBox") == 0) {
            index = int(SendMessageA(m_hEditor, CB_FINDSTRINGEXACT, WPARAM(-1),
                                     reinterpret_cast<LPARAM>(m_strOpenText.c_str())));
            SendMessageA(m_hEditor, CB_SETCURSEL, WPARAM(index), 0);
        } else {
            SetWindowTextA(m_hEditor, m_strOpenText.c_str());
        }
    }
    m_bPutting = false;
    size_t crlf = m_strOpenText.find("\r\n");
    SetRowText(row, crlf == std::string::npos ? m_strOpenText : m_strOpenText.substr(0, crlf));
    if (m_rowGroup[size_t(row)] == dsg::kGrpEvent) {
        ApplyEventName(row, m_strOpenText);
        return;
    }
    m_strApplyText = m_strOpenText;
    m_nApplyIndex = index;
    ApplyEdit();
}

void CPropertyWnd::CloseEditor() {
    bool wasEdit = m_hEditor && !m_pColour;
    if (m_hEditor) {
        HWND e = m_hEditor;
        m_hEditor = nullptr;
        if (m_pColour) {
            m_pColour->DestroyWindow();
            delete m_pColour;
            m_pColour = nullptr;
        } else {
            ::DestroyWindow(e);
        }
    }
    if (wasEdit)
        EnableBars(true);
    m_nEditRow = -1;
    m_bUndoMarked = false;
}

void CPropertyWnd::SetEditText(const std::string& text, int index) {
    m_strApplyText = text;
    m_nApplyIndex = index;
    if (m_nEditRow >= 0 && !text.empty())
        SetRowText(m_nEditRow, text);
    ApplyEdit();
}

void CPropertyWnd::EditChanged() {
    if (m_bPutting || m_nEditRow < 0 || m_nEditType != dsg::kEdText ||
        m_rowGroup[size_t(m_nEditRow)] == dsg::kGrpEvent)
        return;
    std::string text = WindowText(m_hEditor);
    SetRowText(m_nEditRow, text);
    m_strApplyText = text;
    m_nApplyIndex = -1;
    ApplyEdit();
}

void CPropertyWnd::ApplyEventName(int row, const std::string& text) {
    dsg::ControlRecord* r = Record();
    dsg::Form* f = FormOf(m_hForm);
    if (!r || !f)
        return;
    std::string name = dsg::CutProcName(text);
    if (name != text && m_hEditor) {
        DWORD a = 0, b = 0;
        SendMessageA(m_hEditor, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        m_bPutting = true;
        SetWindowTextA(m_hEditor, name.c_str());
        m_bPutting = false;
        SendMessageA(m_hEditor, EM_SETSEL, a, b);
    }
    SetRowText(row, prj::UpperSb(name));
    dsg::EventTable* events = Events();
    dsg::EventBlock* b = events ? events->Find(r->id) : nullptr;
    if (b && size_t(row) < b->entries.size())
        b->entries[size_t(row)].proc = name;
    MarkModified();
}

void CPropertyWnd::SetModified(uint32_t code) {
    if (code == dsg::kUndoText && m_bUndoMarked)
        return;
    RcUndoRecord(code);
    m_bUndoMarked = code == dsg::kUndoText;
}

bool CPropertyWnd::ApplyEdit() {
    if (m_nEditRow < 0 || m_nEditRow >= RowCount())
        return false;
    dsg::ControlRecord* r = Record();
    if (!r)
        return false;
    dsg::PropEdit e{m_rowGroup[size_t(m_nEditRow)], m_rowId[size_t(m_nEditRow)], m_strApplyText, m_nApplyIndex};
    if (e.group == dsg::kGrpEvent)
        return false;
    SetModified(e.id == dsg::kPrText ? dsg::kUndoText : dsg::kUndoProperty);
    HWND before = m_hControl;
    if (r->kind == dsg::kForm)
        ApplyForm(*r, e);
    else
        ApplyControl(*r, e);
    MarkModified();
    if (m_hControl != before)
        RcUndoSetKind(1, m_hControl);
    else if (e.id == dsg::kPrText && m_hControl != m_hForm)
        RcUndoSetKind(1, m_hControl);
    else
        RcUndoSetKind(0, nullptr);
    return true;
}

void CPropertyWnd::FinishRows(const dsg::ApplyResult& a) {
    for (const auto& c : a.rows) {
        int row = RowOf(c.id);
        if (row < 0)
            continue;
        if (c.text)
            SetRowText(row, c.text);
        if (c.enabled >= 0)
            SetRowEnabled(row, c.enabled != 0);
    }
    if (a.textRowType) {
        int row = RowOf(dsg::kPrText);
        if (row >= 0)
            m_rowType[size_t(row)] = a.textRowType;
    }
    for (uint32_t m : a.messages)
        MessageBoxById(m, MB_OK | MB_ICONSTOP, 1);
    if (a.refreshGroup) {
        for (int i = 0; i < RowCount(); ++i) {
            if (i != m_nEditRow)
                ShowRow(i);
        }
    }
}

bool CPropertyWnd::ApplyFont(dsg::ControlRecord& r, const dsg::PropEdit& e) {
    auto text = [&](int32_t id) {
        if (id == e.id)
            return e.text;
        int row = RowOf(id);
        return row >= 0 ? RowText(row) : std::string();
    };
    dsg::LogFont lf;
    lf.face = text(dsg::kPrFace);
    HWND w = Hwnd(r.hwnd);
    HDC dc = GetDC(w);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(w, dc);
    int32_t tenths = dsg::PropFontTenths(r, int32_t(std::strtol(text(dsg::kPrSize).c_str(), nullptr, 10)), ppi);
    lf.height = -MulDiv(tenths, ppi, 720);
    // The script keeps whole points: the height is one it gives back, so
    // the row shows what a save and a reopen will show.
    lf.height = dsg::FontPointsToHeight(Host(), r, dsg::FontHeightToPoints(Host(), r, lf.height));
    lf.weight = text(dsg::kPrBold) == dsg::kTextYes ? FW_BOLD : FW_NORMAL;
    lf.italic = text(dsg::kPrItalic) == dsg::kTextYes;
    lf.underline = text(dsg::kPrUnderline) == dsg::kTextYes;
    lf.strikeOut = text(dsg::kPrStrike) == dsg::kTextYes;
    lf.charSet = DEFAULT_CHARSET;
    uint32_t font = Host().MakeFont(lf);
    if (!font)
        return false;
    if (r.font) {
        SendMessageA(w, WM_SETFONT, 0, FALSE);
        Host().DeleteFont(r.font);
    }
    r.font = font;
    Host().SetFont(r.hwnd, font);
    InvalidateRect(w, nullptr, TRUE);
    return true;
}

void CPropertyWnd::ApplyRect(dsg::ControlRecord& r, const dsg::PropEdit& e) {
    auto number = [&](int32_t id) {
        if (id == e.id)
            return int32_t(std::strtol(e.text.c_str(), nullptr, 10));
        int row = RowOf(id);
        return row >= 0 ? int32_t(std::strtol(RowText(row).c_str(), nullptr, 10)) : 0;
    };
    dsg::Form* f = FormOf(m_hForm);
    if (!f)
        return;
    uint32_t mode = f->table[0].area[dsg::fa::mapMode];
    int32_t x = number(dsg::kPrX), y = number(dsg::kPrY);
    bool sizeRow = e.id == dsg::kPrWidth || e.id == dsg::kPrHeight;
    bool single = Sel().controls.size() <= 1;
    if ((r.attributes & dsg::kCaLocked) || !single) {
        ShowRect({r.x, r.y, r.x + r.cx, r.y + r.cy}, !sizeRow, sizeRow);
        return;
    }
    dsg::Point pos = dsg::FrmLPtoDP(Host(), f->window, mode, {x, y});
    HWND w = Hwnd(r.hwnd);
    if (r.kind == dsg::kForm) {
        if (sizeRow) {
            int32_t cx = number(dsg::kPrWidth), cy = number(dsg::kPrHeight);
            dsg::Point s = dsg::FrmLPtoDP(Host(), f->window, mode, {cx, cy});
            r.cx = std::abs(s.x), r.cy = std::abs(s.y);
        } else {
            r.x = pos.x, r.y = pos.y;
        }
        FrmReapplyFrame(w, r);
        return;
    }
    RECT old{r.x, r.y, r.x + r.cx, r.y + r.cy};
    if (sizeRow) {
        int32_t cx = number(dsg::kPrWidth), cy = number(dsg::kPrHeight);
        dsg::Point s = dsg::FrmLPtoDP(Host(), f->window, mode, {cx, cy});
        MoveWindow(w, r.x, r.y, std::abs(s.x), std::abs(s.y), TRUE);
    } else {
        dsg::Rect moved{r.x, r.y, r.x + r.cx, r.y + r.cy};
        const auto& fr = f->table[0];
        if (!dsg::DsgOffsetRectSnap(moved, pos.x - r.x, pos.y - r.y, fr.area[dsg::fa::gridSnap] != 0,
                                    int32_t(fr.area[dsg::fa::gridX]), int32_t(fr.area[dsg::fa::gridY])))
            return;
        MoveWindow(w, moved.left, moved.top, r.cx, r.cy, TRUE);
    }
    RECT now;
    GetWindowRect(w, &now);
    MapWindowPoints(nullptr, m_hForm, reinterpret_cast<POINT*>(&now), 2);
    r.x = now.left, r.y = now.top, r.cx = now.right - now.left, r.cy = now.bottom - now.top;
    ShowRect(now, true, true);
    InflateRect(&old, 20, 20);
    InflateRect(&now, 20, 20);
    InvalidateRect(m_hForm, &old, TRUE);
    InvalidateRect(m_hForm, &now, TRUE);
}

void CPropertyWnd::ApplyFiles(dsg::ControlRecord& r, const dsg::PropEdit& e) {
    if (!g_pRcDoc)
        return;
    dsg::Document& doc = g_pRcDoc->m_doc;
    if (e.id == dsg::kPrIcon) {
        dsg::FileList& l = doc.List(dsg::kListIcon);
        std::string old = dsg::FieldText(dsg::AreaText(r, dsg::fa::iconName), 16);
        if (!old.empty())
            l.Release(old);
        dsg::SetField(dsg::AreaText(r, dsg::fa::iconName), 16, "");
        if (e.index > 0 && size_t(e.index - 1) < l.entries.size()) {
            dsg::SetField(dsg::AreaText(r, dsg::fa::iconName), 16, dsg::ResourceName(l.entries[size_t(e.index - 1)].path));
            ++l.entries[size_t(e.index - 1)].uses;
        }
    } else if (e.id == dsg::kPrBitmap) {
        dsg::FileList& l = doc.List(dsg::kListBitmap);
        std::string old = dsg::FieldText(dsg::AreaText(r, dsg::ba::bitmapName), 16);
        if (e.index <= 0) {
            if (!old.empty())
                l.Release(old);
            dsg::SetField(dsg::AreaText(r, dsg::ba::bitmapName), 16, "");
            for (int w : {int(dsg::ba::bitmapWidth), int(dsg::ba::bitmapHeight), int(dsg::ba::frameSizeA), int(dsg::ba::frameSizeB),
                          int(dsg::ba::runState), int(dsg::ba::drawInterval) + 1})
                r.area[w] = 0;
            return;
        }
        if (size_t(e.index - 1) >= l.entries.size())
            return;
        dsg::FileEntry& fe = l.entries[size_t(e.index - 1)];
        dsg::Point size = Host().LoadButtonBitmap(r.hwnd, fe.path);
        if (size.x == 0 && size.y == 0)
            return;
        ++fe.uses;
        if (!old.empty())
            l.Release(old);
        dsg::SetField(dsg::AreaText(r, dsg::ba::bitmapName), 16, dsg::ResourceName(fe.path));
        r.area[dsg::ba::bitmapWidth] = uint32_t(size.x);
        r.area[dsg::ba::bitmapHeight] = uint32_t(size.y);
        uint32_t d = r.area[dsg::ba::frameA] * r.area[dsg::ba::frameB];
        r.area[dsg::ba::frameSizeA] = uint32_t(size.x) / (d ? d : 1);
        r.area[dsg::ba::frameSizeB] = uint32_t(size.y);
        InvalidateRect(Hwnd(r.hwnd), nullptr, TRUE);
    }
}

void CPropertyWnd::ApplyControl(dsg::ControlRecord& r, const dsg::PropEdit& e) {
    HWND w = Hwnd(r.hwnd);
    if (e.group == dsg::kGrpBasic && (e.id >= dsg::kPrX && e.id <= dsg::kPrHeight)) {
        ApplyRect(r, e);
        return;
    }
    if (e.group == dsg::kGrpStyle && e.id == dsg::kPrBitmap) {
        ApplyFiles(r, e);
        return;
    }
    std::vector<std::string> items;
    if (IsListKind(r.kind))
        items = Host().GetListItems(r.hwnd);
    dsg::ApplyResult a = dsg::PropApplyRecord(Host(), g_pRcDoc ? &g_pRcDoc->m_doc : nullptr, r, e);
    if (!a.handled)
        return;
    if (a.fontChanged)
        ApplyFont(r, e);
    if (a.setItems)
        items = dsg::PropSplitItems(e.text, 2);
    if (a.setText)
        SetWindowTextA(w, e.text.c_str());
    if (a.setCheck)
        SendMessageA(w, BM_SETCHECK, r.value, 0);
    if (a.setLimit)
        SendMessageA(w, EM_LIMITTEXT, r.maxLength, 0);
    if (a.setIme)
        SetImeMode(w, r.imeMode);
    if (a.hideShow) {
        ShowWindow(w, SW_HIDE);
        ShowWindow(w, SW_SHOWNA);
    }
    switch (a.ending) {
    case dsg::Ending::Restyle: Restyle(w, r); break;
    case dsg::Ending::Redraw: RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); break;
    case dsg::Ending::Recreate: {
        HWND now = PropRecreateControl(m_hForm, w);
        if (now && IsListKind(r.kind))
            Host().SetListItems(Key(now), items);
        break;
    }
    default:
        if (a.setItems)
            Host().SetListItems(r.hwnd, items);
        break;
    }
    FinishRows(a);
}

void CPropertyWnd::ApplyForm(dsg::ControlRecord& r, const dsg::PropEdit& e) {
    HWND w = m_hForm;
    dsg::Form* f = FormOf(w);
    if (!f)
        return;
    if (e.group == dsg::kGrpBasic && e.id >= dsg::kPrX && e.id <= dsg::kPrHeight) {
        ApplyRect(r, e);
        return;
    }
    if (e.group == dsg::kGrpFrame && e.id == dsg::kPrIcon) {
        ApplyFiles(r, e);
        return;
    }
    if (e.group == dsg::kGrpOther && e.id == dsg::kPrMenu) {
        if (f->menu >= 0 && g_pRcDoc && size_t(f->menu) < g_pRcDoc->m_doc.menus.menus.size()) {
            auto& uses = g_pRcDoc->m_doc.menus.menus[size_t(f->menu)].uses;
            uses = uses ? uses - 1 : 0;
        }
        f->menu = e.index > 0 ? e.index - 1 : -1;
        if (f->menu >= 0 && g_pRcDoc && size_t(f->menu) < g_pRcDoc->m_doc.menus.menus.size())
            ++g_pRcDoc->m_doc.menus.menus[size_t(f->menu)].uses;
        DsgApplyMenuBar(*f);
        FillControls();
        return;
    }
    uint32_t was3D = r.area[dsg::fa::form3D];
    dsg::ApplyResult a = dsg::PropApplyRecord(Host(), g_pRcDoc ? &g_pRcDoc->m_doc : nullptr, r, e);
    if (!a.handled)
        return;
    if (a.setText)
        SetWindowTextA(w, e.text.c_str());
    if (a.frameChange) {
        SetWindowLongPtrA(w, GWL_STYLE, LONG_PTR((r.style | WS_VISIBLE) & ~uint32_t(WS_DISABLED)));
        SetWindowLongPtrA(w, GWL_EXSTYLE, LONG_PTR(r.exStyle));
        PlaceForm(w, r);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        if (r.area[dsg::fa::form3D] != was3D)
            Reapply3DEdges(w, r.area[dsg::fa::form3D] != 0);
    }
    if (a.reframe)
        FrmReapplyFrame(w, r);
    if (a.reapply3D)
        Reapply3DEdges(w, a.on3D);
    if (a.fontChanged && ApplyFont(r, e)) {
        FrmFitTextArea(w, r);
        for (int i = 0; i < RowCount(); ++i) {
            if (i != m_nEditRow)
                ShowRow(i);
        }
    }
    if (e.group == dsg::kGrpColour)
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    FinishRows(a);
    if (e.id == dsg::kPrMapMode) {
        int row = RowOf(dsg::kPrRedraw);
        if (row >= 0)
            ShowRow(row);
    }
}

void CPropertyWnd::Rename(const std::string& text) {
    dsg::ControlRecord* r = Record();
    if (!r)
        return;
    dsg::SetField(r->name, text.substr(0, 21));
    if (dsg::MenuItem* it = m_nMenuItem >= 0 ? MenuItemOf() : nullptr)
        dsg::SetField(it->name, text.substr(0, 21));
    HWND combo = Item(kControlCombo);
    int sel = int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (sel < 0) {
        // Typing leaves no selection: the item of the current control.
        int n = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            if (uint32_t(SendMessageA(combo, CB_GETITEMDATA, WPARAM(i), 0)) == dsg::ObjectData(r->id, r->kind))
                sel = i;
        }
    }
    if (sel >= 0) {
        LPARAM data = SendMessageA(combo, CB_GETITEMDATA, WPARAM(sel), 0);
        SendMessageA(combo, CB_DELETESTRING, WPARAM(sel), 0);
        SendMessageA(combo, CB_INSERTSTRING, WPARAM(sel), reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, WPARAM(sel), data);
        SendMessageA(combo, CB_SETCURSEL, WPARAM(sel), 0);
        SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
    if (r->kind == dsg::kForm && g_pRcDoc)
        g_pRcDoc->FillResourceTree(g_pRcDoc->GetTitle(), true);
    MarkModified();
}

bool CPropertyWnd::GotoEventRow(int row) {
    if (row < 0 || row >= RowCount() || m_rowGroup[size_t(row)] != dsg::kGrpEvent)
        return false;
    CloseEditor();
    std::string proc = RowText(row);
    return EvtInsertProcedure(m_hForm, m_rowId[size_t(row)], proc);
}

// ---- messages --------------------------------------------------------------

void CPropertyWnd::OnOK() {
    if (m_hEditor) {
        if (Commit())
            CloseEditor();
        return;
    }
    HWND list = Item(kList);
    if (GetFocus() == list) {
        int row = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
        if (row >= 0 && RowEnabled(row))
            StartEdit(row);
    }
}

void CPropertyWnd::OnCancel() {
    if (m_hEditor) {
        CancelEdit();
        CloseEditor();
    }
}

// A combo losing the focus to anything but the open editor.
bool CPropertyWnd::LeavingForElsewhere() const {
    if (!m_hEditor || m_bChecking)
        return false;
    HWND to = GetFocus();
    return to != m_hEditor && !IsChild(m_hEditor, to);
}

bool CPropertyWnd::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDOK && (code == 0 || code == BN_CLICKED)) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL && (code == 0 || code == BN_CLICKED)) {
        OnCancel();
        return true;
    }
    if (id == kEditor && control) {
        if (code == EN_CHANGE)
            EditChanged();
        else if (code == CBN_SELCHANGE && m_pColour && !m_bPutting)
            SetEditText("", m_pColour->GetCurSel());
        else if (code == EN_KILLFOCUS && !m_bChecking && m_hEditor) {
            HWND to = GetFocus();
            if (to && to != m_hEditor && ::GetParent(to) == m_hWnd && !CheckEdit())
                return true;
        }
        return true;
    }
    if (id == kControlCombo) {
        HWND combo = Item(kControlCombo);
        if (code == CBN_EDITCHANGE) {
            Rename(WindowText(combo));
        } else if (code == CBN_SELCHANGE) {
            int sel = int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
            uint32_t data = uint32_t(SendMessageA(combo, CB_GETITEMDATA, WPARAM(sel), 0));
            dsg::Form* f = FormOf(m_hForm);
            int item = f && g_pRcDoc && sel >= 0 ? dsg::PropFindMenuItem(*f, g_pRcDoc->m_doc.menus, data) : -1;
            if (item >= 0) {
                SelectMenuItem(item);
            } else if (f && sel >= 0) {
                for (auto& r : f->table) {
                    if (dsg::ObjectData(r.id, r.kind) == data) {
                        HWND c = r.kind == dsg::kForm ? m_hForm : Hwnd(r.hwnd);
                        DsgSelectControl(m_hForm, c);
                        if (c == m_hForm)
                            SelectForm(m_hForm);
                        else
                            RefreshControl(m_hForm, c);
                        break;
                    }
                }
            }
        } else if (code == CBN_KILLFOCUS && LeavingForElsewhere()) {
            if (Commit())
                CloseEditor();
        }
        return true;
    }
    if (id == kGroupCombo) {
        if (code == CBN_SELCHANGE)
            ListGroup(int(SendMessageA(Item(kGroupCombo), CB_GETCURSEL, 0, 0)));
        else if (code == CBN_KILLFOCUS && LeavingForElsewhere()) {
            if (Commit())
                CloseEditor();
        }
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool CPropertyWnd::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (id != kList)
        return CDialog::OnNotify(id, nm, result);
    switch (nm->code) {
    case NM_CLICK: {
        auto* ia = reinterpret_cast<NMITEMACTIVATE*>(nm);
        if (ia->iItem >= 0)
            StartEdit(ia->iItem);
        return true;
    }
    case NM_DBLCLK: {
        auto* ia = reinterpret_cast<NMITEMACTIVATE*>(nm);
        if (ia->iItem >= 0 && m_nGroup == dsg::kGrpEvent)
            GotoEventRow(ia->iItem);
        return true;
    }
    case LVN_BEGINSCROLL:
        if (m_hEditor && Commit())
            CloseEditor();
        return true;
    case NM_CUSTOMDRAW: {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(nm);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            *result = CDRF_NOTIFYITEMDRAW;
        } else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            if (!(uint32_t(cd->nmcd.lItemlParam) & kEnabledBit))
                cd->clrText = GetSysColor(COLOR_GRAYTEXT);
            *result = CDRF_DODEFAULT;
        } else {
            *result = CDRF_DODEFAULT;
        }
        return true;
    }
    default: break;
    }
    return CDialog::OnNotify(id, nm, result);
}

bool CPropertyWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_CLOSE) {
            ShowWindow(m_hWnd, SW_HIDE);
            m_bShown = 0;
            *result = 0;
            return true;
        }
        if (wp == kKeepOnTop) {
            g_bPropKeepOnTop = !g_bPropKeepOnTop;
            CheckMenuItem(GetSystemMenu(m_hWnd, FALSE), kKeepOnTop, g_bPropKeepOnTop ? MF_CHECKED : MF_UNCHECKED);
            SetWindowPos(m_hWnd, g_bPropKeepOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            *result = 0;
            return true;
        }
        break;
    case WM_DESTROY:
        if (HWND main = Ide().MainWindow(); main && !Ide().Closing())
            SetFocus(main);
        break;
    default: break;
    }
    return CDialog::OnWndMsg(msg, wp, lp, result);
}

// ---- what the designer and the shell call ---------------------------------

void PropWndSetTitle(const char* name) {
    if (g_pPropWnd && g_pPropWnd->m_hWnd)
        g_pPropWnd->SetTitle(name);
}

void PropWndSelectControl(HWND form) {
    if (g_pPropWnd && g_pPropWnd->m_hWnd)
        g_pPropWnd->SelectForm(form);
}

void PropWndRefreshControl(HWND form, HWND control) {
    if (g_pPropWnd && g_pPropWnd->m_hWnd)
        g_pPropWnd->RefreshControl(form, control);
}

void PropWndReselect() {
    if (g_pPropWnd && g_pPropWnd->m_hWnd && g_pRcDoc) {
        HWND form = g_pPropWnd->CurrentForm(), control = g_pPropWnd->CurrentControl();
        g_pPropWnd->SelectForm(form);
        if (control && control != form && IsWindow(control))
            g_pPropWnd->RefreshControl(form, control);
    }
}

void DsgShowCtlRect(HWND form, const RECT& rc) {
    if (g_pPropWnd && g_pPropWnd->m_hWnd && g_pPropWnd->CurrentForm() == form)
        g_pPropWnd->ShowRect(rc, true, true);
}

HWND PropRecreateControl(HWND form, HWND control) {
    dsg::Form* f = FormOf(form);
    dsg::ControlRecord* r = f ? RecordOf(*f, control) : nullptr;
    if (!r)
        return nullptr;
    std::string text;
    if (r->kind == dsg::kButton || r->kind == dsg::kEdit || r->kind == dsg::kText)
        text = WindowText(control);
    std::vector<std::string> items;
    if (IsListKind(r->kind))
        items = Host().GetListItems(r->hwnd);
    uint32_t key = Host().MakeWindow(r->exStyle, dsg::kKindTable[r->kind].cls, text,
                                     r->style & ~uint32_t(WS_VISIBLE | WS_DISABLED),
                                     {r->x, r->y, r->x + r->cx, r->y + r->cy}, f->window, r->id);
    if (!key)
        return nullptr;
    HWND now = Hwnd(key);
    uint32_t old = r->hwnd;
    Host().DropWindow(old);
    r->hwnd = key;
    if (r->font)
        Host().SetFont(key, r->font);
    if (IsListKind(r->kind))
        Host().SetListItems(key, items);
    if (r->kind == dsg::kEdit && r->maxLength)
        SendMessageA(now, EM_LIMITTEXT, r->maxLength, 0);
    Selection& s = Sel();
    std::replace(s.controls.begin(), s.controls.end(), control, now);
    if (s.anchor == control)
        s.anchor = now;
    ApplyTableOrder(form);
    ShowWindow(now, SW_SHOWNA);
    if (g_pPropWnd && g_pPropWnd->CurrentControl() == control)
        g_pPropWnd->Rebind(now);
    return now;
}

void SetImeMode(HWND w, uint32_t mode) {
    HMODULE imm = LoadLibraryA("IMM32.DLL");
    if (!imm)
        return;
    using GetCtx = HIMC(WINAPI*)(HWND);
    using RelCtx = BOOL(WINAPI*)(HWND, HIMC);
    using SetConv = BOOL(WINAPI*)(HIMC, DWORD, DWORD);
    using GetConv = BOOL(WINAPI*)(HIMC, LPDWORD, LPDWORD);
    using GetOpen = BOOL(WINAPI*)(HIMC);
    using SetOpen = BOOL(WINAPI*)(HIMC, BOOL);
    auto proc = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(imm, name)); };
    auto getCtx = reinterpret_cast<GetCtx>(proc("ImmGetContext"));
    auto relCtx = reinterpret_cast<RelCtx>(proc("ImmReleaseContext"));
    auto setConv = reinterpret_cast<SetConv>(proc("ImmSetConversionStatus"));
    auto getConv = reinterpret_cast<GetConv>(proc("ImmGetConversionStatus"));
    auto getOpen = reinterpret_cast<GetOpen>(proc("ImmGetOpenStatus"));
    auto setOpen = reinterpret_cast<SetOpen>(proc("ImmSetOpenStatus"));
    if (getCtx && relCtx && setConv && getConv && getOpen && setOpen) {
        if (HIMC ctx = getCtx(w)) {
            DWORD conv = 0, sentence = 0;
            if (mode == dsg::kImeOn) {
                setOpen(ctx, TRUE);
            } else if (mode == dsg::kImeOff || mode == dsg::kImeOldOff) {
                setOpen(ctx, FALSE);
            } else if (mode >= dsg::kImeHiragana && mode <= dsg::kImeAlphanumeric) {
                setOpen(ctx, TRUE);
                getConv(ctx, &conv, &sentence);
                DWORD low = conv & 0xFF;
                if (mode == dsg::kImeHiragana)
                    low = (low & ~DWORD(IME_CMODE_KATAKANA)) | IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
                else if (mode == dsg::kImeKatakana)
                    low |= IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE;
                else if (mode == dsg::kImeHalfKatakana)
                    low = (low & ~DWORD(IME_CMODE_FULLSHAPE)) | IME_CMODE_NATIVE | IME_CMODE_KATAKANA;
                else
                    low = (low & ~DWORD(IME_CMODE_NATIVE | IME_CMODE_KATAKANA)) | IME_CMODE_FULLSHAPE;
                setConv(ctx, (conv & ~DWORD(0xFF)) | low, sentence);
            }
            relCtx(w, ctx);
        }
    }
    FreeLibrary(imm);
}

// ---- the main frame's side: command 3008, 32790, the window brought up ----
// place: where the main frame keeps the window (its saved layout).

namespace {

bool CreatePropertyWindow(const RECT& place) {
    auto* wnd = new CPropertyWnd;
    if (!wnd->CreateAt(place)) {
        delete wnd;
        return false;
    }
    g_pPropWnd = wnd;
    ShowWindow(wnd->m_hWnd, SW_SHOW);
    SetActiveWindow(wnd->m_hWnd);
    SetFocus(wnd->m_hWnd);
    wnd->m_bShown = 1;
    // The designer's current form, if any.
    if (g_hActiveForm)
        wnd->SelectForm(g_hActiveForm);
    return true;
}

}  // namespace

void PropWndToggle(const RECT& place) {
    if (g_pPropWnd && g_pPropWnd->m_hWnd) {
        if (IsWindowVisible(g_pPropWnd->m_hWnd)) {
            ShowWindow(g_pPropWnd->m_hWnd, SW_HIDE);
            g_pPropWnd->m_bShown = 0;
        } else {
            ShowWindow(g_pPropWnd->m_hWnd, SW_SHOW);
            SetActiveWindow(g_pPropWnd->m_hWnd);
            g_pPropWnd->m_bShown = 1;
        }
        return;
    }
    CreatePropertyWindow(place);
}

bool PropWndVisible() { return g_pPropWnd && g_pPropWnd->m_hWnd && IsWindowVisible(g_pPropWnd->m_hWnd); }

void PropWndShow(const RECT& place) {
    if (!g_pPropWnd || !g_pPropWnd->m_hWnd) {
        CreatePropertyWindow(place);
        return;
    }
    ShowWindow(g_pPropWnd->m_hWnd, SW_SHOW);
    SetActiveWindow(g_pPropWnd->m_hWnd);
    g_pPropWnd->m_bShown = 1;
}

bool PropWndActivate(const RECT& place) {
    if (g_pPropWnd && g_pPropWnd->m_hWnd) {
        ShowWindow(g_pPropWnd->m_hWnd, SW_SHOW);
        g_pPropWnd->m_bShown = 1;
        return true;
    }
    CreatePropertyWindow(place);
    return false;
}

void PropWndRestore(uint32_t propShow, const RECT& place) {
    if (!(propShow & 1)) {
        g_bPropKeepOnTop = (propShow & 2) != 0;
        return;
    }
    if (!g_pPropWnd || !g_pPropWnd->m_hWnd)
        CreatePropertyWindow(place);
    if ((propShow & 2) && g_pPropWnd && g_pPropWnd->m_hWnd)
        PostMessageA(g_pPropWnd->m_hWnd, WM_SYSCOMMAND, CPropertyWnd::kKeepOnTop, 0);
}

void PropWndState(bool& exists, bool& visible, bool& onTop, RECT& rc) {
    exists = g_pPropWnd && g_pPropWnd->m_hWnd;
    visible = exists && IsWindowVisible(g_pPropWnd->m_hWnd);
    onTop = g_bPropKeepOnTop;
    rc = RECT{};
    if (exists)
        GetWindowRect(g_pPropWnd->m_hWnd, &rc);
}

void PropWndDestroy() {
    if (!g_pPropWnd)
        return;
    CPropertyWnd* w = g_pPropWnd;
    g_pPropWnd = nullptr;
    if (w->m_hWnd)
        w->DestroyWindow();
    delete w;
}
