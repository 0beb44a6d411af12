#include "betedit.h"

#include "bet_document.h"
#include "bet_pages.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "prjtexts.h"
#include "prjwin.h"
#include "shellids.h"
#include "sjis_path.h"
#include "smalldlgs.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

FW_IMPLEMENT_DYNCREATE(CBetDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CBetFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CBetView, CView)

FW_BEGIN_CMD_MAP(CBetDoc, CDocument)
    FW_ON_COMMAND(FW_ID_FILE_SAVE_AS, OnFileSaveAs)
FW_END_CMD_MAP()

namespace {

constexpr UINT kViewTemplate = IDD_BET_VIEW, kModeTemplate = IDD_BET_MODE, kLineTemplate = IDD_BET_LINE,
               kPortTemplate = IDD_BET_PORT;
constexpr UINT kFirstPortCaption = IDS_BET_PORT0;  // "ﾎﾟｰﾄ0" .. "ﾎﾟｰﾄ4"
constexpr int kTabControl = 30030;
constexpr int kPortSheetButton = 30004, kPrinterEdit = 30018, kPrinterSpin = 1003, kPrinterDefaults = 30004;
constexpr int kPortDefaults = 30004;
constexpr int kBaud = 30040, kDataLength = 30041, kParity = 30042, kStopBits = 30043, kBufferBusy = 30044,
              kCodeSystem = 30045;
constexpr unsigned kDefaultPrinterColumns = 80;

// The pages sit 20 right of the tab control's client and 30 below its tabs.
constexpr int kPageLeft = 20, kPageTop = 30;

INT_PTR CALLBACK ViewDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

// ---- the document ------------------------------------------------------------

CBetDoc::CBetDoc() : m_record(NewEnvBlock()) {}

bool CBetDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    // A new runtime environment is worth a question when it is closed.
    SetModifiedFlag(true);
    return true;
}

bool CBetDoc::OnOpenDocument(const std::string& path) {
    std::vector<uint8_t> bytes;
    prj::ProjectEnv& env = prjui::Env();
    if (!env.fs.ReadFile(path, bytes)) {
        env.messages.Show(prj::kMsgReadFailed, prj::kMbIconHand, &path);
        return false;
    }
    // A file that is not a whole signed record is refused with its own
    // message (the analyzer would refuse it after a save anyway).
    if (!prj::ReadBetFile(bytes, path, m_record, env.messages))
        return false;
    SetModifiedFlag(false);
    return true;
}

void CBetDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        std::vector<uint8_t> image = prj::BetFileImage(m_record);
        if (!ar.Write(image.data(), image.size()))
            throw std::runtime_error("write");
    }
}

bool CBetDoc::SaveModified() { return prjui::AskToSave(*this); }

void CBetDoc::OnFileSaveAs() {
    EnableFrames(false);
    DoSave("");
    EnableFrames(true);
}

// ---- the frame -----------------------------------------------------------------

void CBetFrm::OnClose() {
    EnableFrames(false);
    CMDIChildWnd::OnClose();
    EnableFrames(true);
}

bool CBetFrm::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_WINDOWPOSCHANGING) {
        bool done = CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
        prjui::KeepCaptionWhenZoomed(m_hWnd, reinterpret_cast<WINDOWPOS*>(lp));
        return done;
    }
    return CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
}

// ---- the pages ---------------------------------------------------------------

CBetDoc* CBetPage::Document() const {
    CWnd* view = GetParent();
    CWnd* frame = view ? view->GetParent() : nullptr;
    auto* f = dynamic_cast<CFrameWnd*>(frame);
    return f ? dynamic_cast<CBetDoc*>(f->GetActiveDocument()) : nullptr;
}

CBetModePage::CBetModePage() : CBetButtonsPage(kModeTemplate, prj::kBetModePage) {}
CBetLinePage::CBetLinePage() : CBetButtonsPage(kLineTemplate, prj::kBetLinePage) {}

void CBetButtonsPage::ShowRecord() {
    CBetDoc* doc = Document();
    if (!doc)
        return;
    auto show = [&](int id) { CheckDlgButton(m_hWnd, id, prj::BetControlChecked(m_page, doc->m_record, id)); };
    for (const prj::BetRadioPair& r : m_page.radios) {
        show(r.first_control);
        show(r.second_control);
    }
    for (const prj::BetCheckBox& c : m_page.checks)
        show(c.control);
}

bool CBetButtonsPage::OnInitDialog() {
    CBetPage::OnInitDialog();
    ShowRecord();
    return true;
}

