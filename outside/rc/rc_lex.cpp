#include "rc_lex.h"

#include <cctype>

#include "dbcs.h"

namespace rc {
namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxMacroDepth = 32;

bool IsLead(char c) { return tx::IsSjisLeadByte(static_cast<unsigned char>(c)); }

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$' || IsLead(c);
}

bool IsNameChar(char c) { return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace

std::string FolderOf(const std::string &path) {
    std::size_t cut = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLead(path[i]) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\' || path[i] == '/')
            cut = i;
    }
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string JoinPath(const std::string &folder, const std::string &name) {
    if (folder.empty())
        return name;
    // A name that carries its own drive or root is taken as it is.
    if (name.size() > 1 && (name[0] == '\\' || name[0] == '/' || name[1] == ':'))
        return name;
    return folder + kSeparator + name;
}

std::string HostPath(const std::string &path) {
    std::string out = path;
#ifndef _WIN32
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsLead(out[i]) && i + 1 < out.size())
            ++i;
        else if (out[i] == '\\')
            out[i] = '/';
    }
#endif
    return out;
}

Lexer::Lexer(ReadFileFn read, std::string include_path) : read_(std::move(read)) {
    std::size_t start = 0;
    while (start <= include_path.size()) {
        std::size_t semi = include_path.find(';', start);
        std::string dir = include_path.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        if (!dir.empty())
            include_dirs_.push_back(dir);
        if (semi == std::string::npos)
            break;
        start = semi + 1;
    }
}

// read_, with a refusal reported at the line naming the file (`at`: none
// for the script itself).
std::optional<std::string> Lexer::Read(const Source *at, int code, const std::string &path) const {
    try {
        return read_(path);
    } catch (const ReadRefused &r) {
        if (at)
            Fail(*at, code, r.text);
        throw RcError{"RC", 0, code, r.text};
    }
}

void Lexer::Open(const std::string &path) {
    std::optional<std::string> bytes = Read(nullptr, 1110, path);
    if (!bytes)
        throw RcError{"RC", 0, 1110, "could not open " + path};
    script_folder_ = FolderOf(path);
    sources_.push_back({path, script_folder_, std::move(*bytes)});
}

bool Lexer::Active() const {
    for (const auto &c : conditions_)
        if (!c.first)
            return false;
    return true;
}

void Lexer::Fail(const Source &s, int code, const std::string &text) const {
    throw RcError{s.path, s.line, code, text};
}

const Token &Lexer::Peek() {
    if (!peeked_)
        peeked_ = Scan();
    return *peeked_;
}

Token Lexer::Next() {
    if (peeked_) {
        Token t = std::move(*peeked_);
        peeked_.reset();
        return t;
    }
    return Scan();
}

Token Lexer::Scan() {
    for (;;) {
        if (!pending_.empty()) {
            Token t = pending_.front();
            pending_.pop_front();
            return t;
        }
        if (sources_.empty()) {
            Token end;
            end.kind = Token::kEnd;
            return end;
        }
        Source &s = sources_.back();
        const std::string &b = s.bytes;
        if (s.pos >= b.size() || b[s.pos] == '\x1A') {
            if (sources_.size() == 1 && !conditions_.empty())
                Fail(s, 1070, "mismatched #if/#endif");
            Token end;
            end.kind = Token::kEnd;
            end.file = s.path;
            end.line = s.line;
            sources_.pop_back();
            if (sources_.empty())
                return end;
            continue;
        }
        char c = b[s.pos];
        if (c == '\n') {
            ++s.line;
            ++s.pos;
            s.line_start = true;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++s.pos;
            continue;
        }
        if (c == '/' && s.pos + 1 < b.size() && b[s.pos + 1] == '/') {
            while (s.pos < b.size() && b[s.pos] != '\n')
                ++s.pos;
            continue;
        }
        if (c == '/' && s.pos + 1 < b.size() && b[s.pos + 1] == '*') {
            std::size_t end = b.find("*/", s.pos + 2);
            std::size_t stop = end == std::string::npos ? b.size() : end + 2;
            for (std::size_t i = s.pos; i < stop; ++i)
                if (b[i] == '\n')
                    ++s.line;
            s.pos = stop;
            continue;
        }
        if (c == '#' && s.line_start) {
            Directive(s);
            continue;
        }
        s.line_start = false;
        if (!Active()) {
            while (s.pos < b.size() && b[s.pos] != '\n')
                ++s.pos;
            continue;
        }
        Token t = ScanToken(s);
        if (t.kind == Token::kName && defines_.count(t.text)) {
            PushExpansion(t, 0);
            continue;
        }
        return t;
    }
}

