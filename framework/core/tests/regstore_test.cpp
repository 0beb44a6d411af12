#include "regstore.h"

#include <gtest/gtest.h>

using fw::FakeRegistry;
using fw::RegRoot;
using fw::RegType;
using fw::RegValue;

// Damaged values must read as missing so callers keep their defaults.
TEST(RegStore, TypedReadsRefuseDamagedValues) {
    FakeRegistry reg;
    const char* key = "Software\\K";
    reg.WriteDword(RegRoot::CurrentUser, key, "Good", 0x01020304);
    reg.Write(RegRoot::CurrentUser, key, "Short", RegValue{RegType::Dword, {1, 2}});
    reg.WriteString(RegRoot::CurrentUser, key, "Text", "8");
    reg.Write(RegRoot::CurrentUser, key, "NoNul", RegValue{RegType::Sz, {'a', 'b'}});
    reg.Write(RegRoot::CurrentUser, key, "Long", RegValue::String(std::string(300, 'x')));

    EXPECT_EQ(reg.ReadDword(RegRoot::CurrentUser, key, "good"), 0x01020304u);
    EXPECT_FALSE(reg.ReadDword(RegRoot::CurrentUser, key, "Short"));
    EXPECT_FALSE(reg.ReadDword(RegRoot::CurrentUser, key, "Text"));
    EXPECT_FALSE(reg.ReadDword(RegRoot::CurrentUser, key, "Missing"));
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, key, "Text"), "8");
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, key, "NoNul"), "ab");
    EXPECT_FALSE(reg.ReadString(RegRoot::CurrentUser, key, "Long", 260));
    EXPECT_FALSE(reg.ReadString(RegRoot::CurrentUser, key, "Good"));
    EXPECT_FALSE(reg.ReadString(RegRoot::LocalMachine, key, "Text"));
}

TEST(RegStore, FourByteDwordIsLittleEndian) {
    EXPECT_EQ(RegValue::Dword(0x11223344).data, (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(RegValue::String("ab").data, (std::vector<uint8_t>{'a', 'b', 0}));
}

TEST(RegStore, KeysCreateTheirParentsAndIgnoreCase) {
    FakeRegistry reg;
    ASSERT_TRUE(reg.CreateKey(RegRoot::CurrentUser, "Software\\A\\B"));
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, "software\\a"));
    EXPECT_TRUE(reg.KeyExists(RegRoot::CurrentUser, "SOFTWARE\\A\\B\\"));
    EXPECT_FALSE(reg.KeyExists(RegRoot::LocalMachine, "Software\\A"));
    reg.Lock(RegRoot::CurrentUser, "Software\\L");
    EXPECT_FALSE(reg.CreateKey(RegRoot::CurrentUser, "Software\\L\\Sub"));
    EXPECT_FALSE(reg.WriteDword(RegRoot::CurrentUser, "Software\\L", "V", 1));
    EXPECT_TRUE(reg.CreateKey(RegRoot::CurrentUser, "Software\\Lx"));
}
