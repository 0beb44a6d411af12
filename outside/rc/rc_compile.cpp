#include "rc_compile.h"

#include <cstring>

#include "cp932.h"
#include "dbcs.h"
#include "rc_images.h"

namespace rc {
namespace {

// Memory flags: the keywords of a statement are read and not used; every
// resource of a type gets the same flags.
constexpr std::uint16_t kMoveablePureDiscardable = 0x1030;
constexpr std::uint16_t kMoveableDiscardable = 0x1010;

// Menu item options and the mark of a level's last item.
constexpr std::uint16_t kMfGrayed = 0x0001;
constexpr std::uint16_t kMfInactive = 0x0002;
constexpr std::uint16_t kMfChecked = 0x0008;
constexpr std::uint16_t kMfPopup = 0x0010;
// Popups within popups: each level is a frame of MenuBlock and of the writer.
constexpr int kMaxMenuDepth = 64;
constexpr std::uint16_t kMfMenuBarBreak = 0x0020;
constexpr std::uint16_t kMfMenuBreak = 0x0040;
constexpr std::uint16_t kMfEnd = 0x0080;
constexpr std::uint16_t kMfHelp = 0x4000;

// Accelerator flags.
constexpr std::uint16_t kFVirtKey = 0x01;
constexpr std::uint16_t kFNoInvert = 0x02;
constexpr std::uint16_t kFShift = 0x04;
constexpr std::uint16_t kFControl = 0x08;
constexpr std::uint16_t kFAlt = 0x10;
constexpr std::uint16_t kAccelEnd = 0x80;

struct Keyword {
    const char *name;
    std::uint16_t value;
};

constexpr Keyword kMenuOptions[] = {
    {"CHECKED", kMfChecked}, {"GRAYED", kMfGrayed},           {"INACTIVE", kMfInactive},
    {"HELP", kMfHelp},       {"MENUBARBREAK", kMfMenuBarBreak}, {"MENUBREAK", kMfMenuBreak},
};

constexpr Keyword kAccelOptions[] = {
    {"VIRTKEY", kFVirtKey}, {"ASCII", 0}, {"NOINVERT", kFNoInvert},
    {"SHIFT", kFShift},     {"CONTROL", kFControl}, {"ALT", kFAlt},
};

constexpr const char *kMemoryKeywords[] = {"PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE",
                                           "DISCARDABLE", "PURE", "IMPURE"};

std::string Upper(const std::string &s) {
    std::string u = s;
    for (std::size_t i = 0; i < u.size(); ++i) {
        if (tx::IsSjisLeadByte(static_cast<unsigned char>(u[i]))) {
            ++i;
            continue;
        }
        if (u[i] >= 'a' && u[i] <= 'z')
            u[i] = static_cast<char>(u[i] - 'a' + 'A');
    }
    return u;
}

bool Is(const Token &t, const char *word) { return t.kind == Token::kName && Upper(t.text) == word; }
bool IsPunct(const Token &t, char c) { return t.kind == Token::kPunct && t.text.size() == 1 && t.text[0] == c; }

template <std::size_t N>
const Keyword *FindKeyword(const Keyword (&table)[N], const Token &t) {
    if (t.kind != Token::kName)
        return nullptr;
    for (const Keyword &k : table)
        if (Upper(t.text) == k.name)
            return &k;
    return nullptr;
}

void PutU16(std::string &out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string &out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutUtf16z(std::string &out, const std::string &cp932) {
    for (char16_t c : Cp932ToUtf16(cp932))
        PutU16(out, c);
    PutU16(out, 0);
}

struct MenuItem {
    bool popup = false;
    std::uint16_t flags = 0;
    std::uint16_t id = 0;
    std::string text;
    std::vector<MenuItem> children;
};

class Compiler {
public:
    explicit Compiler(const CompileOptions &o) : options_(o), lex_(o.read, o.include_path) {}

    std::vector<Resource> Run() {
        lex_.Open(options_.script);
        for (;;) {
            Token name = lex_.Next();
            if (name.kind == Token::kEnd)
                break;
            Statement(name);
        }
        return std::move(out_);
    }

private:
    [[noreturn]] void Fail(const Token &at, int code, const std::string &text) {
        throw RcError{at.file, at.line, code, text};
    }

    [[noreturn]] void Unexpected(const Token &t) {
        if (t.kind == Token::kName)
            Fail(t, 2104, "undefined keyword or key name: " + t.text);
        if (t.kind == Token::kEnd)
            Fail(t, 1004, "unexpected end of file found");
        Fail(t, 2135, "unexpected '" + (t.kind == Token::kString ? "\"" + t.text + "\"" : t.text) + "'");
    }

    void Add(std::uint16_t type, const ResName &name, std::uint16_t flags, std::string data) {
        out_.push_back({type, name, flags, options_.language, std::move(data)});
    }

    void SkipMemoryKeywords() {
        for (;;) {
            const Token &t = lex_.Peek();
            bool memory = false;
            for (const char *k : kMemoryKeywords)
                memory = memory || Is(t, k);
            if (!memory)
                return;
            lex_.Next();
        }
    }

    void ExpectBegin() {
        Token t = lex_.Next();
        if (!Is(t, "BEGIN") && !IsPunct(t, '{'))
            Fail(t, 2112, "BEGIN expected");
    }

    static bool IsEnd(const Token &t) { return Is(t, "END") || IsPunct(t, '}'); }

    // A number with an optional unary minus.
    bool Number(Token t, std::uint32_t &value, bool &is_long) {
        bool negate = false;
        while (IsPunct(t, '-')) {
            negate = !negate;
            t = lex_.Next();
        }
        if (t.kind != Token::kNumber) {
            if (negate)
                Unexpected(t);
            return false;
        }
        value = negate ? 0u - t.value : t.value;
        is_long = t.is_long;
        return true;
    }

    std::uint16_t Id(const Token &t) {
        std::uint32_t v = 0;
        bool is_long = false;
        if (!Number(t, v, is_long))
            Unexpected(t);
        return static_cast<std::uint16_t>(v);
    }

    void Statement(const Token &name_token) {
        ResName name;
        if (name_token.kind == Token::kNumber) {
            name.is_ordinal = true;
            name.ordinal = static_cast<std::uint16_t>(name_token.value);
        } else if (name_token.kind == Token::kName) {
            name.text = Upper(name_token.text);
        } else {
            Unexpected(name_token);
        }
        Token type = lex_.Next();
        if (Is(type, "RCDATA"))
            Rcdata(name);
        else if (Is(type, "MENU"))
            Menu(name);
        else if (Is(type, "ACCELERATORS"))
            Accelerators(name);
        else if (Is(type, "ICON") || Is(type, "CURSOR") || Is(type, "BITMAP"))
            ImageFile(name, type);
        else if (type.kind == Token::kEnd)
            Fail(type, 1004, "unexpected end of file found");
        else
            Fail(type, 2135, "unknown resource type: " + type.text);
    }

    // Items separated by commas or by white space alone: numbers (16-bit,
    // 32-bit with L) and strings (their bytes, no terminating zero).
    void Rcdata(const ResName &name) {
        SkipMemoryKeywords();
        ExpectBegin();
        std::string data;
        for (;;) {
            Token t = lex_.Next();
            if (IsEnd(t))
                break;
            if (IsPunct(t, ','))
                continue;
            if (t.kind == Token::kString) {
                data += t.text;
                continue;
            }
            std::uint32_t v = 0;
            bool is_long = false;
            if (!Number(t, v, is_long))
                Unexpected(t);
            if (is_long)
                PutU32(data, v);
            else
                PutU16(data, v);
        }
        Add(kRtRcdata, name, kMoveablePureDiscardable, data);
    }

    std::uint16_t Options(const Keyword *(*find)(const Token &)) {
        std::uint16_t flags = 0;
        for (;;) {
            const Token &t = lex_.Peek();
            if (IsPunct(t, ',')) {
                lex_.Next();
                continue;
            }
            const Keyword *k = find(t);
            if (!k)
                return flags;
            flags |= k->value;
            lex_.Next();
        }
    }

    static const Keyword *MenuOption(const Token &t) { return FindKeyword(kMenuOptions, t); }
    static const Keyword *AccelOption(const Token &t) { return FindKeyword(kAccelOptions, t); }

    std::vector<MenuItem> MenuBlock(int depth = 0) {
        if (depth >= kMaxMenuDepth)
            Fail(lex_.Peek(), 2168, "menus nested deeper than " + std::to_string(kMaxMenuDepth) + " levels");
        ExpectBegin();
        std::vector<MenuItem> items;
        for (;;) {
            Token t = lex_.Next();
            if (IsEnd(t))
                return items;
            MenuItem item;
            if (Is(t, "POPUP")) {
                Token text = lex_.Next();
                if (text.kind != Token::kString)
                    Fail(text, 2165, "string expected after POPUP");
                item.popup = true;
                item.text = text.text;
                item.flags = kMfPopup | Options(MenuOption);
                item.children = MenuBlock(depth + 1);
            } else if (Is(t, "MENUITEM")) {
                Token text = lex_.Next();
                if (Is(text, "SEPARATOR")) {
                    items.push_back(item);
                    continue;
                }
                if (text.kind != Token::kString)
                    Fail(text, 2165, "string expected after MENUITEM");
                item.text = text.text;
                Token next = lex_.Next();
                if (IsPunct(next, ','))
                    next = lex_.Next();
                item.id = Id(next);
                item.flags = Options(MenuOption);
            } else {
                Unexpected(t);
            }
            items.push_back(std::move(item));
        }
    }

    static void WriteMenuLevel(std::string &data, const std::vector<MenuItem> &items) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            const MenuItem &m = items[i];
            std::uint16_t flags = m.flags | (i + 1 == items.size() ? kMfEnd : 0);
            PutU16(data, flags);
            if (!m.popup)
                PutU16(data, m.id);
            PutUtf16z(data, m.text);
            if (m.popup)
                WriteMenuLevel(data, m.children);
        }
    }