void Lexer::PushExpansion(const Token &name_token, int depth) {
    if (depth > kMaxMacroDepth)
        throw RcError{name_token.file, name_token.line, 1009, "macro definitions too deeply nested"};
    for (Token t : defines_.at(name_token.text)) {
        t.file = name_token.file;
        t.line = name_token.line;
        if (t.kind == Token::kName && defines_.count(t.text) && t.text != name_token.text)
            PushExpansion(t, depth + 1);
        else
            pending_.push_back(t);
    }
}

Token Lexer::ScanToken(Source &s) {
    const std::string &b = s.bytes;
    Token t;
    t.file = s.path;
    t.line = s.line;
    char c = b[s.pos];
    if (IsNameStart(c)) {
        std::size_t start = s.pos;
        while (s.pos < b.size() && IsNameChar(b[s.pos]))
            s.pos += IsLead(b[s.pos]) && s.pos + 1 < b.size() ? 2 : 1;
        t.kind = Token::kName;
        t.text = b.substr(start, s.pos - start);
        return t;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) {
        std::uint32_t v = 0;
        if (c == '0' && s.pos + 1 < b.size() && (b[s.pos + 1] == 'x' || b[s.pos + 1] == 'X')) {
            s.pos += 2;
            while (s.pos < b.size() && std::isxdigit(static_cast<unsigned char>(b[s.pos]))) {
                char d = static_cast<char>(std::tolower(static_cast<unsigned char>(b[s.pos++])));
                v = v * 16 + static_cast<std::uint32_t>(d <= '9' ? d - '0' : d - 'a' + 10);
            }
        } else {
            while (s.pos < b.size() && std::isdigit(static_cast<unsigned char>(b[s.pos])))
                v = v * 10 + static_cast<std::uint32_t>(b[s.pos++] - '0');
        }
        while (s.pos < b.size() && (b[s.pos] == 'L' || b[s.pos] == 'l' || b[s.pos] == 'U' || b[s.pos] == 'u')) {
            if (b[s.pos] == 'L' || b[s.pos] == 'l')
                t.is_long = true;
            ++s.pos;
        }
        if (s.pos < b.size() && IsNameChar(b[s.pos]))
            Fail(s, 2021, "expected exponent value, not '" + std::string(1, b[s.pos]) + "'");
        t.kind = Token::kNumber;
        t.value = v;
        return t;
    }
    if (c == '"') {
        ++s.pos;
        t.kind = Token::kString;
        for (;;) {
            if (s.pos >= b.size() || b[s.pos] == '\n' || b[s.pos] == '\r')
                Fail(s, 2001, "newline in constant");
            char d = b[s.pos];
            if (IsLead(d) && s.pos + 1 < b.size() && b[s.pos + 1] != '\n') {
                t.text.append(b, s.pos, 2);   // the trail byte is the character's own
                s.pos += 2;
                continue;
            }
            if (d == '"') {
                if (s.pos + 1 < b.size() && b[s.pos + 1] == '"') {
                    t.text += '"';
                    s.pos += 2;
                    continue;
                }
                ++s.pos;
                break;
            }
            if (d == '\\' && s.pos + 1 < b.size()) {
                char e = b[s.pos + 1];
                if (IsOctal(e)) {
                    int v = 0, n = 0;
                    s.pos += 1;
                    while (n < 3 && s.pos < b.size() && IsOctal(b[s.pos])) {
                        v = v * 8 + (b[s.pos++] - '0');
                        ++n;
                    }
                    t.text += static_cast<char>(v);
                    continue;
                }
                static const std::map<char, char> kEscapes = {
                    {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'\\', '\\'}, {'"', '"'}, {'a', '\a'}};
                auto it = kEscapes.find(e);
                if (it != kEscapes.end()) {
                    t.text += it->second;
                    s.pos += 2;
                    continue;
                }
            }
            t.text += d;
            ++s.pos;
        }
        return t;
    }
    t.kind = Token::kPunct;
    t.text = std::string(1, c);
    ++s.pos;
    return t;
}

