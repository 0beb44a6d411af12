#include "project_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes.h"
#include "project_fixtures.h"

namespace prj::test {
namespace {

constexpr uint32_t kDefaults = 0x4643E6;
const std::string kMak = "C:\\PROJ\\SAMPLE.MAK";
// Offsets from the layout: module records from 1262; the first is MAIN.BAS
// (10 + 9 + 260 bytes); the second holds "D:\LIB\UTIL.SUB" (15 bytes).
constexpr std::size_t kFirstModule = 1262;
constexpr std::size_t kSecondModule = kFirstModule + 10 + 9 + 260;
constexpr std::size_t kUtilPathLength = 15;
constexpr std::size_t kSecondModuleOptions = kSecondModule + 10 + kUtilPathLength + 1;

std::vector<uint8_t> Tail() {
    std::vector<uint8_t> t(128);
    for (int i = 0; i < 128; ++i)
        t[i] = static_cast<uint8_t>(i);
    return t;
}

// The files the golden project names, so that every path resolves.
void AddSampleFiles(FakeFileSystem &fs) {
    for (const std::string &p : {std::string("C:\\PROJ\\MAIN.BAS"), std::string("D:\\LIB\\UTIL.SUB"),
                                 kHyoujiSubFull, std::string("C:\\PROJ\\SAMPLE.RC"),
                                 std::string("D:\\ENV\\RUN.BET"), std::string("C:\\PROJ\\DEFS.BI"),
                                 std::string("D:\\X\\Y.BI"), std::string("C:\\PROJ\\EXTRA.OBJ")})
        fs.Add(p);
}

// The project the golden file describes, as a document holds it before saving.
void FillSample(ProjectData &doc, const ProjectData &) {
    doc.exe_name = "SAMPLE.EXE";
    doc.rc_path = "C:\\PROJ\\SAMPLE.RC";
    doc.bet_path = "D:\\ENV\\RUN.BET";
    doc.default_options.flags = kDefaults & ~0x80u;
    doc.default_options.SetIncludePath("C:\\INC");
    doc.run_model = 2;
    auto main = doc.NewModule();
    main->stored_path = "MAIN.BAS";
    main->full_path = "C:\\PROJ\\MAIN.BAS";
    auto util = doc.NewModule();
    util->stored_path = util->full_path = "D:\\LIB\\UTIL.SUB";
    util->own_options = 1;
    util->options.flags = kDefaults | 0x100000 | 0x800;
    std::vector<uint8_t> tail = Tail();
    std::copy(tail.begin(), tail.end(), util->options_tail.begin());
    util->dep_flag = 1;
    util->deps = {"C:\\PROJ\\DEFS.BI", "D:\\X\\Y.BI"};
    auto hyouji = doc.NewModule();
    hyouji->stored_path = kHyoujiSub;
    hyouji->full_path = kHyoujiSubFull;
    doc.modules.push_back(std::move(main));
    doc.modules.push_back(std::move(util));
    doc.modules.push_back(std::move(hyouji));
    doc.objects = {"EXTRA.OBJ"};
}

TEST(ProjectFile, WriterMatchesTheGoldenVersion6File) {
    Host h;
    ProjectData doc(h.settings);
    FillSample(doc, doc);
    doc.modified = true;
    std::vector<uint8_t> written = WriteProjectFile(doc, kMak, h.env);
    EXPECT_EQ(written, kGoldenV6);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.project_file_name, "SAMPLE.MAK");
    // Paths in the project folder take the written (bare) form.
    EXPECT_EQ(doc.rc_path, "SAMPLE.RC");
    EXPECT_EQ(doc.modules[0]->full_path, "MAIN.BAS");
    EXPECT_EQ(doc.modules[1]->full_path, "D:\\LIB\\UTIL.SUB");
    EXPECT_EQ(doc.modules[2]->full_path, kHyoujiSub);
    EXPECT_EQ(h.fs.drive, 3);
    EXPECT_EQ(h.fs.folder, "\\PROJ");
    const std::vector<TreeRename> renames = {{kCatProgram, "MAIN.BAS", "MAIN.BAS"},
                                             {kCatProgram, "D:\\LIB\\UTIL.SUB", "D:\\LIB\\UTIL.SUB"},
                                             {kCatProgram, kHyoujiSub, kHyoujiSub}};
    EXPECT_EQ(h.ide.renames, renames);
}

TEST(ProjectFile, GoldenVersion6ReadsBackToTheSameFields) {
    Host h;
    AddSampleFiles(h.fs);
    ProjectData doc(h.settings);
    ASSERT_TRUE(ReadProjectFile(doc, kGoldenV6, kMak, h.env));
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(doc.version_read, 6);
    EXPECT_EQ(doc.flags, 0u);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.drive, 3);
    EXPECT_EQ(doc.project_folder, "\\PROJ");
    EXPECT_EQ(doc.project_file_name, "SAMPLE.MAK");
    EXPECT_EQ(doc.exe_name, "SAMPLE.EXE");
    EXPECT_EQ(doc.rc_path, "C:\\PROJ\\SAMPLE.RC");
    EXPECT_EQ(doc.bet_path, "D:\\ENV\\RUN.BET");
    EXPECT_EQ(doc.default_options.flags, kDefaults & ~0x80u);
    EXPECT_EQ(doc.default_options.IncludePath(), "C:\\INC");
    EXPECT_EQ(doc.run_model, 2);
    EXPECT_EQ(doc.module_count_read, 3);
    ASSERT_EQ(doc.modules.size(), 3u);

