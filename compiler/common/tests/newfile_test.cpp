// OpenNewFile creates only files that did not exist, and says why not.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "newfile.h"

namespace {

TEST(OpenNewFile, CreatesOnceThenReportsExisting) {
    std::error_code ec;
    // A folder of this run's own: test programs run side by side.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("newfile_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir, ec);
    const std::string path = (dir / "a.tmp").string();
    std::filesystem::remove(path, ec);

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

    std::filesystem::remove_all(dir, ec);
}

}  // namespace
