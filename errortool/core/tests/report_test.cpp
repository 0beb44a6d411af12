// The report's bytes, value by value, written out by hand from the labels
// and formats the tool must show (this file is compiled to code page 932).
#include "fakes.h"

#include <gtest/gtest.h>

namespace anz::test {
namespace {

using fw::RegRoot;
using fw::RegValue;

void Seed(fw::RegStore& reg, const char* name, const RegValue& v) {
    reg.Write(RegRoot::CurrentUser, kRecordKey, name, v);
}

void SeedComplete(fw::RegStore& reg) {
    Seed(reg, "MODL", RegValue::String("MAIN.BAS"));
    Seed(reg, "LINE", RegValue::Dword(120));
    Seed(reg, "CODE", RegValue::Dword(11));
    Seed(reg, "FUNC", RegValue::Dword(0x4F));
    Seed(reg, "INFO", RegValue::Dword(0xFFFFFFFF));
    Seed(reg, "TIME", RegValue::String("2026/12/11 01:02:03"));
    Seed(reg, "APIERR", RegValue::Dword(0));
    Seed(reg, "EXPI", RegValue::String(""));
    Seed(reg, "MODE", RegValue::String("EXE"));
    Seed(reg, "RTL", RegValue::String("6.30"));
    Seed(reg, "XMODL", RegValue::String("SUB1.SUB"));
    Seed(reg, "XLINE", RegValue::Dword(7));
    Seed(reg, "XMODE", RegValue::String("EXE"));
    Seed(reg, "XRTL", RegValue::String("6.30"));
    Seed(reg, "XADDR", RegValue::Dword(0x00401A2C));
    Seed(reg, "XCODE", RegValue::Dword(0xC0000094));
}

const char kCompleteReport[] =
    "エラー発生時の状況\r\n"
    "\r\n"
    "モジュール名\t= MAIN.BAS\r\n"
    "行番号\t\t= 120\r\n"
    "エラーコード\t= (11)0で除算しました\r\n"
    "内部関数名\t= (4f)$PsLINE_INPUTs\r\n"
    "補足情報値\t= -1\r\n"
    "時刻\t\t= 2026/12/11 01:02:03\r\n"
    "APIエラー\t= 0\r\n"
    "付加情報\t= \r\n"
    "実行形式\t= EXE\r\n"
    "バージョン\t= 6.30\r\n"
    "\r\n"
    "例外発生時の状況\r\n"
    "\r\n"
    "最後に実行したモジュール\t= SUB1.SUB\r\n"
    "最後に実行した行\t\t= 7\r\n"
    "実行形式\t\t\t= EXE\r\n"
    "バージョン\t\t\t= 6.30\r\n"
    "例外発生アドレス\t\t= 401a2c\r\n"
    "例外コード\t\t\t= c0000094\r\n";

TEST(Report, CompleteRecordGivesTheWholeReport) {
    fw::FakeRegistry reg;
    SeedComplete(reg);
    FakeMessages msgs;
    msgs.texts[11] = "0で除算しました";
    auto report = BuildReport(reg, msgs);
    ASSERT_TRUE(report);
    EXPECT_EQ(*report, kCompleteReport);
    EXPECT_EQ(msgs.asked, std::vector<uint32_t>{11}) << "only CODE asks the library";
}

TEST(Report, NoKeyGivesNoReport) {
    fw::FakeRegistry reg;
    FakeMessages msgs;
    EXPECT_FALSE(BuildReport(reg, msgs));
    reg.CreateKey(RegRoot::CurrentUser, kRecordKey);
    auto empty = BuildReport(reg, msgs);
    ASSERT_TRUE(empty) << "an empty key is a record whose values are all missing";
    EXPECT_NE(empty->find("\r\n例外コード\t\t\t= \r\n"), std::string::npos);
}

// The line of one value after the record was seeded with v (or nothing).
std::string LineOf(const char* name, std::optional<RegValue> v, FakeMessages& msgs) {
    fw::FakeRegistry reg;
    SeedComplete(reg);
    if (v)
        Seed(reg, name, *v);
    else
        reg.DeleteValue(RegRoot::CurrentUser, kRecordKey, name);
    std::string report = *BuildReport(reg, msgs);
    for (const RecordValue& rv : kRecordValues) {
        if (std::string(rv.name) != name)
            continue;
        size_t at = report.find(rv.label);
        // Labels repeat between the blocks ("バージョン\t"): take the one
        // whose block holds this value.
        if (&rv - kRecordValues >= kErrorBlockSize)
            at = report.find(rv.label, report.find("例外発生時の状況"));
        size_t end = report.find("\r\n", at);
        return report.substr(at, end - at);
    }
    return "?no such value";
}

TEST(Report, EachValueShownOrItsLabelAlone) {
    RegValue shortDword;
    shortDword.type = fw::RegType::Dword;
    shortDword.data = {1, 2};
    RegValue binary;
    binary.type = fw::RegType::Binary;
    binary.data = {1, 0, 0, 0};
    std::string fits(256, 'A'), tooLong(257, 'B');
    struct Case {
        const char* what;
        const char* name;
        std::optional<RegValue> value;
        std::string line;
    } cases[] = {
        {"missing text", "MODL", std::nullopt, "モジュール名\t= "},
        {"text filling the 257-byte buffer", "MODL", RegValue::String(fits), "モジュール名\t= " + fits},
        {"text one byte too long", "MODL", RegValue::String(tooLong), "モジュール名\t= "},
        {"text that is a number", "TIME", RegValue::Dword(5), "時刻\t\t= "},
        {"Shift-JIS text", "EXPI", RegValue::String("ﾌｧｲﾙ名"), "付加情報\t= ﾌｧｲﾙ名"},
        {"missing number", "LINE", std::nullopt, "行番号\t\t= "},
        {"two-byte number", "LINE", shortDword, "行番号\t\t= "},
        {"number stored as binary", "INFO", binary, "補足情報値\t= "},
        {"negative decimal", "LINE", RegValue::Dword(0x80000000), "行番号\t\t= -2147483648"},
        {"largest decimal", "APIERR", RegValue::Dword(0x7FFFFFFF), "APIエラー\t= 2147483647"},
        {"second LINE block", "XLINE", RegValue::Dword(0xFFFFFFFE), "最後に実行した行\t\t= -2"},
        {"negative code", "CODE", RegValue::Dword(0xFFFFFFFB), "エラーコード\t= (-5)"},
        {"missing code", "CODE", std::nullopt, "エラーコード\t= "},
        {"first of the repeated 0x4F", "FUNC", RegValue::Dword(0x4F), "内部関数名\t= (4f)$PsLINE_INPUTs"},
        {"first of the repeated 0xC5", "FUNC", RegValue::Dword(0xC5), "内部関数名\t= (c5)$PbPushStrStk"},
        {"a routine of the 0x80 range", "FUNC", RegValue::Dword(0x8000FF), "内部関数名\t= (8000ff)TV$SETUPPRINTERMODE"},
        {"unknown routine", "FUNC", RegValue::Dword(0x50), "内部関数名\t= (50)未知の関数"},
        {"unknown high routine", "FUNC", RegValue::Dword(0xFFFFFFFF), "内部関数名\t= (ffffffff)未知の関数"},
        {"missing routine", "FUNC", std::nullopt, "内部関数名\t= "},
        {"missing address", "XADDR", std::nullopt, "例外発生アドレス\t\t= "},
        {"zero address", "XADDR", RegValue::Dword(0), "例外発生アドレス\t\t= 0"},
        {"exception code", "XCODE", RegValue::Dword(0xC0000005), "例外コード\t\t\t= c0000005"},
        {"second version", "XRTL", RegValue::String("V"), "バージョン\t\t\t= V"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeMessages msgs;
        msgs.texts[11] = "M";
        EXPECT_EQ(LineOf(c.name, c.value, msgs), c.line);
    }
}

TEST(Report, MessageTextOfTheCode) {
    struct Case {
        const char* what;
        bool library;
        std::string line;
    } cases[] = {
        {"the library's text", true, "エラーコード\t= (11)0で除算しました"},
        {"no library, or no export", false, "エラーコード\t= (11)?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeMessages msgs;
        msgs.library = c.library;
        msgs.texts[11] = "0で除算しました";
        EXPECT_EQ(LineOf("CODE", RegValue::Dword(11), msgs), c.line);
    }
    FakeMessages msgs;
    EXPECT_EQ(LineOf("CODE", RegValue::Dword(77), msgs), "エラーコード\t= (77)")
        << "a code the library has no string for";
}

TEST(Record, CompleteNeedsTheEightValuesTheRuntimeAlwaysWrites) {
    const char* needed[] = {"MODL", "LINE", "CODE", "FUNC", "INFO", "TIME", "MODE", "RTL"};
    const char* optional[] = {"APIERR", "EXPI", "XMODL", "XLINE", "XMODE", "XRTL", "XADDR", "XCODE"};
    {
        fw::FakeRegistry reg;
        EXPECT_FALSE(RecordComplete(reg)) << "no key";
        SeedComplete(reg);
        EXPECT_TRUE(RecordComplete(reg));
    }
    for (const char* name : needed) {
        SCOPED_TRACE(name);
        fw::FakeRegistry reg;
        SeedComplete(reg);
        reg.DeleteValue(RegRoot::CurrentUser, kRecordKey, name);
        EXPECT_FALSE(RecordComplete(reg));
    }
    for (const char* name : optional) {
        SCOPED_TRACE(name);
        fw::FakeRegistry reg;
        SeedComplete(reg);
        reg.DeleteValue(RegRoot::CurrentUser, kRecordKey, name);
        EXPECT_TRUE(RecordComplete(reg));
    }
    fw::FakeRegistry reg;
    SeedComplete(reg);
    Seed(reg, "RTL", RegValue::String(std::string(300, 'x')));
    EXPECT_FALSE(RecordComplete(reg)) << "a text too long for its buffer";
    // The test reads into 256 bytes, the report into 257.
    Seed(reg, "RTL", RegValue::String(std::string(256, 'x')));
    EXPECT_FALSE(RecordComplete(reg));
    Seed(reg, "RTL", RegValue::String(std::string(255, 'x')));
    EXPECT_TRUE(RecordComplete(reg));
}

TEST(Record, ClearWritesAllSixteenInOrderThenReadsAsZeros) {
    LoggingRegistry reg;
    EXPECT_FALSE(ClearRecord(reg)) << "no key: nothing is created";
    EXPECT_FALSE(reg.KeyExists(RegRoot::CurrentUser, kRecordKey));
    SeedComplete(reg);
    reg.writes.clear();
    ASSERT_TRUE(ClearRecord(reg));
    EXPECT_EQ(reg.writes, (std::vector<std::string>{"MODL", "LINE", "CODE", "FUNC", "INFO",
                                                     "TIME", "APIERR", "EXPI", "MODE", "RTL",
                                                     "XMODL", "XLINE", "XMODE", "XRTL", "XADDR",
                                                     "XCODE"}));
    FakeMessages msgs;
    msgs.texts[0] = "";
    EXPECT_EQ(*BuildReport(reg, msgs),
              "エラー発生時の状況\r\n\r\n"
              "モジュール名\t= \r\n行番号\t\t= 0\r\nエラーコード\t= (0)\r\n"
              "内部関数名\t= (0)未知の関数\r\n補足情報値\t= 0\r\n時刻\t\t= \r\n"
              "APIエラー\t= 0\r\n付加情報\t= \r\n実行形式\t= \r\nバージョン\t= \r\n"
              "\r\n例外発生時の状況\r\n\r\n"
              "最後に実行したモジュール\t= \r\n最後に実行した行\t\t= 0\r\n"
              "実行形式\t\t\t= \r\nバージョン\t\t\t= \r\n例外発生アドレス\t\t= 0\r\n"
              "例外コード\t\t\t= 0\r\n");
    EXPECT_TRUE(RecordComplete(reg)) << "a cleared record still counts as one";
}

}  // namespace
}  // namespace anz::test
