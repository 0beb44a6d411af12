#include "jumprules.h"

#include "mbcs.h"

#include <algorithm>

namespace tambrix {

namespace {
constexpr int kMaxLine = 32767;
}

LineRange JumpLineRange(int lineCount, int caretLine) {
    LineRange r;
    if (lineCount < 0) {
        r.high = kMaxLine;
        return r;
    }
    r.high = lineCount == 0 ? 1 : std::min(lineCount, kMaxLine);
    r.start = std::clamp(caretLine, r.low, r.high);
    return r;
}

int ClampJumpLine(const LineRange& r, long long typed) {
    return static_cast<int>(std::clamp<long long>(typed, r.low, r.high));
}

bool MarkList::Contains(const std::string& file, uint32_t line) const {
    return std::any_of(marks_.begin(), marks_.end(), [&](const Mark& m) {
        return m.line == line && fw::EqualNoCase(m.file, file);
    });
}

bool MarkList::Add(const std::string& file, uint32_t line) {
    if (Contains(file, line))
        return false;
    marks_.push_back({file, line});
    return true;
}

void MarkList::Remove(const std::string& file, uint32_t line) {
    marks_.erase(std::remove_if(marks_.begin(), marks_.end(),
                                [&](const Mark& m) { return m.line == line && m.file == file; }),
                 marks_.end());
}

}  // namespace tambrix
