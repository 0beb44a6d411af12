// The compiled-resource reader against files made from the .res layouts.
#include <gtest/gtest.h>

#include "designer_fixtures.h"
#include "dsg_resread.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

template <size_t N> std::vector<uint8_t> Bytes(const unsigned char (&a)[N]) { return {a, a + N}; }

TEST(CompiledPath, FromTheScriptName) {
    struct Case { const char *script, *res, *rcOut; } cases[] = {
        {"C:\\work\\app.rc", "C:\\work\\app.res", "C:\\work\\app.res"},
        {"C:\\WORK\\APP.RC", "C:\\WORK\\APP.res", "C:\\WORK\\APP.res"},
        {"C:\\my.rcfiles\\app.rc", "C:\\my.rcfiles\\app.res", "C:\\my.rcfiles\\app.res"},
        {"C:\\work\\app.rc2.rc", "C:\\work\\app.res", "C:\\work\\app.rc2.res"},
        {"C:\\work\\app.txt", "", "C:\\work\\app.res"},
        {".rc", "", ".res"},
    };
    for (auto &c : cases) {
        EXPECT_EQ(CompiledPath(c.script), c.res) << c.script;
        EXPECT_EQ(RcOutputPath(c.script), c.rcOut) << c.script;
    }
}

TEST(ResReader, SixteenBitFileWithVersion) {
    FakeHost host;
    Document doc;
    ASSERT_TRUE(RcLoadCompiled(host, doc, Bytes(kRes16), "C:\\w\\app.rc", "C:\\w"));
    EXPECT_EQ(doc.version, 0x103);
    EXPECT_EQ(doc.converted, 1u);
    ASSERT_EQ(doc.menus.menus.size(), 1u);
    const MenuBlock &m = doc.menus.menus[0].block;
    EXPECT_EQ(m.Name(), "FORMMENU");
    ASSERT_EQ(m.ItemCount(), 4u);
    // A packed record's field is copied: gtest takes values by reference.
    EXPECT_EQ(uint32_t{m.items[1].id}, 2048u);
    EXPECT_EQ(m.items[2].flags & kMfSeparator, kMfSeparator);
    EXPECT_EQ(uint32_t{m.items[2].id}, 32768u);
    EXPECT_EQ(uint32_t{m.items[1].hasShortcut}, 1u);
    EXPECT_EQ(m.items[1].keyFlags, 9);
    EXPECT_EQ(m.items[3].keyFlags, 1) << "the high bit of the last entry is dropped";
    EXPECT_EQ(FieldText(m.items[1].name, 22), "mnuOpen");
    EXPECT_EQ(doc.menus.menus[0].events.Find(2048)->entries[0].proc, "OpenIt");
    EXPECT_EQ(doc.menus.menus[0].events.Find(0)->entries[0].proc, "mnuFile_InitMenu");
    ASSERT_EQ(doc.forms.size(), 1u);
    const Form &f = doc.forms[0];
    ASSERT_EQ(f.table.size(), 2u);
    EXPECT_EQ(f.table[0].style, 0x10CC0000u);
    EXPECT_EQ(f.table[1].style, 0x50010001u);
    EXPECT_EQ(FieldText(f.table[1].name, 22), "OK");
    EXPECT_EQ(host.windows[f.table[1].hwnd].text, "OK");
    EventTable t = f.events;
    EXPECT_EQ(t.Find(3072)->entries[0].proc, "DOOK");
}

TEST(ResReader, OldFilesAndRefusedFiles) {
    FakeHost host;
    {
        Document doc;
        EXPECT_FALSE(RcLoadCompiled(host, doc, Bytes(kRes16Noversion), "C:\\w\\a.rc", "C:\\w"))
            << "version 0x101 has no build step";
        EXPECT_EQ(doc.version, 0x101);
    }
    {
        Document doc;
        ASSERT_TRUE(RcLoadCompiled(host, doc, Bytes(kRes32Noversion), "C:\\w\\a.rc", "C:\\w"));
        EXPECT_EQ(doc.version, 6);
        EXPECT_EQ(doc.converted, 1u);
        EXPECT_TRUE(doc.modified);
        ASSERT_EQ(doc.forms.size(), 1u);
        EXPECT_EQ(FieldText(doc.forms[0].table[0].name, 22), "FORM2");
    }
    {
        // One form that cannot be built fails the load: the next save must
        // not drop it from the script. What was built goes again.
        FakeHost h;
        Document doc;
        EXPECT_FALSE(RcLoadCompiled(h, doc, Bytes(kRes32Badform), "C:\\w\\a.rc", "C:\\w"));
        EXPECT_TRUE(doc.forms.empty());
        EXPECT_EQ(h.messages, std::vector<uint32_t>{kMsgBadParam});
        for (auto &[w, win] : h.windows) EXPECT_FALSE(win.alive) << w;
        EXPECT_TRUE(h.fonts.empty());
    }
    for (auto file : {Bytes(kRes32Bigtype), Bytes(kRes32Longheader)}) {
        Document doc;
        doc.forms.emplace_back();
        EXPECT_FALSE(RcLoadCompiled(host, doc, file, "C:\\w\\a.rc", "C:\\w"));
        EXPECT_EQ(doc.forms.size(), 1u) << "a failed load leaves the document";
    }
}

