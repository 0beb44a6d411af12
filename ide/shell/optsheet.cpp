// The options sheet's windows: the editor page and the folders page.
#include "editor.h"
#include "ideapp.h"
#include "mainfrm.h"
#include "optedit.h"
#include "prjframe.h"
#include "smalldlgs.h"

#include <cstdio>
#include <cstdlib>

namespace {

enum : UINT {
    kLineNo = 30008, kComp = 30009, kErrMsg = 30010, kTab4 = 30014, kTab8 = 30015,
    kFaces = 30040, kSizes = 30041, kFore = 30042, kBack = 30043,
    kKinds = 30040, kFolders = 30002, kAdd = 30004, kChange = 30005, kDelete = 30006,
    kBrowse = 30007, kProject = 30018,
};

std::string ItemText(HWND list, int i, bool combo) {
    int n = static_cast<int>(SendMessageA(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
    if (n < 0)
        return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

const char* const kEnvNames[3] = {"PATH", "LIB", "INCLUDE"};

}  // namespace

// ---- the editor page ------------------------------------------------------

bool CTvOptEditPage::OnInitDialog() {
    LoadEditorSettings();
    CheckRadioButton(m_hWnd, kTab4, kTab8, m_settings.Tab == 4 ? kTab4 : kTab8);
    CheckDlgButton(m_hWnd, kComp, m_settings.Comp == 1);
    CheckDlgButton(m_hWnd, kErrMsg, m_settings.ErrMsg == 1);
    ::EnableWindow(GetDlgItem(m_hWnd, kErrMsg), m_settings.Comp == 1);
    HWND faces = GetDlgItem(m_hWnd, kFaces);
    HDC dc = GetDC(m_hWnd);
    AddFontFaces(dc, faces, true);
    // A face this machine lacks shows as the one the editor draws with, so
    // that OK keeps that face and its size instead of an empty choice.
    std::string used = EditorFaceFallback(dc, m_settings.FontFace);
    if (!used.empty())
        m_settings.FontFace = used;
    ReleaseDC(m_hWnd, dc);
    SendMessageA(faces, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(m_settings.FontFace.c_str()));
    if (ItemText(faces, static_cast<int>(SendMessageA(faces, CB_GETCURSEL, 0, 0)), true) != m_settings.FontFace)
        SendMessageA(faces, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    m_nCurSize = m_settings.FontSize;
    FillSizes();
    m_wndFore.SubclassDlgItem(kFore, this);
    m_wndBack.SubclassDlgItem(kBack, this);
    RECT fr;
    GetWindowRect(faces, &fr);
    for (CColorComboBox* c : {&m_wndFore, &m_wndBack}) {
        c->AddColorItems();
        c->SetItemHeight(-1, fr.bottom - fr.top - 6);
    }
    m_wndFore.SetCurSel(static_cast<int>(m_settings.ForeColor));
    m_wndBack.SetCurSel(static_cast<int>(m_settings.BackColor));
    CheckDlgButton(m_hWnd, kLineNo, m_settings.LineNo == 1);
    return true;
}

void CTvOptEditPage::FillSizes() {
    HWND sizes = GetDlgItem(m_hWnd, kSizes);
    HDC dc = GetDC(m_hWnd);
    m_nLogPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    m_sizes = FontSizeRows(dc, m_settings.FontFace, m_nLogPixelsY);
    ReleaseDC(m_hWnd, dc);
    SendMessageA(sizes, CB_RESETCONTENT, 0, 0);
    for (const auto& r : m_sizes)
        SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.text.c_str()));
    SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(tambrix::SizeRowFor(m_sizes, m_nCurSize)), 0);
}

void CTvOptEditPage::OnFaceChange() {
    HWND faces = GetDlgItem(m_hWnd, kFaces);
    std::string face = ItemText(faces, static_cast<int>(SendMessageA(faces, CB_GETCURSEL, 0, 0)), true);
    if (face == m_settings.FontFace)
        return;
    m_settings.FontFace = face;
    HWND sizes = GetDlgItem(m_hWnd, kSizes);
    int sel = static_cast<int>(SendMessageA(sizes, CB_GETCURSEL, 0, 0));
    if (sel >= 0)
        m_nCurSize = tambrix::FontSizeOfRow(ItemText(sizes, sel, true));
    FillSizes();
}

bool CTvOptEditPage::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kComp && code == BN_CLICKED) {
        ::EnableWindow(GetDlgItem(m_hWnd, kErrMsg), IsDlgButtonChecked(m_hWnd, kComp) == BST_CHECKED);
        return true;
    }
    if (id == kFaces && code == CBN_SELCHANGE) {
        OnFaceChange();
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control);
}

