// A stream buffer of the size asked for. Some C libraries take setvbuf's
// size only along with a buffer of the caller's, and without one use a block
// of the file system's size: a call into the system every 4 KB. The owner
// closes the stream before the buffer goes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

namespace tx {

class StdioBuffer {
public:
    static constexpr size_t kSize = size_t(1) << 16;
    void Attach(std::FILE *f, size_t size = kSize) {
        if (!f) return;
        if (size_ < size) {
            data_.reset(new char[size]);
            size_ = size;
        }
        std::setvbuf(f, data_.get(), _IOFBF, size);
    }

private:
    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
};

}  // namespace tx