    const CBasData &main = *doc.modules[0];
    EXPECT_EQ(main.stored_path, "MAIN.BAS");
    EXPECT_EQ(main.full_path, "C:\\PROJ\\MAIN.BAS");
    EXPECT_EQ(main.own_options, 0);
    EXPECT_EQ(main.options.flags, kDefaults);  // a fresh record's block
    EXPECT_EQ(main.dep_flag, 0);

    const CBasData &util = *doc.modules[1];
    EXPECT_EQ(util.stored_path, "D:\\LIB\\UTIL.SUB");
    EXPECT_EQ(util.own_options, 1);
    EXPECT_EQ(util.options.flags, kDefaults | 0x800);  // bit 20 cleared on reading
    EXPECT_EQ(std::vector<uint8_t>(util.options_tail.begin(), util.options_tail.end()), Tail());
    EXPECT_EQ(util.dep_flag, 1);
    EXPECT_EQ(util.deps, (std::vector<std::string>{"C:\\PROJ\\DEFS.BI", "D:\\X\\Y.BI"}));

    EXPECT_EQ(doc.modules[2]->stored_path, kHyoujiSub);
    EXPECT_EQ(doc.modules[2]->full_path, kHyoujiSubFull);
    EXPECT_EQ(doc.objects, std::vector<std::string>{"EXTRA.OBJ"});
    EXPECT_TRUE(doc.libraries.empty());

    // Written again, the file is the same but for bit 20 of UTIL.SUB's
    // options, which reading cleared.
    std::vector<uint8_t> again = kGoldenV6;
    again[kSecondModuleOptions + 2] &= ~0x10;
    EXPECT_EQ(WriteProjectFile(doc, kMak, h.env), again);
}

