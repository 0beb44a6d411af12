#include "printsrc.h"

#include "editor.h"
#include "edittext.h"
#include "fwres.h"
#include "idehelpers.h"
#include "ideapp.h"
#include "mainfrm.h"
#include "mbcs.h"
#include "smalldlgs.h"
#include "optedit.h"
#include "optrules.h"
#include "prjrules.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

PrintSinkSource& Source() {
    static PrintSinkSource s;
    return s;
}

tambrix::PrinterMetrics MetricsOf(HDC dc) {
    tambrix::PrinterMetrics m;
    m.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    m.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    m.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    m.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    m.physWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
    m.physHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
    m.printWidth = GetDeviceCaps(dc, HORZRES);
    m.printHeight = GetDeviceCaps(dc, VERTRES);
    return m;
}

class GdiSink : public PrintSink {
public:
    explicit GdiSink(HDC dc) : dc_(dc) {}
    ~GdiSink() override { DeleteDC(dc_); }
    bool StartDoc(const std::string& name) override {
        DOCINFOA di{};
        di.cbSize = sizeof di;
        di.lpszDocName = name.c_str();
        return ::StartDocA(dc_, &di) > 0;
    }
    bool StartPage() override { return ::StartPage(dc_) > 0; }
    bool EndPage() override { return ::EndPage(dc_) > 0; }
    void EndDoc() override { ::EndDoc(dc_); }
    void AbortDoc() override { ::AbortDoc(dc_); }
    HDC Dc() override { return dc_; }
    tambrix::PrinterMetrics Metrics() override { return MetricsOf(dc_); }

private:
    HDC dc_;
};

class MetafileSink : public PrintSink {
public:
    MetafileSink(std::string folder, const tambrix::PrinterMetrics& m) : folder_(std::move(folder)), m_(m) {
        measure_ = CreateCompatibleDC(nullptr);
    }
    ~MetafileSink() override {
        if (page_)
            DeleteEnhMetaFile(CloseEnhMetaFile(page_));
        DeleteDC(measure_);
    }
    bool StartDoc(const std::string&) override {
        CreateDirectoryA(folder_.c_str(), nullptr);
        return true;
    }
    bool StartPage() override {
        std::string path = folder_ + "\\PAGE" + std::to_string(++pages_) + ".emf";
        page_ = CreateEnhMetaFileA(measure_, path.c_str(), nullptr, nullptr);
        return page_ != nullptr;
    }
    bool EndPage() override {
        if (!page_)
            return false;
        DeleteEnhMetaFile(CloseEnhMetaFile(page_));
        page_ = nullptr;
        return true;
    }
    void EndDoc() override {}
    void AbortDoc() override { EndPage(); }
    HDC Dc() override { return page_ ? page_ : measure_; }
    tambrix::PrinterMetrics Metrics() override { return m_; }

private:
    std::string folder_;
    tambrix::PrinterMetrics m_;
    HDC measure_ = nullptr;
    HDC page_ = nullptr;
    int pages_ = 0;
};

std::unique_ptr<PrintSink> PrinterSink(CWnd* owner, bool direct, bool& selection) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner ? owner->m_hWnd : nullptr;
    CWinApp* app = FwGetApp();
    pd.hDevMode = app ? app->m_hDevMode : nullptr;
    pd.hDevNames = app ? app->m_hDevNames : nullptr;
    pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS |
               (direct ? PD_RETURNDEFAULT : 0) | (selection ? 0 : PD_NOSELECTION);
    if (direct)
        pd.hDevMode = pd.hDevNames = nullptr;
    if (!PrintDlgA(&pd) || !pd.hDC) {
        if (!direct && CommDlgExtendedError() != 0)
            MessageBoxById(FW_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION, 0);
        return nullptr;
    }
    if (app && !direct) {
        app->m_hDevMode = pd.hDevMode;
        app->m_hDevNames = pd.hDevNames;
    }
    selection = selection && (pd.Flags & PD_SELECTION);
    return std::make_unique<GdiSink>(pd.hDC);
}

class DcMeasurer : public tambrix::TextMeasurer {
public:
    explicit DcMeasurer(HDC dc) : dc_(dc) {}
    int Width(std::string_view text) override {
        SIZE sz{};
        GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &sz);
        return sz.cx;
    }
    int FontHeight() override {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        SIZE dot{};
        GetTextExtentPoint32A(dc_, ".", 1, &dot);
        return std::max<int>(tm.tmHeight, dot.cy);
    }

private:
    HDC dc_;
};

