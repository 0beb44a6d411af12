// Runs hand-written programs (shaped like generated code, linked with the
// real i686 linker against the runtime) in the emulator and compares their
// output and how they stop.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "machine.h"

using namespace tx::runner;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Outcome {
    Stop stop;
    std::string output;
    std::string message;
};

Outcome RunImage(const std::string& name, const Limits& limits = {}) {
    Outcome r;
    PeImage image;
    std::string error;
    std::string path = std::string(TX_PROGRAMS_BIN) + "/" + name + ".exe";
    EXPECT_TRUE(ReadPeFile(path, image, error)) << error;
    Machine m;
    EXPECT_TRUE(m.Load(image, error)) << error;
    m.SetOutput([&](const char* p, size_t n) { r.output.append(p, n); });
    r.stop = m.Run(limits);
    r.message = m.Describe(r.stop, limits);
    return r;
}

TEST(RuntimePrograms, PrintExactOutput) {
    for (const char* name : {"hello", "numbers", "format", "strings", "gosub", "procs", "arrays", "data"}) {
        SCOPED_TRACE(name);
        Outcome r = RunImage(name);
        EXPECT_EQ(r.stop.kind, StopKind::Exited) << r.message;
        EXPECT_EQ(r.stop.exitCode, 0);
        EXPECT_EQ(r.output, ReadText(std::string(TX_PROGRAMS_SRC) + "/" + name + ".out"));
    }
}

TEST(RuntimePrograms, FailuresStopWithTheirPlace) {
    struct Case {
        const char* image;
        StopKind kind;
        int basicError;
        uint32_t line;
        const char* message;
        const char* output = ""; // what the program printed before it stopped
    } cases[] = {
        {"fault_read", StopKind::Fault, 0, 11, "read of unmapped memory at 0x00000010", "before"},
        {"fault_loop", StopKind::InstructionLimit, 0, 12, "instruction limit of 100000 reached"},
        {"fault_push", StopKind::UnbalancedStack, 0, 14, "ESP 0x7FEFFFE4 where 0x7FEFFFE8 was expected"},
        {"fault_div", StopKind::RuntimeError, 11, 15, "runtime error 11 (division by zero) in FAULTS.BAS line 15"},
        {"fault_overflow", StopKind::RuntimeError, 6, 16, "(overflow)"},
        {"fault_return", StopKind::Fault, 0, 17, "jump to unmapped memory at 0x12345678"},
        {"fault_gosub", StopKind::RuntimeError, 3, 18, "RETURN without GOSUB"},
        {"fault_subscript", StopKind::RuntimeError, 9, 19, "subscript out of range"},
        {"fault_data", StopKind::RuntimeError, 4, 20, "out of DATA"},
        {"fault_mismatch", StopKind::RuntimeError, 13, 21, "type mismatch"},
        {"fault_procpush", StopKind::UnbalancedStack, 0, 24, "unbalanced stack in FAULTS.BAS line 24"},
        {"fault_hlt", StopKind::Fault, 0, 25, "hlt instruction"},
        {"fault_huge", StopKind::RuntimeError, 7, 26, "out of memory"},
        {"fault_mainpush", StopKind::Fault, 0, 27, "jump to unmapped memory at 0x00000777 (a return to a pushed value"},
        {"fault_mainpop", StopKind::UnbalancedStack, 0, 28, "ESP 0x7FEFFFF0 where 0x7FEFFFEC was expected"},
        {"fault_farreg", StopKind::Fault, 0, 29, "invalid instruction (FF EC"},
        {"fault_writehuge", StopKind::Fault, 0, 30, "WriteFile with a bad buffer"},
    };
    Limits limits;
    limits.instructions = 100000;
    limits.microseconds = 20'000'000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        Outcome r = RunImage(c.image, limits);
        EXPECT_EQ(r.stop.kind, c.kind) << r.message;
        EXPECT_EQ(r.stop.basicError, c.basicError);
        EXPECT_EQ(r.stop.line, c.line);
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_NE(r.stop.address, 0u);
        EXPECT_EQ(r.output, c.output);
    }
}

