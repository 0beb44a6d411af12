// The pass as the driver calls it: intermediate file in, object file or an
// error code in the parameter block out.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "cg_driver.h"
#include "cg_test_util.h"
#include "tx_scratch.h"

extern const char kExpectCrashPhase4[];
extern const char kExpectCrashPhase7[];

namespace txcg {
namespace {

namespace fs = std::filesystem;
using test::Hex;
using test::IrBuilder;

std::vector<uint8_t> ReadAll(const fs::path &p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string Join(const std::vector<std::string> &v) {
    std::string s;
    for (const auto &x : v)
        s += (s.empty() ? "" : " ") + x;
    return s;
}

class CgDriver : public ::testing::Test {
  public:
    void SetUp() override {
        scratch_.Make("txcg_driver", ::testing::UnitTest::GetInstance()->current_test_info()->name());
        dir_ = scratch_.path();
        pcode_ = (dir_ / "pcode.tmp").string();
        object_ = (dir_ / "MAIN.obj").string();
        source_ = (dir_ / "src" / "MAIN.BAS").string();
    }
    void TearDown() override { scratch_.Remove(); }

    int Run(uint32_t zi = 0) {
        param_ = CmpFilParam{};
        param_.Zi = zi;
        param_.pcode_filename = pcode_.data();
        param_.Fo_filename = object_.data();
        param_.srcfilename = source_.data();
        return CgCompile(&param_);
    }

  public:
    txtest::ScratchDir scratch_;
    fs::path dir_;
    std::string pcode_, object_, source_;
    CmpFilParam param_{};
};

std::vector<uint8_t> TextOf(const std::vector<uint8_t> &obj) {
    for (const auto &s : test::ReadSections(obj))
        if (s.name == ".text")
            return {obj.begin() + s.rawPtr, obj.begin() + s.rawPtr + s.size};
    return {};
}

TEST_F(CgDriver, EmptySubModuleIsASingleReturn) {
    IrBuilder().SubModule().Write(pcode_);
    ASSERT_EQ(Run(), 1);
    const auto obj = ReadAll(object_);
    EXPECT_EQ(test::Le16(obj, 0), 0x014C);
    EXPECT_EQ(Join(test::SectionNames(obj)), ".drectve .text .data$mc .data$cn");
    EXPECT_EQ(Hex(TextOf(obj)), "c3");
}

TEST_F(CgDriver, EmptyMainModuleWithDebugInformationCarriesTheDebuggerRoutines) {
    IrBuilder().Write(pcode_);
    ASSERT_EQ(Run(1), 1);
    EXPECT_EQ(Hex(TextOf(ReadAll(object_))),
              "c3 "
              "e8 00 00 00 00 cc e8 00 00 00 00 cc " // $BAS_DBGINIT
              "e8 00 00 00 00 cc "                   // $BAS_DBGVALUECALC
              "50 e8 00 00 00 00 cc "                // $BAS_DBGREDRAW
              "6a 01 e8 00 00 00 00 cc");            // $BAS_DBGEND
}

TEST_F(CgDriver, FailuresStoreCodeAndDetail) {
    struct Case {
        const char *name;
        std::function<void(CgDriver &)> prepare;
        uint32_t code, detail;
    };
    const Case cases[] = {
        {"missing intermediate file", [](CgDriver &) {}, 11, 516},
        {"intermediate header cut short",
         [](CgDriver &t) {
             auto b = IrBuilder().Build();
             b.resize(40);
             std::ofstream(t.pcode_, std::ios::binary)
                 .write(reinterpret_cast<const char *>(b.data()), 40);
         },
         13, 516},
        {"table announced beyond the end of the file",
         [](CgDriver &t) {
             IrBuilder b;
             b.StringConst("HELLO");
             auto bytes = b.Build();
             bytes.resize(bytes.size() - 16);
             std::ofstream(t.pcode_, std::ios::binary)
                 .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
         },
         13, 516},
        {"object folder does not exist",
         [](CgDriver &t) {
             IrBuilder().Write(t.pcode_);
             t.object_ = (t.dir_ / "no" / "such" / "MAIN.obj").string();
         },
         11, 264},
#ifndef _WIN32
        {"object file cannot be written", // every write to /dev/full fails
         [](CgDriver &t) {
             IrBuilder().Write(t.pcode_);
             t.object_ = "/dev/full";
         },
         12, 264},
#endif
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(pcode_);
        object_ = (dir_ / "MAIN.obj").string();
        c.prepare(*this);
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(param_.err_code, c.code);
        EXPECT_EQ(param_.err_detail, c.detail);
        if (c.code != 12)
            EXPECT_FALSE(fs::exists(object_));
        if (c.detail == 264)
            EXPECT_EQ(std::string(param_.err_text), object_);
        else
            EXPECT_EQ(param_.err_text[0], '\0');
    }
}

// Sizes in a damaged intermediate file: each is checked against the file's
// length and the module's limits before anything of that size is allocated
// or written, and the file is refused with no object.
TEST_F(CgDriver, DamagedSizesAreRefusedWithNoObject) {
    auto patch32 = [](std::vector<uint8_t> &b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = uint8_t(v >> (8 * i));
    };
    const uint32_t kStreamSize = 12, kTableSize = 16;
    struct Case {
        const char *name;
        std::function<std::vector<uint8_t>()> file;
        bool refused;
    };
    const Case cases[] = {
        {"a string table of 0xFB000000 bytes",
         [&] {
             IrBuilder b;
             b.StringConst("HELLO");
             auto bytes = b.Build();
             patch32(bytes, kTableSize + 4 * 2, 0xFB000000u);
             return bytes;
         },
         true},
        {"a stream larger than the file",
         [&] {
             IrBuilder b;
             b.Statement(1, {0x10, 0x09});
             auto bytes = b.Build();
             patch32(bytes, kStreamSize, 0xFFFFFFF0u);
             return bytes;
         },
         true},
        {"1 GB of data with no variable", [] { return IrBuilder().DataSize(1u << 30).Build(); }, true},
        {"data beyond the last variable",
         [] {
             IrBuilder b;
             b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});  // INT at 0
             return b.DataSize(3).Build();
         },
         true},
        {"data up to the end of the last variable",
         [] {
             IrBuilder b;
             b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});
             b.ModuleVar({17, 1, 2, 5, 0, 0, 0, "F"});  // STRING * 5 at 2
             b.ModuleVar({18, 1, 7, 0, 0, 0, 0, "D"});  // the decimal type, 15 bytes
             return b.DataSize(22).Build();
         },
         false},
        {"an array of 0x87788794 bytes",
         [] {
             IrBuilder b;
             b.Array(3, 0x87788794u);
             return b.Build();
         },
         true},
        {"arrays that wrap 32 bits together",
         [] {
             IrBuilder b;
             for (int i = 0; i < 3; ++i)
                 b.Array(3, 0x7A1F4A08u);
             return b.Build();
         },
         true},
        {"arrays and scalars just within 31 bits",
         [] {
             IrBuilder b;
             b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});
             b.Array(0, 0x7FFFFFFDu);
             return b.DataSize(2).Build();
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(object_);
        const auto bytes = c.file();
        std::ofstream(pcode_, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        if (!c.refused) {
            // Only the sizes are checked here; nothing is generated.
            CgState st;
            std::FILE *f = std::fopen(pcode_.c_str(), "rb");
            ASSERT_NE(f, nullptr);
            EXPECT_NO_THROW(ReadIntermediateHeader(st, f));
            std::fclose(f);
            continue;
        }
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(param_.err_code, 13u);
        EXPECT_EQ(param_.err_detail, 516u);
        EXPECT_FALSE(fs::exists(object_));
    }
}

