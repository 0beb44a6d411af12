#include "childrun.h"

namespace tambrix {

std::string QuoteArgument(std::string_view arg) {
    std::string out = "\"";
    size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        // Backslashes count double only right before a quote.
        out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, '\\');
    out += '"';
    return out;
}

std::vector<std::string> OutputLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

bool RcSucceeded(const ChildResult& run) { return run.status == ChildStatus::kRan && run.exitCode == 0; }

bool MakeSucceeded(const ChildResult& run, bool outputShowedFailure) {
    return RcSucceeded(run) && !outputShowedFailure;
}

}  // namespace tambrix