// A write of nothing reaches no output at all (the sink may not take a null
// buffer).
TEST(RuntimePrograms, EmptyWriteOutputsNothing) {
    PeImage image;
    std::string error;
    ASSERT_TRUE(ReadPeFile(std::string(TX_PROGRAMS_BIN) + "/fault_writeempty.exe", image, error)) << error;
    Machine m;
    ASSERT_TRUE(m.Load(image, error)) << error;
    int calls = 0;
    m.SetOutput([&](const char*, size_t) { ++calls; });
    Stop s = m.Run();
    EXPECT_EQ(s.kind, StopKind::Exited) << m.Describe(s);
    EXPECT_EQ(calls, 0);
}

// Shift-JIS bytes go out as they are; the K functions count a double-byte
// character as one; the program ends with the error it raises itself.
TEST(RuntimePrograms, ShiftJisTextAndRaisedError) {
    Outcome r = RunImage("sjis");
    EXPECT_EQ(r.output, "\xb6\xc5\x8a\xbf\x83\x61" "A\x8a|\n"
                        "\x8a\xbf\x8e\x9a\x8a\xbf\x8a\xbf" "b|\n"
                        "-2  123456  2.5  .5  8 \n"
                        "abc 4 \n");
    EXPECT_EQ(r.stop.kind, StopKind::RuntimeError) << r.message;
    EXPECT_EQ(r.stop.basicError, 200);
    EXPECT_EQ(r.stop.line, 5u);
}

// Endless recursion stops on the runtime's stack check (error 28), before the
// stack runs out; it needs more instructions than the table above allows.
TEST(RuntimePrograms, DeepRecursionEndsAsAnError) {
    Outcome r = RunImage("fault_recursion");
    EXPECT_EQ(r.stop.kind, StopKind::RuntimeError) << r.message;
    EXPECT_EQ(r.stop.basicError, 28);
}

TEST(RuntimePrograms, TimeLimitStopsARunawayLoop) {
    Limits limits;
    limits.instructions = 0;
    limits.microseconds = 300'000;
    Outcome r = RunImage("fault_loop", limits);
    EXPECT_EQ(r.stop.kind, StopKind::TimeLimit) << r.message;
    EXPECT_NE(r.message.find("time limit"), std::string::npos);
}

// What a debugger engine does: stop at an int3 it planted, look at the
// registers, put the byte back, step, change memory, go on.
TEST(Machine, BreakpointStepAndMemory) {
    PeImage image;
    std::string error;
    ASSERT_TRUE(ReadPeFile(std::string(TX_PROGRAMS_BIN) + "/hello.exe", image, error)) << error;
    Machine m;
    ASSERT_TRUE(m.Load(image, error)) << error;
    std::string out;
    m.SetOutput([&](const char* p, size_t n) { out.append(p, n); });

    auto main = m.Symbol("$BAS_MAIN");
    ASSERT_TRUE(main);
    EXPECT_EQ(m.Get(Reg::Eip), image.entry);
    uint8_t original = 0, int3 = 0xCC;
    ASSERT_TRUE(m.Read(*main, &original, 1));
    EXPECT_EQ(original, 0x68); // push imm32 of the control block's address
    ASSERT_TRUE(m.Write(*main, &int3, 1));

    Stop s = m.Run();
    ASSERT_EQ(s.kind, StopKind::Breakpoint) << m.Describe(s);
    EXPECT_EQ(s.address, *main);
    EXPECT_EQ(m.Get(Reg::Eip), *main + 1);
    uint32_t ret = 0;
    ASSERT_TRUE(m.Read(m.Get(Reg::Esp), &ret, 4));
    EXPECT_GT(ret, image.entry); // called from the start-up routine
    EXPECT_LT(ret, image.entry + 64);

    ASSERT_TRUE(m.Write(*main, &original, 1));
    m.Set(Reg::Eip, *main);
    uint32_t esp = m.Get(Reg::Esp);
    s = m.Step();
    EXPECT_EQ(s.kind, StopKind::Step);
    EXPECT_EQ(m.Get(Reg::Eip), *main + 5);
    EXPECT_EQ(m.Get(Reg::Esp), esp - 4);
    // The trap flag steps as well: into the call of the control-block routine.
    m.Set(Reg::Eflags, m.Get(Reg::Eflags) | 0x100);
    s = m.Run();
    EXPECT_EQ(s.kind, StopKind::Step) << m.Describe(s);
    EXPECT_EQ(s.address, *m.Symbol("_$PbSetMcbMain@4"));
    EXPECT_EQ(m.Get(Reg::Eflags) & 0x100, 0u);

    // The first string constant's text: "Hello, world" becomes "Jello, world".
    uint32_t record[3];
    auto cs = std::find_if(image.sections.begin(), image.sections.end(),
                           [](const PeSection& sec) { return sec.name == ".data"; });
    ASSERT_NE(cs, image.sections.end());
    bool patched = false;
    for (uint32_t a = image.imageBase + cs->rva; a < image.imageBase + cs->rva + cs->virtualSize && !patched; a += 4) {
        char text[12];
        if (m.Read(a, record, 12) && record[0] == 0 && record[1] == 12 && m.Read(record[2], text, 12) &&
            std::string(text, 12) == "Hello, world") {
            char j = 'J';
            patched = m.Write(record[2], &j, 1);
        }
    }
    ASSERT_TRUE(patched);
    s = m.Run();
    EXPECT_EQ(s.kind, StopKind::Exited) << m.Describe(s);
    EXPECT_EQ(out.rfind("Jello, world\n", 0), 0u) << out;
    EXPECT_EQ(m.CurrentLine(), 9u);
    EXPECT_EQ(m.CurrentModule(), "HELLO.BAS");
}

