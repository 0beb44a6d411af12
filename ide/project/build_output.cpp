#include "build_output.h"

#include "project_texts.h"
#include "sjis_path.h"

namespace prj {

void LineSplitter::DropLeadingLf() {
    if (!pending_.empty() && pending_[0] == '\n')
        pending_.erase(0, 1);
}

void LineSplitter::SplitPending(const LineFn &on_line) {
    for (;;) {
        DropLeadingLf();
        std::size_t cr = pending_.find('\r');
        if (cr == std::string::npos)
            return;
        std::string line = pending_.substr(0, cr);
        pending_.erase(0, cr + 1);
        on_line(line);
    }
}

void LineSplitter::Feed(std::string_view chunk, const LineFn &on_line) {
    if (chunk.empty())
        return;
    pending_.append(chunk);
    // A CR LF pair split between two reads must not start the next line
    // with the LF.
    DropLeadingLf();
    if (pending_.find('\r') == std::string::npos) {
        // No line end in what the pipe gave: hand it on as it is.
        std::string line;
        line.swap(pending_);
        on_line(line);
        return;
    }
    // The text after the last CR waits for the next read.
    SplitPending(on_line);
}

void LineSplitter::End(const LineFn &on_line) {
    DropLeadingLf();
    if (!pending_.empty()) {
        std::string line;
        line.swap(pending_);
        on_line(line);
    }
}

void BuildRun::Emit(const std::string &text, bool add_line_end) {
    std::string out = text;
    if (add_line_end && !(text.find('\r') != std::string::npos && text.find('\n') != std::string::npos))
        out += "\r\n";
    std::lock_guard<std::mutex> hold(emit_lock_);
    sink_.Append(out);
}

namespace {

bool Contains(const std::string &s, const char *what) { return s.find(what) != std::string::npos; }

bool StartsWith(const std::string &s, const char *what) { return s.rfind(what, 0) == 0; }

}  // namespace

void MakeOutputFilter::Line(const std::string &line) {
    const std::string upper = UpperSb(line);
    const bool echo_at_start =
        StartsWith(upper, "\tTXCL") || StartsWith(upper, "\tRC") || StartsWith(upper, "\tLINK");
    if (echo_at_start || Contains(upper, "\tLINK")) {
        if (echo_at_start) {
            std::size_t blank = upper.find(' ', 1);
            tool_ = upper.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
        } else {
            tool_ = upper;
        }
        if (run_.Verbose())
            run_.Emit(line);
        if (!Contains(tool_, "RC") && !Contains(tool_, "TXDG") && !Contains(tool_, "LINK")) {
            // The compiler's echo ends with the quoted source name.
            std::size_t last = FindLastSb(line, '"');
            std::size_t before = FindLastSbUpTo(line, '"', last == std::string::npos || last == 0 ? std::string::npos : last - 1);
            if (before != std::string::npos) {
                run_.Emit(line.substr(before + 1, last - before - 1));
                run_.Emit(std::string());
            }
        }
        return;
    }
    if (tool_ == "TXCL" && !line.empty()) {
        run_.MarkFailed();
        run_.Emit(line);
    } else if (Contains(line, "error")) {
        run_.MarkFailed();
        run_.Emit(line);
    } else if (Contains(line, "LNK4033") || Contains(line, "TXDG") || Contains(line, ".exp") ||
               Contains(line, text::kUpToDate)) {
        if (run_.Verbose())
            run_.Emit(line);
    } else {
        run_.Emit(line);
    }
}

void MakeErrorFilter::Line(const std::string &line) {
    if (in_block_) {
        collected_ += line + "\r\n";
        if (line.empty()) {
            in_block_ = false;
            emit_ = false;
        }
        return;
    }
    if (Contains(line, "fatal error")) {
        if (!run_.Failed()) {
            collected_ += line + "\r\n";
            run_.MarkFailed();
            emit_ = true;
        } else {
            if (run_.Verbose())
                collected_ += line + "\r\n";
            emit_ = false;
        }
        in_block_ = true;
        return;
    }
    if (run_.Verbose())
        collected_ += line + "\r\n";
}

void MakeErrorFilter::End() {
    if (run_.Verbose() || emit_)
        run_.Emit(collected_);
}

}  // namespace prj