// The page setup the print run uses: the main frame's after a page setup,
// else the stored one, else the defaults (every item on, FixedSys 12).
void PrintSettings(tambrix::PrintSetup& setup, std::string& face, int& tenths) {
    tambrix::PageSetupValues v;
    tambrix::PageDeviceFields dev;
    CMainFrame* mf = TheApp().m_pMainFrame;
    bool have = mf && mf->m_bHavePageSetup;
    if (have)
        v = mf->m_pageSetup;
    else
        have = tambrix::LoadPageSetup(TheApp().Registry(), v, dev);
    face = "FixedSys";
    tenths = 120;
    if (!have)
        return;
    setup.title = v.title;
    setup.fileName = v.fileName;
    setup.date = v.date;
    setup.time = v.time;
    setup.pageNo = v.pageNo;
    setup.lineNo = v.lineNo;
    setup.left = v.left;
    setup.top = v.top;
    setup.right = v.right;
    setup.bottom = v.bottom;
    if (!v.face.empty())
        face = v.face;
    if (int t = tambrix::SizeTextTenths(v.size); t > 0)
        tenths = t;
}

void DrawPage(HDC dc, const tambrix::PrintedPage& page) {
    for (const auto& op : page.ops) {
        SetTextAlign(dc, op.rightAligned ? TA_RIGHT | TA_TOP : TA_LEFT | TA_TOP);
        if (op.tabStop > 0) {
            int stop = op.tabStop;
            TabbedTextOutA(dc, op.x, op.y, op.text.data(), static_cast<int>(op.text.size()), 1, &stop, op.x);
        } else {
            TextOutA(dc, op.x, op.y, op.text.data(), static_cast<int>(op.text.size()));
        }
    }
}

}  // namespace

void SetPrintSinkSource(PrintSinkSource source) { Source() = std::move(source); }

std::unique_ptr<PrintSink> MakeMetafileSink(const std::string& folder, const tambrix::PrinterMetrics& m) {
    return std::make_unique<MetafileSink>(folder, m);
}

void PrintEditorView(CWnd* wnd, const std::string& title, bool direct) {
    auto* v = dynamic_cast<CBasEditView*>(wnd);
    if (!v)
        return;
    int s, e;
    v->GetSel(s, e);
    bool selection = s != e;
    EnableFrames(false);
    std::unique_ptr<PrintSink> sink = Source() ? Source()(wnd, direct, selection) : PrinterSink(wnd, direct, selection);
    if (!sink) {
        if (direct)
            MessageBoxById(FW_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION, 0);
        EnableFrames(true);
        return;
    }

    // The text as CR LF lines of bytes, with the selection in bytes.
    std::string text;
    size_t selStart = 0, selEnd = 0;
    int lines = v->GetLineCount();
    for (int i = 0; i < lines; ++i) {
        std::string line = v->GetLineText(i);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        int first = v->LineIndex(i);
        auto byteAt = [&](int ch) {
            return text.size() + tambrix::ByteFromCharIndex(line, static_cast<size_t>(std::max(0, ch - first)));
        };
        if (v->LineFromChar(s) == i)
            selStart = std::min(byteAt(s), text.size() + line.size());
        if (v->LineFromChar(e) == i)
            selEnd = std::min(byteAt(e), text.size() + line.size());
        text += line;
        if (i + 1 < lines)
            text += "\r\n";
    }

    tambrix::PrintInput in;
    in.text = text;
    in.selectionOnly = selection;
    in.selStart = selStart;
    in.selEnd = selEnd;
    in.docTitle = title;
    {
        CTvOptEditPage page;
        in.tabWidth = page.LoadEditorSettings() ? static_cast<int>(page.m_settings.Tab) : 8;
    }
    std::string face;
    int tenths = 120;
    PrintSettings(in.setup, face, tenths);
    in.printer = sink->Metrics();
    SYSTEMTIME st;
    GetLocalTime(&st);
    in.stamp = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};

    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(tenths, in.printer.dpiY, 720);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(sink->Dc(), font);
    DcMeasurer measurer(sink->Dc());
    tambrix::PrintLayout layout(in, measurer);
    std::vector<tambrix::PrintedPage> pages;
    if (layout.Usable())
        pages = layout.PrintAll();
    SelectObject(sink->Dc(), old);

    std::string docName = title.substr(0, std::min<size_t>(title.size(), 31));
    if (!layout.Usable() || !sink->StartDoc(docName)) {
        MessageBoxById(FW_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION, 0);
    } else {
        bool ok = true;
        for (const auto& page : pages) {
            if (!sink->StartPage()) {
                ok = false;
                break;
            }
            HGDIOBJ was = SelectObject(sink->Dc(), font);
            SetBkMode(sink->Dc(), TRANSPARENT);
            DrawPage(sink->Dc(), page);
            SelectObject(sink->Dc(), was);
            if (!sink->EndPage()) {
                ok = false;
                break;
            }
        }
        if (ok)
            sink->EndDoc();
        else
            sink->AbortDoc();
    }
    DeleteObject(font);
    EnableFrames(true);
}

