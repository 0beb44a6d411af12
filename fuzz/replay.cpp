// Replays fuzz inputs without libFuzzer: every file named, or every file
// of every folder named. A fault shows as a crash of this program.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static void Replay(const std::filesystem::path &p) {
    std::ifstream f(p, std::ios::binary);
    std::vector<uint8_t> b{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(b.data(), b.size());
}

int main(int argc, char **argv) {
    namespace fs = std::filesystem;
    int n = 0;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const auto &e : fs::directory_iterator(argv[i]))
                if (e.is_regular_file())
                    Replay(e.path()), ++n;
        } else {
            Replay(argv[i]), ++n;
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", n);
    return n ? 0 : 1;
}
