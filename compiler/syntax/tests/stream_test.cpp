// The final pass: work-file records with symbol handles in, stream records
// with table offsets out. The table offsets are set by hand; the expected
// bytes follow the stream's item layouts, and every converted record must
// walk cleanly with the generator's token lengths.
#include "tx_scratch.h"
#include "sc_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "intermediate.h"
#include "sc_emit.h"
#include "sc_tables.h"
#include "sc_workfile.h"

using namespace txsc;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Rec(uint16_t line, std::initializer_list<int> body) {
    Bytes r = {0, 0, uint8_t(line), uint8_t(line >> 8)};
    for (int b : body) r.push_back(uint8_t(b));
    r.push_back(0xF1);
    r.push_back(0x00);
    r[0] = uint8_t(r.size());
    r[1] = uint8_t(r.size() >> 8);
    return r;
}

struct StreamConvert : testing::Test {
    TableState t;
    std::vector<std::pair<uint16_t, uint16_t>> errors;
    StreamError sink = [this](uint16_t word, uint16_t line) { errors.push_back({word, line}); };

    void SetUp() override {
        t.sym.resize(8);
        // 1: a FUNCTION, 2: a module variable, 3: a by-value parameter,
        // 4: a library routine of form 1, 5: the module routine, 6: a
        // module array.
        t.sym[0].name = 0x10, t.sym[0].debug = 0x20, t.sym[0].result = 0x34, t.sym[0].data = 0x0C;
        t.sym[1].record = 0x18, t.sym[1].cls = 1;
        t.sym[2].record = 0x44, t.sym[2].cls = 3;
        t.sym[3].name = 0x22, t.sym[3].form = 1, t.sym[3].libName = 0x30, t.sym[3].extName = 0x40;
        t.sym[4].name = 0x2C, t.sym[4].debug = 0x50, t.sym[4].defaults = 0x60;
        t.sym[5].record = 0x04, t.sym[5].cls = 0x11;
        t.label.resize(3);
        t.label[0] = {true, 3, 0x5A};    // defined at statement 3
        t.label[1] = {false, 0, 0x64};   // only referenced
        t.label[2] = {true, 9, 0x6E};
        t.member = {0x0D, 0x21};
        t.string = {0x00, 0x0F};
        t.block = {0x00, 0x1A};         // two parameter blocks in table 9,
        t.blockDefined = {1, 0};        // the second never built by DEF PARM
        t.data = {{2, 0, 0x00}, {5, 0, 0x06}, {11, 1, 0x0C}};
    }

    Bytes Convert(const Bytes &work) {
        Bytes s = ConvertRecord(work.data(), work.size(), t, sink);
        // Whatever comes out must walk with the generator's lengths.
        Bytes stream = s;
        stream.insert(stream.end(), {0, 0, 0, 0});
        ifile::StreamWalker w(stream.data(), stream.size());
        ifile::Record r;
        EXPECT_EQ(w.Next(&r), ifile::StreamWalker::kRecord) << w.error();
        EXPECT_EQ(w.Next(&r), ifile::StreamWalker::kEnd) << w.error();
        return s;
    }
};

}  // namespace

