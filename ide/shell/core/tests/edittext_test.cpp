#include "edittext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tambrix;

namespace {

// "漢" in Shift-JIS; its trail byte is the ASCII "@" range.
const std::string kKan = "\x8A\xBF";
// "表": trail byte 0x5C, a backslash.
const std::string kHyo = "\x95\x5C";

TEST(EditText, ByteAndCharacterColumns) {
    const std::string line = "A" + kKan + "B" + kHyo + "\xB1";  // ｱ half-width
    struct Case { size_t bytes, chars; } cases[] = {
        {0, 0}, {1, 1}, {3, 2}, {4, 3}, {6, 4}, {7, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(CharIndexFromByte(line, c.bytes), c.chars);
        EXPECT_EQ(ByteFromCharIndex(line, c.chars), c.bytes);
    }
    EXPECT_EQ(CharIndexFromByte(line, 2), 2u) << "inside a character counts it whole";
    EXPECT_EQ(ByteFromCharIndex(line, 99), line.size());
    EXPECT_TRUE(IsTrailByteAt(line, 2));
    EXPECT_TRUE(IsTrailByteAt(line, 5));
    EXPECT_FALSE(IsTrailByteAt(line, 4));
}

// Reads a byte string through StreamInBlocks with the given block size.
std::vector<std::string> Blocks(const std::string& file, size_t cap, size_t chunk = 1 << 20) {
    size_t pos = 0;
    StreamInBlocks in([&](char* buf, size_t n) -> long {
        size_t k = std::min({n, chunk, file.size() - pos});
        std::copy_n(file.data() + pos, k, buf);
        pos += k;
        return static_cast<long>(k);
    });
    std::vector<std::string> out;
    std::vector<char> buf(cap);
    for (long n; (n = in.Next(buf.data(), cap)) > 0;)
        out.emplace_back(buf.data(), static_cast<size_t>(n));
    return out;
}

TEST(EditText, StreamInKeepsDoubleByteCharactersWholeAcrossBlocks) {
    // A double-byte character at 4095-4096 straddles the first 4 KiB block.
    std::string file(4095, 'x');
    file += kKan + "\x1A" + "y\x1A";
    auto blocks = Blocks(file, 4096);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 4095u);
    EXPECT_EQ(blocks[1], kKan + " y ") << "every 0x1A is a blank";
    std::string joined;
    for (auto& b : blocks) joined += b;
    EXPECT_EQ(joined.size(), file.size());

    // A read that hands back a lone lead byte on its own still ends well.
    auto slow = Blocks("a" + kKan + kHyo, 4096, 1);
    std::string s;
    for (auto& b : slow) {
        EXPECT_FALSE(IsTrailByteAt(b + "x", b.size())) << "a block never ends inside a character";
        s += b;
    }
    EXPECT_EQ(s, "a" + kKan + kHyo);
    // A lead byte as the file's very last byte is handed over as it is.
    std::string tail;
    for (auto& b : Blocks("ab\x8A", 4096)) tail += b;
    EXPECT_EQ(tail, "ab\x8A");
}

TEST(EditText, StreamInFailureIsReported) {
    StreamInBlocks in([](char*, size_t) -> long { return -1; });
    char buf[16];
    EXPECT_EQ(in.Next(buf, sizeof buf), -1);
}

TEST(EditText, StreamOutWritesCrLf) {
    struct Case { std::vector<std::string> blocks; std::string out; } cases[] = {
        {{"A=1\rB\r"}, "A=1\r\nB\r\n"},
        {{"A=1\r\nB"}, "A=1\r\nB"},
        {{"A\nB\n"}, "A\r\nB\r\n"},
        {{"A\r", "\nB\r", ""}, "A\r\nB\r\n"},
        {{"A\r", "B"}, "A\r\nB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        CrLfWriter w;
        std::string out;
        for (auto& b : c.blocks) out += w.Convert(b);
        out += w.Convert("");
        EXPECT_EQ(out, c.out);
    }
}

TEST(EditText, CheckLineText) {
    EXPECT_EQ(CheckLineText("PRINT X\r", false, 3), "PRINT X");
    EXPECT_EQ(CheckLineText("PRINT X", true, 5), "PRINT") << "Enter keeps what stays left of the caret";
    EXPECT_EQ(CheckLineText("A\x1A" "B", false, 0), "A");
    EXPECT_EQ(CheckBufferSize(255 * 2), 526u) << "a line of 255 double-byte characters fits in bytes";
    // The checker's blank after a leading line number is not in the typed line.
    EXPECT_EQ(TypedErrorColumn("10 PRINT (", "10print (", 9), 8);
    EXPECT_EQ(TypedErrorColumn("10 PRINT (", "10 print (", 9), 9);
    EXPECT_EQ(TypedErrorColumn("PRINT (", "PRINT (", 6), 6);
}

TEST(EditText, WordAtCaret) {
    struct Case { std::string line; size_t col; std::optional<std::string> word; } cases[] = {
        {"X=AB_C$+1", 2, "AB_C$"},
        {"X=AB_C$+1", 4, "AB_C$"},
        {"X=AB_C$+1", 5, "AB_C$"},
        {"X=AB_C$+1", 6, "$"},
        {"X=AB_C$+1", 7, "+"},
        {"X=AB_C$+1", 1, "="},
        {"   ", 1, std::nullopt},
        {"", 0, std::nullopt},
        {"A B", 1, std::nullopt},
        {"A\tB", 1, std::nullopt},
        {"X=" + kKan + "Y", 2, kKan},
        {"X=" + kKan + "Y", 3, kKan},
        {kKan + "AB", 3, "AB"},
        {"#1@x", 2, "#1@x"},
        {"A$B", 2, "B"},
        {"PRINT", 5, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line + " @" + std::to_string(c.col));
        EXPECT_EQ(WordAtCaret(c.line, c.col), c.word);
    }
    EXPECT_EQ(WordOfSelection("AB  "), "AB");
    EXPECT_EQ(WordOfSelection("   "), std::nullopt);
}

TEST(EditText, BackupAndProjectNames) {
    EXPECT_EQ(BackupPathFor("C:\\W\\FOO.BAS"), "C:\\W\\FOO.bak");
    EXPECT_EQ(BackupPathFor("C:\\W\\FOO.BAK"), std::nullopt) << "a .bak source is never its own backup";
    EXPECT_EQ(BackupPathFor("C:\\W\\FOO.bak"), std::nullopt);
    EXPECT_EQ(BackupPathFor("C:\\W\\" + kHyo + ".BAS"), "C:\\W\\" + kHyo + ".bak");

    EXPECT_EQ(StoredNameAfterSave("SUB\\A.BAS", "C:\\P\\SUB\\A.BAS", "c:\\p\\sub\\a.bas"), std::nullopt)
        << "a save under the same path changes nothing";
    EXPECT_EQ(StoredNameAfterSave("SUB\\A.BAS", "C:\\P\\SUB\\A.BAS", "C:\\P\\SUB\\B.BAS"), "SUB\\B.BAS")
        << "the project's relative form is kept";
    EXPECT_EQ(StoredNameAfterSave("A.BAS", "C:\\P\\A.BAS", "C:\\Q\\B.BAS"), "B.BAS");
}

}  // namespace
