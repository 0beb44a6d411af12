#include "smalldlgs.h"

#include "dlgrules.h"
#include "idehelpers.h"
#include "ideapp.h"
#include "prjframe.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>

FW_IMPLEMENT_DYNAMIC(CRunArgDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CNewFileDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CHotKeyDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CFolderAddDlg, CDialog)
FW_IMPLEMENT_DYNAMIC(CTvFileDialog, CFileDialog)

namespace {

constexpr int kEditId = 30018;
constexpr int kBrowseId = 30004;
constexpr int kKeyListId = 1028;
constexpr int kAltId = 1024, kControlId = 1025, kExtId = 1026, kShiftId = 1027;
constexpr UINT kFolderTemplate = IDD_FOLDER_PICK;
const uint32_t kKinds[] = {tambrix::kKindBas, tambrix::kKindSub, tambrix::kKindBet,
                           tambrix::kKindRc, tambrix::kKindMak, tambrix::kKindOther};

}  // namespace

namespace {

void CenterIn(HWND hwnd, const RECT& area) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    SetWindowPos(hwnd, nullptr, area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

struct FaceScan {
    std::vector<std::string> faces;
    bool withVertical;
};

int CALLBACK AddFace(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
    auto* scan = reinterpret_cast<FaceScan*>(data);
    std::string face = lf->lfFaceName;
    if ((scan->withVertical || face[0] != '@') &&
        std::find(scan->faces.begin(), scan->faces.end(), face) == scan->faces.end())
        scan->faces.push_back(face);
    return 1;
}

struct SizeScan {
    std::vector<tambrix::SizeRow>* rows;
    int dpi;
};

int CALLBACK AddSize(const LOGFONTA*, const TEXTMETRICA* tm, DWORD type, LPARAM data) {
    auto* scan = reinterpret_cast<SizeScan*>(data);
    if ((type & RASTER_FONTTYPE) && !(type & TRUETYPE_FONTTYPE)) {
        tambrix::AddRasterSize(*scan->rows, tm->tmHeight - tm->tmInternalLeading, scan->dpi);
        return 1;
    }
    tambrix::AddStandardSizes(*scan->rows);
    return 0;
}

int CALLBACK FaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

LOGFONTA FaceQuery(const std::string& face) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return lf;
}

}  // namespace

void CenterOnDesktop(HWND hwnd) {
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    CenterIn(hwnd, desk);
}

void CenterInWorkArea(HWND hwnd) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CenterIn(hwnd, work);
}

std::vector<std::string> FontFaceNames(HDC dc, bool withVertical) {
    LOGFONTA lf = FaceQuery("");
    FaceScan scan{{}, withVertical};
    EnumFontFamiliesExA(dc, &lf, AddFace, reinterpret_cast<LPARAM>(&scan), 0);
    return scan.faces;
}

void AddFontFaces(HDC dc, HWND combo, bool withVertical) {
    for (const std::string& face : FontFaceNames(dc, withVertical)) {
        if (SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face.c_str())) ==
            CB_ERR)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    }
}

std::vector<tambrix::SizeRow> FontSizeRows(HDC dc, const std::string& face, int dpi) {
    std::vector<tambrix::SizeRow> rows;
    LOGFONTA lf = FaceQuery(face);
    SizeScan scan{&rows, dpi};
    EnumFontFamiliesExA(dc, &lf, AddSize, reinterpret_cast<LPARAM>(&scan), 0);
    return rows;
}

bool HasFontFace(HDC dc, const std::string& face) {
    LOGFONTA lf = FaceQuery(face);
    bool found = false;
    EnumFontFamiliesExA(dc, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// ---- CRunArgDlg --------------------------------------------------------

void CRunArgDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, kEditId, m_strArgs); }

bool CRunArgDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EnableFrames(false);
    CenterOnDesktop(m_hWnd);
    return true;
}

void CRunArgDlg::OnOK() {
    if (!UpdateData(true))
        return;
    EnableFrames(true);
    EndDialog(IDOK);
}

void CRunArgDlg::OnCancel() {
    EnableFrames(true);
    CDialog::OnCancel();
}

// ---- CNewFileDlg -------------------------------------------------------

void CNewFileDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, kEditId, m_strFileName);
    DDV_MaxChars(dx, m_strFileName, 255);
}

