// The commands' rules: when the report is replaced, saved or kept, what the
// title and the prompts say, and that files go out and come in byte for
// byte (this file is compiled to code page 932).
#include "fakes.h"

#include "anztexts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace anz::test {
namespace {

namespace fs = std::filesystem;
using fw::RegRoot;
using fw::RegValue;

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("txanz-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir_);
        reg_.Write(RegRoot::CurrentUser, kRecordKey, "MODL", RegValue::String("MAIN.BAS"));
        reg_.Write(RegRoot::CurrentUser, kRecordKey, "LINE", RegValue::Dword(10));
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string File(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_;
    fw::FakeRegistry reg_;
    FakeMessages msgs_;
    FakeUi ui_;
    AnzSession s_{ui_, reg_, msgs_};
};

// Every byte value, lone CR and LF, a Shift-JIS pair and an end-of-file mark.
std::string AllBytes() {
    std::string b;
    for (int i = 0; i < 256; ++i)
        b += static_cast<char>(i);
    return b + "\n\r\x1A" "解析\r\n";
}

TEST_F(Session, SaveAndOpenKeepEveryByte) {
    ui_.view = AllBytes();
    ui_.savePaths.push_back(File("a.txt"));
    ASSERT_TRUE(s_.SaveAs());
    EXPECT_EQ(ReadReportFile(File("a.txt")), AllBytes());
    EXPECT_EQ(ui_.title, File("a.txt") + " - Tambrix エラー解析ツール");

    ui_.view = "edited";
    s_.OnEdit();
    ASSERT_TRUE(s_.Save()) << "a report with a path saves without a dialog";
    EXPECT_EQ(ReadReportFile(File("a.txt")), "edited");
    EXPECT_TRUE(s_.Saved());
    EXPECT_FALSE(s_.Modified());

    ASSERT_TRUE(WriteReportFile(File("b.txt"), AllBytes()));
    ui_.openPaths.push_back(File("b.txt"));
    s_.Open();
    EXPECT_EQ(ui_.view, AllBytes());
    EXPECT_EQ(s_.Path(), File("b.txt"));
    EXPECT_FALSE(s_.Modified());
    EXPECT_TRUE(ui_.prompts.empty());
}

TEST_F(Session, SaveTruncatesALongerFile) {
    ASSERT_TRUE(WriteReportFile(File("a.txt"), std::string(5000, 'x')));
    ui_.view = "short";
    ui_.savePaths.push_back(File("a.txt"));
    ASSERT_TRUE(s_.SaveAs());
    EXPECT_EQ(ReadReportFile(File("a.txt")), "short");
}

TEST_F(Session, ReadTwiceAsksToSaveTheUntitledReport) {
    EXPECT_EQ(ui_.title, "");
    s_.ReadRegistry();
    EXPECT_TRUE(ui_.prompts.empty()) << "nothing to save yet";
    EXPECT_TRUE(s_.Modified());
    EXPECT_EQ(ui_.title, "無題 - Tambrix エラー解析ツール");
    std::string first = ui_.view;
    EXPECT_NE(first.find("モジュール名\t= MAIN.BAS\r\n"), std::string::npos);

    reg_.Write(RegRoot::CurrentUser, kRecordKey, "MODL", RegValue::String("OTHER.BAS"));
    ui_.saveAnswers = {Answer::Cancel};
    s_.ReadRegistry();
    ASSERT_EQ(ui_.prompts.size(), 1u);
    EXPECT_EQ(ui_.prompts[0], "ファイル 無題の内容が変更されています。\n\n変更を保存しますか？");
    EXPECT_EQ(ui_.view, first) << "Cancel keeps the old report";

    ui_.saveAnswers = {Answer::No};
    s_.ReadRegistry();
    EXPECT_NE(ui_.view.find("OTHER.BAS"), std::string::npos);
}

TEST_F(Session, ReadAfterYesReplacesOnlyASavedReport) {
    s_.ReadRegistry();
    std::string first = ui_.view;
    reg_.Write(RegRoot::CurrentUser, kRecordKey, "MODL", RegValue::String("OTHER.BAS"));

    ui_.saveAnswers = {Answer::Yes};
    ui_.savePaths.push_back(std::nullopt);  // Save As cancelled
    s_.ReadRegistry();
    EXPECT_EQ(ui_.view, first);
    EXPECT_TRUE(s_.Modified());
    EXPECT_FALSE(s_.Saved());

    ui_.saveAnswers = {Answer::Yes};
    ui_.savePaths.push_back((dir_ / "missing" / "r.txt").string());  // cannot be created
    s_.ReadRegistry();
    EXPECT_EQ(ui_.view, first);
    EXPECT_EQ(ui_.fileErrors.size(), 1u);

    ui_.saveAnswers = {Answer::Yes};
    ui_.savePaths.push_back(File("r.txt"));
    s_.ReadRegistry();
    EXPECT_EQ(ReadReportFile(File("r.txt")), first);
    EXPECT_NE(ui_.view.find("OTHER.BAS"), std::string::npos);
    EXPECT_EQ(s_.Path(), "") << "the new report is untitled";
    EXPECT_EQ(ui_.title, "無題 - Tambrix エラー解析ツール");
}

TEST_F(Session, ReadWithoutARecord) {
    fw::FakeRegistry empty;
    AnzSession s(ui_, empty, msgs_);
    ui_.view = "kept";
    s.ReadRegistry();
    EXPECT_EQ(ui_.stops, std::vector<std::string>{"エラー情報がありません！"});
    EXPECT_EQ(ui_.view, "kept");
    EXPECT_FALSE(s.Modified());
}

// A registry whose values cannot be read for want of memory.
struct StarvedRegistry : fw::FakeRegistry {
    std::optional<RegValue> Read(RegRoot, const std::string&, const std::string&) override { throw std::bad_alloc(); }
};

TEST_F(Session, WithoutMemoryNothingIsReadOrCleared) {
    StarvedRegistry starved;
    starved.Write(RegRoot::CurrentUser, kRecordKey, "MODL", RegValue::String("MAIN.BAS"));
    AnzSession s(ui_, starved, msgs_);
    ui_.view = "kept";
    s.ReadRegistry();
    EXPECT_EQ(ui_.stops, std::vector<std::string>{"メモリが足ません\n"});
    EXPECT_EQ(ui_.view, "kept");
    EXPECT_FALSE(s.Modified());
    ui_.stops.clear();
    s.ClearRegistry();
    EXPECT_EQ(ui_.stops, (std::vector<std::string>{"メモリが足りません", "エラー情報がありません！"}));
    EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(Session, PromptNamesThePath) {
    ASSERT_TRUE(WriteReportFile(File("c.txt"), "x"));
    ui_.openPaths.push_back(File("c.txt"));
    s_.Open();
    s_.OnEdit();
    ui_.saveAnswers = {Answer::Cancel};
    EXPECT_FALSE(s_.CanClose());
    EXPECT_EQ(ui_.prompts.back(),
              "ファイル " + File("c.txt") + "の内容が変更されています。\n\n変更を保存しますか？");
}

TEST_F(Session, FailedOpenLeavesReportAndPath) {
    ASSERT_TRUE(WriteReportFile(File("c.txt"), "report c"));
    ui_.openPaths.push_back(File("c.txt"));
    s_.Open();
    ui_.view = "report c, edited";
    s_.OnEdit();
    ui_.saveAnswers = {Answer::No};
    ui_.openPaths.push_back(File("gone.txt"));
    s_.Open();
    EXPECT_EQ(ui_.fileErrors, std::vector<std::string>{"open " + File("gone.txt")});
    EXPECT_EQ(ui_.view, "report c, edited");
    EXPECT_EQ(s_.Path(), File("c.txt"));
    EXPECT_EQ(ui_.title, File("c.txt") + " - Tambrix エラー解析ツール");
    EXPECT_TRUE(s_.Modified());
}

TEST_F(Session, SavePromptAnswers) {
    struct Case {
        const char* what;
        Answer answer;
        std::optional<std::string> savePath;
        bool newEmpties;   // New empties the report
        bool closes;       // CanClose
    } cases[] = {
        {"No", Answer::No, std::nullopt, true, true},
        {"Cancel", Answer::Cancel, std::nullopt, false, false},
        {"Yes, saved", Answer::Yes, std::string("y.txt"), true, true},
        {"Yes, Save As cancelled", Answer::Yes, std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int closing = 0; closing < 2; ++closing) {
            FakeUi ui;
            AnzSession s(ui, reg_, msgs_);
            s.ReadRegistry();
            ui.saveAnswers = {c.answer};
            if (c.savePath)
                ui.savePaths.push_back(File(c.savePath->c_str()));
            if (closing) {
                EXPECT_EQ(s.CanClose(), c.closes);
            } else {
                s.New();
                EXPECT_EQ(ui.view.empty(), c.newEmpties);
                if (c.answer != Answer::Cancel) {
                    EXPECT_EQ(ui.title, "無題 - Tambrix エラー解析ツール");
                }
            }
        }
    }
}

TEST_F(Session, ClearAsksThenWritesButLeavesTheReport) {
    reg_.Write(RegRoot::CurrentUser, kRecordKey, "MODL", RegValue::String("MAIN.BAS"));
    s_.ClearRegistry();
    EXPECT_EQ(ui_.stops, std::vector<std::string>{"エラー情報がありません！"}) << "incomplete";
    EXPECT_TRUE(ui_.questions.empty());

    for (const char* n : {"CODE", "FUNC", "INFO"})
        reg_.WriteDword(RegRoot::CurrentUser, kRecordKey, n, 1);
    for (const char* n : {"TIME", "MODE", "RTL"})
        reg_.WriteString(RegRoot::CurrentUser, kRecordKey, n, "t");
    s_.ReadRegistry();
    std::string report = ui_.view;

    ui_.yesNoAnswers = {false};
    s_.ClearRegistry();
    EXPECT_EQ(ui_.questions, std::vector<std::string>{"レジストリ情報をクリアしますか？"});
    EXPECT_EQ(reg_.ReadString(RegRoot::CurrentUser, kRecordKey, "MODL"), "MAIN.BAS");

    ui_.yesNoAnswers = {true};
    s_.ClearRegistry();
    EXPECT_EQ(reg_.ReadString(RegRoot::CurrentUser, kRecordKey, "MODL"), "");
    EXPECT_EQ(reg_.ReadDword(RegRoot::CurrentUser, kRecordKey, "XCODE"), 0u);
    EXPECT_EQ(ui_.view, report);
    EXPECT_TRUE(s_.Modified()) << "the unsaved report is still asked for at the end";
}

TEST_F(Session, StartReadsTheNamedFileUntitled) {
    ASSERT_TRUE(WriteReportFile(File("s.txt"), AllBytes()));
    EXPECT_TRUE(s_.Start(File("s.txt")));
    EXPECT_EQ(ui_.view, AllBytes());
    EXPECT_EQ(ui_.title, "無題 - Tambrix エラー解析ツール");
    FakeUi ui;
    AnzSession s(ui, reg_, msgs_);
    EXPECT_FALSE(s.Start(File("none.txt")));
    EXPECT_TRUE(s.Start(""));
    EXPECT_EQ(ui.title, "無題 - Tambrix エラー解析ツール");
}

}  // namespace
}  // namespace anz::test