TEST(ResReader, LongNamesAreCut) {
    Document doc;
    auto file = Bytes(kRes32Longname);
    ASSERT_EQ(ProbeRes(file, doc), ResLayout::Win32);
    KeptEntries kept;
    ASSERT_TRUE(ReadResEntries(file, ResLayout::Win32, doc.version, kept));
    ASSERT_EQ(kept.menus.size(), 1u);
    EXPECT_EQ(kept.menus[0].name, std::string(kLongName).substr(0, 31));
}

TEST(ResReader, KeepingStepLimits) {
    // Seventeen forms and two version entries: sixteen forms and the first version are kept.
    std::vector<uint8_t> file(32, 0);
    file[4] = 32;
    auto entry = [&](const std::string &name, std::vector<uint8_t> data) {
        std::vector<uint8_t> e = {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 10, 0};
        for (char c : name) e.push_back(uint8_t(c)), e.push_back(0);
        e.push_back(0), e.push_back(0);
        while (e.size() % 4) e.push_back(0);
        for (int i = 0; i < 16; ++i) e.push_back(0);
        uint32_t hs = uint32_t(e.size()), ds = uint32_t(data.size());
        for (int i = 0; i < 4; ++i) e[i] = uint8_t(ds >> 8 * i), e[4 + i] = uint8_t(hs >> 8 * i);
        e.insert(e.end(), data.begin(), data.end());
        while (e.size() % 4) e.push_back(0);
        file.insert(file.end(), e.begin(), e.end());
    };
    entry("TX$VERSIONINFO", {'T', 'X', 0, 0, 6, 0, 16, 0});
    entry("V2", {'T', 'X', 0, 0, 5, 0, 16, 0});
    for (int i = 0; i < 17; ++i) entry("F" + std::to_string(i), {'T', 'X', 1, 0, 2, 0});
    entry("OTHER", {'Q', 'X', 1, 0});
    Document doc;
    ASSERT_EQ(ProbeRes(file, doc), ResLayout::Win32);
    EXPECT_EQ(doc.version, 6);
    KeptEntries kept;
    ASSERT_TRUE(ReadResEntries(file, ResLayout::Win32, doc.version, kept));
    EXPECT_EQ(kept.forms.size(), 16u);
    ASSERT_EQ(kept.version.size(), 1u);
    EXPECT_EQ(kept.version[0].name, "TX$VERSIONINFO");
}

// Damaged files: every cut and many flipped bytes; the reader must neither
// crash nor read outside the data (the vector is exactly the file).
TEST(ResReader, DamagedFilesAreRefusedSafely) {
    std::vector<std::vector<uint8_t>> seeds = {Bytes(kRes16), Bytes(kRes32Noversion), Bytes(kRes32Longname)};
    uint32_t rng = 12345;
    auto next = [&] { return rng = rng * 1103515245u + 12345u, rng >> 8; };
    int loaded = 0;
    for (auto &seed : seeds) {
        for (size_t cut = 0; cut < seed.size(); ++cut) {
            FakeHost host;
            Document doc;
            std::vector<uint8_t> f(seed.begin(), seed.begin() + cut);
            loaded += RcLoadCompiled(host, doc, f, "C:\\w\\a.rc", "C:\\w");
        }
        for (int round = 0; round < 2000; ++round) {
            std::vector<uint8_t> f = seed;
            for (int k = 0; k < 1 + int(next() % 4); ++k) f[next() % f.size()] = uint8_t(next());
            FakeHost host;
            Document doc;
            loaded += RcLoadCompiled(host, doc, f, "C:\\w\\a.rc", "C:\\w");
        }
    }
    SUCCEED() << loaded << " damaged files still loaded";
}

}  // namespace
}  // namespace dsg
