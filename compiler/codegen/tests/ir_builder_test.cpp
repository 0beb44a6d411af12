// The test builder writes what the shared layout reads: the header sizes,
// the padding, and records the stream walker accepts token by token.
#include <gtest/gtest.h>

#include "intermediate.h"
#include "ir_builder.h"

namespace txcg::test {
namespace {

TEST(IrBuilder, FileSplitsAndStreamWalksByTheSharedLayout) {
    IrBuilder b;
    b.SubModule().TrapBits(2).DataSize(6);
    const uint32_t label = b.ProcName(0, "100");
    b.Statement(10, tok::Cat({tok::Stmt(0x4a)}));
    b.Statement(20, tok::Cat({tok::Stmt(0x80), tok::Pair(0xB0, 0), tok::Var(0x50, 0, 1, 4),
                              tok::Pair(0xBF, 0), tok::Pair(0x20, 0), tok::Pair(0xB0, 0),
                              tok::ConstInt(7), tok::Pair(0xBF, 0), tok::Separator(),
                              tok::Stmt(0x70), tok::Label(0xA0, label)}));
    b.Statement(30, tok::Cat({tok::ConstLng(1), tok::ConstSng(1.5f), tok::ConstDbl(2.5),
                              tok::ConstByt(3), tok::StmtByte(0x38, 1, 0)}));
    b.StringConst("HELLO");
    b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});
    const auto bytes = b.Build();

    ifile::Layout layout;
    std::string error;
    ASSERT_TRUE(ifile::SplitFile(bytes.data(), bytes.size(), &layout, &error)) << error;
    EXPECT_EQ(layout.header.module_flag, 1);
    EXPECT_EQ(layout.header.trap_bits, 2);
    EXPECT_EQ(layout.header.data_size, 6u);
    EXPECT_EQ(layout.header.table_size[ifile::kStringConstTable], 17u);
    EXPECT_EQ(layout.header.table_size[ifile::kModuleVarTable], 25u);
    EXPECT_EQ(bytes.size(), ifile::FileSize(layout.header));

    ifile::StreamWalker walker(layout.stream, layout.header.stream_size);
    ifile::Record rec;
    std::vector<uint16_t> lines;
    std::vector<size_t> tokens;
    ifile::StreamWalker::Step step;
    while ((step = walker.Next(&rec)) == ifile::StreamWalker::kRecord) {
        lines.push_back(rec.line);
        tokens.push_back(rec.tokens.size());
    }
    ASSERT_EQ(step, ifile::StreamWalker::kEnd) << walker.error();
    EXPECT_EQ(lines, (std::vector<uint16_t>{10, 20, 30}));
    // Terminators (F2, F1) included.
    EXPECT_EQ(tokens, (std::vector<size_t>{2, 12, 6}));
}

TEST(IrBuilder, EmptyStreamPutsTheFirstTableAt416) {
    IrBuilder b;
    b.ProcName(0, "F");
    const auto bytes = b.Build();
    ifile::Layout layout;
    std::string error;
    ASSERT_TRUE(ifile::SplitFile(bytes.data(), bytes.size(), &layout, &error)) << error;
    EXPECT_EQ(layout.header.stream_size, 0u);
    EXPECT_EQ(ifile::TableOffset(layout.header, 0), 416u);
    EXPECT_EQ(bytes.size(), 416u + 16u);
}

} // namespace
} // namespace txcg::test