TEST(ProjectFile, OlderVersionsLoadWithTheirRunModelAndBits) {
    struct Case {
        const char *name;
        const std::vector<uint8_t> &file;
        uint16_t version;
        uint16_t run_model;
        uint32_t default_flags;
    };
    const std::vector<Case> cases = {
        {"v1 with bits 2-3 set", kOldV1Model0, 1, 0, kDefaults},
        {"v1 without bits 2-3", kOldV1Model1, 1, 1, kDefaults & ~0xCu},
        {"258 with bit 3", kOld258, 258, 2, kDefaults},
        {"259", kOld259, 259, 3, kDefaults},
        {"5", kOld5, 5, 0, kDefaults},
        {"260", kOld260, 260, 3, kDefaults},
        {"516", kOld516, 516, 2, kDefaults},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        h.fs.Add("C:\\OLD\\OLD.BAS");
        h.fs.Add("C:\\OLD\\OLD.OBJ");
        h.ide.lib_folder = "C:\\TAMBRIX\\LIB";
        h.fs.Add("C:\\TAMBRIX\\LIB\\OLD.LIB");
        ProjectData doc(h.settings);
        ASSERT_TRUE(ReadProjectFile(doc, c.file, "C:\\OLD\\OLD.MAK", h.env));
        const std::vector<ShownMessage> asked = {{kMsgOldProjectFile, kMbYesNo | kMbIconQuestion, "V6.3"}};
        EXPECT_EQ(h.messages.shown, asked);
        EXPECT_EQ(doc.version_read, c.version);
        EXPECT_EQ(doc.run_model, c.run_model);
        EXPECT_EQ(doc.default_options.flags, c.default_flags);
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(doc.flags & ProjectData::kFlagRebuildAll, ProjectData::kFlagRebuildAll);
        EXPECT_EQ(doc.exe_name, "OLDPROG.EXE");
        ASSERT_EQ(doc.modules.size(), 1u);
        EXPECT_EQ(doc.modules[0]->full_path, "C:\\OLD\\OLD.BAS");
        EXPECT_EQ(doc.modules[0]->options.flags, kDefaults);  // bit 21 cleared
        EXPECT_EQ(doc.objects, std::vector<std::string>{"OLD.OBJ"});
        EXPECT_EQ(doc.libraries, std::vector<std::string>{"OLD.LIB"});
    }
}

TEST(ProjectFile, DecliningTheConversionLoadsNothing) {
    Host h;
    h.messages.answer = kIdNo;
    ProjectData doc(h.settings);
    EXPECT_FALSE(ReadProjectFile(doc, kOld259, "C:\\OLD\\OLD.MAK", h.env));
    EXPECT_EQ(doc.version_read, kPrjVersionFailed);
    EXPECT_EQ(doc.flags, 0u);
    EXPECT_TRUE(doc.modules.empty());
    EXPECT_TRUE(doc.exe_name.empty());
}

std::vector<uint8_t> WithU16(std::vector<uint8_t> file, std::size_t offset, uint16_t v) {
    file[offset] = static_cast<uint8_t>(v);
    file[offset + 1] = static_cast<uint8_t>(v >> 8);
    return file;
}

void ExpectRefused(const std::vector<uint8_t> &file) {
    Host h;
    AddSampleFiles(h.fs);
    ProjectData doc(h.settings);
    EXPECT_FALSE(ReadProjectFile(doc, file, kMak, h.env));
    const std::vector<ShownMessage> refused = {{kMsgBadProjectFile, kMbIconHand, ""}};
    EXPECT_EQ(h.messages.shown, refused);
    EXPECT_EQ(doc.version_read, kPrjVersionFailed);
    EXPECT_TRUE(doc.modules.empty());
    EXPECT_TRUE(doc.objects.empty());
    EXPECT_TRUE(doc.exe_name.empty());
    EXPECT_TRUE(doc.rc_path.empty());
}

TEST(ProjectFile, UnknownVersionsAndForeignFilesAreRefused) {
    for (uint16_t v : {0, 2, 3, 4, 7, 257, 517, 0xFFFF}) {
        SCOPED_TRACE(v);
        ExpectRefused(WithU16(kGoldenV6, 2, v));
    }
    std::vector<uint8_t> foreign = kGoldenV6;
    foreign[1] = 'Q';
    ExpectRefused(foreign);
    ExpectRefused({});
}

