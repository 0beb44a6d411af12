#include "edittext.h"

#include "idepaths.h"
#include "mbcs.h"

namespace tambrix {

using fw::IsLeadByte932;

namespace {

bool IsLead(std::string_view s, size_t i) {
    return IsLeadByte932(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
}

}  // namespace

size_t CharIndexFromByte(std::string_view line, size_t byteCol) {
    size_t chars = 0;
    for (size_t i = 0; i < line.size() && i < byteCol; ++chars)
        i += IsLead(line, i) ? 2 : 1;
    return chars + (byteCol > line.size() ? byteCol - line.size() : 0);
}

size_t ByteFromCharIndex(std::string_view line, size_t charCol) {
    size_t i = 0;
    for (size_t c = 0; c < charCol && i < line.size(); ++c)
        i += IsLead(line, i) ? 2 : 1;
    return i;
}

bool IsTrailByteAt(std::string_view line, size_t i) {
    for (size_t k = 0; k < line.size();) {
        size_t next = k + (IsLead(line, k) ? 2 : 1);
        if (i < next)
            return i != k;
        k = next;
    }
    return false;
}

long StreamInBlocks::Next(char* out, size_t cap) {
    if (cap < 2)
        return -1;
    size_t n = 0;
    if (carry_) {
        out[n++] = carried_;
        carry_ = false;
    }
    // Two bytes at least, so a held-back lead byte always leaves some.
    while (!ended_ && n < 2) {
        long got = read_(out + n, cap - n);
        if (got < 0)
            return -1;
        if (got == 0)
            ended_ = true;
        n += static_cast<size_t>(got);
    }
    // Blocks begin on a character, so a walk from the start finds a lead
    // byte whose trail is still in the file.
    size_t i = 0;
    while (i < n)
        i += IsLeadByte932(static_cast<unsigned char>(out[i])) ? 2 : 1;
    if (i > n && !ended_ && n > 1) {
        carried_ = out[--n];
        carry_ = true;
    }
    for (size_t k = 0; k < n; ++k) {
        if (out[k] == 0x1A)
            out[k] = ' ';
    }
    return static_cast<long>(n);
}

std::string CrLfWriter::Convert(std::string_view block) {
    std::string out;
    out.reserve(block.size() + block.size() / 8 + 2);
    for (char c : block) {
        if (lastCr_ && c != '\n')
            out += '\n';
        if (c == '\n' && !lastCr_)
            out += '\r';
        out += c;
        lastCr_ = c == '\r';
    }
    // A CR at the block's end waits for the next byte; the caller flushes
    // with an empty block at the end.
    if (block.empty() && lastCr_) {
        out += '\n';
        lastCr_ = false;
    }
    return out;
}

std::string CheckLineText(std::string_view line, bool forEnter, size_t caretByteCol) {
    std::string_view t = line;
    if (forEnter && caretByteCol < t.size())
        t = t.substr(0, caretByteCol);
    size_t cr = t.find('\r');
    if (cr != std::string_view::npos)
        t = t.substr(0, cr);
    size_t eof = t.find('\x1A');
    if (eof != std::string_view::npos)
        t = t.substr(0, eof);
    return std::string(t);
}

int TypedErrorColumn(std::string_view checked, std::string_view typed, int column) {
    size_t digits = 0;
    while (digits < checked.size() && checked[digits] >= '0' && checked[digits] <= '9')
        ++digits;
    if (digits > 0 && digits < checked.size() && checked[digits] == ' ' &&
        (digits >= typed.size() || typed[digits] != ' ') && column > static_cast<int>(digits))
        return column - 1;
    return column;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// Half-width katakana are letters of names.
bool IsKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }
bool IsPunct(unsigned char c) { return c > 0x20 && c < 0x7F && !IsAsciiAlnum(c); }
bool LeftWordChar(unsigned char c) {
    return IsAsciiAlnum(c) || IsKana(c) || c == '_' || c == '@' || c == '#';
}
bool RightWordChar(unsigned char c) { return LeftWordChar(c) || c == '$'; }

}  // namespace

std::optional<std::string> WordAtCaret(std::string_view line, size_t col) {
    if (line.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return std::nullopt;
    if (col >= line.size())
        return std::nullopt;
    auto at = [&](size_t i) { return static_cast<unsigned char>(line[i]); };
    if (IsBlank(line[col]) || line[col] == '\r' || line[col] == '\n')
        return std::nullopt;
    if (IsTrailByteAt(line, col))
        --col;
    if (IsLead(line, col))
        return std::string(line.substr(col, 2));
    if (IsPunct(at(col)) && at(col) != '@' && at(col) != '_')
        return std::string(1, line[col]);
    size_t from = col;
    while (from > 0 && LeftWordChar(at(from - 1)) && !IsTrailByteAt(line, from - 1))
        --from;
    size_t to = col;
    while (to < line.size() && RightWordChar(at(to)) && !IsLead(line, to))
        ++to;
    if (to == from)
        return std::nullopt;
    return std::string(line.substr(from, to - from));
}

std::optional<std::string> WordOfSelection(std::string_view sel) {
    size_t end = sel.find_last_not_of(' ');
    if (end == std::string_view::npos)
        return std::nullopt;
    return std::string(sel.substr(0, end + 1));
}

std::optional<std::string> BackupPathFor(const std::string& fullPath) {
    std::string bak = ReplaceExtension(fullPath, "bak");
    if (fw::EqualNoCase(bak, fullPath))
        return std::nullopt;
    return bak;
}

std::optional<std::string> StoredNameAfterSave(const std::string& stored,
                                               const std::string& oldFullPath,
                                               const std::string& newFullPath) {
    if (fw::EqualNoCase(oldFullPath, newFullPath))
        return std::nullopt;
    std::string folder = StripFileName(stored);
    std::string name = StripDirectory(newFullPath);
    return folder.empty() ? name : folder + "\\" + name;
}

}  // namespace tambrix
