// The object file as written: section list, .text split by relocation
// count, symbol and string tables, export directives.
#include <gtest/gtest.h>

#include "cg_bytes.h"
#include "cg_module.h"
#include "cg_driver.h"
#include "cg_symbols.h"
#include "cg_test_util.h"

namespace txcg {
namespace {

using test::IrBuilder;
using test::VarRec;

std::string Join(const std::vector<std::string> &v) {
    std::string s;
    for (const auto &x : v)
        s += (s.empty() ? "" : " ") + x;
    return s;
}

TEST(ObjectFile, SectionsFollowModuleKindTablesAndDebugInformation) {
    struct Case {
        const char *name;
        bool sub;
        bool debug;
        std::function<void(IrBuilder &)> fill;
        const char *sections;
    };
    const Case cases[] = {
        {"bare .SUB", true, false, [](IrBuilder &) {},
         ".drectve .text .data$mc .data$cn"},
        {".SUB with module variables", true, false,
         [](IrBuilder &b) {
             b.DataSize(8);
             b.ModuleVar({3, 1, 0, 0, 0, 0, 0, "D"}); // the variable the data is for
         },
         ".drectve .text .data .data$mc .data$cn"},
        {"bare main module", false, false, [](IrBuilder &) {},
         ".drectve .text .data$bt .data$mc .data$cn .data$ad .data$ag .data$dg .data$ds"},
        {"main module, debug, variables, procedures, types", false, true,
         [](IrBuilder &b) {
             b.DataSize(2);
             b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});
             b.ProcDebug("F", 8, {});
             b.TypeDef("T", 4, {{1, 0, 0, 0, 0, 0, 0, "M"}});
         },
         ".drectve .text .data .data$bt .data$mc .data$cn .data$ad .data$ag .data$dg "
         ".data$dl .data$da .data$ds"},
        {".SUB, no debug: variable tables leave no section", true, false,
         [](IrBuilder &b) {
             b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});
             b.ProcDebug("F", 8, {});
             b.TypeDef("T", 4, {});
             b.CommonVar({0, 2, 0, 0, 0, 2, 0, "C"});
         },
         ".drectve .text .data$mc .data$cn"},
        {".SUB, debug, common scalar", true, true,
         [](IrBuilder &b) { b.CommonVar({0, 2, 0, 0, 0, 2, 0, "C"}); },
         ".drectve .text .data$mc .data$cn .data$dg"},
        {".SUB, strings, DATA, common array, arrays with and without storage", true, false,
         [](IrBuilder &b) {
             b.StringConst("AB");
             b.DataItem(10, "1");
             b.CommonVar({0, 18, 0, 0, b.Bounds({10}), 22, 0, "CA"});
             b.Array(0, 0);
             b.Array(1, 44);
         },
         ".drectve .text .data$mc .data$cs .data$cn .data$rd .data$ad .data$ag .data$ac "
         ".data$al"},
        {".SUB, array without storage only", true, false, [](IrBuilder &b) { b.Array(0, 0); },
         ".drectve .text .data$mc .data$cn .data$ac"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        IrBuilder b;
        b.SubModule(c.sub);
        c.fill(b);
        CgState st;
        st.moduleFile = "M.SUB";
        st.opt.debugInfo = c.debug;
        test::LoadIr(st, b);
        InitObjectFile(st);
        std::vector<std::string> names;
        for (SectionId id : st.obj.numbered)
            names.push_back(SectionName(id));
        EXPECT_EQ(Join(names), c.sections);
    }
}

// Synthetic .text with one relocated 4-byte field every 4 bytes.
void FillText(CgState &st, uint32_t relocs) {
    auto &text = st.sec[kSecText];
    text.image.resize(size_t(relocs) * 4 + 3);
    for (size_t i = 0; i < text.image.size(); ++i)
        text.image[i] = uint8_t(i * 7);
    text.relocs.reserve(relocs);
    for (uint32_t i = 0; i < relocs; ++i)
        text.relocs.push_back({4 * i, 5, kRelRel32});
}