void Lexer::Directive(Source &s) {
    const std::string &b = s.bytes;
    std::size_t eol = b.find('\n', s.pos);
    std::string line = b.substr(s.pos + 1, (eol == std::string::npos ? b.size() : eol) - s.pos - 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // A comment ends the directive's text.
    std::size_t cut = line.find("//");
    if (cut != std::string::npos)
        line.erase(cut);
    s.pos = eol == std::string::npos ? b.size() : eol;   // the LF is counted by the scanner

    std::size_t i = line.find_first_not_of(" \t");
    std::size_t j = line.find_first_of(" \t", i == std::string::npos ? 0 : i);
    std::string word = i == std::string::npos ? "" : line.substr(i, j == std::string::npos ? std::string::npos : j - i);
    std::string rest = j == std::string::npos ? "" : line.substr(j);
    std::size_t r0 = rest.find_first_not_of(" \t");
    rest = r0 == std::string::npos ? "" : rest.substr(r0);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
        rest.pop_back();
    std::string first_word = rest.substr(0, rest.find_first_of(" \t"));

    if (word == "ifdef" || word == "ifndef") {
        bool defined = defines_.count(first_word) != 0;
        conditions_.push_back({word == "ifdef" ? defined : !defined, false});
        return;
    }
    if (word == "else") {
        if (conditions_.empty() || conditions_.back().second)
            Fail(s, 1018, "unexpected '#else'");
        conditions_.back() = {!conditions_.back().first, true};
        return;
    }
    if (word == "endif") {
        if (conditions_.empty())
            Fail(s, 1020, "unexpected '#endif'");
        conditions_.pop_back();
        return;
    }
    if (!Active())
        return;
    if (word == "define") {
        if (first_word.empty() || !IsNameStart(first_word[0]))
            Fail(s, 1004, "missing name in #define");
        std::size_t k = 0;
        while (k < first_word.size() && IsNameChar(first_word[k]))
            ++k;
        if (k < first_word.size() && first_word[k] == '(')
            Fail(s, 1004, "macros with arguments are not supported: " + first_word);
        Source body{s.path, s.folder, rest.substr(first_word.size()), 0, s.line, false};
        std::vector<Token> tokens;
        for (;;) {
            while (body.pos < body.bytes.size() && (body.bytes[body.pos] == ' ' || body.bytes[body.pos] == '\t'))
                ++body.pos;
            if (body.pos >= body.bytes.size())
                break;
            tokens.push_back(ScanToken(body));
        }
        defines_[first_word] = tokens;
        return;
    }
    if (word == "undef") {
        defines_.erase(first_word);
        return;
    }
    if (word == "include") {
        if (rest.size() < 2 || !((rest[0] == '"' && rest.find('"', 1) != std::string::npos) ||
                                 (rest[0] == '<' && rest.find('>') != std::string::npos)))
            Fail(s, 1015, "cannot open include file '" + rest + "'");
        std::size_t close = rest.find(rest[0] == '"' ? '"' : '>', 1);
        Include(s, rest.substr(1, close - 1));
        return;
    }
    if (word == "pragma" || word.empty())
        return;
    Fail(s, 1021, "invalid preprocessor command '" + word + "'");
}

void Lexer::Include(Source &s, const std::string &name) {
    if (sources_.size() >= kMaxIncludeDepth)
        Fail(s, 1014, "too many include files");
    std::vector<std::string> candidates = {JoinPath(script_folder_, name)};
    if (s.folder != script_folder_)
        candidates.push_back(JoinPath(s.folder, name));
    for (const std::string &dir : include_dirs_)
        candidates.push_back(JoinPath(dir, name));
    candidates.push_back(name);
    for (const std::string &path : candidates) {
        std::optional<std::string> bytes = Read(&s, 1015, path);
        if (bytes) {
            // `s` moves when the stack grows; it is not used afterwards.
            sources_.push_back({path, FolderOf(path), std::move(*bytes)});
            return;
        }
    }
    Fail(s, 1015, "cannot open include file '" + name + "'");
}

}  // namespace rc