bool CNewFileDlg::OnInitDialog() {
    m_edtName.SubclassDlgItem(kEditId, this);
    CDialog::OnInitDialog();
    CenterOnDesktop(m_hWnd);
    EnableFrames(false);
    auto enable = [this](int id, bool on) { EnableWindow(GetDlgItem(m_hWnd, id), on); };
    if (m_bProjectMode) {
        for (int id : {30014, 30015, 30016, 30017, 30027})
            enable(id, false);
        m_nKind = tambrix::kKindMak;
    } else {
        enable(tambrix::kKindMak, false);
        m_nKind = tambrix::kKindBas;
    }
    CheckDlgButton(m_hWnd, static_cast<int>(m_nKind), BST_CHECKED);
    m_strExt = tambrix::NewFileExtension(m_nKind);
    m_strFileName = tambrix::ProposeNewFileName(m_bProjectMode != 0, m_nNumber, m_strExt,
        [](const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; });
    SetDlgItemTextA(m_hWnd, kEditId, m_strFileName.c_str());
    if (g_pPrjFrame && g_pPrjFrame->FindRcTreeFrame())
        enable(tambrix::kKindRc, false);  // one resource script at a time
    // Folder and name together stay within 255 characters.
    char cwd[258] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    int room = 255 - static_cast<int>(lstrlenA(cwd));
    m_edtName.LimitText(room > 0 ? room : 1);
    return true;
}

void CNewFileDlg::SelectStem() {
    std::string text = m_edtName.GetWindowText();
    m_edtName.SetSel(0, static_cast<int>(tambrix::NameStemLength(text)));
    m_edtName.ScrollCaret();
}

void CNewFileDlg::OnKindChange() {
    uint32_t kind = 0;
    for (uint32_t id : kKinds) {
        if (IsDlgButtonChecked(m_hWnd, static_cast<int>(id)) == BST_CHECKED) {
            kind = id;
            break;
        }
    }
    if (kind == 0 || kind == m_nKind)
        return;
    m_nKind = kind;
    m_strExt = tambrix::NewFileExtension(kind);
    m_strFileName = tambrix::NameForKind(m_edtName.GetWindowText(), kind);
    m_edtName.SetWindowText(m_strFileName);
    SelectStem();
}

bool CNewFileDlg::OnCommand(UINT id, UINT code, HWND control) {
    for (uint32_t k : kKinds) {
        if (id == k && code == BN_CLICKED) {
            OnKindChange();
            return true;
        }
    }
    if (id == kEditId && code == EN_SETFOCUS) {
        SelectStem();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CNewFileDlg::OnOK() {
    if (!UpdateData(true))
        return;
    EnableFrames(true);
    EndDialog(IDOK);
}

void CNewFileDlg::OnCancel() {
    EnableFrames(true);
    CDialog::OnCancel();
}

// ---- CHotKeyDlg --------------------------------------------------------

void CHotKeyDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, kAltId, m_bAlt);
    DDX_Check(dx, kControlId, m_bControl);
    DDX_Check(dx, kExtId, m_bExt);
    DDX_Check(dx, kShiftId, m_bShift);
}

void CHotKeyDlg::SetHotKeyValue(uint16_t value) {
    m_nValue = value;
    tambrix::HotKeyChecks c = tambrix::HotKeyChecksOf(value);
    m_bAlt = c.alt;
    m_bControl = c.control;
    m_bExt = c.ext;
    m_bShift = c.shift;
}

bool CHotKeyDlg::OnInitDialog() {
    m_lstKeys.SubclassDlgItem(kKeyListId, this);
    CDialog::OnInitDialog();
    auto add = [this](const std::string& text, int key) {
        int i = m_lstKeys.AddString(text.c_str());
        m_lstKeys.SetItemData(i, key);
    };
    add(tambrix::kHotKeyNoneRow, 0);
    char row[16];
    for (int f = 1; f <= 12; ++f) {
        std::snprintf(row, sizeof row, "  F%d", f);
        add(row, 0x6F + f);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        std::snprintf(row, sizeof row, "  %c", c);
        add(row, c);
    }
    for (int c = '0'; c <= '9'; ++c) {
        std::snprintf(row, sizeof row, "  %c", c);
        add(row, c);
    }
    int key = m_nValue & 0xFF;
    for (int i = 0; i < m_lstKeys.GetCount(); ++i) {
        if (m_lstKeys.GetItemData(i) == key) {
            m_lstKeys.SetCurSel(i);
            m_lstKeys.SetTopIndex(i);
            break;
        }
    }
    return true;
}

