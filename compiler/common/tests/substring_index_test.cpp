#include "substring_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Hit {
    bool found;
    uint32_t id, pos;
};

// The search the index stands in for: text by text, find() in each.
Hit Scan(const std::vector<std::string> &texts, const std::string &s) {
    for (size_t i = 0; i < texts.size(); ++i) {
        size_t pos = texts[i].find(s);
        if (pos != std::string::npos)
            return {true, uint32_t(i), uint32_t(pos)};
    }
    return {false, 0, 0};
}

Hit Look(const tx::SubstringIndex &index, const std::string &s) {
    Hit h{false, 0, 0};
    h.found = index.Find(reinterpret_cast<const uint8_t *>(s.data()), s.size(), h.id, h.pos);
    return h;
}

void Add(tx::SubstringIndex &index, const std::string &s) {
    index.Extend(reinterpret_cast<const uint8_t *>(s.data()), s.size());
}

void ExpectSame(const tx::SubstringIndex &index, const std::vector<std::string> &texts,
                const std::string &s) {
    SCOPED_TRACE("looking for \"" + s + "\" among " + std::to_string(texts.size()) + " texts");
    const Hit want = Scan(texts, s), got = Look(index, s);
    ASSERT_EQ(got.found, want.found);
    if (want.found) {
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.pos, want.pos);
    }
}

} // namespace

TEST(SubstringIndex, FirstTextAndFirstPlaceLikeASearchTextByText) {
    struct Case {
        std::vector<std::string> texts;
        std::vector<std::string> lookups;
    };
    const Case cases[] = {
        {{}, {"", "a"}},
        {{""}, {"", "a"}},
        {{"abcabc", "xabcx"}, {"abc", "cab", "bcx", "abcabc", "x", "", "abcabcx", "ca"}},
        {{"aaaa", "aaaaa", "baaa"}, {"aaaaa", "aaaaaa", "ba", "aab", "a"}},
        {{"s0", "s1", "s10", "1s"}, {"s", "1", "s1", "10", "1s", "0s"}},
        {{std::string("\0\x01\x00", 3), std::string("\x01\x00\x02", 3)},
         {std::string("\x00", 1), std::string("\x01\x00", 2), std::string("\x00\x02", 2)}},
    };
    for (const Case &c : cases) {
        tx::SubstringIndex index;
        for (size_t i = 0; i < c.texts.size(); ++i) {
            index.Begin(uint32_t(i));
            Add(index, c.texts[i]);
        }
        for (const std::string &s : c.lookups)
            ExpectSame(index, c.texts, s);
    }
}

// Random texts over a small alphabet repeat themselves often; every
// substring of every text and random strings beside them must be found
// where the scan finds them, after each text is added. Half the runs grow
// one text piece by piece, as the constant pool does.
TEST(SubstringIndex, RandomTextsAgreeWithTheScan) {
    std::mt19937 rng(12);
    for (int run = 0; run < 40; ++run) {
        const bool oneText = run % 2 == 1;
        const int alphabet = 2 + run % 3;
        auto randomString = [&](size_t maxLen) {
            std::string s(rng() % (maxLen + 1), 'a');
            for (char &ch : s)
                ch = char('a' + rng() % alphabet);
            return s;
        };
        tx::SubstringIndex index;
        std::vector<std::string> texts;
        for (int n = 0; n < 30; ++n) {
            const std::string t = randomString(12);
            if (oneText) {
                if (texts.empty()) {
                    texts.emplace_back();
                    index.Begin(0);
                }
                texts[0] += t;
            } else {
                index.Begin(uint32_t(texts.size()));
                texts.push_back(t);
            }
            Add(index, t);
            const std::string &last = texts.back();
            for (size_t i = 0; i < last.size(); ++i)
                for (size_t len = 1; i + len <= last.size() && len <= 8; ++len)
                    ExpectSame(index, texts, last.substr(i, len));
            for (int k = 0; k < 20; ++k)
                ExpectSame(index, texts, randomString(10));
        }
    }
}
