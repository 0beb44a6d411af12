// What the runner's host side does with hostile programs and files: images
// whose fields point anywhere, files that grow without end, names whose
// trail bytes look like separators, records with line ends in their text.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "errrecord.h"
#include "filehost.h"
#include "pe_image.h"

namespace fs = std::filesystem;
using namespace tx::runner;

namespace {

constexpr int32_t kDiskFull = -61, kBadName = -64;

class HostFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("host_limits_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// A relocation whose field would lie past the end of its section, however
// the offsets wrap in 32 bits, is left alone; the others move.
TEST(PeImageRebase, FieldsOutsideTheirSectionAreLeftAlone) {
    PeImage img;
    img.imageBase = 0x400000;
    PeSection s;
    s.rva = 0;
    s.data.assign(16, 0);
    s.data[4] = 0x10;
    s.virtualSize = 16;
    img.sections.push_back(s);
    PeSection high;
    high.rva = 0xFFFFF000;
    high.data.assign(8, 0);
    img.sections.push_back(high);
    img.relocations = {0xFFFFFFFC, 0xFFFFFFFE, 14, 4, 0xFFFFF006};
    ASSERT_TRUE(img.Rebase(0x10000000));
    EXPECT_EQ(img.sections[0].data[4], 0x10);
    EXPECT_EQ(img.sections[0].data[6], 0xC0); // 0x00400010 + 0x0FC00000
    EXPECT_EQ(img.sections[0].data[14], 0);
    EXPECT_EQ(img.sections[1].data, std::vector<uint8_t>(8, 0));
}

// The smallest PE32 image with nsec sections, all empty but the last: its
// page is what the nrel relocations move, and their block follows it.
std::vector<uint8_t> CraftedImage(uint32_t nsec, uint32_t nrel) {
    const uint32_t pe = 0x40, opt = pe + 24, optSize = 224, secTab = opt + optSize;
    const uint32_t raw = (secTab + 40 * nsec + 0xFFF) & ~0xFFFu;
    const uint32_t relocSize = 8 + 2 * nrel, lastRva = 0x1000 * nsec;
    std::vector<uint8_t> b(raw + 0x1000 + relocSize, 0);
    auto u16 = [&](uint32_t at, uint32_t v) { std::memcpy(&b[at], &v, 2); };
    auto u32 = [&](uint32_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    u16(0, 0x5A4D);
    u32(0x3C, pe);
    u32(pe, 0x4550);
    u16(pe + 4, 0x014C);
    u16(pe + 6, nsec);
    u16(pe + 20, optSize);
    u16(opt, 0x010B);
    u32(opt + 28, 0x400000);
    u32(opt + 56, lastRva + 0x2000 + relocSize);
    u32(opt + 92, 16);
    u32(opt + 96 + 40, lastRva + 0x1000);
    u32(opt + 96 + 44, relocSize);
    for (uint32_t i = 0; i < nsec; ++i) {
        const uint32_t h = secTab + 40 * i;
        const bool last = i + 1 == nsec;
        std::memcpy(&b[h], ".s", 2);
        u32(h + 8, last ? 0x1000 + relocSize : 0x1000);
        u32(h + 12, 0x1000 * (i + 1));
        u32(h + 16, last ? 0x1000 + relocSize : 0);
        u32(h + 20, last ? raw : 0);
        u32(h + 36, 0xC0000040);
    }
    const uint32_t block = raw + 0x1000;
    u32(block, lastRva);
    u32(block + 4, relocSize);
    for (uint32_t e = 0; e < nrel; ++e) u16(block + 8 + 2 * e, 0x3000 | (e % 0xFFC));
    return b;
}

// 65,535 sections and 500,000 relocations: each relocation finds its
// section by a search, not by trying every one (which took half a minute).
TEST(PeImageRebase, ManySectionsAndRelocationsLoadQuickly) {
    PeImage img;
    std::string error;
    ASSERT_TRUE(ReadPeImage(CraftedImage(65535, 500000), img, error)) << error;
    EXPECT_EQ(img.sections.size(), 65535u);
    EXPECT_EQ(img.relocations.size(), 500000u);
    EXPECT_TRUE(img.Rebase(0x20000000));
}

TEST_F(HostFolder, ImageFilesThatAreNoFilesOrTooLargeAreRefused) {
    const fs::path big = dir_ / "BIG.DLL";
    std::ofstream(big).close();
    fs::resize_file(big, kImageFileMax + 1);
    struct Case {
        std::string path;
        const char* message;
    } cases[] = {
        {dir_.string(), "(not a file)"},
        {"/dev/zero", "(not a file)"},
        {big.string(), "larger than 128 MB"},
        {(dir_ / "NONE.DLL").string(), "cannot open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        PeImage img;
        std::string error;
        EXPECT_FALSE(ReadPeFile(c.path, img, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// No file grows past the size cap and the run writes no more than its
// total; a write near 4 GB fails instead of wrapping to the file's start.
TEST_F(HostFolder, WritesStopAtTheCapsWithDiskFull) {
    FileHost files(dir_);
    files.SetLimits({100, 150});
    const int32_t a = files.Open("A.DAT", FileHost::kCreate);
    ASSERT_GT(a, 0);
    const std::string bytes(100, 'x');
    EXPECT_EQ(files.Write(a, 0, bytes.data(), 100), 100);
    EXPECT_EQ(files.Write(a, 100, bytes.data(), 1), kDiskFull);
    EXPECT_EQ(files.Write(a, 0xFFFFFFF0u, bytes.data(), 32), kDiskFull);
    EXPECT_EQ(files.Truncate(a, 101), kDiskFull);
    const int32_t b = files.Open("B.DAT", FileHost::kCreate);
    EXPECT_EQ(files.Write(b, 0, bytes.data(), 50), 50);
    EXPECT_EQ(files.Write(b, 50, bytes.data(), 1), kDiskFull) << "150 bytes written in all";
    EXPECT_EQ(files.Size(a), 100);

    FileHost defaults(dir_);
    const int32_t c = defaults.Open("C.DAT", FileHost::kCreate);
    EXPECT_EQ(defaults.Write(c, 0x100000000ull - 4, bytes.data(), 8), kDiskFull);
    EXPECT_EQ(defaults.Size(c), 0);
}

// Names are Shift-JIS: a trail byte 0x5C (ソ 0x83 0x5C, 表 0x95 0x5C) is part
// of its character; a single-byte backslash still leaves the folder.
TEST_F(HostFolder, DoubleByteNamesWithBackslashTrailBytes) {
    FileHost files(dir_);
    struct Case {
        std::string name;
        bool accepted;
    } cases[] = {
        {"\x83\x5C.TXT", true},
        {"\x95\x5C\x83\x5C", true},
        {"A\\B.TXT", false},
        {"..\\X", false},
        {"\x83\x5C\\X", false},
        {"\x83\x0A", false}, // no trail byte is a control character
        {"\x83", true},      // a lead byte at the end stands alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t h = files.Open(c.name, FileHost::kCreate);
        if (c.accepted) {
            EXPECT_GT(h, 0);
            EXPECT_TRUE(fs::exists(dir_ / c.name));
        } else {
            EXPECT_EQ(h, kBadName);
        }
        if (h > 0) files.Close(h);
    }
    // Case is folded on single-byte letters only: 0x83 0x61 is not 0x83 0x41.
    std::ofstream(dir_ / "\x83\x61.TXT").close();
    EXPECT_EQ(files.Resolve("\x83\x41.TXT"), dir_ / "\x83\x41.TXT");
    EXPECT_EQ(files.Resolve("\x83\x61.txt"), dir_ / "\x83\x61.TXT");
}

// A module name holding a line end cannot add lines to the registry file.
TEST(ErrorRecord, ControlCharactersAreWrittenAsBytes) {
    Stop stop;
    stop.kind = StopKind::RuntimeError;
    stop.basicError = 5;
    stop.line = 3;
    const std::string rec = ErrorRecordFile(stop, "A\r\n[HKEY_LOCAL_MACHINE\\X]\"", 0);
    EXPECT_NE(rec.find("\"MODL\"=hex(1):41,0d,0a,5b,48,4b,45,59,5f,4c,4f,43,41,4c,5f,4d,41,43,48,49,4e,45,5c,58,5d,22,00\r\n"),
              std::string::npos)
        << rec;
    EXPECT_EQ(rec.find("[HKEY_LOCAL_MACHINE"), std::string::npos) << rec;
    EXPECT_NE(ErrorRecordFile(stop, "M\\\"X.BAS", 0).find("\"MODL\"=\"M\\\\\\\"X.BAS\"\r\n"), std::string::npos);
}

} // namespace
