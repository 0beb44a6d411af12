#include "idesettings.h"

#include <gtest/gtest.h>

using namespace tambrix;
using fw::RegRoot;
using fw::RegType;
using fw::RegValue;

namespace {

struct Settings : ::testing::Test {
    fw::FakeRegistry reg;
    const Rect desktop{0, 0, 1024, 768};
    void SeedMachine() {
        reg.WriteString(RegRoot::LocalMachine, kEnvKey, "Tambrix", "C:\\TX\\");
        reg.WriteString(RegRoot::LocalMachine, kEnvKey, "Bin", "C:\\TX\\BIN");
        reg.WriteString(RegRoot::LocalMachine, kEnvKey, "Project", "C:\\PRJ");
    }
    void General(const char* name, uint32_t v) { reg.WriteDword(RegRoot::CurrentUser, kGeneralKey, name, v); }
};

}  // namespace

TEST_F(Settings, RecentListSizeTakesOnlyAGoodDword) {
    struct Case { const char* what; std::optional<RegValue> value; int size; } cases[] = {
        {"missing", std::nullopt, 4},
        {"3", RegValue::Dword(3), 4},
        {"4", RegValue::Dword(4), 4},
        {"16", RegValue::Dword(16), 16},
        {"17", RegValue::Dword(17), 4},
        {"8", RegValue::Dword(8), 8},
        {"REG_SZ 8", RegValue::String("8"), 4},
        {"two bytes", RegValue{RegType::Dword, {8, 0}}, 4},
        {"-1", RegValue::Dword(0xFFFFFFFF), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fw::FakeRegistry r;
        if (c.value)
            r.Write(RegRoot::CurrentUser, kUserEnvKey, "RecentFileList", *c.value);
        EXPECT_EQ(RecentListSize(r), c.size);
    }
}

TEST_F(Settings, WithoutMachineKeysTheRestoreFails) {
    FrameSettings s;
    EXPECT_FALSE(ReadFrameSettings(reg, s));
    reg.CreateKey(RegRoot::LocalMachine, kProductKey);  // the product key without "Env"
    EXPECT_FALSE(ReadFrameSettings(reg, s));
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, kUserEnvKey));
}

TEST_F(Settings, FirstStartMakesTheUserKeys) {
    SeedMachine();
    FrameSettings s;
    ASSERT_TRUE(ReadFrameSettings(reg, s));
    EXPECT_EQ(s.machineBin, "C:\\TX\\BIN");
    EXPECT_EQ(s.projectFolder, "C:\\PRJ");
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, kUserEnvKey, "Project"), "C:\\PRJ");
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, kUserEnvKey, "Bin"), "");
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, kGeneralKey));
    EXPECT_TRUE(s.saveGeneral);
    EXPECT_FALSE(s.smallBitmap);

    // Main frame at 0,0 across the desktop (its height is trimmed to the bars
    // later); the project frame below it.
    EXPECT_EQ(MainFrameRect(s, desktop), (Rect{0, 0, 1024, 1536}));
    EXPECT_EQ(ProjectFrameRect(s, desktop, 90), (Rect{0, 91, 1024, 768}));
    EXPECT_EQ(PropertyRect(s, desktop, 90), (Rect{768, 91, 1024, 768}));
}

TEST_F(Settings, LockedUserKeyFailsTheRestore) {
    SeedMachine();
    reg.Lock(RegRoot::CurrentUser, kUserEnvKey);
    FrameSettings s;
    EXPECT_FALSE(ReadFrameSettings(reg, s));
}

TEST_F(Settings, UserValuesAndDamagedOnes) {
    SeedMachine();
    reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "Project", "D:\\MINE");
    reg.WriteDword(RegRoot::CurrentUser, kUserEnvKey, "ExeModel", 1);  // not 0, 2 or 3
    reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "InsertMode", "1");  // wrong type
    reg.Write(RegRoot::CurrentUser, kGeneralKey, "SmallBitmap", RegValue{RegType::Binary, {0}});
    General("SaveGeneral", 0);
    reg.WriteString(RegRoot::CurrentUser, kGeneralKey, "MfWinX", "100");  // wrong type: default
    FrameSettings s;
    ASSERT_TRUE(ReadFrameSettings(reg, s));
    EXPECT_EQ(s.projectFolder, "D:\\MINE");
    EXPECT_FALSE(s.exeModel);
    EXPECT_FALSE(s.insertModeShared);
    EXPECT_TRUE(s.smallBitmap);
    EXPECT_FALSE(s.saveGeneral);
    EXPECT_FALSE(s.mfX);

    reg.WriteDword(RegRoot::CurrentUser, kUserEnvKey, "ExeModel", 3);
    ASSERT_TRUE(ReadFrameSettings(reg, s));
    EXPECT_EQ(s.exeModel, 3);
}