    void Menu(const ResName &name) {
        SkipMemoryKeywords();
        std::vector<MenuItem> items = MenuBlock();
        std::string data;
        PutU32(data, 0);   // version and header size
        WriteMenuLevel(data, items);
        Add(kRtMenu, name, kMoveablePureDiscardable, data);
    }

    void Accelerators(const ResName &name) {
        SkipMemoryKeywords();
        ExpectBegin();
        struct Entry {
            std::uint16_t flags, key, id;
        };
        std::vector<Entry> entries;
        for (;;) {
            Token t = lex_.Next();
            if (IsEnd(t))
                break;
            std::uint16_t key = 0;
            if (t.kind == Token::kString) {
                if (t.text.size() == 2 && t.text[0] == '^')
                    key = static_cast<std::uint16_t>(Upper(t.text.substr(1))[0] - '@');
                else if (t.text.size() == 1)
                    key = static_cast<unsigned char>(t.text[0]);
                else
                    Fail(t, 2154, "invalid accelerator key: \"" + t.text + "\"");
            } else {
                key = Id(t);
            }
            Token comma = lex_.Next();
            if (!IsPunct(comma, ','))
                Unexpected(comma);
            std::uint16_t id = Id(lex_.Next());
            std::uint16_t flags = Options(AccelOption);
            entries.push_back({flags, key, id});
        }
        std::string data;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            PutU16(data, entries[i].flags | (i + 1 == entries.size() ? kAccelEnd : 0));
            PutU16(data, entries[i].key);
            PutU16(data, entries[i].id);
            PutU16(data, 0);
        }
        Add(kRtAccelerator, name, kMoveablePureDiscardable, data);
    }