TEST(ProjectFile, DamagedFilesAreRefusedWhole) {
    const std::size_t deps_head = kSecondModuleOptions + 260;
    struct Case {
        const char *name;
        std::vector<uint8_t> file;
    };
    const std::vector<Case> cases = {
        {"bad first record mark", WithU16(kGoldenV6, kFirstModule, 275)},
        {"bad second record mark", WithU16(kGoldenV6, kSecondModule, 0)},
        {"module count past the end", WithU16(kGoldenV6, 16 + 1180, 4)},
        {"path length past the end", WithU16(kGoldenV6, kFirstModule + 8, 0xFFFF)},
        {"dependency count past the end", WithU16(kGoldenV6, deps_head, 40)},
        {"object count past the end", WithU16(kGoldenV6, kGoldenV6.size() - 18 - 18 - 12, 9)},
        {"library count past the end", WithU16(kGoldenV6, kGoldenV6.size() - 18, 1)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c.file);
    }
    // Every cut of the file is refused, none is read past its end.
    for (std::size_t n = 0; n < kGoldenV6.size(); ++n) {
        SCOPED_TRACE(n);
        ExpectRefused(std::vector<uint8_t>(kGoldenV6.begin(), kGoldenV6.begin() + n));
    }
}

TEST(ProjectFile, MissingFilesAreReportedAndKeptAsWritten) {
    Host h;
    ProjectData doc(h.settings);
    ASSERT_TRUE(ReadProjectFile(doc, kGoldenV6, kMak, h.env));
    const std::vector<ShownMessage> missing = {
        {kMsgNotFound, kMbIconExclamation, "SAMPLE.RC"},
        {kMsgNotFound, kMbIconExclamation, "D:\\ENV\\RUN.BET"},
        {kMsgNotFound, kMbIconExclamation, "MAIN.BAS"},
        {kMsgNotFound, kMbIconExclamation, "D:\\LIB\\UTIL.SUB"},
        {kMsgNotFound, kMbIconExclamation, kHyoujiSub},
        {kMsgNotFound, kMbIconExclamation, "EXTRA.OBJ"},
    };
    EXPECT_EQ(h.messages.shown, missing);
    EXPECT_EQ(doc.rc_path, "SAMPLE.RC");
    EXPECT_EQ(doc.modules[0]->full_path, "MAIN.BAS");
    EXPECT_EQ(doc.modules[1]->deps, (std::vector<std::string>{"C:\\PROJ\\DEFS.BI", "D:\\X\\Y.BI"}));
}

TEST(ProjectFile, LibrariesAreFoundAlongTheLibraryFolders) {
    Host h;
    h.ide.lib_folder = "C:\\TAMBRIX\\LIB\\";
    h.ide.environment["LIB"] = "D:\\NOPE;;D:\\SDK\\LIB";
    h.fs.Add("D:\\SDK\\LIB\\OLD.LIB");
    h.fs.Add("C:\\TAMBRIX\\LIB\\OLD.OBJ");
    std::string found;
    EXPECT_EQ(FindLibraryFile(h.env, "OLD.LIB", found), 1);
    EXPECT_EQ(found, "D:\\SDK\\LIB\\OLD.LIB");
    EXPECT_EQ(FindLibraryFile(h.env, "OLD.OBJ", found), 1);
    EXPECT_EQ(found, "C:\\TAMBRIX\\LIB\\OLD.OBJ");
    EXPECT_EQ(FindLibraryFile(h.env, "NONE.LIB", found), 0);
}

