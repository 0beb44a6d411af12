// Rules of the line-jump and mark dialogs that need no window: the spin
// range of a source, and the mark list kept for the whole IDE run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tambrix {

struct LineRange {
    int low = 1, high = 1, start = 1;
};

// The line range for a source of lineCount lines (below 0: no such source)
// with its caret line (1-based).
LineRange JumpLineRange(int lineCount, int caretLine);
// A typed line number held to the range.
int ClampJumpLine(const LineRange& r, long long typed);

struct Mark {
    std::string file;  // full path
    uint32_t line = 0; // 1-based
};

// Marks in insertion order; the dialog lists them newest first.
class MarkList {
public:
    // Two marks are the same when the files are equal without regard to
    // case (double-byte aware) and the lines are equal.
    bool Contains(const std::string& file, uint32_t line) const;
    // False when the mark was there already.
    bool Add(const std::string& file, uint32_t line);
    // Removes every mark with exactly this file and line.
    void Remove(const std::string& file, uint32_t line);
    void Clear() { marks_.clear(); }
    bool Empty() const { return marks_.empty(); }
    size_t Size() const { return marks_.size(); }
    const std::vector<Mark>& Items() const { return marks_; }

private:
    std::vector<Mark> marks_;
};

}  // namespace tambrix
