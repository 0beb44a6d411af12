#include "optedit.h"

#include "editor.h"
#include "ideapp.h"
#include "prjframe.h"
#include "smalldlgs.h"

std::string EditorFaceFallback(HDC dc, const std::string& face) {
    if (HasFontFace(dc, face))
        return std::string();
    // Machines without the bitmap face get a fixed-pitch face that also
    // holds the Japanese characters.
    for (const char* f : {"IPAGothic", "MS Gothic", "DejaVu Sans Mono", "Courier New"}) {
        if (HasFontFace(dc, f))
            return f;
    }
    return std::string();
}

void BuildEditorCharFormat(HDC dc, const std::string& face, int32_t size, uint32_t colorIndex,
                           CHARFORMATA& cf, LOGFONTA& lf) {
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    std::string fallback = EditorFaceFallback(dc, face);
    lf = LOGFONTA{};
    lf.lfHeight = -MulDiv(size, dpi, 720);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(lf.lfFaceName, fallback.empty() ? face.c_str() : fallback.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    if (font) {
        GetObjectA(font, sizeof lf, &lf);
        DeleteObject(font);
    }
    cf = CHARFORMATA{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR;
    cf.yHeight = dpi > 0 ? -1440 * lf.lfHeight / dpi : 0;
    if (colorIndex >= static_cast<uint32_t>(tambrix::kColorCount))
        colorIndex = 0;
    cf.crTextColor = tambrix::PaletteColor(static_cast<int>(colorIndex));
    cf.bCharSet = DEFAULT_CHARSET;
    cf.bPitchAndFamily = lf.lfPitchAndFamily;
    lstrcpynA(cf.szFaceName, lf.lfFaceName, LF_FACESIZE);
}

CTvOptEditPage::CTvOptEditPage() : CPropertyPage(IDD_OPT_EDIT) {
    HDC dc = GetDC(nullptr);
    m_nLogPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    SetDefaultEditorSettings();
}

void CTvOptEditPage::SetDefaultEditorSettings() {
    // The size of the project frame's font, else of the system's fixed font.
    HFONT font = nullptr;
    if (CPrjFrame* pf = g_pPrjFrame; pf && pf->m_hWnd)
        font = reinterpret_cast<HFONT>(SendMessageA(pf->m_hWnd, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    tambrix::SetDefaultEditorSettings(m_settings, tambrix::FontSizeOfHeight(lf.lfHeight, m_nLogPixelsY));
}

bool CTvOptEditPage::LoadEditorSettings() {
    SetDefaultEditorSettings();
    int32_t size = m_settings.FontSize;
    return tambrix::LoadEditorSettings(TheApp().Registry(), m_settings, size);
}

bool CTvOptEditPage::SaveEditorSettings() {
    return tambrix::SaveEditorSettings(TheApp().Registry(), m_settings);
}

void CTvOptEditPage::CopyEditorSettings(tambrix::EditorSettingsCopy& out) const {
    tambrix::CopyEditorSettings(m_settings, out);
}

void CPrjFrame::ApplyEditorSettings(const tambrix::EditorSettingsCopy& s) {
    TheApp().m_nCheckLevel = static_cast<int>(s.checkMode);
    CMDIChildWnd* first = FindEditorChildFrame();
    CView* view = first ? first->GetActiveView() : nullptr;
    HWND target = view ? view->m_hWnd : m_hWnd;
    HDC dc = GetDC(target);
    CHARFORMATA cf;
    LOGFONTA lf;
    BuildEditorCharFormat(dc, s.face ? s.face : "", s.fontSize, s.foreColor, cf, lf);
    ReleaseDC(target, dc);
    if (HFONT font = CreateFontIndirectA(&lf)) {
        if (m_hEditorFont)
            DeleteObject(m_hEditorFont);
        m_hEditorFont = font;
        m_logFont = lf;
    }
    for (CMDIChildWnd* f = first; f; f = FindEditorChildFrame(f)) {
        auto* frame = dynamic_cast<CChildFrame*>(f);
        if (!frame)
            continue;
        frame->SetBackColor(s.backColor);
        frame->SetMarginFont(cf, s.tab, s.fontSize);
        frame->ShowMargin(s.lineNo != 0);
    }
}
