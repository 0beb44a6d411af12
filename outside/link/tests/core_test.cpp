// The linker core on two small objects made byte by byte here: relocated
// fields, section grouping, commons and the export table checked against
// values worked out by hand from the layout rules (base 0x400000, sections
// at 0x1000 steps, .data$a before .data$b).
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lk_input.h"
#include "lk_link.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
uint32_t Get32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Get16(const Bytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

struct Sec {
    const char* name;
    uint32_t characteristics;
    Bytes data;
    std::vector<txlink::Reloc> relocs;
};
struct Sym {
    const char* name; // at most 8 characters
    uint32_t value;
    int16_t section;
    uint8_t storageClass;
};

// An object file in the published layout: header, section headers, data
// and relocations, symbols, an empty string table.
Bytes MakeObject(const std::vector<Sec>& secs, const std::vector<Sym>& syms) {
    Bytes b(20 + 40 * secs.size(), 0);
    Put16(b, 0, 0x014C);
    Put16(b, 2, uint16_t(secs.size()));
    for (size_t i = 0; i < secs.size(); ++i) {
        const size_t h = 20 + 40 * i;
        std::memcpy(&b[h], secs[i].name, std::strlen(secs[i].name));
        Put32(b, h + 16, uint32_t(secs[i].data.size()));
        Put32(b, h + 20, uint32_t(b.size()));
        b.insert(b.end(), secs[i].data.begin(), secs[i].data.end());
        Put32(b, h + 24, uint32_t(b.size()));
        Put16(b, h + 32, uint16_t(secs[i].relocs.size()));
        Put32(b, h + 36, secs[i].characteristics);
        for (const txlink::Reloc& r : secs[i].relocs) {
            b.resize(b.size() + 10);
            Put32(b, b.size() - 10, r.offset);
            Put32(b, b.size() - 6, r.symbol);
            Put16(b, b.size() - 2, r.type);
        }
    }
    Put32(b, 8, uint32_t(b.size()));
    Put32(b, 12, uint32_t(syms.size()));
    for (const Sym& s : syms) {
        Bytes rec(18, 0);
        std::memcpy(rec.data(), s.name, std::strlen(s.name));
        Put32(rec, 8, s.value);
        Put16(rec, 12, uint16_t(s.section));
        rec[16] = s.storageClass;
        b.insert(b.end(), rec.begin(), rec.end());
    }
    b.insert(b.end(), {4, 0, 0, 0});
    return b;
}

constexpr uint32_t kCode = 0x60100020;   // code, align 1
constexpr uint32_t kData4 = 0xC0300040;  // data, align 4
constexpr uint32_t kData1 = 0xC0100040;  // data, align 1
constexpr uint32_t kInfo = 0x00100A00;   // directives

TEST(LinkCore, RelocationsLayoutCommonsAndExports) {
    // call _f; mov eax, [.data$b + 4]; ret
    const Bytes a = MakeObject(
        {{".text", kCode, {0xE8, 0, 0, 0, 0, 0xA1, 4, 0, 0, 0, 0xC3}, {{1, 1, txlink::kRelRel32}, {6, 2, txlink::kRelDir32}}},
         {".data$b", kData4, {'B', 'B', 'B', 'B'}, {}},
         {".data$a", kData1, {'A', 'A'}, {}}},
        {{"$Start", 0, 1, 2}, {"_f", 0, 0, 2}, {".data$b", 0, 2, 3}, {"_c", 8, 0, 2}});
    const std::string drectve = "-export:F=_f -aligncomm:_c,4 ";
    const Bytes b = MakeObject({{".text", kCode, {0xC3}, {}},
                                {".drectve", kInfo, Bytes(drectve.begin(), drectve.end()), {}}},
                               {{"_f", 0, 1, 2}, {"_c", 4, 0, 2}});

    txlink::LinkInputs in;
    for (const Bytes* obj : {&a, &b}) {
        txlink::ObjectFile o;
        std::string error;
        ASSERT_TRUE(txlink::ReadObject(*obj, o, error)) << error;
        o.name = obj == &a ? "A.obj" : "B.obj";
        in.objects.push_back(o);
    }
    txlink::LinkOptions opt;
    opt.output = "T.exe";
    opt.entry = "$Start";
    txlink::LinkResult res = txlink::Link(opt, in);
    ASSERT_TRUE(res.ok) << (res.messages.empty() ? "" : res.messages[0]);
    const Bytes& img = res.image;

    const uint32_t pe = Get32(img, 0x3C);
    ASSERT_EQ(Get32(img, pe), 0x00004550u);
    EXPECT_EQ(Get32(img, pe + 8), 0u); // time stamp
    const size_t opth = pe + 24;
    EXPECT_EQ(Get32(img, opth + 16), 0x1000u); // entry: $Start, first in .text
    EXPECT_EQ(Get32(img, opth + 28), 0x400000u);
    EXPECT_EQ(Get16(img, opth + 68), 2); // windows subsystem

    struct Want {
        const char* name;
        uint32_t rva, virtualSize;
    };
    const Want want[] = {{".text", 0x1000, 12}, {".data", 0x2000, 8}, {".bss", 0x3000, 8}, {".edata", 0x4000, 0}};
    ASSERT_EQ(Get16(img, pe + 6), 4);
    const size_t sh = opth + Get16(img, pe + 20);
    std::vector<uint32_t> raw;
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(want[i].name);
        const size_t h = sh + 40 * i;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&img[h])), want[i].name);
        EXPECT_EQ(Get32(img, h + 12), want[i].rva);
        if (want[i].virtualSize) {
            EXPECT_EQ(Get32(img, h + 8), want[i].virtualSize);
        }
        raw.push_back(Get32(img, h + 20));
    }
    // _f (B's .text) at 0x40100B: call 0x40100B from 0x401005 is +6;
    // .data$b lands at 0x402004 after .data$a, so [.data$b + 4] is 0x402008.
    const Bytes text(img.begin() + raw[0], img.begin() + raw[0] + 12);
    EXPECT_EQ(text, (Bytes{0xE8, 6, 0, 0, 0, 0xA1, 0x08, 0x20, 0x40, 0x00, 0xC3, 0xC3}));
    const Bytes data(img.begin() + raw[1], img.begin() + raw[1] + 8);
    EXPECT_EQ(data, (Bytes{'A', 'A', 0, 0, 'B', 'B', 'B', 'B'}));
    EXPECT_EQ(raw[2], 0u); // .bss has no file data

    // Export directory: one name, "F", bound to _f.
    const size_t ed = raw[3];
    EXPECT_EQ(Get32(img, opth + 96), 0x4000u);
    EXPECT_EQ(Get32(img, ed + 20), 1u);
    EXPECT_EQ(Get32(img, ed + 24), 1u);
    EXPECT_EQ(Get32(img, ed + Get32(img, ed + 28) - 0x4000), 0x100Bu);
    EXPECT_STREQ(reinterpret_cast<const char*>(&img[ed + Get32(img, ed + 12) - 0x4000]), "T.exe");
    EXPECT_STREQ(reinterpret_cast<const char*>(&img[ed + Get32(img, ed + Get32(img, ed + 32) - 0x4000) - 0x4000]), "F");
}