void CTvOptEditPage::OnOK() {
    m_settings.Tab = IsDlgButtonChecked(m_hWnd, kTab4) == BST_CHECKED ? 4 : 8;
    m_settings.LineNo = IsDlgButtonChecked(m_hWnd, kLineNo) == BST_CHECKED;
    m_settings.Comp = IsDlgButtonChecked(m_hWnd, kComp) == BST_CHECKED;
    m_settings.ErrMsg = IsDlgButtonChecked(m_hWnd, kErrMsg) == BST_CHECKED;
    m_settings.ForeColor = static_cast<uint32_t>(m_wndFore.GetCurSel());
    m_settings.BackColor = static_cast<uint32_t>(m_wndBack.GetCurSel());
    // No choice in a list keeps what the page opened with.
    HWND faces = GetDlgItem(m_hWnd, kFaces);
    int face = static_cast<int>(SendMessageA(faces, CB_GETCURSEL, 0, 0));
    if (face >= 0)
        m_settings.FontFace = ItemText(faces, face, true);
    HWND sizes = GetDlgItem(m_hWnd, kSizes);
    int sel = static_cast<int>(SendMessageA(sizes, CB_GETCURSEL, 0, 0));
    int32_t size = sel >= 0 ? tambrix::FontSizeOfRow(ItemText(sizes, sel, true)) : 0;
    m_settings.FontSize = size > 0 ? size : m_nCurSize;
    SaveEditorSettings();
}

// ---- the folders page -----------------------------------------------------

bool CTvOptDirPage::OnInitDialog() {
    HWND kinds = GetDlgItem(m_hWnd, kKinds);
    static const char* const kKindRows[3] = {
        "\x8E\xC0\x8D\x73\x89\xC2\x94\x5C\xD3\xBC\xDE\xAD\xB0\xD9 (PATH=)",
        "\xD7\xB2\xCC\xDE\xD7\xD8 \xCC\xA7\xB2\xD9 (LIB=)",
        "\xB2\xDD\xB8\xD9\xB0\xC4\xDE \xCC\xA7\xB2\xD9 (INCLUDE=)",
    };
    for (const char* r : kKindRows)
        SendMessageA(kinds, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r));
    CIdeApp& app = TheApp();
    m_strLists[0] = app.m_settings.userBin;
    m_strLists[1] = app.m_settings.userLib;
    m_strLists[2] = app.m_settings.userInclude;
    m_nKind = -1;
    ShowKind(0);
    ::EnableWindow(GetDlgItem(m_hWnd, kChange), FALSE);
    ::EnableWindow(GetDlgItem(m_hWnd, kDelete), FALSE);
    SetDlgItemTextA(m_hWnd, kProject, app.m_settings.projectFolder.c_str());
    return true;
}

void CTvOptDirPage::ShowKind(int kind) {
    CIdeApp& app = TheApp();
    m_nKind = kind;
    m_bShown[kind] = true;
    SendMessageA(GetDlgItem(m_hWnd, kKinds), CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
    const std::string* machine[3] = {&app.m_settings.machineBin, &app.m_settings.machineLib,
                                     &app.m_settings.machineInclude};
    m_rows.clear();
    tambrix::AddFolderRows(m_rows, *machine[kind], tambrix::kFromInstallation);
    tambrix::AddFolderRows(m_rows, m_strLists[kind], tambrix::kFromUser);
    if (const char* env = std::getenv(kEnvNames[kind]))
        tambrix::AddFolderRows(m_rows, env, tambrix::kFromEnvironment);
    FillList();
}

void CTvOptDirPage::FillList() {
    HWND list = GetDlgItem(m_hWnd, kFolders);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const auto& r : m_rows) {
        LRESULT i = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.text.c_str()));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(i), r.mark);
    }
}

void CTvOptDirPage::CollectKind() {
    if (m_nKind >= 0)
        m_strLists[m_nKind] = tambrix::CollectUserFolders(m_rows);
}

