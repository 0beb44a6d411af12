// A BASIC program compiled by txcl, linked with the runtime and run in the
// emulator stops on a division by zero; basrun writes the record the
// runtime leaves in the registry, and the report builder reads it back.
#include "fakes.h"

#include "txversion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace anz::test {
namespace {

namespace fs = std::filesystem;

// Loads the values of a REGEDIT4 file's one key into reg: "name"="text"
// (with \\ and \" escapes) and "name"=dword:hex.
bool ImportRegFile(const std::string& text, fw::RegStore& reg, std::string& key) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[') {
            key = line.substr(1, line.size() - 2);
            continue;
        }
        if (line.empty() || line.front() != '"')
            continue;
        size_t eq = line.find("\"=");
        if (eq == std::string::npos)
            return false;
        std::string name = line.substr(1, eq - 1), value = line.substr(eq + 2);
        const std::string hkcu = "HKEY_CURRENT_USER\\";
        if (key.rfind(hkcu, 0) != 0)
            return false;
        std::string sub = key.substr(hkcu.size());
        if (value.rfind("dword:", 0) == 0) {
            reg.WriteDword(fw::RegRoot::CurrentUser, sub, name,
                           static_cast<uint32_t>(std::stoul(value.substr(6), nullptr, 16)));
        } else if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            std::string s;
            for (size_t i = 1; i + 1 < value.size(); ++i) {
                if (value[i] == '\\' && i + 2 < value.size())
                    ++i;
                s += value[i];
            }
            reg.WriteString(fw::RegRoot::CurrentUser, sub, name, s);
        } else {
            return false;
        }
    }
    return true;
}

TEST(RunRecord, DivisionByZeroOfACompiledProgram) {
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("txanz-run-" + std::to_string(rd()));
    fs::create_directories(dir);
    fs::path src = dir / "DIVZ.BAS", rec = dir / "error.reg", out = dir / "out.txt";
    std::ofstream(src, std::ios::binary) << "A% = 0\r\nPRINT \"before\"\r\nB% = 1 \\ A%\r\nPRINT B%\r\n";
    std::string cmd = std::string(TX_BASRUN) + " --error-record " + rec.string() + " " +
                      src.string() + " >" + out.string() + " 2>&1";
    int rc = std::system(cmd.c_str());
    std::ifstream recIn(rec, std::ios::binary), outIn(out, std::ios::binary);
    std::string recText((std::istreambuf_iterator<char>(recIn)), std::istreambuf_iterator<char>());
    std::string outText((std::istreambuf_iterator<char>(outIn)), std::istreambuf_iterator<char>());
    fs::remove_all(dir);
    ASSERT_NE(rc, 0) << outText;
    ASSERT_NE(outText.find("runtime error 11"), std::string::npos) << outText;

    fw::FakeRegistry reg;
    std::string key;
    ASSERT_TRUE(ImportRegFile(recText, reg, key)) << recText;
    EXPECT_EQ(key, std::string("HKEY_CURRENT_USER\\") + kRecordKey);
    EXPECT_TRUE(RecordComplete(reg));

    auto time = reg.ReadString(fw::RegRoot::CurrentUser, kRecordKey, "TIME");
    ASSERT_TRUE(time);
    ASSERT_EQ(time->size(), 19u) << *time;  // YYYY/MM/DD hh:mm:ss
    EXPECT_EQ((*time)[4], '/');
    EXPECT_EQ((*time)[13], ':');

    FakeMessages msgs;
    msgs.texts[11] = "MSG11";
    auto report = BuildReport(reg, msgs);
    ASSERT_TRUE(report);
    EXPECT_EQ(*report,
              "エラー発生時の状況\r\n\r\n"
              "モジュール名\t= DIVZ.BAS\r\n"
              "行番号\t\t= 3\r\n"
              "エラーコード\t= (11)MSG11\r\n"
              "内部関数名\t= (0)未知の関数\r\n"
              "補足情報値\t= 0\r\n"
              "時刻\t\t= " + *time + "\r\n"
              "APIエラー\t= 0\r\n"
              "付加情報\t= \r\n"
              "実行形式\t= EXE\r\n"
              "バージョン\t= " TX_STR(TX_VERSION_MAJOR) "." TX_STR(TX_VERSION_MINOR) "."
              TX_STR(TX_VERSION_LEVEL) "\r\n"
              "\r\n例外発生時の状況\r\n\r\n"
              "最後に実行したモジュール\t= \r\n"
              "最後に実行した行\t\t= \r\n"
              "実行形式\t\t\t= \r\n"
              "バージョン\t\t\t= \r\n"
              "例外発生アドレス\t\t= \r\n"
              "例外コード\t\t\t= \r\n");
}

}  // namespace
}  // namespace anz::test
