#include "errtext.h"

#include <gtest/gtest.h>

#include <map>

using namespace tambrix;

namespace {

// The library answers "M<n>"; string ids answer "S<id>", except the two
// detail texts used below, given as in the string table.
struct FakeTexts : ErrorTextSource {
    bool present = true;
    bool LibraryMessage(uint16_t n, std::string& text) override {
        if (!present)
            return false;
        text = "M" + std::to_string(n);
        return true;
    }
    std::string String(uint32_t id) override { return "S" + std::to_string(id); }
};

}  // namespace

TEST(ErrorText, FormsByFlags) {
    FakeTexts src;
    struct Case {
        unsigned number;
        bool nextLine, detail, whole;
        const char* text;
    } cases[] = {
        {0x0305, true, true, false, "[05] M5"},             // row 3 has no flag
        {0x0305, false, true, false, "[05] M5"},
        {0x0B09, true, true, false, "[09] M9\n(S10009)"},   // row 11: N and P
        {0x0B09, false, true, false, "[09] M9 (S10009)"},
        {0x0B09, true, false, false, "[09] M9"},            // without detail
        {0x0D01, true, true, false, "[01] M1"},             // row 13: P only
        {0x0D01, false, true, false, "[01] M1 (S10011)"},
        {300, true, true, true, "[300] M300"},              // the whole number
        {0x3D07, true, true, false, "[07] M7"},             // row 61 has no text
        {0x7E07, true, true, false, "[07] M7"},             // no row 126
        {0x0007, true, true, false, "[07] M7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        std::string out;
        ASSERT_TRUE(FormatRuntimeErrorText(src, c.number, out, c.nextLine, c.detail, c.whole));
        EXPECT_EQ(out, c.text);
    }
}

TEST(ErrorText, MissingLibraryLeavesTheTextAlone) {
    FakeTexts src;
    src.present = false;
    std::string out = "kept";
    EXPECT_FALSE(FormatRuntimeErrorText(src, 5, out, true, true, false));
    EXPECT_EQ(out, "kept");
}

TEST(ErrorText, TableRowsAreInCodeOrder) {
    for (unsigned code = 1; code <= 125; ++code) {
        SCOPED_TRACE(code);
        ASSERT_EQ(kRuntimeErrorDetailTable[code - 1].code, code);
    }
    EXPECT_EQ(kRuntimeErrorDetailTable[125].code, 0);
    // Spot rows taken from the table by hand.
    EXPECT_EQ(FindErrorDetail(9)->stringId, 10200u);
    EXPECT_EQ(FindErrorDetail(72)->parenthesis, 1u);
    EXPECT_EQ(FindErrorDetail(108)->stringId, 10099u);
    EXPECT_EQ(FindErrorDetail(108)->nextLine, 1u);
    EXPECT_EQ(FindErrorDetail(100)->stringId, 0u);
    EXPECT_EQ(FindErrorDetail(0), nullptr);
}
