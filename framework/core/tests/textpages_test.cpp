#include "textpages.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

using Pages = std::vector<std::vector<std::string>>;

TEST(TextPages, Layouts) {
    struct Case {
        const char* what;
        std::string text;
        int columns, lines;
        Pages pages;
    } cases[] = {
        {"empty text is one empty page", "", 10, 5, {{""}}},
        {"line ends of three kinds", "a\r\nb\nc\rd", 10, 5, {{"a", "b", "c", "d"}}},
        {"a last line end adds no line", "a\r\n", 10, 5, {{"a"}}},
        {"empty lines stay", "a\r\n\r\nb", 10, 5, {{"a", "", "b"}}},
        {"tabs to stops of 8", "ab\tc\t\td", 40, 5, {{"ab      c               d"}}},
        {"wrap at the width", "abcdefgh", 3, 5, {{"abc", "def", "gh"}}},
        {"a double-byte character is not split", "ab\x89\xF0\x90\xCD", 3, 5,
         {{"ab", "\x89\xF0", "\x90\xCD"}}},
        {"a tab that does not fit becomes the line break", "abc\tx", 5, 5, {{"abc", "x"}}},
        {"pages", "1\n2\n3\n4\n5", 10, 2, {{"1", "2"}, {"3", "4"}, {"5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LayoutTextPages(c.text, c.columns, c.lines), c.pages);
    }
}

}  // namespace
}  // namespace fw
