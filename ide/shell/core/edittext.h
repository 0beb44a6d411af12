// The editor's text rules that need no window: Shift-JIS line measures and
// the byte/character column conversion (the rich-edit control counts
// characters and a line end as one CR; files, checkers and messages count
// code page 932 bytes and CR LF), the stream blocks in and out, the line
// check's text, the word at the caret and the save's backup decision.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tambrix {

// Characters of the first byteCol bytes of a line (a double-byte character
// is one); a column inside a double-byte character counts it whole.
size_t CharIndexFromByte(std::string_view line, size_t byteCol);
// Bytes of the first charCol characters; the line's length past its end.
size_t ByteFromCharIndex(std::string_view line, size_t charCol);
// True when byte i is the trail byte of a double-byte character.
bool IsTrailByteAt(std::string_view line, size_t i);

// Reads a file for the stream-in in blocks that never end inside a
// double-byte character (the control converts each block on its own),
// with every 0x1A (end-of-file mark) made a blank.
class StreamInBlocks {
public:
    // read(buf, n) gives the bytes read (0 at the end) or -1 on failure.
    using ReadFn = std::function<long(char* buf, size_t n)>;
    explicit StreamInBlocks(ReadFn read) : read_(std::move(read)) {}
    // Fills at most cap bytes (cap >= 2); 0 at the end, -1 on a failed read.
    long Next(char* out, size_t cap);

private:
    ReadFn read_;
    bool carry_ = false;
    char carried_ = 0;
    bool ended_ = false;
};

// The stream-out's bytes with every line end made CR LF, whether the
// control writes CR, LF or CR LF, across block boundaries.
class CrLfWriter {
public:
    std::string Convert(std::string_view block);

private:
    bool lastCr_ = false;
};

// The text the line check hands the checkers: for Enter only the part left
// of the caret, cut before the first CR and then before the first 0x1A.
std::string CheckLineText(std::string_view line, bool forEnter, size_t caretByteCol);
// The checkers' buffer for a line: its bytes and room for the rewriting
// (15 bytes longer at most) and the terminating zero.
inline size_t CheckBufferSize(size_t lineBytes) { return lineBytes + 16; }
// The error column in the typed line: the checker put a blank after a
// leading line number the typed line did not have.
int TypedErrorColumn(std::string_view checked, std::string_view typed, int column);

// The word at the caret (byte column) of a line, or nothing: a blank or
// tab gives nothing, a double-byte character itself, a punctuation other
// than "@" and "_" itself, else the name around the caret.
std::optional<std::string> WordAtCaret(std::string_view line, size_t byteCol);
// A selection as the word: trailing blanks trimmed; nothing when empty.
std::optional<std::string> WordOfSelection(std::string_view sel);

// The backup of a save: the file with the extension "bak", unless that is
// the file itself (a .bak source), which is never copied onto itself.
std::optional<std::string> BackupPathFor(const std::string& fullPath);

// The project's stored module name after a save under fullPath: nothing
// when the path did not change (ignoring case); else the stored name's
// folder part kept and the new file name put after it.
std::optional<std::string> StoredNameAfterSave(const std::string& stored,
                                               const std::string& oldFullPath,
                                               const std::string& newFullPath);

}  // namespace tambrix

namespace tambrix {
// "Tambrix ｴﾗｰ : %s [%d行]": the caption of a line-check error (Shift-JIS).
extern const char* const kSyntaxErrorCaption;
}  // namespace tambrix
