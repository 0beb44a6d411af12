// examples/project/DEMO.MAK is the project file the IDE opens: it must be
// what the project writer writes for that project. When it is not, the
// writer's bytes are left in the build folder as DEMO.MAK to commit.
#include "project_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fakes.h"

namespace prj::test {
namespace {

const std::string kMak = "C:\\DEMO\\DEMO.MAK";

std::vector<uint8_t> ReadAll(const char *path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Two modules and the resource script, all beside the project; the program
// is named after the project (DEMO.exe).
void FillDemo(ProjectData &doc) {
    for (const char *name : {"MAIN.BAS", "GREET.SUB"}) {
        auto m = doc.NewModule();
        m->stored_path = name;
        m->full_path = std::string("C:\\DEMO\\") + name;
        doc.modules.push_back(std::move(m));
    }
    doc.rc_path = "C:\\DEMO\\DEMO.RC";
}

TEST(ExampleProject, IsWhatTheWriterWrites) {
#ifndef TX_EXAMPLE_PROJECT
    GTEST_SKIP() << "the example's path is known only natively";
#else
    Host h;
    ProjectData doc(h.settings);
    FillDemo(doc);
    std::vector<uint8_t> written = WriteProjectFile(doc, kMak, h.env);
    std::vector<uint8_t> committed = ReadAll(TX_EXAMPLE_PROJECT);
    if (written != committed) {
        std::ofstream out("DEMO.MAK", std::ios::binary);
        out.write(reinterpret_cast<const char *>(written.data()), static_cast<std::streamsize>(written.size()));
    }
    EXPECT_EQ(written, committed) << "the writer's bytes are in DEMO.MAK of the test's folder";

    for (const char *p : {"C:\\DEMO\\MAIN.BAS", "C:\\DEMO\\GREET.SUB", "C:\\DEMO\\DEMO.RC"})
        h.fs.Add(p);
    ProjectData back(h.settings);
    ASSERT_TRUE(ReadProjectFile(back, committed, kMak, h.env));
    EXPECT_TRUE(h.messages.shown.empty());
    ASSERT_EQ(back.modules.size(), 2u);
    EXPECT_EQ(back.modules[0]->stored_path, "MAIN.BAS");
    EXPECT_EQ(back.modules[1]->stored_path, "GREET.SUB");
    EXPECT_EQ(back.project_file_name, "DEMO.MAK");
#endif
}

}  // namespace
}  // namespace prj::test
