// The designer core's host on Win32: real windows, fonts and brushes behind
// the 32-bit keys the records keep (side tables, so the records have the
// same bytes in the 32- and 64-bit builds).
#include "dsg_import.h"
#include "idehelpers.h"
#include "rcdoc.h"

#include <map>

namespace dsgwin {

LRESULT CALLBACK DesignProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

namespace {

class WinHost : public dsg::DesignerHost {
public:
    std::map<uint32_t, HWND> windows;
    std::map<HWND, uint32_t> keys;
    std::map<uint32_t, HFONT> fonts;
    HBRUSH brushes[16] = {};
    uint32_t nextWindow = 1, nextFont = 1;

    uint32_t Remember(HWND w) {
        if (!w)
            return 0;
        auto it = keys.find(w);
        if (it != keys.end())
            return it->second;
        uint32_t k = nextWindow++;
        windows[k] = w;
        keys[w] = k;
        return k;
    }

    uint32_t MakeWindow(uint32_t exStyle, const std::string& cls, const std::string& text, uint32_t style,
                        dsg::Rect r, uint32_t parent, uint32_t id) override {
        HWND p = parent ? Hwnd(parent) : nullptr;
        HWND w;
        if (!p) {
            w = CreateWindowExA(exStyle, cls.c_str(), text.c_str(), style, r.left, r.top, r.right, r.bottom,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        } else {
            int x = 0, y = 0, cx = 0, cy = 0;
            if (uint32_t(r.left) != dsg::kCwUseDefault) {
                x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
            }
            CLIENTCREATESTRUCT ccs{};
            ccs.idFirstChild = 0xFF00;
            bool mdi = lstrcmpiA(cls.c_str(), "MDICLIENT") == 0;
            w = CreateWindowExA(exStyle, cls.c_str(), text.c_str(), style | WS_CHILD, x, y, cx, cy, p,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                                mdi ? &ccs : nullptr);
            if (w && !mdi)
                SubclassControl(w, cls);
        }
        return Remember(w);
    }
    static void SubclassControl(HWND w, const std::string& cls) {
        static const char* const kClasses[] = {"Button", "Edit", "Static", "Listbox", "Scrollbar", "Combobox"};
        for (const char* c : kClasses) {
            if (lstrcmpiA(cls.c_str(), c) == 0) {
                WNDPROC old = reinterpret_cast<WNDPROC>(
                    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DesignProc)));
                SetPropA(w, "TxDsgProc", reinterpret_cast<HANDLE>(old));
                // A combo box's own children act for it.
                if (lstrcmpiA(c, "Combobox") == 0) {
                    for (HWND ch = GetWindow(w, GW_CHILD); ch; ch = GetWindow(ch, GW_HWNDNEXT)) {
                        WNDPROC o = reinterpret_cast<WNDPROC>(
                            SetWindowLongPtrA(ch, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DesignProc)));
                        SetPropA(ch, "TxDsgProc", reinterpret_cast<HANDLE>(o));
                    }
                }
                return;
            }
        }
    }
    void DropWindow(uint32_t k) override {
        HWND w = Hwnd(k);
        windows.erase(k);
        if (w) {
            keys.erase(w);
            DestroyWindow(w);
        }
    }
    void SetText(uint32_t w, const std::string& text) override { SetWindowTextA(Hwnd(w), text.c_str()); }
    std::string GetText(uint32_t w) override {
        char buf[1024] = {};
        int n = GetWindowTextA(Hwnd(w), buf, sizeof buf);
        return std::string(buf, n > 0 ? size_t(n) : 0);
    }
    void PlaceWindow(uint32_t w, dsg::Rect r) override {
        SetWindowPos(Hwnd(w), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    static bool IsCombo(HWND w) {
        char cls[32] = {};
        GetClassNameA(w, cls, sizeof cls);
        return lstrcmpiA(cls, "Combobox") == 0;
    }
    void SetListItems(uint32_t k, const std::vector<std::string>& items) override {
        HWND w = Hwnd(k);
        bool combo = IsCombo(w);
        SendMessageA(w, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        for (const auto& s : items)
            SendMessageA(w, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
    std::vector<std::string> GetListItems(uint32_t k) override {
        HWND w = Hwnd(k);
        bool combo = IsCombo(w);
        std::vector<std::string> out;
        int n = int(SendMessageA(w, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            int len = int(SendMessageA(w, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(i), 0));
            if (len < 0)
                continue;
            std::string s(size_t(len) + 1, '\0');
            SendMessageA(w, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(&s[0]));
            s.resize(size_t(len));
            out.push_back(s);
        }
        return out;
    }
    void SetCheck(uint32_t w, uint32_t state) override { SendMessageA(Hwnd(w), BM_SETCHECK, state, 0); }
    void ShowState(uint32_t w, int how) override {
        ShowWindow(Hwnd(w), how == 2 ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED);
    }
    uint32_t MakeFont(const dsg::LogFont& f) override {
        LOGFONTA lf{};
        lf.lfHeight = f.height;
        lf.lfWeight = f.weight;
        lf.lfItalic = f.italic;
        lf.lfUnderline = f.underline;
        lf.lfStrikeOut = f.strikeOut;
        lf.lfCharSet = f.charSet;
        lf.lfPitchAndFamily = f.pitchAndFamily;
        lstrcpynA(lf.lfFaceName, f.face.c_str(), LF_FACESIZE);
        HFONT h = CreateFontIndirectA(&lf);
        if (!h)
            return 0;
        uint32_t k = nextFont++;
        fonts[k] = h;
        return k;
    }
    static dsg::LogFont FromLog(const LOGFONTA& lf) {
        dsg::LogFont f;
        f.height = lf.lfHeight;
        f.weight = lf.lfWeight;
        f.italic = lf.lfItalic;
        f.underline = lf.lfUnderline;
        f.strikeOut = lf.lfStrikeOut;
        f.charSet = lf.lfCharSet;
        f.pitchAndFamily = lf.lfPitchAndFamily;
        f.face = lf.lfFaceName;
        return f;
    }
    bool GetFont(uint32_t font, dsg::LogFont& out) override {
        HFONT h = Font(font);
        LOGFONTA lf{};
        if (!h || !GetObjectA(h, sizeof lf, &lf))
            return false;
        out = FromLog(lf);
        return true;
    }
    void DeleteFont(uint32_t font) override {
        auto it = fonts.find(font);
        if (it == fonts.end())
            return;
        DeleteObject(it->second);
        fonts.erase(it);
    }
    dsg::LogFont StockFontOf(dsg::StockFont which) override {
        LOGFONTA lf{};
        GetObjectA(GetStockObject(which == dsg::StockFont::SystemFixed ? SYSTEM_FIXED_FONT : SYSTEM_FONT),
                   sizeof lf, &lf);
        return FromLog(lf);
    }
    void SetFont(uint32_t w, uint32_t font) override {
        SendMessageA(Hwnd(w), WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), TRUE);
    }
    dsg::Point CharSize(uint32_t font) override {
        HDC dc = GetDC(nullptr);
        HFONT h = font ? Font(font) : nullptr;
        HGDIOBJ old = SelectObject(dc, h ? static_cast<HGDIOBJ>(h) : GetStockObject(SYSTEM_FIXED_FONT));
        SIZE s{};
        GetTextExtentPoint32A(dc, ".", 1, &s);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return {s.cx, s.cy};
    }
    dsg::Rect AdjustWindowRect(dsg::Rect c, uint32_t style, uint32_t exStyle, bool menu) override {
        RECT r{c.left, c.top, c.right, c.bottom};
        AdjustWindowRectEx(&r, style, menu, exStyle);
        return {r.left, r.top, r.right, r.bottom};
    }
    int32_t VertRes() override { return Caps(VERTRES); }
    int32_t VertSize() override { return Caps(VERTSIZE); }
    static int32_t Caps(int what) {
        HDC dc = GetDC(nullptr);
        int v = GetDeviceCaps(dc, what);
        ReleaseDC(nullptr, dc);
        return v;
    }
    dsg::Point Convert(uint32_t form, int mode, dsg::Point p, bool toLogical) {
        HWND w = Hwnd(form);
        HDC dc = GetDC(w);
        SetMapMode(dc, mode);
        POINT q{p.x, p.y};
        if (toLogical)
            DPtoLP(dc, &q, 1);
        else
            LPtoDP(dc, &q, 1);
        ReleaseDC(w, dc);
        return {q.x, q.y};
    }
    dsg::Point DeviceToLogical(uint32_t form, int mode, dsg::Point p) override {
        return Convert(form, mode, p, true);
    }
    dsg::Point LogicalToDevice(uint32_t form, int mode, dsg::Point p) override {
        return Convert(form, mode, p, false);
    }
    std::u16string ToWide(const std::string& ansi) override {
        int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
        std::wstring w(size_t(n > 0 ? n : 0), L'\0');
        if (n > 0)
            MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), &w[0], n);
        return std::u16string(w.begin(), w.end());
    }
    std::string FromWide(const std::u16string& wide) override {
        std::wstring w(wide.begin(), wide.end());
        int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
        std::string s(size_t(n > 0 ? n : 0), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
        return s;
    }
    uint32_t PaletteBrush(int index) override {
        if (index < 0 || index > 15)
            return 0;
        if (!brushes[index])
            brushes[index] = CreateSolidBrush(dsg::kPalette[index]);
        return 0x100u + uint32_t(index);
    }
    dsg::Point LoadButtonBitmap(uint32_t w, const std::string& path) override {
        // A bitmap button keeps the image it paints its frames from.
        // The lists keep paths relative to the script's folder.
        std::string file = dsg::ImportFullPath(path, ScriptFolder(g_pRcDoc));
        POINT kept = BmpButtonLoad(Hwnd(w), file);
        if (kept.x || kept.y)
            return {kept.x, kept.y};
        HBITMAP b = static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (!b)
            return {0, 0};
        BITMAP bm{};
        GetObjectA(b, sizeof bm, &bm);
        DeleteObject(b);
        return {bm.bmWidth, bm.bmHeight};
    }
    void Message(uint32_t id, const std::string* arg) override {
        MessageBoxById(id, MB_OK | MB_ICONEXCLAMATION, 1, arg ? arg->c_str() : nullptr);
    }
};

WinHost& TheHost() {
    static WinHost host;
    return host;
}

}  // namespace

dsg::DesignerHost& Host() { return TheHost(); }

HWND Hwnd(uint32_t key) {
    auto& m = TheHost().windows;
    auto it = m.find(key);
    return it == m.end() ? nullptr : it->second;
}

uint32_t Key(HWND w) {
    auto& m = TheHost().keys;
    auto it = m.find(w);
    return it == m.end() ? 0 : it->second;
}

HFONT Font(uint32_t key) {
    auto& m = TheHost().fonts;
    auto it = m.find(key);
    return it == m.end() ? nullptr : it->second;
}

HBRUSH Brush(uint32_t key) {
    if (key < 0x100 || key > 0x10F)
        return nullptr;
    TheHost().PaletteBrush(int(key - 0x100));
    return TheHost().brushes[key - 0x100];
}

}  // namespace dsgwin