// ---- CTvPageSetupDlg ---------------------------------------------------------

namespace {
constexpr int kChecks[] = {30008, 30009, 30010, 30011, 30012, 30013};  // title, time, file, page, date, line
constexpr int kFaceId = 30040, kSizeId = 30041;

uint32_t* CheckMember(tambrix::PageSetupValues& v, int i) {
    uint32_t* m[] = {&v.title, &v.time, &v.fileName, &v.pageNo, &v.date, &v.lineNo};
    return m[i];
}

std::string Text(HWND dlg, int id) {
    char buf[256] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}
}  // namespace

CTvPageSetupDlg::CTvPageSetupDlg(CWnd* parent) {
    m_psd.lStructSize = sizeof m_psd;
    m_psd.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_psd.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_ENABLEPAGESETUPHOOK |
                  PSD_ENABLEPAGESETUPTEMPLATE;
    m_psd.hInstance = GetModuleHandleA(nullptr);
    m_psd.lpPageSetupTemplateName = MAKEINTRESOURCEA(IDD_PAGE_SETUP);
    m_psd.lpfnPageSetupHook = HookProc;
    m_psd.lCustData = reinterpret_cast<LPARAM>(this);
    CWinApp* app = FwGetApp();
    m_psd.hDevMode = app ? app->m_hDevMode : nullptr;
    m_psd.hDevNames = app ? app->m_hDevNames : nullptr;
    LoadPageSetup();
    if (app) {
        app->m_hDevMode = m_psd.hDevMode;
        app->m_hDevNames = m_psd.hDevNames;
    }
    m_psd.rtMargin = {m_values.left, m_values.top, m_values.right, m_values.bottom};
}

CTvPageSetupDlg::~CTvPageSetupDlg() {
    if (m_hPrintFont)
        DeleteObject(m_hPrintFont);
}

bool CTvPageSetupDlg::LoadPageSetup() {
    tambrix::PageDeviceFields dev;
    if (!tambrix::LoadPageSetup(TheApp().Registry(), m_values, dev))
        return false;
    m_strSize = m_values.size;
    if (m_psd.hDevMode) {
        if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(m_psd.hDevMode))) {
            if (dev.orientation)
                dm->dmOrientation = static_cast<short>(*dev.orientation);
            if (dev.paperSize)
                dm->dmPaperSize = static_cast<short>(*dev.paperSize);
            if (dev.defaultSource)
                dm->dmDefaultSource = static_cast<short>(*dev.defaultSource);
            GlobalUnlock(m_psd.hDevMode);
        }
    }
    return true;
}

bool CTvPageSetupDlg::SavePageSetup() {
    tambrix::PageDeviceFields dev;
    if (m_psd.hDevMode) {
        if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(m_psd.hDevMode))) {
            dev.orientation = static_cast<uint16_t>(dm->dmOrientation);
            dev.paperSize = static_cast<uint16_t>(dm->dmPaperSize);
            dev.defaultSource = static_cast<uint16_t>(dm->dmDefaultSource);
            GlobalUnlock(m_psd.hDevMode);
        }
    }
    return tambrix::SavePageSetup(TheApp().Registry(), m_values, dev);
}

INT_PTR CTvPageSetupDlg::DoModal() {
    BOOL ok = PageSetupDlgA(&m_psd);
    CWinApp* app = FwGetApp();
    if (ok && app) {
        app->m_hDevMode = m_psd.hDevMode;
        app->m_hDevNames = m_psd.hDevNames;
    }
    return ok ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CTvPageSetupDlg::HookProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CTvPageSetupDlg*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        auto* psd = reinterpret_cast<PAGESETUPDLGA*>(lp);
        self = reinterpret_cast<CTvPageSetupDlg*>(psd->lCustData);
        SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hDlg = dlg;
        self->OnInitDialog(dlg);
        return TRUE;
    }
    if (!self)
        return 0;
    if (msg == WM_COMMAND) {
        if (LOWORD(wp) == kFaceId && HIWORD(wp) == CBN_SELCHANGE) {
            self->FillSizeList(dlg);
            return TRUE;
        }
        if (LOWORD(wp) == IDOK)
            self->OnOK(dlg);  // the platform's OK follows
    }
    return 0;
}

