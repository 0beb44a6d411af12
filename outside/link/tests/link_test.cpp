// LINK against the real i686 linker: the same objects linked by both must
// run alike in the emulator runner; binutils read our images, windres reads
// their resources back.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "lk_input.h"
#include "lk_link.h"
#include "pe_image.h"

namespace fs = std::filesystem;

namespace {

std::string Q(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spit(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

// The libraries of run model 1 as the make script lists them.
const char kLibs[] = "TQ70RN63.LIB TQ70RW63.LIB TQ70RM63.LIB TQ70MS63.LIB TQ70LF63.LIB TQ70RO63.LIB TQ70RI63.LIB";

struct Shell {
    int rc = -1;
    std::string out;
};

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) if (c == '/') c = '_';
        dir_ = fs::temp_directory_path() / ("txlink_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }

    // Runs a shell command in the scratch folder; output and errors together.
    Shell Run(const std::string& cmd) {
        const fs::path log = dir_ / "shell.log";
        const int st = std::system(("cd " + Q(dir_.string()) + " && (" + cmd + ") >" + Q(log.string()) + " 2>&1").c_str());
        return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, Slurp(log)};
    }

    // LINK through a response file, as the make script's inline file does.
    Shell Ours(const std::string& rspText) {
        Spit(dir_ / "link.rsp", rspText);
        return Run("LIB=" + Q(TX_LIB_DIR) + " " + Q(TX_LINK_EXE) + " @link.rsp");
    }

    Shell Ld(const std::string& objects, const std::string& image) {
        return Run(Q(TX_I686_LD) + " --no-leading-underscore -nostdlib -e '$PbStartup' -o " + image + " " +
                   objects + " " + Q(std::string(TX_LIB_DIR) + "/libtxrt.a"));
    }

    Shell Basrun(const std::string& image) {
        Shell s;
        const fs::path out = dir_ / (image + ".out");
        s.rc = Run(Q(TX_BASRUN_EXE) + " --timeout 20 " + Q(image) + " >" + Q(out.string())).rc;
        s.out = Slurp(out);
        return s;
    }

    void Assemble(const std::string& name, const std::string& source) {
        Spit(dir_ / (name + ".s"), source);
        Shell s = Run(Q(TX_I686_AS) + " " + name + ".s -o " + name + ".obj");
        ASSERT_EQ(s.rc, 0) << s.out;
    }

    // Both linkers on the same objects (quoted names in `objects`); the two
    // images must give the same output and exit status.
    void ExpectSameAsLd(const std::string& objects, bool debug, bool printsNothing = false) {
        Shell ld = Ld(objects, "ld.exe");
        ASSERT_EQ(ld.rc, 0) << ld.out;
        Shell ours = Ours(std::string("/nologo /subsystem:windows /machine:IX86 /nodefaultlib ") +
                          (debug ? "/DEBUG /DEBUGTYPE:COFF " : "") + "/out:\"ours.exe\" " + objects + " " + kLibs);
        ASSERT_EQ(ours.rc, 0) << ours.out;
        EXPECT_EQ(ours.out, ""); // the build fails on any line holding "error"; none is printed
        Shell a = Basrun("ld.exe"), b = Basrun("ours.exe");
        EXPECT_EQ(b.rc, a.rc);
        EXPECT_EQ(b.out, a.out);
        if (!printsNothing) {
            EXPECT_FALSE(a.out.empty() && a.rc == 0) << "the program printed nothing";
        }
        EXPECT_EQ(ExportNames("ours.exe"), ExportNames("ld.exe"));
        // A Windows program: its host functions come through the import
        // table, as the i686 linker lays it out, and nothing else.
        const std::string imports = ImportNames("ours.exe");
        EXPECT_NE(imports.find("KERNEL32.dll: CloseHandle "), std::string::npos) << imports;
        EXPECT_NE(imports.find("GDI32.dll: SetDIBitsToDevice"), std::string::npos) << imports;
        EXPECT_NE(imports.find("USER32.dll: AdjustWindowRect "), std::string::npos) << imports;
        EXPECT_EQ(imports, ImportNames("ld.exe"));
        EXPECT_EQ(Run(Q(TX_OBJDUMP) + " -d ours.exe | grep -c 'int  *[$]0x81' || true").out, "0\n");
    }

    // The imported DLLs and functions as objdump lists them, one DLL a line:
    // "NAME.dll: function function ...", the functions in name order.
    std::string ImportNames(const std::string& image) {
        Shell s = Run(Q(TX_OBJDUMP) + " -p " + image);
        EXPECT_EQ(s.rc, 0) << s.out;
        std::string out, line;
        std::vector<std::string> names;
        auto flush = [&] {
            std::sort(names.begin(), names.end());
            for (const std::string& n : names) out += " " + n;
            names.clear();
        };
        std::istringstream in(s.out);
        bool inDll = false;
        while (std::getline(in, line)) {
            const size_t dll = line.find("DLL Name: ");
            if (dll != std::string::npos) {
                flush();
                out += (out.empty() ? "" : "\n") + line.substr(dll + 10) + ":";
                inDll = true;
            } else if (inDll && line.empty()) {
                inDll = false;
            } else if (inDll && line.find("Hint/Ord") == std::string::npos) {
                names.push_back(line.substr(line.find_last_of(" \t") + 1));
            }
        }
        flush();
        return out;
    }

    // The export names as objdump lists them ("" without an export table).
    std::string ExportNames(const std::string& image) {
        Shell s = Run(Q(TX_OBJDUMP) + " -p " + image);
        EXPECT_EQ(s.rc, 0) << s.out;
        const size_t at = s.out.find("[Ordinal/Name Pointer] Table");
        if (at == std::string::npos) return "";
        const size_t end = s.out.find("\n\n", at);
        return s.out.substr(at, end == std::string::npos ? std::string::npos : end - at);
    }

    fs::path dir_;
};

// The runtime's own test programs, faults included: every relocation form
// the assembler and the C compiler use, checked against the runtime library.
TEST_F(LinkTest, RuntimeProgramsRunAsWithLd) {
    int count = 0;
    for (const auto& e : fs::directory_iterator(TX_RUNTIME_PROGRAMS)) {
        if (e.path().extension() != ".o") continue;
        SCOPED_TRACE(e.path().filename().string());
        fs::copy_file(e.path(), dir_ / "prog.obj", fs::copy_options::overwrite_existing);
        // With the symbols, as ld keeps them: the runner reads the runtime's
        // pending output and current line through them when a program faults.
        // A write of no bytes writes nothing: that program's output is empty.
        ExpectSameAsLd("\"prog.obj\"", true, e.path().stem() == "fault_writeempty");
        ++count;
    }
    EXPECT_GT(count, 10);
}

struct BasicCase {
    std::vector<std::string> sources; // main module first
    const char* options;
};

// BASIC modules through TXCL, with and without debug information (export
// directives, line numbers, the debugger's entry routines).
TEST_F(LinkTest, BasicProgramsRunAsWithLd) {
    std::vector<BasicCase> cases;
    for (const auto& e : fs::directory_iterator(TX_EXAMPLES_DIR))
        if (e.path().extension() == ".bas") cases.push_back({{e.path().string()}, "/Zi"});
    const std::string corpus = TX_CORPUS_DIR;
    for (const char* name : {"subs.bas", "function.bas", "arrays.bas", "records.bas", "strings.bas", "data.bas", "gosub.bas"})
        cases.push_back({{corpus + "/" + name}, ""});
    cases.push_back({{corpus + "/modules.bas", corpus + "/modules2.sub"}, ""});
    cases.push_back({{corpus + "/modules.bas", corpus + "/modules2.sub"}, "/Zi"});
    cases.push_back({{corpus + "/locals.bas"}, "/Zi"});
    for (const BasicCase& c : cases) {
        SCOPED_TRACE(c.sources.front() + " " + c.options);
        std::string objects;
        for (const std::string& src : c.sources) {
            const std::string base = fs::path(src).stem().string();
            fs::copy_file(src, dir_ / fs::path(src).filename(), fs::copy_options::overwrite_existing);
            fs::remove(dir_ / (base + ".obj"));
            Shell s = Run(Q(TX_TXCL_EXE) + " /nologo " + c.options + " /Fo\"" + base + ".obj\" " +
                          fs::path(src).filename().string());
            ASSERT_EQ(s.rc, 0) << s.out;
            objects += "\"" + base + ".obj\" ";
        }
        ExpectSameAsLd(objects, std::string(c.options) == "/Zi");
    }
}

TEST_F(LinkTest, ImageIsReproducibleWithTimeStampZero) {
    fs::copy_file(fs::path(TX_RUNTIME_PROGRAMS) / "hello.o", dir_ / "hello.obj");
    for (const char* opt : {"", "/DEBUG /DEBUGTYPE:COFF"}) {
        SCOPED_TRACE(opt);
        ASSERT_EQ(Ours(std::string(opt) + " /out:a.exe hello.obj TQ70RN63.LIB").rc, 0);
        ASSERT_EQ(Ours(std::string(opt) + " /out:b.exe hello.obj TQ70RN63.LIB").rc, 0);
        const std::string a = Slurp(dir_ / "a.exe"), b = Slurp(dir_ / "b.exe");
        ASSERT_GT(a.size(), 0x200u);
        EXPECT_EQ(a, b);
        const uint32_t pe = U32(a, 0x3C);
        EXPECT_EQ(U32(a, pe + 8), 0u) << "time stamp";
        Shell dump = Run(Q(TX_OBJDUMP) + " -x a.exe");
        EXPECT_EQ(dump.rc, 0) << dump.out;
        EXPECT_NE(dump.out.find("Subsystem\t\t00000002"), std::string::npos) << dump.out;
    }
}

// /DEBUG keeps the COFF symbols the debugger and the runner read; without
// it the image holds none.
TEST_F(LinkTest, DebugKeepsTheSymbolTable) {
    fs::copy_file(fs::path(TX_RUNTIME_PROGRAMS) / "hello.o", dir_ / "hello.obj");
    ASSERT_EQ(Ours("/out:plain.exe hello.obj TQ70RN63.LIB").rc, 0);
    ASSERT_EQ(Ours("/DEBUG /DEBUGTYPE:COFF /out:debug.exe hello.obj TQ70RN63.LIB").rc, 0);
    const std::string plain = Slurp(dir_ / "plain.exe");
    const uint32_t pe = U32(plain, 0x3C);
    EXPECT_EQ(U32(plain, pe + 12), 0u);
    EXPECT_EQ(U32(plain, pe + 16), 0u);

    tx::runner::PeImage img;
    std::string error;
    ASSERT_TRUE(tx::runner::ReadPeFile((dir_ / "debug.exe").string(), img, error)) << error;
    ASSERT_TRUE(img.Symbol("$PbStartup"));
    EXPECT_EQ(*img.Symbol("$PbStartup"), img.entry);
    ASSERT_TRUE(img.Symbol("_rt_cur_line"));
    ASSERT_TRUE(img.Symbol("_rt_mcb"));
    // binutils agree on where the symbols lie.
    Shell nm = Run(Q(TX_OBJDUMP) + " -t debug.exe");
    ASSERT_EQ(nm.rc, 0) << nm.out;
    // objdump shows the value relative to the symbol's section.
    const uint32_t addr = *img.Symbol("_rt_cur_line");
    char want[96] = "";
    for (size_t i = 0; i < img.sections.size(); ++i) {
        const uint32_t start = img.imageBase + img.sections[i].rva;
        if (addr >= start && addr < start + img.sections[i].virtualSize)
            std::snprintf(want, sizeof want, "(sec %2zu)(fl 0x00)(ty    0)(scl   2) (nx 0) 0x%08x", i + 1, addr - start);
    }
    const size_t at = nm.out.find(" _rt_cur_line\n");
    ASSERT_NE(at, std::string::npos) << nm.out;
    const size_t lineStart = nm.out.rfind('\n', at) + 1;
    EXPECT_NE(nm.out.substr(lineStart, at - lineStart).find(want), std::string::npos) << want << "\n" << nm.out.substr(lineStart, at - lineStart);
}

// The COFF line numbers of the first section that has them, each with the
// name of the symbol a line-0 entry points at; `image` selects the PE form.
struct Lines {
    uint32_t sectionRva = 0;
    std::vector<std::pair<uint32_t, uint16_t>> entries;
    std::vector<std::string> functions;
};

Lines ReadLines(const std::string& b, bool image) {
    Lines out;
    const size_t coff = image ? U32(b, 0x3C) + 4 : 0;
    const size_t nsec = uint8_t(b[coff + 2]) | uint8_t(b[coff + 3]) << 8;
    const size_t opt = uint8_t(b[coff + 16]) | uint8_t(b[coff + 17]) << 8;
    const uint32_t symPtr = U32(b, coff + 8), nsym = U32(b, coff + 12);
    auto symbolName = [&](uint32_t index) {
        const size_t at = symPtr + size_t(index) * 18;
        if (U32(b, at) != 0) return std::string(b.data() + at, strnlen(b.data() + at, 8));
        return std::string(b.data() + symPtr + size_t(nsym) * 18 + U32(b, at + 4));
    };
    for (size_t i = 0; i < nsec; ++i) {
        const size_t h = coff + 20 + opt + 40 * i;
        const uint32_t ptr = U32(b, h + 28);
        const size_t n = uint8_t(b[h + 34]) | uint8_t(b[h + 35]) << 8;
        if (!n) continue;
        out.sectionRva = U32(b, h + 12);
        for (size_t k = 0; k < n; ++k) {
            const uint32_t addr = U32(b, ptr + 6 * k);
            const uint16_t line = uint16_t(uint8_t(b[ptr + 6 * k + 4]) | uint8_t(b[ptr + 6 * k + 5]) << 8);
            out.entries.emplace_back(addr, line);
            if (line == 0) out.functions.push_back(symbolName(addr));
        }
        break;
    }
    return out;
}

// With /DEBUG the line numbers of the main module's code come along: image
// addresses for lines, the same function symbols for line 0. The COFF debug
// directory, first in the debug data directory, points at the debug
// information: the symbols, and the same lines with each function's line-0
// record at the function's address.
TEST_F(LinkTest, DebugKeepsLineNumbers) {
    const std::string corpus = TX_CORPUS_DIR;
    fs::copy_file(corpus + "/locals.bas", dir_ / "locals.bas");
    Shell s = Run(Q(TX_TXCL_EXE) + " /nologo /Zi /Fo\"locals.obj\" locals.bas");
    ASSERT_EQ(s.rc, 0) << s.out;
    ASSERT_EQ(Ours("/DEBUG /DEBUGTYPE:COFF /out:locals.exe locals.obj TQ70RN63.LIB").rc, 0);
    const Lines obj = ReadLines(Slurp(dir_ / "locals.obj"), false);
    const Lines img = ReadLines(Slurp(dir_ / "locals.exe"), true);
    ASSERT_GT(obj.entries.size(), 2u);
    ASSERT_EQ(img.entries.size(), obj.entries.size());
    for (size_t k = 0; k < obj.entries.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(img.entries[k].second, obj.entries[k].second);
        if (obj.entries[k].second != 0) {
            EXPECT_EQ(img.entries[k].first, img.sectionRva + obj.entries[k].first);
        }
    }
    EXPECT_FALSE(obj.functions.empty());
    EXPECT_EQ(img.functions, obj.functions);

    const std::string exe = Slurp(dir_ / "locals.exe");
    const size_t coff = U32(exe, 0x3C) + 4, opt = coff + 20;
    const uint32_t dirRva = U32(exe, opt + 96 + 6 * 8), dirSize = U32(exe, opt + 96 + 6 * 8 + 4);
    ASSERT_EQ(dirSize, 28u);
    size_t entry = 0;
    const size_t nsec = uint8_t(exe[coff + 2]);
    for (size_t i = 0; i < nsec; ++i) {
        const size_t h = opt + 224 + 40 * i;
        if (dirRva >= U32(exe, h + 12) && dirRva < U32(exe, h + 12) + U32(exe, h + 16))
            entry = U32(exe, h + 20) + dirRva - U32(exe, h + 12);
    }
    ASSERT_NE(entry, 0u) << "no section holds the debug directory";
    EXPECT_EQ(U32(exe, entry + 12), 1u) << "type COFF";
    const size_t info = U32(exe, entry + 24);
    EXPECT_EQ(U32(exe, info), U32(exe, coff + 12)) << "the symbols";
    EXPECT_EQ(info + U32(exe, info + 4), U32(exe, coff + 8));
    ASSERT_EQ(U32(exe, info + 8), img.entries.size()) << "the line numbers";
    const size_t lines = info + U32(exe, info + 12);
    for (size_t k = 0; k < img.entries.size(); ++k) {
        SCOPED_TRACE(k);
        const uint32_t addr = U32(exe, lines + 6 * k);
        const uint16_t line = uint16_t(uint8_t(exe[lines + 6 * k + 4]) | uint8_t(exe[lines + 6 * k + 5]) << 8);
        EXPECT_EQ(line, img.entries[k].second);
        if (line != 0) EXPECT_EQ(addr, img.entries[k].first);
        else {
            // The address of the function the section's record names.
            const size_t sym = U32(exe, coff + 8) + size_t(img.entries[k].first) * 18;
            const size_t sec = uint8_t(exe[sym + 12]) | uint8_t(exe[sym + 13]) << 8;
            ASSERT_GT(sec, 0u);
            EXPECT_EQ(addr, U32(exe, opt + 224 + 40 * (sec - 1) + 12) + U32(exe, sym + 8));
        }
    }
}

// LINK.EXE of the win64 build under Wine, run in a folder named 表 (trail
// byte 0x5C) with a code page 932 response file, writes the very bytes the
// native build writes. Skipped when that build or Wine is missing.
TEST_F(LinkTest, WindowsLinkUnderWineWritesTheSameImage) {
    const fs::path exe = fs::path(TX_SOURCE_DIR) / "build/win64/bin/LINK.EXE";
    if (!fs::exists(exe) || !fs::exists("/usr/lib/wine/wine64")) GTEST_SKIP() << "no win64 LINK.EXE or Wine";
    const std::string corpus = TX_CORPUS_DIR;
    for (const char* f : {"modules.bas", "modules2.sub"}) fs::copy_file(corpus + "/" + f, dir_ / f);
    for (const char* f : {"modules", "modules2"}) {
        const std::string src = std::string(f) + (std::string(f) == "modules" ? ".bas" : ".sub");
        Shell s = Run(Q(TX_TXCL_EXE) + " /nologo /Zi /Fo" + f + ".obj " + src);
        ASSERT_EQ(s.rc, 0) << s.out;
    }
    const fs::path kanji = dir_ / "\u8868"; // 表, named in UTF-8 on this side
    const fs::path native = dir_ / "native";
    for (const fs::path& d : {kanji, native}) {
        fs::create_directories(d);
        fs::copy_file(dir_ / "modules.obj", d / "modules.obj");
    }
    const std::string opts = "/nologo /subsystem:windows /machine:IX86 /nodefaultlib /DEBUG /DEBUGTYPE:COFF /out:\"prog.exe\" ";
    Spit(native / "link.rsp", opts + "\"modules.obj\" \"../modules2.obj\" " + kLibs + "\r\n");
    // The second object through the folder's own name: 95 5C, then the separator.
    Spit(kanji / "link.rsp", opts + "\"modules.obj\" \"..\\\x95\x5C\\..\\modules2.obj\" " + kLibs + "\r\n");
    Shell n = Run("cd native && LIB=" + Q(TX_LIB_DIR) + " " + Q(TX_LINK_EXE) + " @link.rsp");
    ASSERT_EQ(n.rc, 0) << n.out;
    std::string winLib = std::string("Z:") + TX_LIB_DIR;
    for (char& c : winLib) if (c == '/') c = '\\';
    Shell w = Run("cd " + Q(kanji.string()) + " && LIB=" + Q(winLib) + " " +
                  Q(std::string(TX_SOURCE_DIR) + "/scripts/wine-run.sh") + " " + Q(exe.string()) + " @link.rsp");
    ASSERT_EQ(w.rc, 0) << w.out;
    const std::string a = Slurp(native / "prog.exe"), b = Slurp(kanji / "prog.exe");
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == b) << "the images differ";
    EXPECT_EQ(Basrun("native/prog.exe").out, Basrun("\u8868/prog.exe").out);
}