bool CBetButtonsPage::OnCommand(UINT id, UINT code, HWND control) {
    if (code != BN_CLICKED)
        return CBetPage::OnCommand(id, code, control);
    CBetDoc* doc = Document();
    if (!doc)
        return true;
    bool changed;
    if (static_cast<int>(id) == m_page.defaults_control) {
        changed = prj::BetPageDefaults(m_page, doc->m_record);
        ShowRecord();
    } else {
        bool checked = IsDlgButtonChecked(m_hWnd, static_cast<int>(id)) == BST_CHECKED;
        changed = prj::BetControlClicked(m_page, doc->m_record, static_cast<int>(id), checked);
    }
    if (changed)
        doc->SetModifiedFlag(true);
    return true;
}

bool CBetLinePage::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kPortSheetButton && code == BN_CLICKED) {
        if (CBetDoc* doc = Document())
            RunPortSheet(this, doc);
        return true;
    }
    return CBetButtonsPage::OnCommand(id, code, control);
}

bool CBetPrinterPage::OnInitDialog() {
    CBetPage::OnInitDialog();
    m_spin.SubclassDlgItem(kPrinterSpin, this);
    SendMessageA(m_spin.m_hWnd, UDM_SETRANGE32, 1, 255);
    if (CBetDoc* doc = Document())
        SetDlgItemInt(m_hWnd, kPrinterEdit, doc->m_record.printer_columns, FALSE);
    return true;
}

bool CBetPrinterPage::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kPrinterEdit && code == EN_CHANGE) {
        CBetDoc* doc = Document();
        char text[32] = {};
        GetDlgItemTextA(m_hWnd, kPrinterEdit, text, sizeof text);
        std::optional<uint8_t> v = prj::ParsePrinterWidth(text);
        if (doc && v && *v != doc->m_record.printer_columns) {
            doc->m_record.printer_columns = *v;
            doc->SetModifiedFlag(true);
        }
        return true;
    }
    if (id == kPrinterDefaults && code == BN_CLICKED) {
        // The record follows through the change notice.
        SetDlgItemInt(m_hWnd, kPrinterEdit, kDefaultPrinterColumns, FALSE);
        return true;
    }
    return CBetPage::OnCommand(id, code, control);
}

// ---- the view ----------------------------------------------------------------

CBetView::~CBetView() {
    delete m_pMode;
    delete m_pLine;
    delete m_pPrinter;
}

bool CBetView::Create(CWnd* parent, UINT id, CCreateContext* ctx) {
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    fw::BeginCreateHook(this);
    HWND h = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kViewTemplate), parent->m_hWnd,
                                ViewDlgProc, 0);
    fw::EndCreateHook();
    if (!h) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return false;
    }
    SetWindowLongPtrA(h, GWLP_ID, static_cast<LONG_PTR>(id));
    RECT rc;
    GetClientRect(parent->m_hWnd, &rc);
    SetWindowPos(h, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(h, SW_SHOW);
    return true;
}

void CBetView::OnPaint() { Default(); }

CBetPage* CBetView::Page(int tab) const {
    switch (tab) {
    case 0: return m_pMode;
    case 1: return m_pLine;
    case 2: return m_pPrinter;
    default: return nullptr;
    }
}