// A stream must close with its end mark, a u32 0, exactly at its size.
TEST_F(CgDriver, StreamWithoutItsEndMarkIsRefused) {
    struct Case {
        const char *name;
        int damage;  // 0 none, 1 end mark's high half set, 2 size past the mark
    };
    const Case cases[] = {{"intact", 0}, {"end mark not zero", 1}, {"size beyond the end mark", 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(object_);
        IrBuilder b;
        b.Statement(1, {0x10, 0x09});
        auto bytes = b.Build();
        const uint32_t size = test::Le32(bytes, 12);
        if (c.damage == 1)
            bytes[416 + size - 2] = 1;
        if (c.damage == 2)
            bytes[12] = uint8_t(size + 4);
        std::ofstream(pcode_, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        if (c.damage == 0) {
            EXPECT_EQ(Run(), 1);
            continue;
        }
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(param_.err_code, 13u);
        EXPECT_EQ(param_.err_detail, 516u);
        EXPECT_FALSE(fs::exists(object_));
    }
}

// GET, PUT, LOCK and UNLOCK always carry their file number; a record
// without it is a damaged file, not one to read an operand of.
TEST_F(CgDriver, FileStatementsWithoutTheirFileNumberAreRefused) {
    for (const uint8_t code : {ifile::kStmGet, ifile::kStmPut, ifile::kStmLock, ifile::kStmUnlock}) {
        SCOPED_TRACE(int(code));
        fs::remove(object_);
        IrBuilder b;
        b.Statement(1, test::tok::Stmt(code));
        const auto bytes = b.Build();
        std::ofstream(pcode_, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(param_.err_code, uint32_t(tx::kErrRead));
        EXPECT_EQ(param_.err_detail, uint32_t(tx::kDetailIntermediate));
        EXPECT_FALSE(fs::exists(object_));
    }
}

// With a fixed time stamp two runs give the same bytes; a failed run leaves
// nothing behind that changes the next one.
TEST_F(CgDriver, ObjectsAreReproducibleAndRunsIndependent) {
#ifdef _WIN32
    _putenv_s("SOURCE_DATE_EPOCH", "1234567");
#else
    setenv("SOURCE_DATE_EPOCH", "1234567", 1);
#endif
    IrBuilder b;
    b.StringConst("HELLO");
    b.CommonVar({1, 2, 0, 0, 0, 4, 1, "COUNT"});
    b.Write(pcode_);
    ASSERT_EQ(Run(1), 1);
    const auto first = ReadAll(object_);
    EXPECT_EQ(test::Le32(first, 4), 1234567u);

    const std::string good = pcode_;
    pcode_ = (dir_ / "missing.tmp").string();
    EXPECT_EQ(Run(1), 0);
    pcode_ = good;
    fs::remove(object_);
    ASSERT_EQ(Run(1), 1);
    EXPECT_TRUE(ReadAll(object_) == first);
#ifdef _WIN32
    _putenv_s("SOURCE_DATE_EPOCH", "");
#else
    unsetenv("SOURCE_DATE_EPOCH");
#endif
}

TEST(CrashMessage, NamesModulePhaseAndInCodeGenerationTheLine) {
    EXPECT_EQ(FormatCrashMessage(4, "MAIN.BAS", 120), kExpectCrashPhase4);
    EXPECT_EQ(FormatCrashMessage(7, "MAIN.BAS", 120), kExpectCrashPhase7);
}

} // namespace
} // namespace txcg