void CTvOptDirPage::EnableChange() {
    int sel = static_cast<int>(SendMessageA(GetDlgItem(m_hWnd, kFolders), LB_GETCURSEL, 0, 0));
    bool on = sel >= 0 && sel < static_cast<int>(m_rows.size()) && tambrix::CanChangeFolder(m_rows[static_cast<size_t>(sel)].mark);
    ::EnableWindow(GetDlgItem(m_hWnd, kChange), on);
    ::EnableWindow(GetDlgItem(m_hWnd, kDelete), on);
}

bool CTvOptDirPage::OnCommand(UINT id, UINT code, HWND control) {
    HWND list = GetDlgItem(m_hWnd, kFolders);
    int sel = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    switch (id) {
    case kKinds:
        if (code == CBN_SELCHANGE) {
            CollectKind();
            ShowKind(static_cast<int>(SendMessageA(GetDlgItem(m_hWnd, kKinds), CB_GETCURSEL, 0, 0)));
            ::EnableWindow(GetDlgItem(m_hWnd, kChange), FALSE);
            ::EnableWindow(GetDlgItem(m_hWnd, kDelete), FALSE);
        }
        return true;
    case kFolders:
        if (code == LBN_SELCHANGE)
            EnableChange();
        return true;
    case kAdd: {
        CFolderAddDlg dlg(this);
        dlg.m_bAddMode = 1;
        if (dlg.DoModal() == IDOK && tambrix::AddUserFolder(m_rows, dlg.m_strFolder)) {
            FillList();
            SendMessageA(list, LB_SETCURSEL, m_rows.size() - 1, 0);
            EnableChange();
        }
        return true;
    }
    case kChange: {
        if (sel < 0 || sel >= static_cast<int>(m_rows.size()))
            return true;
        CFolderAddDlg dlg(this);
        dlg.m_bAddMode = 0;
        dlg.m_strFolder = m_rows[static_cast<size_t>(sel)].text;
        if (dlg.DoModal() == IDOK) {
            tambrix::FolderRow row{dlg.m_strFolder, m_rows[static_cast<size_t>(sel)].mark};
            m_rows.erase(m_rows.begin() + sel);
            m_rows.push_back(row);
            FillList();
            SendMessageA(list, LB_SETCURSEL, m_rows.size() - 1, 0);
        }
        return true;
    }
    case kDelete:
        if (sel >= 0 && sel < static_cast<int>(m_rows.size())) {
            m_rows.erase(m_rows.begin() + sel);
            FillList();
        }
        return true;
    case kProject:
        if (code == EN_SETFOCUS)
            SendMessageA(control, EM_SETSEL, 0, -1);
        return true;
    case kBrowse:
        if (auto folder = PickFolder(this))
            SetDlgItemTextA(m_hWnd, kProject, folder->substr(0, 255).c_str());
        return true;
    default:
        return CPropertyPage::OnCommand(id, code, control);
    }
}

void CTvOptDirPage::OnOK() {
    CollectKind();
    CIdeApp& app = TheApp();
    std::string* user[3] = {&app.m_settings.userBin, &app.m_settings.userLib, &app.m_settings.userInclude};
    for (int k = 0; k < 3; ++k) {
        if (m_bShown[k])
            *user[k] = m_strLists[k];
    }
    char project[MAX_PATH] = {};
    GetDlgItemTextA(m_hWnd, kProject, project, sizeof project);
    app.m_settings.projectFolder = project;
    fw::RegStore& reg = app.Registry();
    if (reg.CreateKey(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey)) {
        reg.WriteString(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey, "Bin", app.m_settings.userBin);
        reg.WriteString(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey, "Lib", app.m_settings.userLib);
        reg.WriteString(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey, "Include", app.m_settings.userInclude);
        reg.WriteString(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey, "Project", app.m_settings.projectFolder);
    }
}

// ---- the options command ---------------------------------------------------

void CMainFrame::OnViewOptions() {
    CTvOptEditPage edit;
    CTvOptDirPage dirs;
    CPropertySheet sheet("\xB5\xCC\xDF\xBC\xAE\xDD", m_hWnd);  // ｵﾌﾟｼｮﾝ
    sheet.AddPage(&edit);
    sheet.AddPage(&dirs);
    if (sheet.DoModal() != IDOK)
        return;
    tambrix::EditorSettingsCopy copy;
    edit.CopyEditorSettings(copy);
    if (CPrjFrame* pf = TheApp().m_pPrjFrame)
        pf->ApplyEditorSettings(copy);
}