void CHotKeyDlg::OnOK() {
    if (!UpdateData(true))
        return;
    int sel = m_lstKeys.GetCurSel();
    uint8_t key = sel >= 0 ? static_cast<uint8_t>(m_lstKeys.GetItemData(sel)) : 0;
    m_nValue = tambrix::HotKeyValueOf(key, {m_bAlt != 0, m_bControl != 0, m_bExt != 0, m_bShift != 0});
    EndDialog(IDOK);
}

void CHotKeyDlg::FormatHotKeyName(std::string& buffer) const {
    buffer = tambrix::FormatHotKeyName(static_cast<uint8_t>(m_nValue & 0xFF),
                                       {m_bAlt != 0, m_bControl != 0, m_bExt != 0, m_bShift != 0});
}

// ---- CFolderAddDlg -----------------------------------------------------

void CFolderAddDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, kEditId, m_strFolder); }

bool CFolderAddDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_bAddMode) {
        SetWindowTextA(m_hWnd, tambrix::kFolderChangeTitle);
        SetDlgItemTextA(m_hWnd, IDOK, tambrix::kFolderChangeButton);
    }
    EnableWindow(GetDlgItem(m_hWnd, IDOK), FALSE);
    CenterOnDesktop(m_hWnd);
    return true;
}

bool CFolderAddDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kEditId && code == EN_CHANGE) {
        char buf[MAX_PATH] = {};
        GetDlgItemTextA(m_hWnd, kEditId, buf, sizeof buf);
        m_strFolder = buf;
        EnableWindow(GetDlgItem(m_hWnd, IDOK), !m_strFolder.empty());
        return true;
    }
    if (id == kEditId && code == EN_SETFOCUS) {
        SendDlgItemMessageA(m_hWnd, kEditId, EM_SETSEL, 0, -1);
        return true;
    }
    if (id == kBrowseId && code == BN_CLICKED) {
        if (auto folder = PickFolder(this))
            SetDlgItemTextA(m_hWnd, kEditId, folder->c_str());
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

// ---- the folder picker and the file dialog --------------------------------

std::optional<std::string> PickFolder(CWnd* owner) {
    // The older dialog shows folders and drives only (template 1536); the
    // name field is hidden and holds a placeholder so that OK closes it.
    CFileDialog dlg(true, nullptr, "*.*", OFN_HIDEREADONLY | OFN_LONGNAMES | OFN_NOVALIDATE, nullptr, owner);
    dlg.m_ofn.Flags &= ~OFN_EXPLORER;
    dlg.m_ofn.Flags |= OFN_ENABLETEMPLATE;
    dlg.m_nTemplate = kFolderTemplate;
    dlg.m_strTitle = tambrix::kFolderPickTitle;
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    std::string path = dlg.GetPathName();
    size_t bs = path.find_last_of('\\');
    if (bs != std::string::npos) {
        std::string folder = path.substr(0, bs == 2 ? 3 : bs);
        SetCurrentDirectoryA(folder.c_str());
    }
    char cur[257] = {};
    GetCurrentDirectoryA(sizeof cur, cur);
    return std::string(cur);
}

void CTvFileDialog::OnInitDone() {
    if (m_hDialog)
        CenterOnDesktop(m_hDialog);
}

bool CTvFileDialog::OnHelp() {
    static const DWORD kTopics[] = {0, 1002, 4002, 9002};
    if (m_nKind >= 1 && m_nKind <= 3)
        TheApp().WinHelp(kTopics[m_nKind], HELP_CONTEXT);
    return true;
}

bool CTvFileDialog::OnFileNameOK(const std::string& typed) {
    if (m_nKind != 3 || typed.find('-') == std::string::npos)
        return true;
    MessageBoxA(m_hDialog, fw::LoadStr(IDS_BAD_FILE_NAME).c_str(), fw::LoadStr(IDR_MAINFRAME).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return false;
}
