// NMAKE's output as the build reads it: the bytes of the two pipes in reads
// of at most kPipeReadSize (the first input byte picks the read size), each
// line through its filter and the result window's error-line and
// message-number parses. After the first byte comes standard output, then a
// NUL, then standard error.
#include <algorithm>

#include "build_output.h"
#include "error_line.h"

using namespace prj;

namespace {

struct NullSink : BuildTextSink {
    void Append(const std::string &text) override {
        ErrorLineTarget target;
        ParseErrorLine(text, target);
        uint32_t number = 0;
        ParseMessageNumber(text, number);
    }
};

template <class Filter>
void Pipe(const uint8_t *data, size_t size, size_t chunk, Filter &filter) {
    LineSplitter split;
    auto line = [&](const std::string &l) { filter.Line(l); };
    for (size_t at = 0; at < size; at += chunk)
        split.Feed(std::string_view(reinterpret_cast<const char *>(data) + at, std::min(chunk, size - at)), line);
    split.End(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    size_t chunk = 1 + data[0] % kPipeReadSize;
    const uint8_t *out = data + 1, *end = data + size;
    const uint8_t *nul = std::find(out, end, 0);
    const uint8_t *err = nul == end ? end : nul + 1;
    size_t out_size = size_t(nul - out), err_size = size_t(end - err);
    NullSink sink;
    for (bool verbose : {false, true}) {
        BuildRun run(sink, verbose);
        MakeOutputFilter out_filter(run);
        MakeErrorFilter err_filter(run);
        Pipe(out, out_size, chunk, out_filter);
        Pipe(err, err_size, chunk, err_filter);
        err_filter.End();
    }
    return 0;
}
