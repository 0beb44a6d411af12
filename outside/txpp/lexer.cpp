#include "lexer.h"

#include "tokens.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace pp {

using namespace tok;

DefaultTypes::DefaultTypes() { std::memset(byLetter, kTypeSng, sizeof byLetter); }

size_t CutAtCharBoundary(const char *text, size_t length, size_t max) {
    size_t i = 0;
    while (i < length) {
        size_t w = IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < length ? 2 : 1;
        if (i + w > max) break;
        i += w;
    }
    return i;
}

namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsAlpha(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsHexDigit(uint8_t c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
bool IsOctDigit(uint8_t c) { return c >= '0' && c <= '7'; }
uint8_t Upper(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }
bool IsSuffix(uint8_t c) { return c == '%' || c == '&' || c == '!' || c == '#' || c == '$'; }

// A fault ends the tokens of the line: it replaces them by one error unit.
struct Fault {
    uint8_t code;
    size_t column;
    size_t length;
};

// The first byte that can stand nowhere in a line: a control byte (tabs are
// blanks) outside a string constant, a byte that is no character of code
// page 932, or a lead byte without its trail byte. A string constant keeps
// its control bytes as they are (old programs type a BEL or an ESC into
// one), all but NUL, which ends a line's text.
bool FindBadByte(const std::string &t, Fault &fault) {
    bool quoted = false;
    for (size_t i = 0; i < t.size();) {
        uint8_t b = static_cast<uint8_t>(t[i]);
        if (b == '"')
            quoted = !quoted;
        if (IsLeadByte(b)) {
            if (i + 1 >= t.size() || !IsTrailByte(static_cast<uint8_t>(t[i + 1]))) {
                fault = {kErrSyntax, i, 1};
                return true;
            }
            i += 2;
            continue;
        }
        if (((b < 0x20 || b == 0x7F) && b != '\t' && (!quoted || b == 0)) || b == 0x80 || b == 0xA0 || b >= 0xFD) {
            fault = {kErrSyntax, i, 1};
            return true;
        }
        ++i;
    }
    return false;
}

uint8_t DefTypeOf(uint16_t word) {
    switch (word) {
    case tw::kDEFINT: return kTypeInt;
    case tw::kDEFLNG: return kTypeLng;
    case tw::kDEFSNG: return kTypeSng;
    case tw::kDEFDBL: return kTypeDbl;
    case tw::kDEFBYT: return kTypeByt;
    case tw::kDEFSTR: return kTypeStr;
    default: return 0xFF;
    }
}

// Words after which a number is a line number (and "*NAME" a label).
bool TakesLineNumber(uint16_t word, uint16_t previous) {
    switch (word) {
    case tw::kGOTO: case tw::kGOSUB: case tw::kTHEN: case tw::kELSE:
    case tw::kRESTORE: case tw::kRESUME: case tw::kRETURN: case tw::kRUN:
        return true;
    case tw::kTO:
        return previous == tw::kGO;
    default:
        return false;
    }
}

// FindKeyword walks the whole table; every name of every line asks, so the
// lexer keeps the first entry of each spelling by hash.
const Keyword *LookupKeyword(std::string_view upper) {
    static const auto *const index = [] {
        auto *m = new std::unordered_map<std::string_view, const Keyword *>;
        for (const Keyword &k : kKeywords)
            m->try_emplace(k.spelling, &k);
        return m;
    }();
    auto it = index->find(upper);
    return it == index->end() ? nullptr : it->second;
}

// The first symbol entry of a one- or two-byte spelling: punctuation comes
// between most names, so the table is not walked for each.
const Keyword *LookupSymbol(std::string_view s) {
    struct Index {
        const Keyword *one[256] = {};
        std::vector<const Keyword *> two[256];
    };
    static const Index *const index = [] {
        auto *x = new Index;
        for (const Keyword &k : kSymbols) {
            const std::string_view sp = k.spelling;
            if (sp.size() == 1 && !x->one[uint8_t(sp[0])]) x->one[uint8_t(sp[0])] = &k;
            if (sp.size() == 2) x->two[uint8_t(sp[0])].push_back(&k);
        }
        return x;
    }();
    if (s.size() == 1) return index->one[uint8_t(s[0])];
    for (const Keyword *k : index->two[uint8_t(s[0])])
        if (std::string_view(k->spelling) == s) return k;
    return nullptr;
}

class Lexer {
public:
    Lexer(std::string &text, const LexOptions &options, DefaultTypes &defaults, std::vector<uint8_t> &out)
        : t_(text), o_(options), defaults_(defaults), out_(out), base_(out.size()), lineStart_(out.size()) {}

    void Run() {
        try {
            // The line start takes only digits, blanks and name characters,
            // so it is safe before the check; it may insert a blank, so the
            // check comes after it.
            if (o_.kind == LineKind::kSource) LineStart();
            lineStart_ = out_.size();
            Fault bad{};
            if (FindBadByte(t_, bad)) throw bad;
            if (o_.forcedFaultColumn >= 0) throw Fault{kErrSyntax, static_cast<size_t>(o_.forcedFaultColumn), 0};
            Statements();
        } catch (const Fault &f) {
            out_.resize(lineStart_);
            size_t column = f.column < t_.size() ? f.column : t_.size();
            size_t length = f.length < t_.size() - column ? f.length : t_.size() - column;
            if (column > 255) column = 255;
            if (length > 255 - column) length = 255 - column;
            Put4(kClsError, f.code, column, length);
        }
    }

private:
    uint8_t At(size_t i) const { return i < t_.size() ? static_cast<uint8_t>(t_[i]) : 0; }

    // Width of the blank at i: a space, a tab or the full-width space.
    size_t BlankAt(size_t i) const {
        uint8_t c = At(i);
        if (c == ' ' || c == '\t') return 1;
        if (c == 0x81 && At(i + 1) == 0x40) return 2;
        return 0;
    }
    void SkipBlanks() {
        while (size_t w = BlankAt(pos_)) pos_ += w;
    }

    // Width of the name character at i (0 when there is none).
    size_t NameCharAt(size_t i) const {
        uint8_t c = At(i);
        if (IsAlpha(c) || IsDigit(c) || c == '_' || IsKatakana(c)) return 1;
        if (IsLeadByte(c) && IsTrailByte(At(i + 1)) && !(c == 0x81 && At(i + 1) == 0x40)) return 2;
        return 0;
    }
    bool IsWordStart(size_t i) const {
        uint8_t c = At(i);
        return !IsDigit(c) && c != '_' && NameCharAt(i) != 0;
    }
    size_t ScanNameChars(size_t i) const {
        while (size_t w = NameCharAt(i)) i += w;
        return i;
    }

    void Put4(uint8_t cls, uint8_t kind, size_t offset, size_t length) {
        const uint8_t unit[4] = {cls, kind, static_cast<uint8_t>(offset > 255 ? 255 : offset),
                                 static_cast<uint8_t>(length > 255 ? 255 : length)};
        out_.insert(out_.end(), unit, unit + 4);
    }

    void Room(size_t bytes, size_t offset, size_t length) const {
        if (out_.size() - base_ + bytes > o_.tokenLimit) throw Fault{kErrWorkArea, offset, length};
    }

    void Emit(uint8_t cls, uint8_t kind, size_t offset, size_t length) {
        Room(4, offset, length);
        Put4(cls, kind, offset, length);
        After(tok::Word(cls, kind));
    }

    void EmitConstant(uint8_t type, size_t offset, size_t length, const void *value) {
        Room(kConstSize[type], offset, length);
        Put4(kClsConstant, type, offset, length);
        const uint8_t *v = static_cast<const uint8_t *>(value);
        out_.insert(out_.end(), v, v + (kConstSize[type] - 4));
        After(tok::Word(kClsConstant, type));
    }

    // Bookkeeping after every unit: may a "*" start a label here, and may a
    // number be a line number.
    void After(uint16_t word) {
        uint8_t cls = ClassOf(word);
        operandEnd_ = cls == kClsFunction || cls == kClsName || cls == kClsConstant || cls == kClsType ||
                      cls == kClsLabel || cls == kClsLineNumber || word == tw::kRPAREN;
        if (TakesLineNumber(word, last_))
            lineNumberContext_ = 1;
        else if ((cls == kClsLineNumber || cls == kClsLabel) && lineNumberContext_ == 1)
            lineNumberContext_ = 2;
        else if (word == tw::kCOMMA && lineNumberContext_ == 2)
            lineNumberContext_ = 1;
        else
            lineNumberContext_ = 0;
        last_ = word;
    }

    void LineStart() {
        SkipBlanks();
        if (IsDigit(At(pos_))) {
            size_t start = pos_;
            while (IsDigit(At(pos_))) ++pos_;
            if (pos_ - start > kMaxLineNumberDigits) throw Fault{kErrSyntax, start, pos_ - start};
            Emit(kClsLineNumber, 0, start, pos_ - start);
            if (o_.normalise && IsWordStart(pos_)) t_.insert(pos_, 1, ' ');
            SkipBlanks();
        }
        if (At(pos_) == '*' && IsWordStart(pos_ + 1)) Label(0);
        operandEnd_ = false;
        lineNumberContext_ = 0;
    }

    void Statements() {
        for (;;) {
            SkipBlanks();
            if (pos_ >= t_.size()) break;
            uint8_t c = At(pos_);
            if (c == '"') {
                String();
            } else if (c == '\'') {
                FinishDefType();
                Emit(kClsStatement, KindOf(tw::kAPOSTROPHE), pos_, 1);
                return;
            } else if (IsDigit(c) && lineNumberContext_ == 1) {
                LineNumberOperand();
            } else if (IsDigit(c) || (c == '.' && !operandEnd_ && IsDigit(At(pos_ + 1)))) {
                Number();
            } else if (c == '&' && RadixAhead()) {
                RadixNumber();
            } else if (IsWordStart(pos_)) {
                if (WordOrName()) return;
            } else if (c == '*' && !operandEnd_ && o_.kind == LineKind::kSource && IsWordStart(pos_ + 1)) {
                Label(1);
            } else {
                Symbol();
            }
        }
        FinishDefType();
    }

    void Label(uint8_t kind) {
        size_t start = pos_;
        pos_ = ScanNameChars(pos_ + 1);
        size_t length = pos_ - start;
        if (IsSuffix(At(pos_))) ++pos_;
        Emit(kClsLabel, kind, start, length);
    }

    void String() {
        size_t start = pos_++;
        for (;;) {
            if (pos_ >= t_.size()) throw Fault{kErrSyntax, start, t_.size() - start};
            uint8_t c = At(pos_);
            if (c == '"') {
                if (At(pos_ + 1) != '"') break;
                pos_ += 2;
            } else {
                pos_ += IsLeadByte(c) ? 2 : 1;
            }
        }
        Emit(kClsConstant, kTypeStr, start + 1, pos_ - start - 1);
        ++pos_;
    }

    void LineNumberOperand() {
        size_t start = pos_;
        while (IsDigit(At(pos_))) ++pos_;
        if (pos_ - start > kMaxLineNumberDigits) throw Fault{kErrSyntax, start, pos_ - start};
        Emit(kClsLineNumber, 1, start, pos_ - start);
    }

    void Number();
    void RadixNumber();
    bool RadixAhead() const {
        uint8_t r = Upper(At(pos_ + 1));
        return (r == 'H' && IsHexDigit(At(pos_ + 2))) || (r == 'O' && IsOctDigit(At(pos_ + 2)));
    }

    // A keyword, or a name (with FN split off). True when the rest of the
    // line is a comment.
    bool WordOrName() {
        size_t start = pos_;
        size_t end = ScanNameChars(pos_);
        std::string upper;
        for (size_t i = start; i < end; ++i) upper += static_cast<char>(Upper(At(i)));
        const Keyword *k = nullptr;
        size_t kwEnd = end;
        if (At(end) == '$' || At(end) == '@') {
            k = LookupKeyword(upper + static_cast<char>(At(end)));
            if (k) kwEnd = end + 1;
        }
        if (!k) k = LookupKeyword(upper);
        if (k) {
            pos_ = kwEnd;
            if (o_.normalise)
                for (size_t i = start; i < kwEnd; ++i) t_[i] = static_cast<char>(Upper(At(i)));
            uint16_t word = k->word();
            if (word == tw::kREM || word == tw::kELSE) FinishDefType();
            Emit(k->cls, k->kind, start, kwEnd - start);
            if (word == tw::kREM) return true;
            if (word == tw::kDATA) DataItems();
            uint8_t defType = DefTypeOf(word);
            if (defType != 0xFF) {
                FinishDefType();
                defType_ = defType;
                defStart_ = out_.size();
                defColumn_ = start;
            }
            return false;
        }
        if (upper.size() > 2 && upper.compare(0, 2, "FN") == 0 && IsWordStart(start + 2)) {
            if (o_.normalise) t_[start] = 'F', t_[start + 1] = 'N';
            Emit(kClsClause, KindOf(tw::kFN), start, 2);
            start += 2;
        }
        pos_ = end;
        Name(start);
        return false;
    }

    // The name's suffix stays out of its length: the analyzer finds it as the
    // byte right after the name.
    void Name(size_t start) {
        size_t length = pos_ - start;
        uint8_t type;
        switch (At(pos_)) {
        case '%': type = kTypeInt; break;
        case '&': type = kTypeLng; break;
        case '!': type = kTypeSng; break;
        case '#': type = kTypeDbl; break;
        case '$': type = kTypeStr; break;
        default: {
            uint8_t first = Upper(At(start));
            type = IsAlpha(first) ? defaults_.byLetter[first - 'A'] : static_cast<uint8_t>(kTypeSng);
        }
        }
        if (IsSuffix(At(pos_))) ++pos_;
        uint8_t cls = kClsName;
        if (At(pos_) == '(') {
            cls = kClsNameParen;
            ++pos_;
        }
        Emit(cls, type, start, length);
    }

    // DATA items are raw text up to "," or ":" outside quotes.
    void DataItems() {
        for (;;) {
            SkipBlanks();
            size_t start = pos_, last = pos_;
            bool quoted = false;
            while (pos_ < t_.size()) {
                uint8_t c = At(pos_);
                if (c == '"') {
                    quoted = !quoted;
                } else if (!quoted && (c == ',' || c == ':')) {
                    break;
                } else if (IsLeadByte(c)) {
                    pos_ += 2;
                    last = pos_;
                    continue;
                }
                ++pos_;
                if (c != ' ' && c != '\t') last = pos_;
            }
            if (quoted) throw Fault{kErrSyntax, start, pos_ - start};
            Emit(kClsDataItem, 0, start, last - start);
            if (At(pos_) != ',') return;
            Emit(kClsPunct, KindOf(tw::kCOMMA), pos_, 1);
            ++pos_;
        }
    }

    void Symbol() {
        for (size_t width : {2u, 1u}) {
            if (pos_ + width > t_.size()) continue;
            const Keyword *k = LookupSymbol(std::string_view(t_.data() + pos_, width));
            if (!k) continue;
            uint16_t word = k->word();
            if (word == tw::kCOLON) FinishDefType();
            Emit(k->cls, k->kind, pos_, width);
            pos_ += width;
            return;
        }
        throw Fault{kErrSyntax, pos_, IsLeadByte(At(pos_)) ? 2u : 1u};
    }

    // At the end of a DEFtype statement: check its letter list and apply it.
    void FinishDefType() {
        if (defType_ == 0xFF) return;
        uint8_t type = defType_;
        defType_ = 0xFF;
        bool lettersSet[26] = {};
        size_t i = defStart_, end = out_.size();
        auto letterAt = [&](size_t u) -> int {
            if (u + 4 > end || out_[u] != kClsName || out_[u + 3] != 1) return -1;
            size_t off = out_[u + 2];
            uint8_t c = Upper(At(off));
            if (!IsAlpha(c) || IsSuffix(At(off + 1))) return -1;
            return c - 'A';
        };
        bool ok = i < end;
        while (ok && i < end) {
            int lo = letterAt(i), hi = lo;
            i += 4;
            if (lo >= 0 && i + 4 <= end && out_[i] == kClsOperator && out_[i + 1] == KindOf(tw::kMINUS)) {
                hi = letterAt(i + 4);
                i += 8;
            }
            if (lo < 0 || hi < lo) {
                ok = false;
                break;
            }
            for (int l = lo; l <= hi; ++l) lettersSet[l] = true;
            if (i < end) {
                ok = i + 4 < end && out_[i] == kClsPunct && out_[i + 1] == KindOf(tw::kCOMMA);
                i += 4;
            }
        }
        if (!ok) throw Fault{kErrSyntax, defColumn_, pos_ > defColumn_ ? pos_ - defColumn_ : 0};
        for (int l = 0; l < 26; ++l)
            if (lettersSet[l]) defaults_.byLetter[l] = type;
    }

    std::string &t_;
    const LexOptions &o_;
    DefaultTypes &defaults_;
    std::vector<uint8_t> &out_;
    size_t base_;
    size_t lineStart_;
    size_t pos_ = 0;
    bool operandEnd_ = false;
    int lineNumberContext_ = 0;  // 1: a line number may come, 2: one came (a "," may add more)
    uint16_t last_ = 0xFFFF;
    uint8_t defType_ = 0xFF;     // DEFtype statement under way
    size_t defStart_ = 0;
    size_t defColumn_ = 0;
};

// Decimal constants: the type follows the suffix, else the size.
void Lexer::Number() {
    size_t start = pos_;
    size_t digits = 0, significant = 0;
    auto scanDigits = [&] {
        while (IsDigit(At(pos_))) {
            if (significant || At(pos_) != '0') ++significant;
            ++digits;
            ++pos_;
        }
    };
    scanDigits();
    bool fraction = false, exponent = false, dExponent = false, negativeExponent = false;
    if (At(pos_) == '.') {
        fraction = true;
        ++pos_;
        scanDigits();
    }
    uint8_t e = Upper(At(pos_));
    if (e == 'E' || e == 'D') {
        size_t p = pos_ + 1;
        if (At(p) == '+' || At(p) == '-') negativeExponent = At(p++) == '-';
        if (IsDigit(At(p))) {
            exponent = true;
            dExponent = e == 'D';
            pos_ = p;
            while (IsDigit(At(pos_))) ++pos_;
        }
    }
    size_t literalEnd = pos_;
    char suffix = 0;
    if (IsSuffix(At(pos_)) && At(pos_) != '$') suffix = static_cast<char>(At(pos_++));
    size_t length = pos_ - start;

    if (!fraction && !exponent && suffix != '!' && suffix != '#') {
        uint64_t v = 0;
        bool huge = false;
        for (size_t i = start; i < literalEnd; ++i) {
            v = v * 10 + (At(i) - '0');
            if (v > 0xFFFFFFFFull) huge = true, v = 0xFFFFFFFFull;
        }
        if (suffix == '%' || (!suffix && v <= 32767)) {
            if (huge || v > 32767) throw Fault{kErrOverflow, start, length};
            int16_t i16 = static_cast<int16_t>(v);
            EmitConstant(kTypeInt, start, length, &i16);
            return;
        }
        if (suffix == '&' || (!huge && v <= 2147483647)) {
            if (huge || v > 2147483647) throw Fault{kErrOverflow, start, length};
            int32_t i32 = static_cast<int32_t>(v);
            EmitConstant(kTypeLng, start, length, &i32);
            return;
        }
        // A whole number beyond LNG is a double.
    }
    if (suffix == '%' || suffix == '&') throw Fault{kErrSyntax, start, length};

    std::string text(t_, start, literalEnd - start);
    for (char &c : text)
        if (c == 'D' || c == 'd') c = 'E';
    double d = 0;
    auto rd = std::from_chars(text.data(), text.data() + text.size(), d);
    if (rd.ec == std::errc::result_out_of_range) {
        if (!negativeExponent) throw Fault{kErrOverflow, start, length};
        d = 0;  // too small: zero
    } else if (rd.ec != std::errc() || rd.ptr != text.data() + text.size()) {
        throw Fault{kErrSyntax, start, length};
    }
    bool wantSingle = suffix == '!' || (!suffix && !dExponent && significant <= 7);
    if (wantSingle && suffix != '#') {
        float f = 0;
        auto rf = std::from_chars(text.data(), text.data() + text.size(), f);
        bool fits = rf.ec == std::errc();
        // Too small for a single: a forced single is zero, else a double.
        if (rf.ec == std::errc::result_out_of_range && negativeExponent && suffix == '!') f = 0, fits = true;
        if (fits) {
            EmitConstant(kTypeSng, start, length, &f);
            return;
        }
        if (suffix == '!') throw Fault{kErrOverflow, start, length};
    }
    EmitConstant(kTypeDbl, start, length, &d);
}

// &H and &O constants: INT when the value fits 16 bits, LNG when it fits 32.
void Lexer::RadixNumber() {
    size_t start = pos_;
    bool hex = Upper(At(pos_ + 1)) == 'H';
    pos_ += 2;
    uint64_t v = 0;
    bool huge = false;
    while (hex ? IsHexDigit(At(pos_)) : IsOctDigit(At(pos_))) {
        uint8_t c = Upper(At(pos_++));
        v = v * (hex ? 16 : 8) + (IsDigit(c) ? c - '0' : c - 'A' + 10);
        if (v > 0xFFFFFFFFull) huge = true, v = 0xFFFFFFFFull;
    }
    char suffix = 0;
    if (At(pos_) == '%' || At(pos_) == '&') suffix = static_cast<char>(At(pos_++));
    size_t length = pos_ - start;
    if (huge) throw Fault{kErrOverflow, start, length};
    if (suffix == '%' || (!suffix && v <= 0xFFFF)) {
        if (v > 0xFFFF) throw Fault{kErrOverflow, start, length};
        int16_t i16 = static_cast<int16_t>(static_cast<uint16_t>(v));
        EmitConstant(kTypeInt, start, length, &i16);
        return;
    }
    int32_t i32 = static_cast<int32_t>(static_cast<uint32_t>(v));
    EmitConstant(kTypeLng, start, length, &i32);
}

}  // namespace

void TokeniseLine(std::string &text, const LexOptions &options, DefaultTypes &defaults,
                  std::vector<uint8_t> &out) {
    Lexer(text, options, defaults, out).Run();
}

}  // namespace pp
