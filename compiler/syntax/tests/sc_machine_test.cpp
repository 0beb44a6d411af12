// The analysis machine on single lines: the items it writes, the errors
// it raises itself, and the shape of the built grammar.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "sc_machine.h"

namespace {

using namespace txsc;

struct Line {
    std::unique_ptr<ScPass> p = std::make_unique<ScPass>();
    CmpFilParam param{};
    char src[16] = "PROG.BAS";

    Line(const char *text, const std::vector<uint8_t> &tokens) {
        param.srcfilename = src;
        p->param = &param;
        p->nameStack.push_back(src);
        std::snprintf(p->line, sizeof p->line, "%s", text);
        p->lineLen = int(std::strlen(text));
        if (!tokens.empty()) std::memcpy(p->tokbuf, tokens.data(), tokens.size());
        p->tokBytes = int(tokens.size());
        std::memcpy(p->tokbuf + p->tokBytes, "\xF1\0\0\0", 4);
        p->recLine = 10;
    }
    uint16_t Analyse() { return AnalyseLine(*p); }
    std::vector<uint16_t> Words() const {
        std::vector<uint16_t> w;
        for (int i = 0; i < p->out; ++i) w.push_back(p->items[i].word());
        return w;
    }
};

TEST(ScMachine, EmptyLine) {
    Line l("", {});
    EXPECT_EQ(l.Analyse(), 0);
    EXPECT_EQ(l.Words(), (std::vector<uint16_t>{0x0000, 0x00F1}));
}

TEST(ScMachine, LabelWithTwoStatements) {
    // *L STOP : STOP
    Line l("*L STOP : STOP", {0xA0, 0, 0, 2, 0x00, 0x50, 3, 4, 0x30, 4, 0, 0, 0x00, 0x50, 10, 4});
    EXPECT_EQ(l.Analyse(), 0);
    EXPECT_EQ(l.Words(), (std::vector<uint16_t>{0x0200, 0x00A0, 0x5000, 0x00F2, 0x5000, 0x00F1}));
    EXPECT_NE(l.p->items[1].value, 0u);
    EXPECT_EQ(l.p->tab.label(l.p->items[1].value).name, "L");
    EXPECT_EQ(l.p->tab.label(l.p->items[1].value).defLine, 10);
}

TEST(ScMachine, CommentEndsTheLine) {
    // STOP ' then tokens that are never examined
    Line l("STOP ' x", {0x00, 0x50, 0, 4, 0x00, 0x01, 5, 1, 0x20, 0x15, 0, 0});
    EXPECT_EQ(l.Analyse(), 0);
}

// Kinds no keyword starts, which make no code: their token alone is an
// accepted statement, followed by another after the separator.
TEST(ScMachine, KindsWithoutKeywordEndAtTheTail) {
    for (uint8_t kind : {0x06, 0x4E, 0x4F, 0xD2, 0xD3, 0xE0}) {
        SCOPED_TRACE(int(kind));
        Line l("K : STOP", {0x00, kind, 0, 1, 0x30, 4, 2, 1, 0x00, 0x50, 4, 4});
        EXPECT_EQ(l.Analyse(), 0);
        EXPECT_EQ(l.Words(), (std::vector<uint16_t>{uint16_t(kind << 8), 0x00F2, 0x5000, 0x00F1}));
    }
}

TEST(ScMachine, ErrorsOfTheMachine) {
    struct Case {
        const char *what;
        std::vector<uint8_t> tokens;
        uint16_t word;
    } cases[] = {
        {"operator cannot start", {0x20, 0x15, 0, 1}, 0x0502},
        {"clause that starts nothing", {0x10, 0x08, 0, 2}, 0x0502},
        {"GO without TO", {0x10, 0x0B, 0, 2, 0x00, 0x70, 3, 4}, 0x0502},
        {"preprocessor error", {0xF0, 0x06, 0, 1}, 0x0406},
        {"junk after STOP", {0x00, 0x50, 0, 4, 0x30, 0x02, 5, 1}, 0x0402},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Line l("xxxxxxxxxx", c.tokens);
        EXPECT_EQ(l.Analyse(), c.word);
    }
}

TEST(ScMachine, DeepNestingIsErrorEightyNineNotACrash) {
    // PRINT ABS(ABS(ABS(... 200 deep: every level takes two call frames.
    std::vector<uint8_t> t = {0x00, 0x94, 0, 5};
    for (int i = 0; i < 200; ++i) {
        const uint8_t abs[] = {0x40, 0x10, 0, 3, 0x30, 0x00, 0, 1};
        t.insert(t.end(), abs, abs + 8);
    }
    Line l("PRINT", t);
    EXPECT_EQ(l.Analyse(), 0x7A59);
}

TEST(ScMachine, TypeBlockModeRejectsStatements) {
    Line l("STOP", {0x00, 0x50, 0, 4});
    l.p->typeMode = true;
    EXPECT_EQ(l.Analyse(), 0x6D02);
}

TEST(ScGrammar, EveryEntryResolvesInsideTheProgram) {
    const RuleProgram &g = Grammar();
    for (size_t i = 0; i < g.rules.size(); ++i) {
        const RuleEntry &e = g.rules[i];
        SCOPED_TRACE(i);
        if (e.target != kNoRule) { EXPECT_LT(e.target, g.rules.size()); }
        if (e.op == op::kCallHandler) { EXPECT_NE(kHandlers[e.a], nullptr); }
    }
    // The statements of this grammar have rules.
    for (int kind : {0x00, 0x01, 0x10, 0x11, 0x12, 0x14, 0x15, 0x19, 0x1A, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25,
                     0x30, 0x31, 0x35, 0x38, 0x3B, 0x50, 0x70, 0x71, 0x79, 0x7B, 0x7C, 0x80, 0x8C, 0x8D, 0x94,
                     0xC4}) {
        SCOPED_TRACE(kind);
        EXPECT_NE(g.stmt[kind], kNoRule);
    }
}

}  // namespace