TEST(ProjectFile, OpenWindowsDecideHowResourceAndEnvironmentPathsAreWritten) {
    struct Case {
        const char *name;
        std::optional<OpenWindow> rc_window;
        std::vector<OpenWindow> bet_windows;
        std::string rc_written, bet_written;
        std::vector<std::pair<int, std::string>> first_items;
    };
    const std::vector<Case> cases = {
        {"no windows", std::nullopt, {}, "SAMPLE.RC", "D:\\ENV\\RUN.BET", {}},
        {"windows of other files", OpenWindow{"OTHER.RC", "C:\\X\\OTHER.RC"},
         {{"OTHER.BET", "C:\\X\\OTHER.BET"}}, "C:\\PROJ\\SAMPLE.RC", "D:\\ENV\\RUN.BET", {}},
        {"windows in the project folder", OpenWindow{"sample.rc", "C:\\PROJ\\SAMPLE.RC"},
         {{"X.BET", "C:\\X\\X.BET"}, {"run.bet", "c:\\proj\\RUN.BET"}}, "SAMPLE.RC", "RUN.BET", {}},
        {"windows elsewhere", OpenWindow{"SAMPLE.RC", "E:\\NEW\\SAMPLE.RC"},
         {{"RUN.BET", "E:\\NEW\\RUN.BET"}}, "E:\\NEW\\SAMPLE.RC", "E:\\NEW\\RUN.BET",
         {{kCatResource, "SAMPLE.RC"}, {kCatEnvironment, "RUN.BET"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        h.ide.rc_window = c.rc_window;
        h.ide.bet_windows = c.bet_windows;
        ProjectData doc(h.settings);
        doc.rc_path = "C:\\PROJ\\SAMPLE.RC";
        doc.bet_path = "D:\\ENV\\RUN.BET";
        std::vector<uint8_t> file = WriteProjectFile(doc, kMak, h.env);
        EXPECT_EQ(doc.rc_path, c.rc_written);
        EXPECT_EQ(doc.bet_path, c.bet_written);
        EXPECT_EQ(h.ide.first_items, c.first_items);
        PrjImage img;
        ASSERT_EQ(ParsePrjImage(file, img), PrjParse::kOk);
        EXPECT_EQ(img.rc_path, c.rc_written);
        EXPECT_EQ(img.bet_path, c.bet_written);
    }
}

TEST(ProjectFile, EmptyProjectIsRecordsAndTwoEmptyLists) {
    Host h;
    ProjectData doc(h.settings);
    std::vector<uint8_t> file = WriteProjectFile(doc, "C:\\E.MAK", h.env);
    ASSERT_EQ(file.size(), 16u + 1182 + 64 + 18 + 18);
    EXPECT_EQ(file[16 + 522], 0);  // no resource script
    EXPECT_EQ(file[16 + 784], 0);  // no runtime environment
    EXPECT_EQ(file[1198], 3);  // run model default 3
    EXPECT_TRUE(std::all_of(file.end() - 36, file.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ProjectFile, ListsModuleFindsStoredPathsOnly) {
    Host h;
    h.fs.Add(kMak, kGoldenV6);
    h.fs.Add("C:\\PROJ\\OLD.MAK", kOld5);
    h.fs.Add("C:\\PROJ\\BAD.MAK", WithU16(kGoldenV6, 2, 7));
    h.fs.Add("C:\\PROJ\\CUT.MAK", std::vector<uint8_t>(kGoldenV6.begin(), kGoldenV6.begin() + 1500));
    struct Case {
        std::string project, name1, name2;
        int want;
    };
    const std::vector<Case> cases = {
        {kMak, "main.bas", "", 1},
        {kMak, "X.BAS", "d:\\lib\\util.sub", 1},
        {kMak, "C:\\PROJ\\MAIN.BAS", "", 0},  // the stored path is the bare name
        {"C:\\PROJ\\OLD.MAK", "OLD.BAS", "", 1},
        {"C:\\PROJ\\BAD.MAK", "MAIN.BAS", "", 0},
        {"C:\\PROJ\\CUT.MAK", "MAIN.BAS", "", 0},
        {"C:\\PROJ\\NONE.MAK", "MAIN.BAS", "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.project + " " + c.name1);
        EXPECT_EQ(ProjectFileListsModule(h.fs, c.project, c.name1, c.name2), c.want);
        EXPECT_EQ(IsModuleInProject(h.fs, c.project, c.name2, c.name1), c.want == 1);
    }
    EXPECT_TRUE(h.messages.shown.empty());
}

}  // namespace
}  // namespace prj::test