void CBetView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    m_hTab = GetDlgItem(m_hWnd, kTabControl);
    const char* tabs[] = {prjui::text::kBetTabMode, prjui::text::kBetTabLine, prjui::text::kBetTabPrinter};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tabs[i]);
        SendMessageA(m_hTab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    GetClientRect(m_hTab, &m_rcTabClient);
    TabCtrl_GetItemRect(m_hTab, 0, &m_rcTabItem);
    m_pMode = new CBetModePage;
    m_pLine = new CBetLinePage;
    m_pPrinter = new CBetPrinterPage;
    POINT at{m_rcTabClient.left + kPageLeft, m_rcTabItem.bottom + kPageTop};
    MapWindowPoints(m_hTab, m_hWnd, &at, 1);
    for (CBetPage* p : {static_cast<CBetPage*>(m_pMode), static_cast<CBetPage*>(m_pLine),
                        static_cast<CBetPage*>(m_pPrinter)}) {
        p->Create(p->m_nIDTemplate, this);
        SetWindowPos(p->m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(m_pMode->m_hWnd, SW_SHOW);
    PostMessageA(m_pMode->m_hWnd, WM_SETFOCUS, 0, 0);
}

void CBetView::ShowTab(int tab) {
    for (int i = 0; i < 3; ++i) {
        if (CBetPage* p = Page(i); p && p->m_hWnd)
            ShowWindow(p->m_hWnd, i == tab ? SW_SHOW : SW_HIDE);
    }
    if (CBetPage* p = Page(tab); p && p->m_hWnd)
        SetFocus(p->m_hWnd);
}

bool CBetView::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (nm->hwndFrom == m_hTab && nm->code == static_cast<UINT>(TCN_SELCHANGE))
        ShowTab(TabCtrl_GetCurSel(m_hTab));
    return CView::OnNotify(id, nm, result);
}

// ---- the port sheet ------------------------------------------------------------

CBetComExPage::CBetComExPage(int port, const prj::PortSettings& s)
    : CPropertyPage(kPortTemplate, kFirstPortCaption + static_cast<UINT>(port)), m_settings(s),
      m_bParityOn(s.parity != 0) {}

namespace {

struct PortCombo {
    int control;
    int prj::PortSettings::*value;
    std::vector<const char*> (*entries)();
};

std::vector<const char*> RateEntries() {
    static std::vector<std::string> texts;
    if (texts.empty()) {
        for (uint32_t r : prj::kBaudRates)
            texts.push_back(std::to_string(r));
    }
    std::vector<const char*> out;
    for (const std::string& t : texts)
        out.push_back(t.c_str());
    return out;
}

std::vector<const char*> Entries(const char* const* first, int n) { return {first, first + n}; }

const PortCombo kPortCombos[] = {
    {kBaud, &prj::PortSettings::baud_index, RateEntries},
    {kDataLength, &prj::PortSettings::data_length, [] { return Entries(prjui::text::kPortDataLength, 2); }},
    {kParity, &prj::PortSettings::parity, [] { return Entries(prjui::text::kPortParity, 3); }},
    {kStopBits, &prj::PortSettings::stop_bits, [] { return Entries(prjui::text::kPortStopBits, 2); }},
    {kBufferBusy, &prj::PortSettings::buffer_busy, [] { return Entries(prjui::text::kPortBufferBusy, 2); }},
    {kCodeSystem, &prj::PortSettings::code_system, [] { return Entries(prjui::text::kPortCodeSystem, 2); }},
};

class CBetComExSeet : public CPropertySheet {
public:
    CBetComExSeet(HWND owner) : CPropertySheet(prjui::text::kPortSheetTitle, owner, 0) {}

protected:
    void OnInitialized(HWND sheet) override { CenterOnDesktop(sheet); }
};

}  // namespace

void CBetComExPage::Show(const prj::PortSettings& s) {
    for (const PortCombo& c : kPortCombos)
        SendDlgItemMessageA(m_hWnd, c.control, CB_SETCURSEL, static_cast<WPARAM>(s.*c.value), 0);
}

bool CBetComExPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    for (const PortCombo& c : kPortCombos) {
        for (const char* e : c.entries())
            SendDlgItemMessageA(m_hWnd, c.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e));
    }
    // A value the list lacks (an index byte above the table, code system 2
    // or 3) leaves its box without a selection.
    Show(m_settings);
    return true;
}

void CBetComExPage::OnOK() {
    for (const PortCombo& c : kPortCombos)
        m_settings.*c.value = static_cast<int>(SendDlgItemMessageA(m_hWnd, c.control, CB_GETCURSEL, 0, 0));
    m_bParityOn = m_settings.parity > 0;
}

bool CBetComExPage::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kPortDefaults && code == BN_CLICKED) {
        Show(prj::PortSettings{});
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control);
}

bool RunPortSheet(CWnd* owner, CBetDoc* doc) {
    std::vector<std::unique_ptr<CBetComExPage>> pages;
    CBetComExSeet sheet(owner ? owner->m_hWnd : nullptr);
    for (int i = 0; i < kEnvPortCount; ++i) {
        pages.push_back(std::make_unique<CBetComExPage>(i, prj::ReadPortSettings(doc->m_record, i)));
        sheet.AddPage(pages.back().get());
    }
    if (sheet.DoModal() != IDOK)
        return false;
    // Every port, also those whose page was never shown.
    for (int i = 0; i < kEnvPortCount; ++i)
        prj::StorePortSettings(doc->m_record, i, pages[static_cast<size_t>(i)]->m_settings);
    doc->SetModifiedFlag(true);
    return true;
}
