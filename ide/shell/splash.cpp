#include "splash.h"

#include "idehelpers.h"
#include "resource.h"

#include <vector>

FW_IMPLEMENT_DYNAMIC(CSplashWnd, CWnd)
FW_IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

bool CSplashWnd::s_bEnabled = false;
CSplashWnd* CSplashWnd::s_pWnd = nullptr;

namespace {

constexpr int kCanvasWidth = 640;
constexpr int kCanvasHeight = 480;

HFONT MakeFont(int height, int width, int weight) {
    return CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                       VARIABLE_PITCH | FF_DONTCARE, "Arial");
}

void DrawNoticeText(HDC dc, int x, int y, UINT id) {
    std::string s = fw::LoadStr(id);
    TextOutA(dc, x, y, s.c_str(), static_cast<int>(s.size()));
}

bool PictureSize(UINT id, SIZE& size) {
    HBITMAP bmp = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (!bmp)
        return false;
    BITMAP bm{};
    GetObjectA(bmp, sizeof bm, &bm);
    DeleteObject(bmp);
    size = {bm.bmWidth, bm.bmHeight};
    return true;
}

}  // namespace

int DrawAboutBitmap(HDC target, UINT pictureId) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(inst, MAKEINTRESOURCEA(pictureId), MAKEINTRESOURCEA(2));
    HGLOBAL mem = res ? LoadResource(inst, res) : nullptr;
    auto* info = mem ? static_cast<const BITMAPINFO*>(LockResource(mem)) : nullptr;
    if (!info)
        return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    DWORD colours = h.biClrUsed;
    if (colours == 0) {
        switch (h.biBitCount) {
        case 1: colours = 2; break;
        case 4: colours = 16; break;
        case 8: colours = 256; break;
        default: colours = 0; break;
        }
    }
    HPALETTE pal = nullptr;
    if (colours) {
        std::vector<BYTE> block(sizeof(LOGPALETTE) + colours * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = static_cast<WORD>(colours);
        for (DWORD i = 0; i < colours; ++i) {
            lp->palPalEntry[i].peRed = info->bmiColors[i].rgbRed;
            lp->palPalEntry[i].peGreen = info->bmiColors[i].rgbGreen;
            lp->palPalEntry[i].peBlue = info->bmiColors[i].rgbBlue;
            lp->palPalEntry[i].peFlags = 0;
        }
        pal = CreatePalette(lp);
    }
    HPALETTE old = pal ? SelectPalette(target, pal, FALSE) : nullptr;
    if (pal)
        RealizePalette(target);
    const BYTE* bits = reinterpret_cast<const BYTE*>(info) + h.biSize + 4 * colours;
    StretchDIBits(target, 0, 0, h.biWidth, h.biHeight, 0, 0, h.biWidth, h.biHeight, bits, info,
                  DIB_RGB_COLORS, SRCCOPY);
    if (pal) {
        SelectPalette(target, old, FALSE);
        DeleteObject(pal);
    }
    return 0;
}

void PaintProductPicture(HDC dc, UINT pictureId) {
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, kCanvasWidth, kCanvasHeight);
    HGDIOBJ oldBmp = SelectObject(mem, canvas);
    DrawAboutBitmap(mem, pictureId);
    BitBlt(dc, 0, 0, kCanvasWidth, kCanvasHeight, mem, 0, 0, SRCCOPY);

    HFONT large = MakeFont(28, 11, FW_BOLD);
    HFONT small = MakeFont(15, 5, FW_NORMAL);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, large);
    DrawNoticeText(dc, 7, 358, IDS_VERSION_TEXT);
    SelectObject(dc, small);
    DrawNoticeText(dc, 7, 393, IDS_NOTICE_1);
    DrawNoticeText(dc, 7, 409, IDS_NOTICE_2);
    SelectObject(dc, oldFont);
    DeleteObject(large);
    DeleteObject(small);
    SelectObject(mem, oldBmp);
    DeleteObject(canvas);
    DeleteDC(mem);
}

// ---- CSplashWnd --------------------------------------------------------

CSplashWnd::~CSplashWnd() {
    if (s_pWnd == this)
        s_pWnd = nullptr;
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
}

HWND CSplashWnd::ShowSplashScreen(CWnd* parent) {
    if (!s_bEnabled || s_pWnd)
        return nullptr;
    s_pWnd = new CSplashWnd;
    if (!s_pWnd->Create(parent)) {
        delete s_pWnd;
        return nullptr;
    }
    UpdateWindow(s_pWnd->m_hWnd);
    return s_pWnd->m_hWnd;
}

bool CSplashWnd::Create(CWnd* parent) {
    m_hBitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PICTURE));
    if (!m_hBitmap)
        return false;
    BITMAP bm{};
    GetObjectA(m_hBitmap, sizeof bm, &bm);
    const char* cls = RegisterClass(0, nullptr, LoadCursor(nullptr, IDC_ARROW), nullptr);
    return cls && CreateEx(WS_EX_TOPMOST, cls, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, bm.bmWidth,
                           bm.bmHeight, parent ? parent->m_hWnd : nullptr, nullptr);
}

int CSplashWnd::OnCreate(CREATESTRUCTA* cs) {
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    RECT rc, desk;
    GetWindowRect(m_hWnd, &rc);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &desk, 0);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    SetWindowPos(m_hWnd, nullptr, desk.left + (desk.right - desk.left - w) / 2,
                 desk.top + (desk.bottom - desk.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTimer(m_hWnd, 1, 5000, nullptr);
    return 0;
}

void CSplashWnd::HideSplashScreen() {
    DestroyWindow();
    CWinApp* app = FwGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
        UpdateWindow(app->m_pMainWnd->m_hWnd);
}

void CSplashWnd::PreTranslateAppMessage(const MSG* msg) {
    if (!s_pWnd || !s_pWnd->m_hWnd)
        return;
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        s_pWnd->HideSplashScreen();
        break;
    default:
        break;
    }
}

void CSplashWnd::OnTimer(UINT_PTR) { HideSplashScreen(); }

void CSplashWnd::OnActivate(UINT, HWND, bool) {
    Default();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CSplashWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    PaintProductPicture(dc, IDB_PICTURE);
    EndPaint(m_hWnd, &ps);
}

// ---- CAboutDlg ---------------------------------------------------------

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

void CAboutDlg::DoDataExchange() { m_btnOK.SubclassDlgItem(IDOK, this); }

bool CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_nPictureId = IDB_PICTURE;
    SIZE pic;
    if (!PictureSize(m_nPictureId, pic))
        return false;
    RECT rc{0, 0, pic.cx, pic.cy};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT button;
    GetWindowRect(m_btnOK.m_hWnd, &button);
    SetWindowPos(m_btnOK.m_hWnd, nullptr, pic.cx - 105, pic.cy - 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT me, desk;
    GetWindowRect(m_hWnd, &me);
    GetWindowRect(GetDesktopWindow(), &desk);
    SetWindowPos(m_hWnd, nullptr, (desk.right - (me.right - me.left)) / 2,
                 (desk.bottom - (me.bottom - me.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnableFrames(false);
    return true;
}

bool CAboutDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDOK || id == IDCANCEL)
        EnableFrames(true);
    return CDialog::OnCommand(id, code, control);
}

void CAboutDlg::OnActivate(UINT state, HWND, bool) {
    Default();
    if (state != WA_INACTIVE)
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CAboutDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    PaintProductPicture(dc, m_nPictureId ? m_nPictureId : IDB_PICTURE);
    EndPaint(m_hWnd, &ps);
}
