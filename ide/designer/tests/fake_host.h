// A window-less stand-in for the designer's host: windows, fonts and
// metrics as plain values, messages recorded.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "dsg_host.h"

namespace dsg::test {

class FakeHost : public DesignerHost {
public:
    struct Window {
        uint32_t exStyle, style, parent, id;
        std::string cls, text;
        Rect rect;
        std::vector<std::string> items;
        uint32_t font = 0, check = 0;
        int show = 0;
        bool alive = true;
    };
    std::map<uint32_t, Window> windows;
    std::map<uint32_t, LogFont> fonts;
    std::vector<uint32_t> messages;
    uint32_t nextWindow = 0x100, nextFont = 0x9000;
    int failWindowsAfter = -1;  // MakeWindow fails once this many more were made

    uint32_t MakeWindow(uint32_t exStyle, const std::string &cls, const std::string &text, uint32_t style, Rect r,
                          uint32_t parent, uint32_t id) override {
        if (failWindowsAfter == 0) return 0;
        if (failWindowsAfter > 0) --failWindowsAfter;
        uint32_t w = nextWindow++;
        windows[w] = Window{exStyle, style, parent, id, cls, text, r, {}};
        return w;
    }
    void DropWindow(uint32_t w) override { windows[w].alive = false; }
    void SetText(uint32_t w, const std::string &t) override { windows[w].text = t; }
    std::string GetText(uint32_t w) override { return windows[w].text; }
    void PlaceWindow(uint32_t w, Rect r) override { windows[w].rect = r; }
    void SetListItems(uint32_t w, const std::vector<std::string> &items) override { windows[w].items = items; }
    std::vector<std::string> GetListItems(uint32_t w) override { return windows[w].items; }
    void SetCheck(uint32_t w, uint32_t s) override { windows[w].check = s; }
    void ShowState(uint32_t w, int how) override { windows[w].show = how; }
    uint32_t MakeFont(const LogFont &f) override {
        fonts[nextFont] = f;
        return nextFont++;
    }
    bool GetFont(uint32_t font, LogFont &out) override {
        auto it = fonts.find(font);
        if (it == fonts.end()) return false;
        out = it->second;
        return true;
    }
    void DeleteFont(uint32_t font) override { fonts.erase(font); }
    LogFont StockFontOf(StockFont which) override {
        LogFont f;
        f.height = 16;
        f.weight = which == StockFont::System ? 700 : 400;
        f.charSet = 128;
        f.pitchAndFamily = which == StockFont::System ? 0x22 : 0x31;
        f.face = which == StockFont::System ? "System" : "Fixedsys";
        return f;
    }
    void SetFont(uint32_t w, uint32_t font) override { windows[w].font = font; }
    Point CharSize(uint32_t font) override {
        if (!font) return {8, 16};
        LogFont f;
        GetFont(font, f);
        int32_t h = f.height < 0 ? -f.height : f.height;
        return {h / 2, h};
    }
    Rect AdjustWindowRect(Rect c, uint32_t, uint32_t, bool menu) override {
        return {c.left - 4, c.top - 23 - (menu ? 19 : 0), c.right + 4, c.bottom + 4};
    }
    int32_t VertRes() override { return 768; }
    int32_t VertSize() override { return 203; }
    static double UnitsPerInch(int mode) {
        static const double k[7] = {96, 96, 254, 2540, 100, 1000, 1440};
        return k[mode];
    }
    Point DeviceToLogical(uint32_t, int mode, Point p) override {
        double f = UnitsPerInch(mode) / 96.0;
        return {int32_t(std::lround(p.x * f)), -int32_t(std::lround(p.y * f))};
    }
    Point LogicalToDevice(uint32_t, int mode, Point p) override {
        double f = 96.0 / UnitsPerInch(mode);
        return {int32_t(std::lround(p.x * f)), -int32_t(std::lround(p.y * f))};
    }
#ifdef _WIN32
    std::u16string ToWide(const std::string &ansi) override {
        std::u16string w(ansi.size() + 1, u'\0');
        int n = MultiByteToWideChar(932, 0, ansi.data(), int(ansi.size()), reinterpret_cast<wchar_t *>(w.data()),
                                    int(w.size()));
        w.resize(size_t(n));
        return w;
    }
    std::string FromWide(const std::u16string &wide) override {
        std::string a(wide.size() * 2 + 1, '\0');
        int n = WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t *>(wide.data()), int(wide.size()), a.data(),
                                    int(a.size()), nullptr, nullptr);
        a.resize(size_t(n));
        return a;
    }
#else
    static std::string Convert(const char *to, const char *from, const std::string &in) {
        iconv_t cd = iconv_open(to, from);
        std::string out(in.size() * 4 + 4, '\0');
        char *src = const_cast<char *>(in.data()), *dst = out.data();
        size_t left = in.size(), room = out.size();
        iconv(cd, &src, &left, &dst, &room);
        iconv_close(cd);
        out.resize(out.size() - room);
        return out;
    }
    std::u16string ToWide(const std::string &ansi) override {
        std::string b = Convert("UTF-16LE", "CP932", ansi);
        std::u16string w;
        for (size_t i = 0; i + 1 < b.size(); i += 2) w += char16_t(uint8_t(b[i]) | uint8_t(b[i + 1]) << 8);
        return w;
    }
    std::string FromWide(const std::u16string &wide) override {
        std::string b;
        for (char16_t c : wide) b += char(c & 0xFF), b += char(c >> 8);
        return Convert("CP932", "UTF-16LE", b);
    }
#endif
    uint32_t PaletteBrush(int i) override { return 0x5000u + uint32_t(i); }
    Point LoadButtonBitmap(uint32_t, const std::string &) override { return {32, 16}; }
    void Message(uint32_t id, const std::string *) override { messages.push_back(id); }
};

}  // namespace dsg::test
