// What the designer core needs of the windows around it. The IDE supplies
// Win32 implementations; the native tests supply a fake. Window, font and
// brush handles are 32-bit keys the host hands out, so records keep the
// same bytes in the i686 and x86_64 builds (the host keeps the real,
// pointer-sized handles in its own side tables).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dsg {

struct Point { int32_t x, y; };
struct Rect { int32_t left, top, right, bottom; };

// The logical font of a control: what the font items set and the writer reads.
struct LogFont {
    int32_t height = 0;
    int32_t weight = 400;
    uint8_t italic = 0, underline = 0, strikeOut = 0;
    uint8_t charSet = 1, pitchAndFamily = 0;
    std::string face;
};

enum class StockFont { SystemFixed, System };

class DesignerHost {
public:
    virtual ~DesignerHost() = default;
    // Windows: 0 is failure. A form window has no parent.
    virtual uint32_t MakeWindow(uint32_t exStyle, const std::string &cls, const std::string &text,
                                  uint32_t style, Rect r, uint32_t parent, uint32_t id) = 0;
    virtual void DropWindow(uint32_t w) = 0;
    virtual void SetText(uint32_t w, const std::string &text) = 0;
    virtual std::string GetText(uint32_t w) = 0;
    virtual void PlaceWindow(uint32_t w, Rect r) = 0;
    // List and combo boxes.
    virtual void SetListItems(uint32_t w, const std::vector<std::string> &items) = 0;
    virtual std::vector<std::string> GetListItems(uint32_t w) = 0;
    virtual void SetCheck(uint32_t w, uint32_t state) = 0;
    virtual void ShowState(uint32_t w, int how) = 0;  // 2 minimised, 3 maximised
    // Fonts: 0 is failure; the handle is owned by the record that keeps it.
    virtual uint32_t MakeFont(const LogFont &f) = 0;
    virtual bool GetFont(uint32_t font, LogFont &out) = 0;
    virtual void DeleteFont(uint32_t font) = 0;
    virtual LogFont StockFontOf(StockFont which) = 0;
    virtual void SetFont(uint32_t w, uint32_t font) = 0;
    // Width and height of "." in a font (0 = the stock fixed font).
    virtual Point CharSize(uint32_t font) = 0;
    // The window rectangle around a client rectangle for these styles.
    virtual Rect AdjustWindowRect(Rect client, uint32_t style, uint32_t exStyle, bool menu) = 0;
    // Screen: VERTRES (pixels) and VERTSIZE (millimetres).
    virtual int32_t VertRes() = 0;
    virtual int32_t VertSize() = 0;
    // Point conversion in a platform mapping mode (1 text, 2-6 the metric
    // and English modes, 6 twips) on the form's device context.
    virtual Point DeviceToLogical(uint32_t form, int mode, Point p) = 0;
    virtual Point LogicalToDevice(uint32_t form, int mode, Point p) = 0;
    // Text conversion for menu templates (the ANSI code page).
    virtual std::u16string ToWide(const std::string &ansi) = 0;
    virtual std::string FromWide(const std::u16string &wide) = 0;
    // The designer's palette brushes (never owned by a record).
    virtual uint32_t PaletteBrush(int index) = 0;
    // Loads a bitmap-button image from a file; its width and height, or
    // {0, 0} when it cannot be read.
    virtual Point LoadButtonBitmap(uint32_t w, const std::string &path) = 0;
    // MessageBoxById of the designer's messages.
    virtual void Message(uint32_t id, const std::string *arg = nullptr) = 0;
};

}  // namespace dsg
