#include "modulehost.h"

#include <filesystem>
#include <system_error>

#include "filehost.h"

namespace fs = std::filesystem;

namespace tx::runner {

namespace {
constexpr uint32_t kPage = 0x1000;
uint32_t PageUp(uint64_t v) { return uint32_t((v + kPage - 1) & ~uint64_t(kPage - 1)); }
// BASIC errors of a failed load: no such file, and a file that is no
// module image that can be placed.
constexpr int kErrNotFound = 53, kErrAccess = 75;
} // namespace

std::string ModuleHost::Find(const std::string& name) const {
    std::vector<std::string> tries{name};
    if (fs::path(name).extension().empty()) tries.push_back(name + ".DLL");
    for (const std::string& folder : folders_) {
        FileHost host(folder);
        for (const std::string& t : tries) {
            fs::path p = host.Resolve(t);
            std::error_code ec;
            if (!p.empty() && fs::is_regular_file(p, ec)) return p.string();
        }
    }
    return "";
}

bool ModuleHost::Free(uint32_t base, uint32_t size) const {
    auto overlaps = [&](uint32_t b, uint32_t s) { return uint64_t(base) < uint64_t(b) + s && uint64_t(b) < uint64_t(base) + size; };
    if (overlaps(reserved_.first, reserved_.second)) return false;
    for (const Module& m : modules_)
        if (overlaps(m.base, m.size)) return false;
    return base >= kLowest && uint64_t(base) + size <= kHighest;
}

int ModuleHost::Prepare(const std::string& path, Module& out) const {
    std::string error;
    out = Module{};
    out.path = path;
    if (!ReadPeFile(path, out.image, error)) return kErrAccess;
    uint32_t size = PageUp(out.image.sizeOfImage ? out.image.sizeOfImage : kPage);
    for (const PeSection& s : out.image.sections) {
        uint64_t end = uint64_t(s.rva) + PageUp(s.virtualSize);
        if (end > size) size = PageUp(end);
    }
    out.size = size;
    uint32_t base = out.image.imageBase;
    if (base % kPage || !Free(base, size)) {
        base = 0;
        for (uint64_t b = kLowest; b + size <= kHighest; b += 0x01000000)
            if (Free(uint32_t(b), size)) {
                base = uint32_t(b);
                break;
            }
        if (!base || !out.image.Rebase(base)) return kErrAccess;
    }
    out.base = base;
    return 0;
}

uint32_t ModuleHost::Add(Module m) {
    const uint32_t h = m.base;
    modules_.push_back(std::move(m));
    return h;
}

const ModuleHost::Module* ModuleHost::Get(uint32_t handle) const {
    for (const Module& m : modules_)
        if (m.base == handle) return &m;
    return nullptr;
}

uint32_t ModuleHost::Reuse(const std::string& path) {
    for (Module& m : modules_)
        if (m.path == path) {
            ++m.uses;
            return m.base;
        }
    return 0;
}

bool ModuleHost::Release(uint32_t handle) {
    for (auto it = modules_.begin(); it != modules_.end(); ++it)
        if (it->base == handle) {
            if (--it->uses > 0) return false;
            modules_.erase(it);
            return true;
        }
    return false;
}

} // namespace tx::runner