void CTvPageSetupDlg::OnInitDialog(HWND dlg) {
    const int margins[] = {m_values.left, m_values.top, m_values.right, m_values.bottom};
    for (int i = 0; i < 4; ++i)
        SetDlgItemTextA(dlg, 1155 + i, tambrix::MarginText(margins[i]).c_str());
    m_psd.rtMargin = {m_values.left, m_values.top, m_values.right, m_values.bottom};
    CenterOnDesktop(dlg);

    HWND faces = GetDlgItem(dlg, kFaceId);
    HDC dc = GetDC(dlg);
    AddFontFaces(dc, faces, false);
    ReleaseDC(dlg, dc);
    std::string face = m_values.face.empty() ? std::string("System") : m_values.face;
    auto select = [&](const char* name) {
        LRESULT i = SendMessageA(faces, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
        if (i != CB_ERR)
            SendMessageA(faces, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        return i != CB_ERR;
    };
    // A face no longer installed selects System (the first face where
    // not even that is listed).
    if (!select(face.c_str()) && !select("System"))
        SendMessageA(faces, CB_SETCURSEL, 0, 0);

    std::string kept = m_strSize;
    FillSizeList(dlg);
    if (!kept.empty()) {
        m_strSize = kept;
        SetDlgItemTextA(dlg, kSizeId, kept.c_str());
        HWND sizes = GetDlgItem(dlg, kSizeId);
        std::vector<tambrix::SizeRow> rows;
        int n = static_cast<int>(SendMessageA(sizes, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char t[32] = {};
            SendMessageA(sizes, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
            rows.push_back({t, static_cast<int>(SendMessageA(sizes, CB_GETITEMDATA, static_cast<WPARAM>(i), 0))});
        }
        int row = tambrix::PageSizeRowFor(rows, kept);
        if (row >= 0)
            SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
    for (int i = 0; i < 6; ++i)
        CheckDlgButton(dlg, kChecks[i], *CheckMember(m_values, i) ? BST_CHECKED : BST_UNCHECKED);
}

void CTvPageSetupDlg::FillSizeList(HWND dlg) {
    HWND sizes = GetDlgItem(dlg, kSizeId);
    m_strSize = Text(dlg, kSizeId);
    SendMessageA(sizes, CB_RESETCONTENT, 0, 0);
    std::string face = Text(dlg, kFaceId);
    HDC dc = GetDC(dlg);
    m_nScreenDpi = GetDeviceCaps(dc, LOGPIXELSY);
    std::vector<tambrix::SizeRow> rows = FontSizeRows(dc, face, m_nScreenDpi);
    ReleaseDC(dlg, dc);
    for (const auto& r : rows) {
        int i = static_cast<int>(SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.text.c_str())));
        SendMessageA(sizes, CB_SETITEMDATA, static_cast<WPARAM>(i), r.twips);
    }
    int row = tambrix::PageSizeRowFor(rows, m_strSize);
    SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(row < 0 ? 0 : row), 0);
}

void CTvPageSetupDlg::OnOK(HWND dlg) {
    for (int i = 0; i < 6; ++i)
        *CheckMember(m_values, i) = IsDlgButtonChecked(dlg, kChecks[i]) == BST_CHECKED ? 1 : 0;
    m_values.left = m_psd.rtMargin.left;
    m_values.top = m_psd.rtMargin.top;
    m_values.right = m_psd.rtMargin.right;
    m_values.bottom = m_psd.rtMargin.bottom;
    m_values.face = Text(dlg, kFaceId);
    m_values.size = Text(dlg, kSizeId);
    m_strSize = m_values.size;
    if (m_hPrintFont)
        DeleteObject(m_hPrintFont);
    m_printFont = {};
    HDC dc = GetDC(nullptr);
    m_printFont.lfHeight = -MulDiv(tambrix::SizeTextTenths(m_values.size), GetDeviceCaps(dc, LOGPIXELSY), 720);
    ReleaseDC(nullptr, dc);
    m_printFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(m_printFont.lfFaceName, m_values.face.c_str(), LF_FACESIZE);
    m_hPrintFont = CreateFontIndirectA(&m_printFont);
    SavePageSetup();
}
