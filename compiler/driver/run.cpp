// The run after the command line: the source check, the temporary files
// through which the passes talk, the "/TMP" dump and the pass chain.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dbcs.h"
#include "driver.h"
#include "fileplat.h"

namespace txcl {
namespace {

struct TempFileRecord {
    uint32_t detail;
    const char *prefix;     // unique names: prefix and a number
    const char *fixedName;  // with "/TMP", in the current folder
    char *CmpFilParam::*field;
};

constexpr TempFileRecord kTempFiles[3] = {
    {0x202, "~SL", "Srclist.tmp", &CmpFilParam::slist_filename},
    {0x203, "~TC", "Tcode.tmp", &CmpFilParam::tcode_filename},
    {0x204, "~PC", "Pcode.tmp", &CmpFilParam::pcode_filename},
};

// Output files a pass will create or overwrite, with the detail naming them.
struct OutputName {
    int slot;
    uint32_t detail;
};
constexpr OutputName kOutputs[] = {
    {kSlotFo, kDetailObject}, {kSlotFs, kDetailListing}, {kSlotFx, kDetailXref},
    {kSlotFp, kDetailExpanded}, {kSlotYc, kDetailPch},
};

struct DumpWord {
    const char *format;
    uint32_t CmpFilParam::*field;
};
constexpr DumpWord kDumpWords[] = {
    {"TMP : %d\n", &CmpFilParam::TMP}, {"M   : %d\n", &CmpFilParam::M},
    {"CL  : %d\n", &CmpFilParam::CL},  {"CI  : %d\n", &CmpFilParam::CI},
    {"CO  : %d\n", &CmpFilParam::CO},  {"CF  : %d\n", &CmpFilParam::CF},
    {"Zi  : %d\n", &CmpFilParam::Zi},  {"CV  : %d\n", &CmpFilParam::CV},
};

struct DumpName {
    const char *format;
    char *CmpFilParam::*field;
};
constexpr DumpName kDumpNames[] = {
    {"S_filenmae  : %s\n", &CmpFilParam::S_filenmae},
    {"Fo_filename : %s\n", &CmpFilParam::Fo_filename},
    {"Fs_filename : %s\n", &CmpFilParam::Fs_filename},
    {"Fx_filename : %s\n", &CmpFilParam::Fx_filename},
    {"Fp_filename : %s\n", &CmpFilParam::Fp_filename},
    {"Yc_filename : %s\n", &CmpFilParam::Yc_filename},
};

// The folder named by TMP when it exists, else the current one.
std::string TempFolder() {
    const char *tmp = std::getenv("TMP");
    if (!tmp || !*tmp || !IsDirectory(tmp))
        return ".";
    return tmp;
}

bool EndsWithSeparator(const std::string &dir) {
    std::size_t whole = tx::SjisFitLength(dir.c_str(), dir.size());
    if (whole == 0)
        return false;
    // The last character is a single byte unless it is a lead-trail pair.
    std::size_t i = 0, last = 0;
    while (i < whole) {
        last = i;
        i += tx::IsSjisLeadByte(static_cast<unsigned char>(dir[i])) && i + 1 < whole ? 2 : 1;
    }
    return i - last == 1 && (dir[last] == '\\' || dir[last] == '/');
}

// Creates a new empty file named by the prefix and a number; never reuses a
// name that exists, so parallel compilations in one folder stay apart.
bool CreateUniqueTemp(const char *prefix, std::string &name) {
    std::string dir = TempFolder();
    if (!EndsWithSeparator(dir))
        dir += kPathSeparator;
    unsigned long start = ProcessNumber() % 100000;
    for (unsigned long k = 0; k < 100000; ++k) {
        std::string candidate = dir + prefix + std::to_string((start + k) % 100000);
        NewFile r = CreateNewFile(candidate.c_str());
        if (r == NewFile::kCreated) {
            name = std::move(candidate);
            return true;
        }
        if (r == NewFile::kFailed)
            break;  // not a name clash: another number will not help
    }
    return false;
}

}  // namespace

bool CheckSource(Driver &d) {
    const char *src = d.args.back().c_str();
    if (CanOpenForReading(src))
        return true;
    PrintError(d, kErrOpen, kDetailSource, src, std::strlen(src));
    return false;
}

// An output option naming the source would have the passes overwrite the
// very file they read: refuse it before anything is written.
bool CheckOutputsAgainstSource(Driver &d) {
    const char *src = d.args.back().c_str();
    for (const OutputName &o : kOutputs) {
        const char *s = d.slot[o.slot];
        if (!s || !SameFile(s + 3, src))
            continue;
        PrintError(d, kErrOption, o.detail, s + 3, std::strlen(s + 3));
        return false;
    }
    return true;
}

bool CreateTempFiles(Driver &d) {
    bool keep = d.Flag(kSlotTMP);
    for (std::size_t i = 0; i < std::size(kTempFiles); ++i) {
        const TempFileRecord &t = kTempFiles[i];
        bool ok;
        if (keep) {
            d.tempName[i] = t.fixedName;
            ok = CreateEmptyFile(t.fixedName);
        } else {
            ok = CreateUniqueTemp(t.prefix, d.tempName[i]);
        }
        if (!ok) {
            d.tempName[i].clear();
            PrintError(d, kErrWorkFile, t.detail, nullptr, 0);
            return false;
        }
        if (!keep)
            RemoveOnInterrupt(d.tempName.data(), i + 1);
        d.param.*t.field = d.tempName[i].data();
    }
    return true;
}

void RemoveTempFiles(Driver &d) {
    if (d.Flag(kSlotTMP))
        return;
    for (std::size_t i = 0; i < std::size(kTempFiles); ++i) {
        if (d.tempName[i].empty())
            continue;
        std::remove(d.tempName[i].c_str());
        d.tempName[i].clear();
        d.param.*kTempFiles[i].field = nullptr;
    }
    RemoveOnInterrupt(nullptr, 0);
}

void DumpCmpFilParam(Driver &d) {
    const CmpFilParam &p = d.param;
    for (const DumpWord &w : kDumpWords)
        d.out.Printf(w.format, static_cast<int>(p.*w.field));
    for (const DumpName &n : kDumpNames)
        if (p.*n.field)
            d.out.Printf(n.format, p.*n.field);
    for (int i = 0; p.I_path[i]; ++i)
        d.out.Printf("I_path[%d] : %s\n", i, p.I_path[i]);
    for (int i = 0; p.Yu_filename[i]; ++i)
        d.out.Printf("Yu_filename[%d] : %s\n", i, p.Yu_filename[i]);
    d.out.Printf("srcfilename : %s\n\n", p.srcfilename);
    d.out.Flush();
}

bool BuildCmpFilParam(Driver &d) {
    return FillCmpFilParam(d) && CreateTempFiles(d);
}

bool RunPasses(Driver &d) {
    if (!BuildCmpFilParam(d))
        return false;
    bool keep = d.Flag(kSlotTMP);
    if (keep)
        DumpCmpFilParam(d);
    for (const PassEntry &pass : d.passes.pass) {
        if (keep)
            PrintVersionLine(d, pass.library);
        d.out.Flush();  // the pass writes to standard output too
        if (pass.entry(&d.param) != 1) {
            PrintError(d, d.param.err_code, d.param.err_detail, d.param.err_text,
                       sizeof d.param.err_text);
            return false;
        }
    }
    return true;
}

int TxclMain(int argc, const char *const *argv, const PassSet &passes, Console &console) {
    Driver d(passes, console);
    for (int i = 1; i < argc; ++i)
        d.args.emplace_back(argv[i]);
    bool ok = ParseOptions(d) && CheckSource(d) && CheckOutputsAgainstSource(d) && RunPasses(d);
    RemoveTempFiles(d);
    d.out.Flush();
    return ok ? 0 : -1;
}

}  // namespace txcl
