// The bitmap button (class "TQ70BBWndClass"): its image kept as a packed
// device-independent bitmap on its window words, the frames of its strip
// painted by press state and phase, and its clicks in test mode.
#include "dsg_bmpbtn.h"
#include "dsg_filelist.h"
#include "rcdoc.h"

#include <fstream>
#include <iterator>

namespace dsgwin {

namespace {

// Window words: the image block, its palette, the press state, the phase.
constexpr int kWordImage = 0;
constexpr int kWordPalette = int(sizeof(LONG_PTR));
constexpr int kWordPress = 2 * int(sizeof(LONG_PTR));
constexpr int kWordPhase = kWordPress + int(sizeof(LONG));
static_assert(kWordPhase + sizeof(LONG) <= 24, "the class's 24 bytes of window words");

constexpr size_t kInfoSize = 40;

HGLOBAL Image(HWND w) { return reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(w, kWordImage)); }
HPALETTE Palette(HWND w) { return reinterpret_cast<HPALETTE>(GetWindowLongPtrA(w, kWordPalette)); }
int Press(HWND w) { return int(GetWindowLongA(w, kWordPress)); }
int Phase(HWND w) { return int(GetWindowLongA(w, kWordPhase)); }
void SetPress(HWND w, int v) { SetWindowLongA(w, kWordPress, v); }
void SetPhase(HWND w, int v) { SetWindowLongA(w, kWordPhase, v); }

void DropImage(HWND w) {
    if (HGLOBAL h = Image(w))
        GlobalFree(h);
    if (HPALETTE p = Palette(w))
        DeleteObject(p);
    SetWindowLongPtrA(w, kWordImage, 0);
    SetWindowLongPtrA(w, kWordPalette, 0);
}

bool IsButton(HWND w) {
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    return lstrcmpiA(cls, "TQ70BBWndClass") == 0;
}

// The palette of the colours the image names, made once, red and blue
// swapped from the colour table's order.
HPALETTE MakePalette(HWND w, const BITMAPINFOHEADER* info) {
    if (HPALETTE p = Palette(w))
        return p;
    DWORD n = info->biClrUsed;
    if (n == 0 || n > 256)
        return nullptr;
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(n);
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + info->biSize);
    for (DWORD i = 0; i < n; ++i)
        lp->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    HPALETTE p = CreatePalette(lp);
    SetWindowLongPtrA(w, kWordPalette, reinterpret_cast<LONG_PTR>(p));
    return p;
}

