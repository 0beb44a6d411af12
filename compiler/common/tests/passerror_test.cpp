#include "passerror.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Long names are cut to the block's 264 bytes, terminated, and never end
// in the first half of a double-byte character.
TEST(StorePassError, NameIsCutToTheBlock) {
    struct Case {
        const char *what;
        std::string name;
        std::size_t kept;
    } cases[] = {
        {"short", "x.bas", 5},
        {"exactly fits", std::string(263, 'a'), 263},
        {"too long", std::string(1000, 'a'), 263},
        // 262 single bytes then a pair: the pair would end at byte 264.
        {"pair across the end", std::string(262, 'a') + "\x95\x5C" + "b", 262},
        {"pair just fits", std::string(261, 'a') + "\x95\x5C" + "b", 263},
        {"empty", "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CmpFilParam p{};
        std::memset(p.err_text, 'z', sizeof p.err_text);
        tx::StorePassError(p, 11, 0x101, c.name.c_str());
        EXPECT_EQ(p.err_code, 11u);
        EXPECT_EQ(p.err_detail, 0x101u);
        EXPECT_EQ(std::string(p.err_text), c.name.substr(0, c.kept));
    }
    CmpFilParam p{};
    tx::StorePassError(p, 6);
    EXPECT_EQ(p.err_detail, 0u);
    EXPECT_EQ(p.err_text[0], '\0');
}

}  // namespace