struct ErrorCase {
    const char* name;
    const char* rsp;
    const char* message; // expected in the output
};

TEST_F(LinkTest, FailuresLeaveNoImage) {
    fs::copy_file(fs::path(TX_RUNTIME_PROGRAMS) / "hello.o", dir_ / "hello.obj");
    Assemble("missing", ".text\n.globl _f\n_f:\n call _nothere@4\n ret\n");
    Spit(dir_ / "junk.obj", "not an object\n");
    Spit(dir_ / "old.res", std::string("\xFF\x0A\x00\xFF\x01\x00\x30\x10\x04\x00\x00\x00" "abcd", 16));
    const ErrorCase cases[] = {
        {"unresolved", "/out:prog.exe hello.obj missing.obj TQ70RN63.LIB",
         "missing.obj : error LNK2001: unresolved external symbol _nothere@4\nprog.exe : fatal error LNK1120: 1 unresolved externals\n"},
        {"no runtime", "/out:prog.exe hello.obj", "error LNK2001: unresolved external symbol _$PsPRINTs@4"},
        {"twice defined", "/out:prog.exe hello.obj \"hello.obj\" TQ70RN63.LIB", "hello.obj : error LNK2005: $BAS_MAIN already defined in hello.obj"},
        {"other machine", "/machine:X64 /out:prog.exe hello.obj TQ70RN63.LIB", "fatal error LNK1117"},
        {"missing file", "/out:prog.exe hello.obj nothere.obj TQ70RN63.LIB", "fatal error LNK1181: cannot open input file 'nothere.obj'"},
        {"missing library", "/out:prog.exe hello.obj TQ70XX63.LIB", "fatal error LNK1181: cannot open input file 'TQ70XX63.LIB'"},
        {"not an object", "/out:prog.exe hello.obj junk.obj TQ70RN63.LIB", "junk.obj : fatal error LNK1107"},
        {"16-bit resources", "/out:prog.exe hello.obj old.res TQ70RN63.LIB", "old.res : fatal error LNK1107: invalid or corrupt file: a 16-bit resource file"},
        {"folder as object", "/out:prog.exe hello.obj folder.obj TQ70RN63.LIB",
         "fatal error LNK1181: cannot open input file 'folder.obj': it is a folder or a device, not a file"},
        {"device as object", "/out:prog.exe hello.obj zero.obj TQ70RN63.LIB",
         "fatal error LNK1181: cannot open input file 'zero.obj': it is a folder or a device, not a file"},
        {"object over the cap", "/out:prog.exe hello.obj big.obj TQ70RN63.LIB",
         "fatal error LNK1181: cannot open input file 'big.obj': it is larger than 256 MB"},
    };
    fs::create_directories(dir_ / "folder.obj");
    fs::create_symlink("/dev/zero", dir_ / "zero.obj");
    std::ofstream(dir_ / "big.obj").close();
    fs::resize_file(dir_ / "big.obj", (256u << 20) + 1);
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        Spit(dir_ / "prog.exe", "stale image of an earlier build");
        Shell s = Ours(c.rsp);
        EXPECT_NE(s.rc, 0);
        EXPECT_NE(s.out.find(c.message), std::string::npos) << s.out;
        EXPECT_FALSE(fs::exists(dir_ / "prog.exe"));
    }
    // A response file that is a device stops the link before its options are read.
    Shell s = Ours("/out:prog.exe hello.obj @/dev/zero");
    EXPECT_NE(s.rc, 0);
    EXPECT_NE(s.out.find("fatal error LNK1104: cannot open file '/dev/zero': it is a folder or a device, not a file"),
              std::string::npos)
        << s.out;
}