TEST(PeImage, RejectsWhatItCannotRun) {
    std::string error;
    PeImage image;
    EXPECT_FALSE(ReadPeImage({}, image, error));
    EXPECT_NE(error.find("no MZ header"), std::string::npos);

    std::vector<uint8_t> bytes(0x200, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = 0x80;
    EXPECT_FALSE(ReadPeImage(bytes, image, error));
    EXPECT_NE(error.find("no PE signature"), std::string::npos);

    std::string hello = ReadText(std::string(TX_PROGRAMS_BIN) + "/hello.exe");
    // The runtime's zeroed data (its 16 MB heap) takes no bytes of the image.
    ASSERT_LT(hello.size(), 1u << 20) << "hello.exe carries the runtime's zeroed data";
    std::vector<uint8_t> good(hello.begin(), hello.end());
    ASSERT_TRUE(ReadPeImage(good, image, error)) << error;
    EXPECT_EQ(image.importedDlls, (std::vector<std::string>{"GDI32.dll", "KERNEL32.dll", "USER32.dll"}));
    for (const PeImport& imp : image.imports) {
        EXPECT_FALSE(imp.name.empty()) << imp.dll;
        EXPECT_LT(imp.slot, image.sizeOfImage) << imp.name;
    }
    // Every shorter prefix of a real image is refused or read without a crash.
    for (size_t n = 0; n < good.size(); n += 97) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        PeImage partial;
        std::string e;
        if (ReadPeImage(cut, partial, e)) {
            EXPECT_TRUE(e.empty());
        }
    }
    // x86-64 machine field
    good[*reinterpret_cast<uint32_t*>(&good[0x3C]) + 4] = 0x64;
    good[*reinterpret_cast<uint32_t*>(&good[0x3C]) + 5] = 0x86;
    EXPECT_FALSE(ReadPeImage(good, image, error));
    EXPECT_NE(error.find("not an i386 image"), std::string::npos);
}

// An import the machine does not provide stops the load, naming it, as
// Windows refuses a program whose import it cannot find.
TEST(PeImage, UnknownImportIsRefusedByName) {
    std::string hello = ReadText(std::string(TX_PROGRAMS_BIN) + "/hello.exe");
    const size_t at = hello.find(std::string("WriteFile", 10));
    ASSERT_NE(at, std::string::npos);
    hello[at + 8] = 'X';
    PeImage image;
    std::string error;
    ASSERT_TRUE(ReadPeImage(std::vector<uint8_t>(hello.begin(), hello.end()), image, error)) << error;
    Machine m;
    EXPECT_FALSE(m.Load(image, error));
    EXPECT_NE(error.find("KERNEL32.dll WriteFilX, which is not provided here"), std::string::npos) << error;
}

} // namespace
