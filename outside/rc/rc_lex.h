// The resource compiler's preprocessor and tokens: #include (the script's
// folder, INCLUDE, the current folder), object-like #define, #ifdef,
// #ifndef, #else, #endif, // and /* */ comments, and the end of a file at
// 0x1A. Text is code page 932: a trail byte 0x5C is never an escape.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rc {

struct Token {
    enum Kind { kEnd, kName, kNumber, kString, kPunct };
    Kind kind = kEnd;
    std::string text;          // name, string bytes (escapes done), punctuation
    std::uint32_t value = 0;   // number
    bool is_long = false;      // number with the L suffix
    std::string file;
    int line = 0;
};

// An error of the script: reported as "file(line) : error RCnnnn : text".
struct RcError {
    std::string file;
    int line = 0;
    int code = 0;
    std::string text;
};

// Reads a whole file: none when it does not exist. It throws ReadRefused
// when the path names something it will not read (a folder, a device, a
// file too large), which is an error at the line naming it.
using ReadFileFn = std::function<std::optional<std::string>(const std::string &path)>;
struct ReadRefused {
    std::string text;   // the path and why
};

// The folder part of a path ("" for a bare name) and a name joined to it.
std::string FolderOf(const std::string &path);
std::string JoinPath(const std::string &folder, const std::string &name);

// A script's file name as the machine opens it: on Linux the backslashes
// (single-byte ones, not trail bytes) become slashes.
std::string HostPath(const std::string &path);

class Lexer {
public:
    // `include_path`: the INCLUDE value, folders separated by ';'.
    Lexer(ReadFileFn read, std::string include_path);

    // Starts on the script; throws RcError when it cannot be read.
    void Open(const std::string &path);

    Token Next();
    const Token &Peek();

    // The folder of the main script (for files named by statements).
    const std::string &ScriptFolder() const { return script_folder_; }

private:
    struct Source {
        std::string path, folder, bytes;
        std::size_t pos = 0;
        int line = 1;
        bool line_start = true;
    };

    Token Scan();
    Token ScanToken(Source &s);
    void Directive(Source &s);
    void Include(Source &s, const std::string &name);
    void PushExpansion(const Token &name_token, int depth);
    std::optional<std::string> Read(const Source *at, int code, const std::string &path) const;
    bool Active() const;
    [[noreturn]] void Fail(const Source &s, int code, const std::string &text) const;

    ReadFileFn read_;
    std::vector<std::string> include_dirs_;
    std::string script_folder_;
    std::vector<Source> sources_;
    std::map<std::string, std::vector<Token>> defines_;
    std::vector<std::pair<bool, bool>> conditions_;   // {active, else seen}
    std::deque<Token> pending_;
    std::optional<Token> peeked_;
};

}  // namespace rc
