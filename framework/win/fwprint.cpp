#include "fwprint.h"

#include "textpages.h"

#include <commdlg.h>

namespace fw {

namespace {

PrintDeviceSource& Source() {
    static PrintDeviceSource source;
    return source;
}

// The platform's printer through a device context from the print dialog.
class GdiPrintDevice : public CPrintDevice {
public:
    explicit GdiPrintDevice(HDC dc) : dc_(dc) {
        font_ = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
        LOGFONTA lf{};
        // About 10 points whatever the printer's resolution.
        lf.lfHeight = -MulDiv(10, GetDeviceCaps(dc_, LOGPIXELSY), 72);
        lf.lfCharSet = SHIFTJIS_CHARSET;
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        if (HFONT f = CreateFontIndirectA(&lf)) {
            font_ = f;
            own_ = true;
        }
        SelectObject(dc_, font_);
        GetTextMetricsA(dc_, &tm_);
    }
    ~GdiPrintDevice() override {
        SelectObject(dc_, GetStockObject(SYSTEM_FONT));
        if (own_)
            DeleteObject(font_);
        DeleteDC(dc_);
    }
    bool StartDoc(const std::string& name) override {
        DOCINFOA di{};
        di.cbSize = sizeof di;
        di.lpszDocName = name.c_str();
        return ::StartDocA(dc_, &di) > 0;
    }
    bool StartPage() override {
        if (::StartPage(dc_) <= 0)
            return false;
        SelectObject(dc_, font_);
        return true;
    }
    void PrintLine(int index, const std::string& text) override {
        TextOutA(dc_, 0, index * LineHeight(), text.data(), static_cast<int>(text.size()));
    }
    bool EndPage() override { return ::EndPage(dc_) > 0; }
    void EndDoc() override { ::EndDoc(dc_); }
    void AbortDoc() override { ::AbortDoc(dc_); }
    int Columns() override {
        int w = tm_.tmAveCharWidth > 0 ? tm_.tmAveCharWidth : 1;
        return GetDeviceCaps(dc_, HORZRES) / w;
    }
    int LinesPerPage() override { return GetDeviceCaps(dc_, VERTRES) / LineHeight(); }

private:
    HDC dc_;
    HFONT font_;
    bool own_ = false;
    TEXTMETRICA tm_{};
    int LineHeight() const {
        int h = tm_.tmHeight + tm_.tmExternalLeading;
        return h > 0 ? h : 1;
    }
};

}  // namespace

void SetPrintDeviceSource(PrintDeviceSource source) { Source() = std::move(source); }

std::unique_ptr<CPrintDevice> OpenPrintDevice(CWnd* owner, bool withDialog) {
    if (Source())
        return Source()(owner, withDialog);
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner ? owner->m_hWnd : nullptr;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | (withDialog ? 0 : PD_RETURNDEFAULT);
    if (!PrintDlgA(&pd) || !pd.hDC) {
        if (pd.hDevMode)
            GlobalFree(pd.hDevMode);
        if (pd.hDevNames)
            GlobalFree(pd.hDevNames);
        return nullptr;
    }
    if (pd.hDevMode)
        GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        GlobalFree(pd.hDevNames);
    return std::make_unique<GdiPrintDevice>(pd.hDC);
}

bool PrintText(CPrintDevice& device, const std::string& docName, const std::string& text) {
    auto pages = LayoutTextPages(text, device.Columns(), device.LinesPerPage());
    if (!device.StartDoc(docName))
        return false;
    for (const auto& page : pages) {
        if (!device.StartPage()) {
            device.AbortDoc();
            return false;
        }
        for (size_t i = 0; i < page.size(); ++i)
            device.PrintLine(static_cast<int>(i), page[i]);
        if (!device.EndPage()) {
            device.AbortDoc();
            return false;
        }
    }
    device.EndDoc();
    return true;
}

}  // namespace fw