TEST(SplitText, RelocationCountsGiveSectionCounts) {
    struct Case {
        uint32_t relocs;
        int textSections;
        uint32_t lastCount;
    };
    const Case cases[] = {
        {65535, 1, 65535}, {65536, 2, 1}, {131070, 2, 65535}, {720884, 11, 65534},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.relocs);
        CgState st;
        test::InitForEmit(st, false);
        FillText(st, c.relocs);
        const std::vector<uint8_t> code = st.sec[kSecText].image;
        SplitTextSections(st);

        std::vector<uint8_t> joined;
        uint32_t total = 0;
        for (int p = 0; p < c.textSections; ++p) {
            const auto &part = st.sec[p == 0 ? kSecText : SectionId(kSecTextExtra + p - 1)];
            joined.insert(joined.end(), part.image.begin(), part.image.end());
            total += uint32_t(part.relocs.size());
            ASSERT_FALSE(part.relocs.empty());
            EXPECT_EQ(part.relocs.front().offset, 0u) << "each part starts at its first field";
            EXPECT_EQ(part.relocs.back().offset, 4 * (part.relocs.size() - 1));
        }
        EXPECT_EQ(total, c.relocs);
        EXPECT_TRUE(joined == code) << "the parts put together are the code";

        const auto obj = SerializeObject(st);
        int texts = 0;
        std::vector<uint16_t> counts;
        for (const auto &s : test::ReadSections(obj)) {
            if (s.name == ".text") {
                ++texts;
                counts.push_back(s.relocs);
                EXPECT_EQ(s.characteristics, kCharText);
            }
        }
        EXPECT_EQ(texts, c.textSections);
        EXPECT_EQ(counts.back(), c.lastCount);
    }
}

TEST(SplitText, OneRelocationTooManyIsError20) {
    CgState st;
    test::InitForEmit(st, false);
    FillText(st, 720885);
    try {
        SplitTextSections(st);
        FAIL() << "no error";
    } catch (const CgError &e) {
        EXPECT_EQ(e.code, kErrTextFull);
        EXPECT_EQ(e.detail, 0u);
    }
}

// A data section cannot be split: past 65,535 relocations (or a .text part
// past 65,535 line numbers) the object is refused instead of written with a
// truncated count.
TEST(SplitText, CountsTooLargeForTheHeaderAreRefused) {
    struct Case {
        const char *name;
        std::function<void(CgState &)> fill;
    };
    const Case cases[] = {
        {"65,536 string-constant relocations",
         [](CgState &s) {
             s.sec[kSecDataMc].image.assign(4, 0);
             s.sec[kSecDataMc].relocs.assign(65536, {0, 1, kRelDir32});
         }},
        {"65,536 line numbers", [](CgState &s) { s.sec[kSecText].lines.assign(65536, {0, 1}); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CgState st;
        test::InitForEmit(st, false, true);
        c.fill(st);
        try {
            SerializeObject(st);
            FAIL() << "no error";
        } catch (const CgError &e) {
            EXPECT_EQ(e.code, kErrTextFull);
        }
    }
}

// Line entries go with the part that holds their code; function marks stay
// with the run before them and keep their symbol index.
TEST(SplitText, LineNumbersFollowTheirCode) {
    CgState st;
    test::InitForEmit(st, false, true);
    FillText(st, 65536);
    const uint32_t cut = 4 * 65535;
    auto &lines = st.sec[kSecText].lines;
    lines = {{9, 0}, {0, 10}, {cut - 1, 11}, {9, 0}, {cut, 12}, {cut + 3, 13}};
    SplitTextSections(st);
    const auto &first = st.sec[kSecText].lines;
    const auto &second = st.sec[kSecTextExtra].lines;
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[3].line, 0);
    EXPECT_EQ(first[3].address, 9u);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].address, 0u);
    EXPECT_EQ(second[0].line, 12);
    EXPECT_EQ(second[1].address, 3u);
}

