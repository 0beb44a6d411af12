// coffdump on damaged objects: counts and sizes that promise more than the
// file holds end the dump with its error line, at once.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A file header with one section header named name (none when empty).
std::vector<uint8_t> Object(const char* name) {
    std::vector<uint8_t> b(20);
    Put16(b, 0, 0x14C);
    if (*name) {
        Put16(b, 2, 1);
        b.resize(60);
        std::memcpy(&b[20], name, std::strlen(name));
    }
    return b;
}

TEST(Coffdump, DamagedSizesEndAtTheFilesEnd) {
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
    };
    std::vector<Case> cases;
    {
        std::vector<uint8_t> b = Object("");
        Put32(b, 8, 20);         // symbols at 20, none
        Put32(b, 20, 0xFFFFFFF0); // string table size
        b.insert(b.end(), {'a', 'b', 0});
        cases.push_back({"string table size 0xFFFFFFF0", b});
    }
    {
        std::vector<uint8_t> b = Object(".drectve");
        Put32(b, 20 + 16, 0xFFFFFFFF); // size of raw data
        Put32(b, 20 + 20, 60);
        Put32(b, 8, 70);
        b.resize(70);
        Put32(b, 70, 4);
        cases.push_back({".drectve size 0xFFFFFFFF", b});
    }
    {
        std::vector<uint8_t> b = Object(".text");
        Put16(b, 2, 0xFFFF);               // sections
        Put32(b, 20 + 24, 60);             // relocations at 60 ...
        Put16(b, 20 + 32, 0xFFFF);         // ... 65535 of them
        Put32(b, 20 + 28, 60);             // line numbers at 60 ...
        Put16(b, 20 + 34, 0xFFFF);         // ... 65535 of them
        Put32(b, 8, 60);
        Put32(b, 60, 4);
        cases.push_back({"section, relocation and line counts 0xFFFF", b});
    }
    fs::path dir = fs::temp_directory_path() / ("coffdump_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path obj = dir / "bad.obj", out = dir / "out.txt";
        std::ofstream(obj, std::ios::binary).write(reinterpret_cast<const char*>(c.file.data()), c.file.size());
        auto start = std::chrono::steady_clock::now();
        // The bound on time and output keeps a regression from hanging or
        // filling the disk.
        std::string cmd = "timeout 10 " TXCG_COFFDUMP " -r " + obj.string() + " | head -c 1000000 >" + out.string() +
                          "; exit ${PIPESTATUS[0]}";
        int status = std::system(("bash -c '" + cmd + "'").c_str());
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_LT(seconds, 1.0);
        std::ifstream in(out);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_LT(text.size(), 20000u);
        EXPECT_NE(text.find("error: the file is " + std::to_string(c.file.size()) + " bytes"), std::string::npos)
            << text.substr(0, 2000);
    }
    fs::remove_all(dir);
}

} // namespace