TEST_F(Settings, StoredRectangles) {
    SeedMachine();
    struct Case {
        const char* what;
        uint32_t x, y, cx, cy;
        Rect main;
    } cases[] = {
        {"inside", 10, 20, 500, 80, {10, 20, 510, 180}},
        {"corner off the desktop", 2000, 20, 500, 80, {0, 0, 1024, 1536}},
        {"far corner outside", 10, 20, 5000, 80, {10, 20, 1024, 1516}},
        {"negative width", 10, 20, 0xFFFFFF00, 80, {10, 20, 1024, 1516}},
        {"width wrapping past 2^31", 10, 20, 0x7FFFFFFF, 80, {10, 20, 1024, 1516}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        General("MfWinX", c.x);
        General("MfWinY", c.y);
        General("MfWinCx", c.cx);
        General("MfWinCy", c.cy);
        FrameSettings s;
        ASSERT_TRUE(ReadFrameSettings(reg, s));
        EXPECT_EQ(MainFrameRect(s, desktop), c.main);
    }

    // The project frame: stored values, then damaged ones.
    struct PfCase {
        const char* what;
        uint32_t x, y, cx, cy;
        Rect rect;
    } pf[] = {
        {"inside", 5, 100, 600, 400, {5, 100, 605, 500}},
        {"corner off the desktop", 0x80000000u, 100, 600, 400, {0, 51, 600, 451}},
        {"below the desktop", 5, 5000, 600, 400, {0, 51, 600, 451}},
        {"no width", 5, 100, 0, 400, {5, 100, 1024, 500}},
        {"absurd height", 5, 100, 600, 0x7FFFFFFF, {5, 100, 605, 768}},
    };
    for (const auto& c : pf) {
        SCOPED_TRACE(c.what);
        General("PfWinX", c.x);
        General("PfWinY", c.y);
        General("PfWinCx", c.cx);
        General("PfWinCy", c.cy);
        FrameSettings s;
        ASSERT_TRUE(ReadFrameSettings(reg, s));
        EXPECT_EQ(ProjectFrameRect(s, desktop, 50), c.rect);
    }

    General("PropShow", 1);
    General("PropX", 100);
    General("PropY", 100);
    General("PropCx", 200);
    General("PropCy", 300);
    FrameSettings s;
    ASSERT_TRUE(ReadFrameSettings(reg, s));
    EXPECT_EQ(PropertyRect(s, desktop, 50), (Rect{100, 100, 300, 400}));
    General("PropX", 1100);  // beyond the desktop: the default
    ASSERT_TRUE(ReadFrameSettings(reg, s));
    EXPECT_EQ(PropertyRect(s, desktop, 50), (Rect{768, 51, 1024, 768}));
}

TEST(SavePath, SplitIntoDriveAndFolder) {
    struct Case { const char* path; const char* drive; const char* folder; } cases[] = {
        {"C:\\WORK\\", "C:", "\\WORK\\"},
        {"C:\\", "C:", "\\\\"},
        {"D:\\A\\B", "D:", "\\A\\B"},
        {"\\NODRIVE\\", "", "\\NODRIVE\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SaveDir d = SplitSavePath(c.path);
        EXPECT_EQ(d.drive, c.drive);
        EXPECT_EQ(d.folder, c.folder);
    }
}

TEST_F(Settings, ClosingWritesThePlacement) {
    FrameSaveState st;
    st.mainRect = {0, 0, 1024, 90};
    st.prjRect = {0, 91, 1024, 768};
    st.currentDirectory = "C:\\WORK";
    ASSERT_TRUE(WriteFrameSettings(reg, st));
    auto dw = [&](const char* n) { return reg.ReadDword(RegRoot::CurrentUser, kGeneralKey, n); };
    EXPECT_EQ(dw("SaveGeneral"), 1u);
    EXPECT_EQ(dw("MfWinCx"), 1024u);
    EXPECT_EQ(dw("MfWinCy"), 90u);
    EXPECT_EQ(dw("PfWinY"), 91u);
    EXPECT_EQ(dw("PfWinCy"), 677u);
    EXPECT_EQ(dw("PropShow"), 0u);
    EXPECT_EQ(dw("ToolBarDockInfo"), 5u);
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, kUserEnvKey, "SavePath"), "C:\\WORK\\");

    // A floating bar's frame is written only when the bar is shown and floats.
    struct FloatCase { uint32_t dock; const char* written; const char* notWritten; };
    const FloatCase floats[] = {
        {kStdBarShown | kStdBarFloats | kToolBoxShown, "TeCy", "TrcX"},
        {kStdBarFloats | kToolBoxShown | kToolBoxFloats, "TrcCx", "TeX"},
        {kDebugBarShown | kDebugBarFloats, "TdY", "TeX"},
    };
    for (const auto& c : floats) {
        SCOPED_TRACE(c.dock);
        fw::FakeRegistry rf;
        FrameSaveState fs = st;
        fs.dockInfo = c.dock;
        fs.stdFloat = fs.toolFloat = fs.debugFloat = {10, 20, 310, 60};
        ASSERT_TRUE(WriteFrameSettings(rf, fs));
        auto v = rf.ReadDword(RegRoot::CurrentUser, kGeneralKey, c.written);
        EXPECT_TRUE(v == 10u || v == 20u || v == 300u || v == 40u);
        EXPECT_FALSE(rf.ReadDword(RegRoot::CurrentUser, kGeneralKey, c.notWritten));
    }

    // Minimised frames keep what was saved before; SaveGeneral 0 writes only itself.
    fw::FakeRegistry r2;
    st.mainMinimised = true;
    st.saveGeneral = false;
    ASSERT_TRUE(WriteFrameSettings(r2, st));
    EXPECT_EQ(r2.ValueCount(RegRoot::CurrentUser, kGeneralKey), 1u);
    EXPECT_FALSE(r2.ReadString(RegRoot::CurrentUser, kUserEnvKey, "SavePath"));

    fw::FakeRegistry r3;
    r3.Lock(RegRoot::CurrentUser, kProductKey);
    EXPECT_FALSE(WriteFrameSettings(r3, st));
}