TEST(LinkCore, UnresolvedSymbolGivesNoImage) {
    const Bytes a = MakeObject({{".text", kCode, {0xE8, 0, 0, 0, 0}, {{1, 1, txlink::kRelRel32}}}},
                               {{"$Start", 0, 1, 2}, {"_gone", 0, 0, 2}});
    txlink::LinkInputs in;
    txlink::ObjectFile o;
    std::string error;
    ASSERT_TRUE(txlink::ReadObject(a, o, error)) << error;
    o.name = "A.obj";
    in.objects.push_back(o);
    txlink::LinkOptions opt;
    opt.output = "T.exe";
    opt.entry = "$Start";
    txlink::LinkResult res = txlink::Link(opt, in);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.image.empty());
    ASSERT_EQ(res.messages.size(), 2u);
    EXPECT_EQ(res.messages[0], "A.obj : error LNK2001: unresolved external symbol _gone");
    EXPECT_EQ(res.messages[1], "T.exe : fatal error LNK1120: 1 unresolved externals");
}

TEST(LinkCore, FileNamePartOfAPath) {
    struct Case {
        const char* path;
        size_t start;
    };
    const Case cases[] = {
        {"MAIN.obj", 0}, {"C:MAIN.obj", 2}, {"C:\\PROJ\\MAIN.obj", 8}, {"a.rc/b/MAIN.obj", 7},
#ifdef _WIN32
        {"\x95\x5C\\MAIN.obj", 3}, {"\x95\x5C.obj", 0}, {"C:\\\x95\x5C\x95\x5C.LIB", 3},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(txlink::FileNameStart(c.path), c.start);
    }
}

} // namespace