    std::optional<std::string> Read(const Token &at, const std::string &path) {
        try {
            return options_.read(path);
        } catch (const ReadRefused &r) {
            Fail(at, 2135, r.text);
        }
    }

    // The file is looked for in the current folder, then in the script's.
    void ImageFile(const ResName &name, const Token &type) {
        SkipMemoryKeywords();
        Token file = lex_.Next();
        if (file.kind != Token::kString && file.kind != Token::kName)
            Fail(file, 2135, "file name expected");
        std::optional<std::string> bytes = Read(file, file.text);
        if (!bytes)
            bytes = Read(file, JoinPath(lex_.ScriptFolder(), file.text));
        if (!bytes)
            Fail(file, 2135, "file not found: " + file.text);
        std::string problem;
        if (Is(type, "BITMAP")) {
            std::string dib;
            if (!BitmapResource(*bytes, dib, problem))
                Fail(file, 2175, file.text + ": " + problem);
            Add(kRtBitmap, name, kMoveablePureDiscardable, dib);
            return;
        }
        const bool icon = Is(type, "ICON");
        std::vector<std::string> images;
        std::string group;
        std::uint16_t &counter = icon ? icons_ : cursors_;
        if (!IconResources(*bytes, icon, static_cast<std::uint16_t>(counter + 1), images, group, problem))
            Fail(file, 2175, file.text + ": " + problem);
        for (const std::string &image : images) {
            ResName ordinal;
            ordinal.is_ordinal = true;
            ordinal.ordinal = ++counter;
            Add(icon ? kRtIcon : kRtCursor, ordinal, kMoveableDiscardable, image);
        }
        Add(icon ? kRtGroupIcon : kRtGroupCursor, name, kMoveableDiscardable, group);
    }

    const CompileOptions &options_;
    Lexer lex_;
    std::vector<Resource> out_;
    std::uint16_t icons_ = 0, cursors_ = 0;
};

void PutName(std::string &out, const ResName &n) {
    if (n.is_ordinal) {
        PutU16(out, 0xFFFF);
        PutU16(out, n.ordinal);
    } else {
        PutUtf16z(out, n.text);
    }
}

void Align4(std::string &out) {
    while (out.size() % 4)
        out += '\0';
}

}  // namespace

std::vector<Resource> CompileScript(const CompileOptions &options) { return Compiler(options).Run(); }

std::string WriteResFile(const std::vector<Resource> &resources) {
    // The empty first entry marks the 32-bit layout.
    std::string out;
    PutU32(out, 0);
    PutU32(out, 32);
    PutU32(out, 0xFFFF);
    PutU32(out, 0xFFFF);
    out.append(16, '\0');
    for (const Resource &r : resources) {
        std::string names;
        ResName type;
        type.is_ordinal = true;
        type.ordinal = r.type;
        PutName(names, type);
        PutName(names, r.name);
        Align4(names);
        std::string header;
        PutU32(header, static_cast<std::uint32_t>(r.data.size()));
        PutU32(header, static_cast<std::uint32_t>(8 + names.size() + 16));
        header += names;
        PutU32(header, 0);                // data version
        PutU16(header, r.memory_flags);
        PutU16(header, r.language);
        PutU32(header, 0);                // version
        PutU32(header, 0);                // characteristics
        out += header;
        out += r.data;
        Align4(out);
    }
    return out;
}

}  // namespace rc