// Each extra .text has a section symbol of its own whose aux record tells
// its own length and counts; the first .text's aux keeps its own.
TEST(SplitText, SectionAuxRecordsDescribeTheirOwnSection) {
    CgState st;
    test::InitForEmit(st, false);
    FillText(st, 65536);
    SplitTextSections(st);
    SerializeObject(st);
    const auto &first = st.sec[kSecText];
    const auto &extra = st.sec[kSecTextExtra];
    EXPECT_NE(first.symbol, extra.symbol);
    EXPECT_EQ(GetU32(AuxRecord(st, first.symbol).data()), first.image.size());
    EXPECT_EQ(GetU16(AuxRecord(st, first.symbol).data() + 4), 65535);
    EXPECT_EQ(GetU32(AuxRecord(st, extra.symbol).data()), extra.image.size());
    EXPECT_EQ(GetU16(AuxRecord(st, extra.symbol).data() + 4), 1);
    EXPECT_EQ(extra.relocs[0].symbol, 5u) << "relocations keep their symbols";
}

TEST(Symbols, LongNamesAreStoredOnce) {
    CgState st;
    test::InitForEmit(st, false);
    const uint32_t a = RefRuntimeSymbol(st, "_$PsLongRoutineName@4");
    const uint32_t b = DefineFunction(st, "_$PsLongRoutineName@4", 0);
    DefineFunction(st, "SHORT", 0);
    const std::string strings(st.obj.strings.begin(), st.obj.strings.end());
    EXPECT_EQ(strings, std::string("_$PsLongRoutineName@4\0", 22));
    EXPECT_EQ(GetU32(st.obj.symbols[a].data() + 4), GetU32(st.obj.symbols[b].data() + 4));
    EXPECT_EQ(GetU32(st.obj.symbols[a].data()), 0u);
}

TEST(Symbols, FileSymbolCarriesTheModuleNameInAuxRecords) {
    struct Case {
        const char *file;
        uint8_t aux;
    };
    const Case cases[] = {{"A.BAS", 1}, {"ABCDEFGHIJKLMN.BAS", 1}, {"ABCDEFGHIJKLMNO.BAS", 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        CgState st;
        st.moduleFile = c.file;
        st.mainModule = false;
        InitObjectFile(st);
        const auto &sym = st.obj.symbols[0];
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(sym.data())), ".file");
        EXPECT_EQ(sym[16], 103);
        EXPECT_EQ(GetU16(sym.data() + 12), 0xFFFE);
        ASSERT_EQ(sym[17], c.aux);
        std::string name(reinterpret_cast<const char *>(st.obj.symbols[1].data()), 18 * c.aux);
        EXPECT_EQ(name, std::string(c.file) + std::string(18 * c.aux - strlen(c.file), '\0'));
        EXPECT_EQ(st.obj.symbols[1 + c.aux][16], 3) << "the first section symbol follows";
    }
}

TEST(Symbols, ExportDirectives) {
    struct Case {
        const char *name;
        const char *directive;
    };
    const Case cases[] = {
        {"_TX$Draw@8", "-export:TX$Draw=_TX$Draw@8 "},
        {"_TV$Grid@12", "-export:TV$Grid=_TV$Grid@12 "},
        {"_TX$A@B@4", "-export:TX$A@B=_TX$A@B@4 "},
        {"_TX$Plain", "-export:TX$Plain=_TX$Plain "},
        {"TX$NoUnderscore@4", "-export:TX$NoUnderscore@4 "},
        {"Calc@4", "-export:Calc@4 "},
        {"$PbMainWndProc=_$PbMainWndProc@16", "-export:$PbMainWndProc=_$PbMainWndProc@16 "},
    };
    std::string all;
    CgState both;
    test::InitForEmit(both, false);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CgState st;
        test::InitForEmit(st, false);
        AddExportDirective(st, c.name);
        const auto &d = st.sec[kSecDrectve].image;
        EXPECT_EQ(std::string(d.begin(), d.end()), c.directive);
        AddExportDirective(both, c.name);
        all += c.directive;
    }
    const auto &d = both.sec[kSecDrectve].image;
    EXPECT_EQ(std::string(d.begin(), d.end()), all) << "back to back, no NUL";
}

} // namespace
} // namespace txcg