void PaintFrames(HWND w, HDC dc, const dsg::ControlRecord& r, HGLOBAL image) {
    auto* info = static_cast<BITMAPINFOHEADER*>(GlobalLock(image));
    if (!info)
        return;
    HPALETTE pal = MakePalette(w, info);
    HPALETTE oldPal = nullptr;
    if (pal) {
        oldPal = SelectPalette(dc, pal, FALSE);
        RealizePalette(dc);
    }
    const uint8_t* bits = reinterpret_cast<const uint8_t*>(info) + info->biSize + info->biClrUsed * sizeof(RGBQUAD);
    int width = info->biWidth, height = info->biHeight < 0 ? -info->biHeight : info->biHeight;
    HBITMAP strip = CreateCompatibleBitmap(dc, width, height);
    HDC mem = strip ? CreateCompatibleDC(dc) : nullptr;
    if (mem) {
        HGDIOBJ old = SelectObject(mem, strip);
        SetDIBits(mem, strip, 0, UINT(height), bits, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
        uint32_t style = r.area[dsg::ba::buttonStyle];
        int fw = r.area[dsg::ba::frameSizeA] ? int(r.area[dsg::ba::frameSizeA]) : width;
        int fh = r.area[dsg::ba::frameSizeB] ? int(r.area[dsg::ba::frameSizeB]) : height;
        RECT client;
        GetClientRect(w, &client);
        for (uint32_t i : dsg::BmpFrames(style & dsg::kBmpTypeMask, Press(w), Phase(w), r.area[dsg::ba::frameB],
                                         r.area[dsg::ba::runState])) {
            // A frame past the strip's end is not there to draw.
            if (int64_t(i + 1) * fw > width)
                continue;
            if (style & dsg::kBmpStretch) {
                SetStretchBltMode(dc, COLORONCOLOR);
                StretchBlt(dc, 0, 0, client.right, client.bottom, mem, int(i) * fw, 0, fw, fh, SRCCOPY);
            } else {
                BitBlt(dc, 0, 0, fw, fh, mem, int(i) * fw, 0, SRCCOPY);
            }
            GdiFlush();
            if (uint32_t wait = r.area[dsg::ba::drawInterval])
                Sleep(wait);
        }
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    if (strip)
        DeleteObject(strip);
    if (pal)
        SelectPalette(dc, oldPal, FALSE);
    GlobalUnlock(image);
}

// Draws the button once more, now, in a phase.
void Repaint(HWND w, int phase) {
    SetPhase(w, phase);
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
}

void ButtonDown(HWND w) {
    SetFocus(w);
    SetCapture(w);
    if (!Image(w))
        return;
    SetPress(w, dsg::kPressInside);
    Repaint(w, dsg::kPhaseDown);
    SetPhase(w, dsg::kPhaseRest);
}

void MouseMove(HWND w, POINT pt) {
    RECT r;
    GetClientRect(w, &r);
    bool inside = PtInRect(&r, pt) != 0;
    int press = Press(w);
    if (press == dsg::kPressInside && !inside) {
        SetPress(w, dsg::kPressOutside);
        Repaint(w, dsg::kPhaseUp);
    } else if (press == dsg::kPressOutside && inside) {
        SetPress(w, dsg::kPressInside);
        Repaint(w, dsg::kPhaseDown);
    } else if (press == dsg::kPressIdle && inside && GetCapture() != w) {
        SetCapture(w);
    } else if (press == dsg::kPressIdle && !inside && GetCapture() == w) {
        ReleaseCapture();
    }
    SetPhase(w, dsg::kPhaseRest);
}

void ButtonUp(HWND w) {
    if (GetCapture() == w)
        ReleaseCapture();
    dsg::Form* f = FormOf(GetParent(w));
    dsg::ControlRecord* r = f ? RecordOf(*f, w) : nullptr;
    if (Press(w) == dsg::kPressInside && r) {
        uint32_t type = r->area[dsg::ba::buttonStyle] & dsg::kBmpTypeMask;
        r->area[dsg::ba::runState] = dsg::BmpNextState(type, r->area[dsg::ba::runState], r->area[dsg::ba::frameA]);
        if (type == dsg::kBmpOneOfGroup && DsgIsFormTestMode()) {
            int other = dsg::BmpGroupPartner(f->table, size_t(r - f->table.data()));
            if (other >= 0) {
                f->table[size_t(other)].area[dsg::ba::runState] = 0;
                if (HWND o = Hwnd(f->table[size_t(other)].hwnd)) {
                    InvalidateRect(o, nullptr, FALSE);
                    UpdateWindow(o);
                }
            }
        }
        Repaint(w, dsg::kPhaseUp);
    }
    SetPress(w, dsg::kPressIdle);
    SetPhase(w, dsg::kPhaseRest);
}

}  // namespace

void BmpButtonPaint(HWND w, HDC dc) {
    dsg::ControlRecord* r = ControlRecordOf(w);
    if (!r)
        return;
    HGLOBAL image = Image(w);
    if (dsg::FieldText(dsg::AreaText(*r, dsg::ba::bitmapName), 16).empty() || !image) {
        RECT c;
        GetClientRect(w, &c);
        FillRect(dc, &c, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        static const char kText[] = "BMP Button";
        HGDIOBJ old = r->font ? SelectObject(dc, Font(r->font)) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 5, 5, kText, int(sizeof kText - 1));
        if (old)
            SelectObject(dc, old);
        return;
    }
    PaintFrames(w, dc, *r, image);
}

POINT BmpButtonLoad(HWND w, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<uint8_t> packed;
    if (!in.good() && !in.eof())
        return {0, 0};
    if (dsg::ResFileReadImage(file, packed) != 0 || packed.size() < kInfoSize)
        return {0, 0};
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(packed.data());
    POINT size{info->biWidth, info->biHeight < 0 ? -info->biHeight : info->biHeight};
    if (!w || !IsButton(w))
        return size;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, packed.size());
    void* p = h ? GlobalLock(h) : nullptr;
    if (!p) {
        if (h)
            GlobalFree(h);
        return size;
    }
    memcpy(p, packed.data(), packed.size());
    GlobalUnlock(h);
    DropImage(w);
    SetWindowLongPtrA(w, kWordImage, reinterpret_cast<LONG_PTR>(h));
    InvalidateRect(w, nullptr, TRUE);
    return size;
}

int BmpButtonPressState(HWND w) { return Press(w); }

namespace {

LRESULT BmpButtonMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        SetWindowLongPtrA(w, kWordImage, 0);
        SetWindowLongPtrA(w, kWordPalette, 0);
        SetPress(w, dsg::kPressIdle);
        SetPhase(w, dsg::kPhaseRest);
        return 0;
    case WM_DESTROY:
        DropImage(w);
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        // The handles and the group's frame are drawn by the form.
        if (Sel().form && Sel().form == GetParent(w))
            InvalidateRect(Sel().form, nullptr, TRUE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(w, nullptr, FALSE);
        UpdateWindow(w);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        BmpButtonPaint(w, dc);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_CHAR:
        if (wp == VK_TAB && DsgIsFormTestMode() && TabToNext(GetParent(w), w, GetKeyState(VK_SHIFT) < 0))
            return 0;
        break;
    case WM_LBUTTONDOWN:
        if (DsgIsFormTestMode())
            ButtonDown(w);
        return 0;
    case WM_MOUSEMOVE:
        if (DsgIsFormTestMode())
            MouseMove(w, {short(LOWORD(lp)), short(HIWORD(lp))});
        return 0;
    case WM_LBUTTONUP:
        if (DsgIsFormTestMode())
            ButtonUp(w);
        return 0;
    case WM_SETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT:
    case WM_SETFONT:
    case WM_GETFONT:
    case WM_ERASEBKGND:
    case WM_NCHITTEST:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONUP:
    case WM_RBUTTONUP:
        return PlaceholderProc(w, msg, wp, lp);
    default:
        break;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

LRESULT CALLBACK BmpButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] { return BmpButtonMessage(w, msg, wp, lp); });
}

}  // namespace dsgwin
