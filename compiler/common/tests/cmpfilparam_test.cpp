#include "cmpfilparam.h"

#include <gtest/gtest.h>

// The passes rely on a zeroed block meaning "nothing given".
TEST(CmpFilParam, ValueInitialisedBlockIsEmpty) {
    CmpFilParam p{};
    EXPECT_EQ(p.TMP, 0u);
    EXPECT_EQ(p.I_path[0], nullptr);
    EXPECT_EQ(p.err_text[0], '\0');
    EXPECT_EQ(sizeof p.err_text, 264u);
}
