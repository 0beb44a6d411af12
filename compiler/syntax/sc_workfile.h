// The analyzer's binary work files ("$SC" temporaries): the statement work
// file that holds statement records and tables until the final pass, and
// the cross-reference work file. A failure is a fatal exit with the work
// file's detail code, thrown as OutFatal and turned into the pass's abort
// at the emission boundary (sc_output.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "sc_defs.h"
#include "stdiobuffer.h"

namespace txsc {

// A fatal exit raised inside the emission side.
struct OutFatal {
    uint32_t code;
    std::optional<uint32_t> detail = std::nullopt;  // none: the block's detail stays as it is
};

class WorkFile {
public:
    explicit WorkFile(uint32_t detail) : detail_(detail) {}
    ~WorkFile() { Close(); }
    WorkFile(const WorkFile &) = delete;
    WorkFile &operator=(const WorkFile &) = delete;

    // Creates the file in the folder named by TMP ("." when none is):
    // 10 when no name can be found, 11 when it cannot be opened.
    void Create();
    // Closes and deletes it; harmless when it is not open.
    void Close();
    bool open() const { return f_ != nullptr; }
    const std::string &name() const { return name_; }

    void Write(const void *data, size_t size);   // 12
    void WriteU32(uint32_t v);
    uint32_t Tell();                             // 13
    void Seek(uint32_t pos);                     // 13
    void SeekEnd();                              // 13
    void Read(void *data, size_t size);          // 13 on a short read
    // Patches a u32 at pos and returns to the end of the file.
    void PatchU32(uint32_t pos, uint32_t v);

private:
    [[noreturn]] void Fail(uint32_t code) const { throw OutFatal{code, detail_}; }
    uint32_t detail_;
    FILE *f_ = nullptr;
    tx::StdioBuffer buffer_;  // closed with f_ before it goes
    std::string name_;
};

}  // namespace txsc