namespace {

// Random token lines, built from the unit layout, must end in a result
// word and never read or write outside the line's buffers.
TEST(ScMachine, RandomLinesEndCleanly) {
    uint32_t seed = 12345;
    auto rnd = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    static const uint8_t kClasses[] = {0x00, 0x10, 0x20, 0x28, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xA1};
    static const uint8_t kKeywords[] = {0x00, 0x10, 0x11, 0x12, 0x15, 0x19, 0x1A, 0x1B, 0x20, 0x21, 0x22, 0x23,
                                        0x24, 0x25, 0x31, 0x35, 0x38, 0x3B, 0x3D, 0x50, 0x70, 0x71, 0x7B, 0x7C,
                                        0x8C, 0x8D, 0x94, 0xC4};
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ \"Q\" 12345 *LBL";
    for (int round = 0; round < 200; ++round) {
        auto p = std::make_unique<ScPass>();
        CmpFilParam param{};
        char src[] = "PROG.BAS";
        param.srcfilename = src;
        p->param = &param;
        p->nameStack.push_back(src);
        for (int lineNo = 0; lineNo < 50; ++lineNo) {
            std::vector<uint8_t> t;
            int units = int(rnd(14));
            for (int u = 0; u < units; ++u) {
                uint8_t cls = kClasses[rnd(sizeof kClasses)];
                uint8_t kind = cls == 0x00 ? kKeywords[rnd(sizeof kKeywords)] : uint8_t(rnd(cls == 0x20 ? 0x36 : 0x30));
                uint8_t off = uint8_t(rnd(uint32_t(text.size())));
                uint8_t len = uint8_t(1 + rnd(uint32_t(text.size() - off)));
                if (cls == 0x50 || cls == 0x60 || cls == 0x90) kind = uint8_t(rnd(5));
                if (cls == 0x70) kind = rnd(4) == 0 ? 16 : uint8_t(rnd(4));
                if (cls == 0xA0 || cls == 0xA1) kind = uint8_t(rnd(2));
                t.insert(t.end(), {cls, kind, off, len});
                if (cls == 0x70 && kind < 16)
                    for (int b = 0; b < ConstValueSize(kind); ++b) t.push_back(uint8_t(rnd(256)));
            }
            std::snprintf(p->line, sizeof p->line, "%s", text.c_str());
            p->lineLen = int(text.size());
            if (!t.empty()) std::memcpy(p->tokbuf, t.data(), t.size());
            p->tokBytes = int(t.size());
            std::memcpy(p->tokbuf + p->tokBytes, "\xF1\0\0\0", 4);
            p->recLine = uint16_t(lineNo + 1);
            ++p->stmtCount;
            uint16_t w = AnalyseLine(*p);
            if (!w) w = CheckConstants(*p);
            ASSERT_LE(p->out, kItemMax);
        }
    }
}

}  // namespace
