// OpenNewFile creates only files that did not exist, and says why not.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "newfile.h"
#include "tx_scratch.h"

namespace {

TEST(OpenNewFile, CreatesOnceThenReportsExisting) {
    const txtest::ScratchDir dir("newfile_test");
    const std::string path = dir.File("a.tmp");

    tx::NewFile status = tx::NewFile::kFailed;
    std::FILE *f = tx::OpenNewFile(path.c_str(), &status);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(status, tx::NewFile::kCreated);
    // Read and write: the work files are written, then read back.
    EXPECT_GE(std::fputs("x", f), 0);
    std::rewind(f);
    EXPECT_EQ(std::fgetc(f), 'x');
    std::fclose(f);

    EXPECT_EQ(tx::OpenNewFile(path.c_str(), &status), nullptr);
    EXPECT_EQ(status, tx::NewFile::kExists);

    const std::string missing = (dir / "no_such_folder" / "b.tmp").string();
    EXPECT_EQ(tx::OpenNewFile(missing.c_str(), &status), nullptr);
    EXPECT_EQ(status, tx::NewFile::kFailed);
}

}  // namespace
