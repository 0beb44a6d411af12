// TXCL: the compiler driver. One Driver holds the state of one run: the
// option slots, the default-name buffers, the parameter block handed to the
// passes and the temporary files. main() makes one with the real passes;
// tests make their own with fake passes and a captured console.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cmpfilparam.h"
#include "passerror.h"

namespace txcl {

// Where the driver's output goes: standard output, or a string in tests.
class Console {
public:
    explicit Console(std::string *capture = nullptr) : capture_(capture) {}
    void Write(std::string_view bytes);
    void Printf(const char *format, ...) __attribute__((format(printf, 2, 3)));
    void Flush();

private:
    std::string *capture_;
};

// One pass of the chain: the library file whose version line "/TMP" prints,
// and the entry point.
struct PassEntry {
    const char *library;
    CmpFilPass entry;
};

struct PassSet {
    std::array<PassEntry, 3> pass;
};

// The real chain: PP_CmpFil, SC_CmpFil, CG_CmpFil.
PassSet RealPasses();

// The option slots (one per option group) and the two argument arrays.
enum Slot : int {
    kSlotTMP, kSlotS, kSlotM, kSlotCL, kSlotCI, kSlotCO, kSlotCF,
    kSlotFo, kSlotFs, kSlotFx, kSlotFp, kSlotZi, kSlotCV, kSlotYc, kSlotNologo,
    kSlotCount,
    kSlotInclude = kSlotCount,  // destinations that append to an array
    kSlotPch,
};

constexpr int kOptionCount = 22;

struct Driver {
    Driver(const PassSet &passes, Console &console) : passes(passes), out(console) {}

    PassSet passes;
    Console &out;

    // Own copies of the arguments: option letters are rewritten in place
    // and "/S:" loses its colon, and the block points into these.
    std::vector<std::string> args;

    // Each slot holds null (not given), the name in the option table (a
    // flag) or the argument text (an option with a handler).
    std::array<const char *, kSlotCount> slot{};
    std::vector<const char *> includes;
    std::vector<const char *> pchs;
    // An option whose record is consumed cannot be given again.
    std::array<bool, kOptionCount> consumed{};

    std::string baseName;
    std::string objectDefault;              // "/Fo" base ".obj"
    std::array<std::string, 4> nameDefault;  // "/Fs", "/Fx", "/Fp", "/Yc" defaults

    CmpFilParam param{};
    std::array<std::string, 3> tempName;
    bool bannerDone = false;

    bool Flag(Slot s) const { return slot[s] != nullptr; }
};

// The whole program: parse, check, run the passes, clean up. Returns 0 or -1.
int TxclMain(int argc, const char *const *argv, const PassSet &passes, Console &console);

// Command line (options.cpp).
bool ParseOptions(Driver &d);
bool FillCmpFilParam(Driver &d);
std::string BaseName(const char *path);

// Run (run.cpp).
bool CheckSource(Driver &d);
bool CheckOutputsAgainstSource(Driver &d);
bool CreateTempFiles(Driver &d);
bool BuildCmpFilParam(Driver &d);  // fill the block, then create the temporaries
void RemoveTempFiles(Driver &d);
void DumpCmpFilParam(Driver &d);
bool RunPasses(Driver &d);

// Texts (messages.cpp, the one file compiled to code page 932).
void PrintError(Driver &d, uint32_t code, uint32_t detail, const char *text, std::size_t textMax);
void PrintUsage(Driver &d);

// Banner and version lines (banner.cpp).
void PrintBanner(Driver &d);
void PrintVersionLine(Driver &d, const char *library);

// Error and detail codes: passerror.h.
using enum tx::PassError;
using enum tx::PassDetail;

}  // namespace txcl