namespace txcg {
namespace {

struct WantReloc {
    uint32_t offset;
    uint32_t symbol;
    uint32_t field; // the addend in the image
};

void ExpectRelocs(const CgState &st, SectionId id, const std::vector<WantReloc> &want) {
    SCOPED_TRACE(SectionName(id));
    const auto &sec = st.sec[id];
    ASSERT_EQ(sec.relocs.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sec.relocs[i].offset, want[i].offset);
        EXPECT_EQ(sec.relocs[i].symbol, want[i].symbol);
        EXPECT_EQ(sec.relocs[i].type, kRelDir32);
        EXPECT_EQ(GetU32(sec.image.data() + want[i].offset), want[i].field);
    }
}

// Every data section of a debug build with each kind of variable: record
// offsets worked out by hand from the table layouts.
TEST(DataSections, DebugTablesBecomeRelocatedImages) {
    IrBuilder b;
    b.DataSize(8);
    const uint32_t bounds = b.Bounds({10});      // 0
    const uint32_t bounds2 = b.Bounds({3, 4});   // 5
    const uint32_t type = b.TypeDef("T", 24, {{1, 0, 0, 0, 0, 0, 0, "X"},
                                              {2, 16, 4, 0, bounds2, 0, 0, "Y"}});
    b.CommonVar({48, 2, 0, type, 0, 24, 1, "C"});       // at 4, symbol "_C"
    b.CommonVar({1, 18, 0, 0, bounds, 44, 2, "CA"});    // at 25, "TX$CA"
    const uint32_t slot0 = b.Array(0, 0);
    const uint32_t slot1 = b.Array(1, 44);
    b.ModuleVar({0, 1, 6, 0, 0, 0, 0, "I"});            // at 4
    b.ModuleVar({1, 17, slot1, 0, bounds, 0, 0, "L"});  // at 25
    b.ModuleVar({48, 1, 0, type, 0, 0, 0, "R"});        // at 46
    b.ProcDebug("F", 12, {{1, 4, 4, 0, 0, 0, 0, "P"}, {2, 19, 8, 0, bounds2, 0, 0, "Q"}});
    b.StringConst("ABC");                               // head 0, text 12
    b.StringAlias(13, 2);                               // head 15: "BC"
    (void)slot0;

    CgState st;
    st.moduleFile = "MAIN.BAS";
    st.opt.debugInfo = 1;
    test::LoadIr(st, b);
    InitCodeGen(st);
    BuildDataSections(st);

    const uint32_t commonC = GetU32(st.tables[ifile::kCommonVarTable].data() + 4 + 2);
    const uint32_t commonCA = GetU32(st.tables[ifile::kCommonVarTable].data() + 25 + 2);
    EXPECT_EQ(st.obj.symbols[commonC][8], 24) << "a common block's value is its size";
    auto sym = [&](SectionId id) { return st.sec[id].symbol; };
    const uint32_t ds = sym(kSecDataDs), ad = sym(kSecDataAd);

    ExpectRelocs(st, kSecDataDg, {{6, commonC, 0}, {10, ds, type}, {27, commonCA, 0},
                                  {35, ad, bounds}});
    ExpectRelocs(st, kSecDataDl, {{6, sym(kSecData), 6}, {27, sym(kSecDataAc), slot1},
                                  {35, ad, bounds}, {48, sym(kSecData), 0}, {52, ds, type}});
    // F: head {size, 1, "F", frame, count} = 11 bytes; P at 11, Q at 32.
    ExpectRelocs(st, kSecDataDa, {{32 + 10, ad, bounds2}});
    EXPECT_EQ(GetU32(st.sec[kSecDataDa].image.data() + 11 + 2), uint32_t(4 - 12))
        << "frame offsets relative to the frame pointer";
    // T: head 9 + 1 = 10; X at 10, Y at 31.
    ExpectRelocs(st, kSecDataDs, {{31 + 10, ad, bounds2}});
    ExpectRelocs(st, kSecDataAc, {{12, sym(kSecDataAl), 0}, {16, ad, bounds}});
    EXPECT_EQ(st.sec[kSecDataAc].image[10], 1);
    EXPECT_EQ(st.sec[kSecDataAc].image[11], 1);
    EXPECT_EQ(st.sec[kSecDataAl].Size(), 44u);
    {
        // The arrays' storage is written as zeros at the place its header names,
        // the symbol table right after the last section.
        const std::vector<uint8_t> obj = SerializeObject(st);
        const uint32_t nsec = GetU16(obj.data() + 2);
        bool found = false;
        for (uint32_t i = 0; i < nsec; ++i) {
            const uint8_t *h = obj.data() + kFileHeaderSize + kSectionHeaderSize * i;
            if (std::string(reinterpret_cast<const char *>(h), 8) != ".data$al")
                continue;
            found = true;
            const uint32_t size = GetU32(h + 16), at = GetU32(h + 20);
            ASSERT_EQ(size, 44u);
            ASSERT_LE(at + size, obj.size());
            EXPECT_EQ(std::vector<uint8_t>(obj.begin() + at, obj.begin() + at + size),
                      std::vector<uint8_t>(44, 0));
        }
        EXPECT_TRUE(found);
        EXPECT_EQ(GetU32(obj.data() + 8) + kSymRecordSize * GetU32(obj.data() + 12) + 4 +
                      st.obj.strings.size(),
                  obj.size());
    }
    ExpectRelocs(st, kSecDataAg, {{2, commonCA, 0}, {6, ad, bounds}});
    ExpectRelocs(st, kSecDataCs, {{8, sym(kSecDataCs), 12}, {23, sym(kSecDataCs), 13}});
    ExpectRelocs(st, kSecDataMc, {{4, sym(kSecData), 0}, {8, sym(kSecDataDl), 0}});
}

TEST(DataSections, MainModuleWithoutDebugInformationGetsZeroPlaceholders) {
    IrBuilder b;
    b.CommonVar({1, 2, 0, 0, 0, 4, 0, "N"});
    b.TypeDef("T", 4, {{1, 0, 0, 0, 0, 0, 0, "X"}});
    CgState st;
    st.moduleFile = "MAIN.BAS";
    test::LoadIr(st, b);
    InitCodeGen(st);
    BuildDataSections(st);
    for (SectionId id : {kSecDataAd, kSecDataAg, kSecDataDg, kSecDataDs}) {
        SCOPED_TRACE(SectionName(id));
        EXPECT_EQ(st.sec[id].image, std::vector<uint8_t>(4, 0));
        EXPECT_TRUE(st.sec[id].relocs.empty());
    }
}

TEST(ConstantPool, EqualBytesAreSharedEvenAcrossConstants) {
    CgState st;
    test::InitForEmit(st);
    const uint8_t one[2] = {1, 0};
    const uint8_t big[4] = {0, 2, 0, 0};
    const uint8_t straddle[2] = {0, 0};
    const uint8_t bytes8[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(AddConstant(st, 0, one), 0u);
    EXPECT_EQ(AddConstant(st, 1, big), 2u);
    EXPECT_EQ(AddConstant(st, 0, one), 0u);
    EXPECT_EQ(AddConstant(st, 0, straddle), 1u) << "the INT's high byte and the LNG's low byte";
    EXPECT_EQ(AddConstant(st, 4, big + 1), 3u) << "a BYT 2 inside the LNG";
    EXPECT_EQ(AddConstant(st, 3, bytes8), 6u);
    EXPECT_EQ(AddConstant(st, 18, bytes8 + 2, 3), 8u) << "other types give their size";
    EXPECT_EQ(st.sec[kSecDataCn].image.size(), 14u);
}

} // namespace
} // namespace txcg