// Quoted names with blanks and Shift-JIS bytes; without /out: the image is
// named after the first object, its extension replaced in the file name
// only.
TEST_F(LinkTest, ResponseFileNamesAndDefaultOutput) {
    const fs::path folder = dir_ / "proj.rc \x95\x5C";
    fs::create_directories(folder);
    fs::copy_file(fs::path(TX_RUNTIME_PROGRAMS) / "hello.o", folder / "MAIN");
    Shell s = Ours("/nologo /MAP \"proj.rc \x95\x5C/MAIN\" \r\n\t TQ70RN63.LIB  \"TQ70MS63.LIB\"\r\n");
    // A name without an extension is taken as an object file.
    EXPECT_NE(s.rc, 0);
    EXPECT_NE(s.out.find("LNK1181: cannot open input file 'proj.rc \x95\x5C/MAIN.obj'"), std::string::npos) << s.out;
    fs::rename(folder / "MAIN", folder / "MAIN.obj");
    s = Ours("/nologo /MAP /FOO \"proj.rc \x95\x5C/MAIN.obj\" \r\n\t TQ70RN63.LIB  \"TQ70MS63.LIB\"\r\n");
    ASSERT_EQ(s.rc, 0) << s.out;
    EXPECT_EQ(s.out, "LINK : warning LNK4044: unrecognized option '/FOO'; ignored\n");
    EXPECT_TRUE(fs::exists(folder / "MAIN.exe"));
    EXPECT_NE(Slurp(folder / "MAIN.map").find("$PbStartup"), std::string::npos);
    EXPECT_EQ(Basrun("proj.rc \x95\x5C/MAIN.exe").out.rfind("Hello, world\n", 0), 0u);
}

