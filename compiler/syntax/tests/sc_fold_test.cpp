// Folding of constant operators, the converters of the constant check and
// the status-to-error mapping, against values worked out by hand.
#include <gtest/gtest.h>

#include "sc_fold.h"
#include "sc_rules.h"

namespace {

using txsc::Cst;
using txsc::FoldBinary;
using txsc::FoldUnary;

std::string Show(const Cst &c) {
    switch (c.type) {
    case 2: return "SNG " + std::to_string(c.s);
    case 3: return "DBL " + std::to_string(c.d);
    default: return "type " + std::to_string(c.type) + " " + std::to_string(c.l);
    }
}

TEST(ScFold, BinaryOperators) {
    struct Case {
        const char *what;
        Cst a;
        uint8_t op;
        Cst b;
        uint8_t status;
        Cst result;
    } cases[] = {
        {"32767 + 1 widens to LNG", Cst::Int(32767), 19, Cst::Int(1), 0, Cst::Lng(32768)},
        {"2147483647 + 1 widens to DBL", Cst::Lng(2147483647), 19, Cst::Int(1), 0, Cst::Dbl(2147483648.0)},
        {"-32768 - 1", Cst::Int(-32768), 20, Cst::Int(1), 0, Cst::Lng(-32769)},
        {"200 * 200 is LNG", Cst::Int(200), 21, Cst::Int(200), 0, Cst::Lng(40000)},
        {"65536 * 65536 is DBL", Cst::Lng(65536), 21, Cst::Lng(65536), 0, Cst::Dbl(4294967296.0)},
        {"6 / 3 is INT 2", Cst::Int(6), 22, Cst::Int(3), 0, Cst::Int(2)},
        {"7 / 2 is SNG 3.5", Cst::Int(7), 22, Cst::Int(2), 0, Cst::Sng(3.5f)},
        {"1 / 0", Cst::Int(1), 22, Cst::Int(0), 70, Cst{}},
        {"-32768 / -1 is LNG", Cst::Int(-32768), 22, Cst::Int(-1), 0, Cst::Lng(32768)},
        {"7 \\ -2 truncates", Cst::Int(7), 23, Cst::Int(-2), 0, Cst::Int(-3)},
        {"-32768 \\ -1 is LNG", Cst::Int(-32768), 23, Cst::Int(-1), 0, Cst::Lng(32768)},
        {"LNG min \\ -1 overflows", Cst::Lng(INT32_MIN), 23, Cst::Lng(-1), 60, Cst{}},
        {"LNG min MOD -1 overflows", Cst::Lng(INT32_MIN), 24, Cst::Lng(-1), 60, Cst{}},
        {"DBL -2147483648 \\ -1 overflows", Cst::Dbl(-2147483648.0), 23, Cst::Int(-1), 60, Cst{}},
        {"5 MOD 0", Cst::Int(5), 24, Cst::Int(0), 70, Cst{}},
        {"-7 MOD 3 keeps the dividend's sign", Cst::Int(-7), 24, Cst::Int(3), 0, Cst::Int(-1)},
        {"7.5 MOD 2 rounds to LNG first", Cst::Sng(7.5f), 24, Cst::Int(2), 0, Cst::Lng(0)},
        {"INT + SNG is SNG", Cst::Int(1), 19, Cst::Sng(0.5f), 0, Cst::Sng(1.5f)},
        {"LNG + SNG is DBL", Cst::Lng(1), 19, Cst::Sng(0.5f), 0, Cst::Dbl(1.5)},
        {"SNG overflow is redone in DBL", Cst::Sng(3e38f), 21, Cst::Sng(10.0f), 0, Cst::Dbl(double(3e38f) * 10.0)},
        {"DBL overflow", Cst::Dbl(1e308), 21, Cst::Dbl(10.0), 60, Cst{}},
        {"2 ^ 3 of INTs is SNG", Cst::Int(2), 18, Cst::Int(3), 0, Cst::Sng(8.0f)},
        {"comparison yields INT -1", Cst::Int(2), 34, Cst::Int(3), 0, Cst::Int(-1)},
        {"comparison yields INT 0", Cst::Sng(2.0f), 32, Cst::Int(3), 0, Cst::Int(0)},
        {"AND bitwise", Cst::Int(12), 49, Cst::Int(10), 0, Cst::Int(8)},
        {"EQV", Cst::Int(12), 52, Cst::Int(10), 0, Cst::Int(~6)},
        {"IMP", Cst::Int(0), 53, Cst::Int(0), 0, Cst::Int(-1)},
        {"unknown operator", Cst::Int(1), 40, Cst::Int(1), 11, Cst{}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Cst a = c.a;
        EXPECT_EQ(FoldBinary(c.op, a, c.b), c.status);
        if (c.status == 0) { EXPECT_TRUE(a == c.result) << Show(a) << " want " << Show(c.result); }
    }
}

TEST(ScFold, StringOperandIsATypeMismatch) {
    Cst s;
    s.type = 16;
    Cst a = Cst::Int(1);
    EXPECT_EQ(FoldBinary(19, a, s), 13);
}

TEST(ScFold, Negation) {
    struct Case {
        const char *what;
        Cst a;
        uint8_t op;
        Cst result;
    } cases[] = {
        {"-(-32768) is LNG 32768", Cst::Int(-32768), 0x11, Cst::Lng(32768)},
        {"-(LNG min) is DBL", Cst::Lng(INT32_MIN), 0x11, Cst::Dbl(2147483648.0)},
        {"-(2.5)", Cst::Dbl(2.5), 0x11, Cst::Dbl(-2.5)},
        {"NOT 0", Cst::Int(0), 0x30, Cst::Int(-1)},
        {"NOT 1.4 rounds to LNG", Cst::Sng(1.4f), 0x30, Cst::Lng(-2)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Cst a = c.a;
        EXPECT_EQ(FoldUnary(c.op, a), 0);
        EXPECT_TRUE(a == c.result) << Show(a);
    }
    Cst a = Cst::Int(1);
    EXPECT_EQ(FoldUnary(0x22, a), 87);
}

// The converter table of the operand constant check.
TEST(ScFold, Converters) {
    struct Case {
        const char *what;
        Cst in;
        uint8_t target;
        uint8_t status;
        Cst out;
    } cases[] = {
        {"INT to byte", Cst::Int(255), 4, 0, Cst::Byt(255)},
        {"INT 256 to byte", Cst::Int(256), 4, 60, Cst{}},
        {"INT -1 to byte", Cst::Int(-1), 4, 60, Cst{}},
        {"LNG 70000 to INT", Cst::Lng(70000), 0, 60, Cst{}},
        {"LNG -32768 to INT", Cst::Lng(-32768), 0, 0, Cst::Int(-32768)},
        {"LNG 65535 to word", Cst::Lng(65535), 8, 0, Cst::Int(-1)},
        {"LNG -32769 to word", Cst::Lng(-32769), 8, 60, Cst{}},
        {"INT to LNG", Cst::Int(-5), 1, 0, Cst::Lng(-5)},
        {"INT to LNG (second set)", Cst::Int(7), 9, 0, Cst::Lng(7)},
        {"byte to INT zero-extends", Cst::Byt(200), 0, 0, Cst::Int(200)},
        {"INT to SNG", Cst::Int(3), 2, 0, Cst::Sng(3.0f)},
        {"SNG to DBL", Cst::Sng(0.5f), 3, 0, Cst::Dbl(0.5)},
        {"DBL to SNG overflows", Cst::Dbl(1e300), 2, 60, Cst{}},
        {"DBL 2.5 to INT rounds to even", Cst::Dbl(2.5), 0, 0, Cst::Int(2)},
        {"SNG 1e10 to LNG", Cst::Sng(1e10f), 1, 60, Cst{}},
        {"DBL 255.4 to byte", Cst::Dbl(255.4), 4, 0, Cst::Byt(255)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Cst v = c.in;
        EXPECT_EQ(txsc::ConvertConst(v, c.target), c.status);
        if (c.status == 0) { EXPECT_TRUE(v == c.out) << Show(v); }
    }
    Cst s;
    s.type = 16;
    EXPECT_EQ(txsc::ConvertConst(s, 0), 73);
}

// Status byte to error word, range by range.
TEST(ScRules, StatusToErrorWord) {
    struct Range {
        int lo, hi, error;
    } ranges[] = {{0, 0, 0},      {1, 3, 1},      {4, 57, 2},     {58, 58, 5},    {59, 60, 6},
                  {61, 62, 0},    {63, 63, 9},    {64, 67, 10},   {68, 69, 0},    {70, 70, 11},
                  {71, 74, 13},   {75, 78, 0},    {79, 79, 18},   {80, 82, 22},   {83, 83, 0},
                  {84, 84, 23},   {85, 85, 24},   {86, 86, 25},   {87, 92, 27},   {93, 94, 0},
                  {95, 95, 28},   {96, 99, 29},   {100, 101, 0},  {102, 102, 30}, {103, 103, 31},
                  {104, 104, 38}, {105, 106, 39}, {107, 118, 76}, {119, 120, 82}, {121, 121, 85},
                  {122, 124, 89}, {125, 125, 90}};
    const txsc::RuleProgram &g = txsc::Grammar();
    int covered = 0;
    for (const Range &r : ranges) {
        for (int s = r.lo; s <= r.hi; ++s, ++covered) {
            SCOPED_TRACE(s);
            uint16_t want = r.error ? uint16_t(s << 8 | r.error) : 0;
            const txsc::RuleEntry &e = g.rules[g.status[s]];
            EXPECT_EQ(e.op, txsc::op::kEnd);
            EXPECT_EQ(uint16_t(e.a | e.b << 8), want);
        }
    }
    EXPECT_EQ(covered, 126);
}

}  // namespace