TEST_F(StreamConvert, StatementTokensTakeTheirTableOffsets) {
    struct Case {
        const char *name;
        Bytes work, stream;
    } cases[] = {
        {"checked entry", Rec(1, {0x00, 0x2A, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         Rec(1, {0x00, 0x2A, 0x2C, 0, 0, 0, 0x50, 0, 0, 0, 0x60, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"function entry", Rec(1, {0x00, 0x31, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         Rec(1, {0x00, 0x31, 0x10, 0, 0, 0, 0x20, 0, 0, 0, 0x0C, 0, 0, 0})},
        {"end function", Rec(1, {0x00, 0x32, 1, 0, 0, 0, 0}), Rec(1, {0x00, 0x32, 3, 0x34, 0, 0, 0})},
        {"call", Rec(1, {0x00, 0x38, 4, 0, 0, 0, 0}), Rec(1, {0x00, 0x38, 1, 0x22, 0, 0, 0})},
        {"library call", Rec(1, {0x00, 0x3F, 4, 0, 0, 0, 0, 0, 0, 0, 0}),
         Rec(1, {0x00, 0x3F, 1, 0x30, 0, 0, 0, 0x40, 0, 0, 0})},
        {"one-line function", Rec(1, {0x00, 0x40, 1, 0, 0, 0, 0, 0, 0, 0}),
         Rec(1, {0x00, 0x40, 0x10, 0, 0, 0, 0x20, 0, 0, 0})},
        {"plain statement", Rec(1, {0x00, 0x90, 0xF2, 0x00, 0x00, 0x1A}), Rec(1, {0x00, 0x90, 0xF2, 0x00, 0x00, 0x1A})},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Convert(c.work), c.stream);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(StreamConvert, OperandsTakeTheirRecordOffsets) {
    Bytes work = Rec(4, {0xB1, 0x00,                                          //
                         0x50, 0x00, 2, 0, 0, 0, 0,                          // module variable
                         0x50, 0x02, 3, 0, 0, 0, 0,                          // by-value parameter
                         0x60, 0x00, 6, 0, 0, 0, 0, 0x6F, 0x00,              // module array element
                         0x62, 0x00, 6, 0, 0, 0, 0,                          // whole array
                         0x52, 0x01, 1, 0, 0, 0, 0,                          // the function's result
                         0x50, 0x30, 2, 0, 0, 0, 0, 0x51, 0x01, 2, 0, 0, 0,  // member
                         0x61, 0x01, 1, 0, 0, 0,                             // member array
                         0x70, 0x10, 2, 0, 0, 0,                             // string constant
                         0x70, 0x00, 0x34, 0x12, 0x70, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 0x70, 0x11,
                         0x41, 0x01, 1, 0, 0, 0,                             // own function
                         0x42, 0x01, 4, 0, 0, 0, 0,                          // declared function
                         0x43, 0x02, 4, 0, 0, 0, 0, 0, 0, 0, 0,              // library function
                         0x40, 0x36, 0x01, 0xBF, 0x00});
    Bytes stream = Rec(4, {0xB1, 0x00,                                       //
                           0x50, 0x00, 1, 0x18, 0, 0, 0,                     //
                           0x50, 0x02, 3, 0x44, 0, 0, 0,                     //
                           0x60, 0x00, 0x11, 0x04, 0, 0, 0, 0x6F, 0x00,      //
                           0x62, 0x00, 0x11, 0x04, 0, 0, 0,                  //
                           0x50, 0x01, 3, 0x34, 0, 0, 0,                     //
                           0x50, 0x30, 1, 0x18, 0, 0, 0, 0x51, 0x01, 0x21, 0, 0, 0,
                           0x61, 0x01, 0x0D, 0, 0, 0,                        //
                           0x70, 0x10, 0x0F, 0, 0, 0,                        //
                           0x70, 0x00, 0x34, 0x12, 0x70, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 0x70, 0x11,
                           0x41, 0x01, 0x10, 0, 0, 0,                        //
                           0x42, 0x01, 1, 0x22, 0, 0, 0,                     //
                           0x43, 0x02, 1, 0x30, 0, 0, 0, 0x40, 0, 0, 0,      //
                           0x40, 0x36, 0x01, 0xBF, 0x00});
    EXPECT_EQ(Convert(work), stream);
    EXPECT_TRUE(errors.empty());
}

TEST_F(StreamConvert, LabelsAndUndefinedLabels) {
    Bytes got = Convert(Rec(6, {0x00, 0x70, 0xA0, 0x01, 1, 0, 0, 0, 0xF2, 0x00,  //
                                0x00, 0x71, 0xA1, 0x10,                           //
                                0xF2, 0x00, 0x00, 0x70, 0xA1, 0x01, 2, 0, 0, 0,   // never defined
                                0xF2, 0x00, 0x00, 0x80, 0xB1, 0x01, 0xA3, 0x01, 3, 0, 0, 0, 0, 0xBF, 0x00}));
    EXPECT_EQ(got, Rec(6, {0x00, 0x70, 0xA0, 0x01, 0x5A, 0, 0, 0, 0xF2, 0x00,  //
                           0x00, 0x71, 0xA1, 0x10,                              //
                           0xF2, 0x00, 0x00, 0x70, 0xA1, 0x01, 0, 0, 0, 0,      //
                           0xF2, 0x00, 0x00, 0x80, 0xB1, 0x01, 0x70, 0x01, 0x6E, 0, 0, 0, 0xBF, 0x00}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].first, kErrUndefined);
    EXPECT_EQ(errors[0].second, 6);
}

TEST_F(StreamConvert, RestoreSelectsTheDataItemOfItsProcedure) {
    struct Case {
        const char *name;
        uint32_t label, proc;
        uint32_t offset;
        uint16_t error;
    } cases[] = {
        {"no label: first item of the module", 0, 0, 0x00, 0},
        {"label at statement 3: the item of statement 5", 1, 0, 0x06, 0},
        {"no label in a procedure", 0, 1, 0x0C, 0},
        {"label after the last item of the module", 3, 0, 0, kErrNoData},
        {"label never defined", 2, 0, 0, kErrUndefined},
        {"procedure without DATA", 0, 4, 0, kErrNoData},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        Bytes work = Rec(8, {0x00, 0x7B, int(c.label), 0, 0, 0, int(c.proc), 0, 0, 0});
        Bytes want = Rec(8, {0x00, 0x7B, int(c.offset), 0, 0, 0});
        EXPECT_EQ(Convert(work), want);
        if (c.error) {
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_EQ(errors[0].first, c.error);
            EXPECT_EQ(errors[0].second, 8);
        } else {
            EXPECT_TRUE(errors.empty());
        }
    }
}

// A block's handle becomes its table-9 entry: DEF PARM's (A2 00, 10 bytes)
// and a CALLS's (A2 01, 6 bytes); a CALLS of a block DEF PARM never built,
// or of none, is error 38.
TEST_F(StreamConvert, ParameterBlocks) {
    EXPECT_EQ(Convert(Rec(2, {0x00, 0x43, 0xA2, 0x00, 2, 0, 0, 0, 0, 0, 0, 0})),
              Rec(2, {0x00, 0x43, 0xA2, 0x00, 0x1A, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Convert(Rec(2, {0x00, 0x2C, 0xA2, 0x01, 1, 0, 0, 0, 0, 0, 0, 0})), Rec(2, {0x00, 0x2C, 0xA2, 0x01, 0, 0, 0, 0}));
    EXPECT_TRUE(errors.empty());
    Convert(Rec(2, {0x00, 0x2C, 0xA2, 0x01, 2, 0, 0, 0, 0, 0, 0, 0}));
    Convert(Rec(2, {0x00, 0x2C, 0xA2, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].first, kErrNoParamBlock);
    EXPECT_EQ(errors[1].first, kErrNoParamBlock);
}

TEST_F(StreamConvert, UnreadableRecordsAreFatal90) {
    const Bytes broken[] = {
        Rec(1, {0x70, 0x05, 0, 0}),   // constant of no known type
        Rec(1, {0xA2, 0x02, 0, 0, 0, 0, 0, 0, 0, 0}),
        Bytes{8, 0, 1, 0, 0x50, 0, 1, 0},  // item runs past the record
    };
    for (const Bytes &b : broken) {
        try {
            ConvertRecord(b.data(), b.size(), t, sink);
            ADD_FAILURE() << "no fatal exit";
        } catch (const OutFatal &f) {
            EXPECT_EQ(f.code, 90u);
        }
    }
}

namespace {

Bytes ReadAll(FILE *f) {
    Bytes b;
    std::rewind(f);
    int c;
    while ((c = std::fgetc(f)) != EOF) b.push_back(uint8_t(c));
    return b;
}

}  // namespace

// The stream is padded to 16 after its end mark; each table to 16, a table
// of exactly 32 bytes not at all, an empty one not written.
TEST(FinalPass, StreamAndTablesArePaddedTo16) {
    WorkFile work(0x205);
    work.Create();
    Bytes r1 = Rec(1, {0x00, 0x1A});                          // 8 bytes
    Bytes r2 = Rec(2, {0x00, 0x90, 0xB0, 0x00, 0x70, 0x04, 7, 0xBF, 0x00});  // 15 bytes
    work.Write(r1.data(), r1.size());
    work.Write(r2.data(), r2.size());
    work.WriteU32(0);
    TableState t;
    Bytes t0(32, 0xA0), t2(5, 0xC2);
    t.pos[0] = work.Tell();
    t.size[0] = 32;
    work.Write(t0.data(), t0.size());
    t.pos[2] = work.Tell();
    t.size[2] = 5;
    work.Write(t2.data(), t2.size());

    FILE *out = txtest::ScratchFile();
    ASSERT_NE(out, nullptr);
    std::vector<std::pair<uint16_t, uint16_t>> errors;
    uint32_t size = WriteStream(work, out, t, [&](uint16_t w, uint16_t l) { errors.push_back({w, l}); });
    EXPECT_EQ(size, 8u + 15 + 4);
    WriteTables(work, out, t);
    Bytes got = ReadAll(out);
    std::fclose(out);

    Bytes want = r1;
    want.insert(want.end(), r2.begin(), r2.end());
    want.insert(want.end(), {0, 0, 0, 0});
    want.resize(32, 0);  // 27 bytes padded with 5 zeros
    want.insert(want.end(), t0.begin(), t0.end());
    want.insert(want.end(), t2.begin(), t2.end());
    want.resize(32 + 32 + 16, 0);
    EXPECT_EQ(got, want);
    EXPECT_TRUE(errors.empty());
}

TEST(FinalPass, HeaderGoesOverThePlaceholder) {
    FILE *out = txtest::ScratchFile();
    ASSERT_NE(out, nullptr);
    Bytes junk(100, 0xEE);
    std::fwrite(junk.data(), 1, junk.size(), out);
    ifile::Header h;
    h.module_flag = 1;
    h.stream_size = 0x1B;
    WriteHeader(out, h);
    Bytes got = ReadAll(out);
    std::fclose(out);
    ASSERT_EQ(got.size(), 100u);
    EXPECT_EQ(got[0], 0xFB);
    EXPECT_EQ(got[1], 0x01);
    EXPECT_EQ(got[12], 0x1B);
    EXPECT_EQ(got[63], 0x00);
    EXPECT_EQ(got[64], 0xEE);
}