// A .res from windres goes into .rsrc; windres reads the resources of our
// image as it reads those of the image the real linker made from the same
// .res.
TEST_F(LinkTest, ResourcesFromWindres) {
    fs::copy_file(fs::path(TX_RUNTIME_PROGRAMS) / "hello.o", dir_ / "hello.obj");
    Spit(dir_ / "app.rc",
         "#define IDM_MAIN 100\n"
         "IDM_MAIN MENU\n{\n POPUP \"&File\"\n {\n  MENUITEM \"E&xit\", 200\n  MENUITEM SEPARATOR\n }\n}\n"
         "MAINFORM RCDATA\n{\n 1, 2L, \"ab\\0\"\n}\n"
         "7 RCDATA\n{\n 0x1234\n}\n"
         "LANGUAGE 0x09, 0x01\n7 RCDATA\n{\n 0x4321\n}\n"
         "STRINGTABLE\n{\n 1, \"one\"\n 17, \"seventeen\"\n}\n"
         "ACCEL ACCELERATORS\n{\n \"A\", 300, VIRTKEY, CONTROL\n}\n");
    Shell rc = Run(Q(TX_WINDRES) + " -l 0x411 -i app.rc -O res -o app.res");
    ASSERT_EQ(rc.rc, 0) << rc.out;
    rc = Run(Q(TX_WINDRES) + " -i app.res -O coff -o app_res.obj");
    ASSERT_EQ(rc.rc, 0) << rc.out;
    ASSERT_EQ(Ld("hello.obj app_res.obj", "ld.exe").rc, 0);
    Shell ours = Ours("/nologo /out:ours.exe hello.obj app.res TQ70RN63.LIB");
    ASSERT_EQ(ours.rc, 0) << ours.out;
    Shell a = Run(Q(TX_WINDRES) + " -J coff -i ld.exe -O rc -o ld.rc");
    Shell b = Run(Q(TX_WINDRES) + " -J coff -i ours.exe -O rc -o ours.rc");
    ASSERT_EQ(a.rc, 0) << a.out;
    ASSERT_EQ(b.rc, 0) << b.out;
    const std::string ldRc = Slurp(dir_ / "ld.rc"), oursRc = Slurp(dir_ / "ours.rc");
    EXPECT_NE(ldRc.find("MAINFORM"), std::string::npos) << ldRc;
    EXPECT_EQ(oursRc, ldRc);
    EXPECT_EQ(Basrun("ours.exe").out, Basrun("ld.exe").out);

    // The same resource twice is refused.
    Shell twice = Ours("/nologo /out:twice.exe hello.obj app.res app.res TQ70RN63.LIB");
    EXPECT_NE(twice.rc, 0);
    EXPECT_NE(twice.out.find("fatal error CVT1100: duplicate resource."), std::string::npos) << twice.out;
    EXPECT_FALSE(fs::exists(dir_ / "twice.exe"));
}

