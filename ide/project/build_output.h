// NMAKE's output during a build: the reader threads' line splitting and the
// standard-output and standard-error filters that decide what the build
// result window shows and whether the build failed.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace prj {

constexpr std::size_t kPipeReadSize = 1024;

// Splits a pipe's bytes into lines at CR; the LF after a CR is dropped.
// A read without any CR is handed on whole, so a line that arrives in two
// such reads is two lines; text after the last CR of a read waits for the
// next one.
class LineSplitter {
public:
    using LineFn = std::function<void(const std::string &)>;
    // One read's bytes (at most kPipeReadSize).
    void Feed(std::string_view chunk, const LineFn &on_line);
    // The pipe has ended: what is still pending is the last line.
    void End(const LineFn &on_line);

private:
    void DropLeadingLf();
    void SplitPending(const LineFn &on_line);
    std::string pending_;
};

// Where emitted build text goes: the result view (when open) and the log.
class BuildTextSink {
public:
    virtual ~BuildTextSink() = default;
    virtual void Append(const std::string &text) = 0;
};

// State the two readers share with the GUI thread during one build.
class BuildRun {
public:
    BuildRun(BuildTextSink &sink, bool verbose) : sink_(sink), verbose_(verbose) {}

    // EmitBuildText: with `add_line_end`, CR LF is added unless the text
    // holds both a CR and an LF. One emission never interleaves with another.
    void Emit(const std::string &text, bool add_line_end = true);
    void MarkFailed() { failed_.store(1); }
    bool Failed() const { return failed_.load() != 0; }
    bool Verbose() const { return verbose_; }

private:
    BuildTextSink &sink_;
    bool verbose_;
    std::atomic<int> failed_{0};
    std::mutex emit_lock_;
};

// FilterMakeOutputLine: one per standard-output reader.
class MakeOutputFilter {
public:
    explicit MakeOutputFilter(BuildRun &run) : run_(run) {}
    void Line(const std::string &line);
    const std::string &Tool() const { return tool_; }

private:
    BuildRun &run_;
    std::string tool_;
};

// FilterMakeErrorLine: the standard-error reader's filter; End() when the
// pipe has ended.
class MakeErrorFilter {
public:
    explicit MakeErrorFilter(BuildRun &run) : run_(run) {}
    void Line(const std::string &line);
    void End();

private:
    BuildRun &run_;
    std::string collected_;
    bool in_block_ = false;
    bool emit_ = true;
};

}  // namespace prj
