// Programs of each statement group, compiled from intermediate files, linked
// against the runtime subset and run: the output must be exact.
#include <gtest/gtest.h>

#include "program_kit.h"

namespace txcg::test {
namespace {

#define REQUIRE_RUNNER()                                                                           \
    if (!CanRun())                                                                                 \
    GTEST_SKIP() << "no runtime library or runner in this build"

void ExpectRun(const IrBuilder &ir, const std::string &name, const std::string &expected,
               uint32_t cf = 1, uint32_t co = 0) {
    RunResult r = BuildAndRun(ir, name, cf, co);
    ASSERT_TRUE(r.compiled) << r.error;
    EXPECT_EQ(r.status, 0) << r.error;
    EXPECT_EQ(r.output, expected) << r.error;
}

TEST(Programs, Smoke) {
    REQUIRE_RUNNER();
    Program p;
    Bytes a = p.Var(t8::I);
    p.Line(Let(t8::I, a, E(t8::I, tok::ConstInt(2) + tok::ConstInt(3) + Op(0x13))));
    p.Line(Print(G(t8::I, a)));
    ExpectRun(p.ir, "smoke", " 5 \n");
}

} // namespace
} // namespace txcg::test