// Damaged inputs are refused by the readers, never read past their end.
TEST(LinkReaders, DamagedInputsAreRefused) {
    std::vector<uint8_t> res(32, 0);
    res[4] = 0x20;
    res[8] = res[9] = res[12] = res[13] = 0xFF;
    auto entry = [](uint32_t dataSize, uint32_t headerSize) {
        std::vector<uint8_t> e(32, 0);
        e[0] = uint8_t(dataSize);
        e[4] = uint8_t(headerSize);
        e[8] = e[9] = 0xFF;
        e[10] = 10;
        e[12] = e[13] = 0xFF;
        e[14] = 1;
        return e;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> tail;
        bool ok;
    };
    std::vector<Case> cases = {
        {"sound", entry(0, 32), true},
        {"header past the end", entry(0, 200), false},
        {"data past the end", entry(100, 32), false},
        {"header too small for its names", entry(0, 12), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = res;
        for (uint8_t b : c.tail) bytes.push_back(b);
        std::vector<txlink::ResourceEntry> entries;
        std::string error;
        EXPECT_EQ(txlink::ReadResources(bytes, entries, error), c.ok) << error;
    }

    txlink::ObjectFile obj;
    std::string error;
    std::vector<uint8_t> coff(20, 0);
    coff[0] = 0x4C;
    coff[1] = 0x01;
    coff[2] = 3; // three sections, none present
    EXPECT_FALSE(txlink::ReadObject(coff, obj, error));
    txlink::Archive lib;
    std::string ar = "!<arch>\nmember.o/       0           0     0     644     999       `\n";
    EXPECT_FALSE(txlink::ReadArchive(std::vector<uint8_t>(ar.begin(), ar.end()), lib, error));
}

} // namespace
