// The menu editor (dialog 7200): one menu of the document edited in place,
// record by record; a copy of the block is kept so that Cancel can put it
// back.
#include "dsg_menuedit.h"
#include "idehelpers.h"
#include "rcdoc.h"
#include "smalldlgs.h"

using namespace dsgwin;

namespace {

const char kClosingRow[] = " ***";
const char kSeparatorRow[] = "--- \xBE\xCA\xDF\xDA\xB0\xC0 ---";  // --- ｾﾊﾟﾚｰﾀ ---

std::string ItemText(HWND h, int id) {
    char buf[256] = {};
    GetDlgItemTextA(h, id, buf, sizeof buf);
    return buf;
}

class CMenuEditDlg : public CDialog {
public:
    CMenuEditDlg(dsg::MenuList& list, int index) : CDialog(IDD_MENU_EDIT), m_list(list), m_index(index) {}

protected:
    dsg::MenuBlock& M() { return m_list.menus[size_t(m_index)].block; }
    HWND Ctl(int id) const { return GetDlgItem(m_hWnd, id); }
    int Row() const { return int(SendMessageA(Ctl(30002), LB_GETCURSEL, 0, 0)); }
    bool Closing(int i) { return size_t(i) + 1 == M().items.size(); }

    std::string RowText(size_t i) {
        if (i + 1 == M().items.size())
            return kClosingRow;
        const auto& it = M().items[i];
        std::string s;
        if (it.flags & dsg::kMenuSeparator)
            return kSeparatorRow;
        auto f = dsg::CaptionParse(dsg::FieldText(it.caption, sizeof it.caption));
        s += f.text;
        if (f.key)
            s += std::string("(") + f.key + ")";
        else if (!f.kana.empty())
            s += "(" + f.kana + ")";
        if (f.dialog)
            s += "...";
        if (it.hasShortcut && !f.shortcut.empty())
            s += "\t" + f.shortcut;
        return s;
    }
    void SetRow(size_t i) {
        HWND l = Ctl(30002);
        int sel = Row();
        SendMessageA(l, LB_DELETESTRING, i, 0);
        SendMessageA(l, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(RowText(i).c_str()));
        SendMessageA(l, LB_SETITEMDATA, i, LPARAM(m_index) * 65536 + LPARAM(i));
        SendMessageA(l, LB_SETCURSEL, WPARAM(sel), 0);
    }
    void FillRows() {
        SendMessageA(Ctl(30002), LB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < M().items.size(); ++i) {
            SendMessageA(Ctl(30002), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
            SetRow(i);
        }
    }
    void Select(int i) {
        SendMessageA(Ctl(30002), LB_SETCURSEL, WPARAM(i), 0);
        Show(i);
    }

    // The fields of record i, then the control states.
    void Show(int i) {
        if (i < 0 || size_t(i) >= M().items.size())
            return;
        m_guard = true;
        const auto& it = M().items[size_t(i)];
        auto f = dsg::CaptionParse(dsg::FieldText(it.caption, sizeof it.caption));
        SetDlgItemTextA(m_hWnd, 30019, f.text.c_str());
        SetDlgItemTextA(m_hWnd, 30020, dsg::FieldText(it.name, sizeof it.name).c_str());
        SetDlgItemTextA(m_hWnd, 30021, f.key ? std::string(1, f.key).c_str() : "");
        SetDlgItemTextA(m_hWnd, 30022, f.kana.c_str());
        CheckDlgButton(m_hWnd, 30008, (it.flags & dsg::kMenuGrayed) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_hWnd, 30009, (it.flags & dsg::kMenuChecked) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_hWnd, 30010, (it.flags & dsg::kMenuSeparator) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_hWnd, 30011, f.dialog ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(Ctl(30040), CB_SETCURSEL, WPARAM(dsg::ShortcutIndex(it)), 0);
        m_guard = false;
        States(i);
    }
    void States(int i) {
        const auto& it = M().items[size_t(i)];
        bool sep = it.flags & dsg::kMenuSeparator, popup = it.flags & dsg::kMenuPopup, last = Closing(i);
        EnableWindow(Ctl(30019), !sep && i < 255);
        EnableWindow(Ctl(30020), i < 255);
        EnableWindow(Ctl(30021), !sep && i < 255);
        EnableWindow(Ctl(30022), !sep && i < 255);
        EnableWindow(Ctl(30008), !sep && i < 255);
        EnableWindow(Ctl(30009), it.level >= 1 && !sep);
        EnableWindow(Ctl(30010), !popup);
        EnableWindow(Ctl(30011), !popup && !sep);
        EnableWindow(Ctl(30040), !sep && !last);
        EnableWindow(Ctl(30004), it.level >= 1 && !last);
        EnableWindow(Ctl(30005), i > 0 && !last);
        EnableWindow(Ctl(30006), !last);
        EnableWindow(Ctl(30007), !last);
        EnableWindow(Ctl(30028), M().ItemCount() > 0);
    }

    // Typing on the closing row first gives the menu a new closing row.
    bool Grow(int i) {
        if (!Closing(i))
            return true;
        if (!dsg::MnuTypeInto(M(), size_t(i)))
            return false;
        SendMessageA(Ctl(30002), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
        SetRow(M().items.size() - 1);
        return true;
    }
    void Store(int i) {
        auto& it = M().items[size_t(i)];
        int sc = int(SendMessageA(Ctl(30040), CB_GETCURSEL, 0, 0));
        dsg::MnuSetShortcut(it, sc < 0 ? 0 : sc);
        dsg::CaptionFields f;
        f.text = ItemText(m_hWnd, 30019);
        std::string key = ItemText(m_hWnd, 30021);
        f.key = key.empty() ? 0 : key[0];
        f.kana = ItemText(m_hWnd, 30022);
        f.dialog = IsDlgButtonChecked(m_hWnd, 30011) == BST_CHECKED;
        if (it.hasShortcut)
            f.shortcut = dsg::ShortcutTable()[size_t(dsg::ShortcutIndex(it))].text;
        dsg::SetField(it.caption, dsg::CaptionBuild(f));
        dsg::SetField(it.name, ItemText(m_hWnd, 30020));
        uint16_t flags = it.flags & ~(dsg::kMenuGrayed | dsg::kMenuChecked);
        if (IsDlgButtonChecked(m_hWnd, 30008) == BST_CHECKED)
            flags |= dsg::kMenuGrayed;
        if (IsDlgButtonChecked(m_hWnd, 30009) == BST_CHECKED)
            flags |= dsg::kMenuChecked;
        it.flags = flags;
        if (g_pRcDoc)
            g_pRcDoc->SetModifiedFlag(true);
        SetRow(size_t(i));
    }
    void Separator(int i) {
        if (IsDlgButtonChecked(m_hWnd, 30010) == BST_CHECKED) {
            if (!Grow(i))
                return;
            auto& it = M().items[size_t(i)];
            it.flags = dsg::kMenuSeparator;
            it.caption[0] = it.name[0] = 0;
            dsg::MnuSetShortcut(it, 0);
            it.id = M().NextFreeId(true);
        } else {
            auto& it = M().items[size_t(i)];
            it.flags &= uint16_t(~dsg::kMenuSeparator);
            it.id = M().NextFreeId(false);
        }
        if (g_pRcDoc)
            g_pRcDoc->SetModifiedFlag(true);
        SetRow(size_t(i));
        Show(i);
    }

    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        CenterInWorkArea(m_hWnd);
        SendMessageA(Ctl(30018), EM_LIMITTEXT, 31, 0);
        SendMessageA(Ctl(30019), EM_LIMITTEXT, 63, 0);
        SendMessageA(Ctl(30020), EM_LIMITTEXT, 21, 0);
        SendMessageA(Ctl(30021), EM_LIMITTEXT, 1, 0);
        SendMessageA(Ctl(30022), EM_LIMITTEXT, 1, 0);
        for (const auto& e : dsg::ShortcutTable())
            SendMessageA(Ctl(30040), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.text.c_str()));
        m_guard = true;
        SetDlgItemTextA(m_hWnd, 30018, M().Name().c_str());
        m_guard = false;
        FillRows();
        Select(0);
        return true;
    }

    bool OnCommand(UINT id, UINT code, HWND control) override {
        int i = Row();
        switch (id) {
        case 30018:
            if (code == EN_CHANGE && !m_guard)
                dsg::SetField(M().header.name, ItemText(m_hWnd, 30018).substr(0, 31));
            return true;
        case 30019: case 30020: case 30021: case 30022:
            if (code == EN_CHANGE && !m_guard && i >= 0 && Grow(i)) {
                Store(i);
                States(i);
            }
            return true;
        case 30040:
            if (code == CBN_SELCHANGE && !m_guard && i >= 0 && !Closing(i))
                Store(i);
            return true;
        case 30008: case 30009: case 30011:
            if (!m_guard && i >= 0 && Grow(i))
                Store(i);
            return true;
        case 30010:
            if (!m_guard && i >= 0)
                Separator(i);
            return true;
        case 30002:
            if (code == LBN_SELCHANGE)
                Show(i);
            return true;
        case 30004: case 30005:
            if (i >= 0) {
                if (id == 30004)
                    dsg::MnuLevelUp(M(), size_t(i));
                else
                    dsg::MnuLevelDown(M(), size_t(i));
                for (int j = i - 1; j <= i + 1; ++j)
                    if (j >= 0 && size_t(j) < M().items.size())
                        SetRow(size_t(j));
                if (g_pRcDoc)
                    g_pRcDoc->SetModifiedFlag(true);
                States(i);
            }
            return true;
        case 30006:
            if (i >= 0 && !Closing(i) && M().Insert(size_t(i))) {
                FillRows();
                Select(i);
                SetFocus(Ctl(30019));
            }
            return true;
        case 30007:
            if (i >= 0 && !Closing(i)) {
                auto& m = M();
                size_t k = size_t(i);
                if (k > 0 && (m.items[k - 1].flags & dsg::kMenuPopup) &&
                    (k + 1 >= m.ItemCount() || m.items[k + 1].level <= m.items[k - 1].level)) {
                    m.items[k - 1].flags &= uint16_t(~dsg::kMenuPopup);
                    m.items[k - 1].popup = 0;
                }
                m.Delete(k);
                FillRows();
                Select(i);
            }
            return true;
        case 30028:
            if (MessageBoxById(dsg::kMsgDeleteAllItems, MB_OKCANCEL | MB_ICONQUESTION, 0) == IDOK) {
                M().items.clear();
                M().AppendEmpty();
                M().Sync();
                FillRows();
                Select(0);
            }
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
        }
    }

    void OnOK() override {
        if (M().Name().empty()) {
            SetFocus(Ctl(30018));
            MessageBoxById(dsg::kMsgNoMenuName, MB_ICONEXCLAMATION, 0);
            return;
        }
        if (M().ItemCount() == 0) {
            MessageBoxById(dsg::kMsgNoMenuItems, MB_ICONEXCLAMATION, 0);
            return;
        }
        dsg::MenuCheck c = dsg::MnuCheckAndNumber(M());
        if (c.message) {
            FillRows();
            Select(c.index < 0 ? 0 : c.index);
            MessageBoxById(c.message, MB_ICONEXCLAMATION, 0);
            return;
        }
        CDialog::OnOK();
    }

    // Rows indented by their level, a line leading to the text of a nested
    // item, greyed items in the grey-text colour.
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
        if (msg != WM_DRAWITEM || wp != 30002)
            return CDialog::OnWndMsg(msg, wp, lp, result);
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        *result = TRUE;
        if (d->itemID == UINT(-1))
            return true;
        bool selected = d->itemState & ODS_SELECTED;
        FillRect(d->hDC, &d->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        size_t i = size_t(d->itemData & 0xFFFF);
        if (i >= M().items.size())
            return true;
        const auto& it = M().items[i];
        TEXTMETRICA tm;
        GetTextMetricsA(d->hDC, &tm);
        int level = i + 1 == M().items.size() ? 0 : int(it.level);
        int x = d->rcItem.left + 2 * tm.tmAveCharWidth * level;
        int y = d->rcItem.top + (d->rcItem.bottom - d->rcItem.top - tm.tmHeight) / 2;
        COLORREF fg = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : GetSysColor((it.flags & dsg::kMenuGrayed) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
        if (level > 0) {
            HPEN pen = CreatePen(PS_SOLID, 1, fg);
            HGDIOBJ old = SelectObject(d->hDC, pen);
            MoveToEx(d->hDC, d->rcItem.left, y + tm.tmHeight / 2, nullptr);
            LineTo(d->hDC, x - 2, y + tm.tmHeight / 2);
            SelectObject(d->hDC, old);
            DeleteObject(pen);
        }
        char text[256] = {};
        SendMessageA(d->hwndItem, LB_GETTEXT, d->itemID, reinterpret_cast<LPARAM>(text));
        SetBkMode(d->hDC, TRANSPARENT);
        SetTextColor(d->hDC, fg);
        int stops[2] = {26 * tm.tmAveCharWidth, 38 * tm.tmAveCharWidth};
        TabbedTextOutA(d->hDC, x, y, text, lstrlenA(text), 2, stops, d->rcItem.left);
        if (d->itemState & ODS_FOCUS)
            DrawFocusRect(d->hDC, &d->rcItem);
        return true;
    }

private:
    dsg::MenuList& m_list;
    int m_index;
    bool m_guard = false;
};

}  // namespace

bool DsgApplyMenuBar(dsg::Form& form) {
    HWND w = Hwnd(form.window);
    if (!w || !g_pRcDoc)
        return false;
    if (HMENU old = GetMenu(w)) {
        SetMenu(w, nullptr);
        DestroyMenu(old);
    }
    auto& menus = g_pRcDoc->m_doc.menus.menus;
    if (form.menu < 0 || size_t(form.menu) >= menus.size())
        return false;
    std::vector<uint8_t> t;
    if (!dsg::RcBuildMenuTemplate(Host(), menus[size_t(form.menu)].block, t))
        return false;
    HMENU m = LoadMenuIndirectA(t.data());
    if (!m) {
        MessageBoxById(dsg::kMsgMenuLoad, MB_ICONSTOP, 1);
        return false;
    }
    SetMenu(w, m);
    DrawMenuBar(w);
    return true;
}

bool DsgMenuEdit(int index, bool isNew) {
    if (!g_pRcDoc || index < 0 || size_t(index) >= g_pRcDoc->m_doc.menus.menus.size())
        return false;
    auto& list = g_pRcDoc->m_doc.menus;
    dsg::MenuBlock saved = list.menus[size_t(index)].block;
    bool modified = g_pRcDoc->IsModified();
    CMenuEditDlg dlg(list, index);
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    EnableFrames(true);
    auto& forms = g_pRcDoc->m_doc.forms;
    if (r != IDOK) {
        if (isNew) {
            list.menus.erase(list.menus.begin() + index);
        } else {
            // The menu as it was, and the bars of the forms that show it.
            list.menus[size_t(index)].block = saved;
            for (auto& f : forms)
                if (f.menu == index)
                    DsgApplyMenuBar(f);
        }
        g_pRcDoc->SetModifiedFlag(modified);
        return false;
    }
    list.RenewEvents(index);
    for (auto& f : forms)
        if (f.menu == index)
            DsgApplyMenuBar(f);
    // Menus left without items go.
    for (int j = int(list.menus.size()) - 1; j >= 0; --j) {
        if (list.menus[size_t(j)].block.ItemCount() != 0 || list.menus[size_t(j)].uses != 0)
            continue;
        list.menus.erase(list.menus.begin() + j);
        for (auto& f : forms)
            if (f.menu > j)
                --f.menu;
    }
    g_pRcDoc->SetModifiedFlag(true);
    return true;
}
