// The command line: the option table, its handlers, the /MWD forcing rule,
// the defaults, and the filling of the parameter block from the slots.
#include <cstring>

#include "dbcs.h"
#include "driver.h"

namespace txcl {
namespace {

using Handler = bool (*)(Driver &d, int option, std::string &arg);

bool HandleRuntimeEnv(Driver &d, int option, std::string &arg);
bool HandleObject(Driver &d, int option, std::string &arg);
bool HandleOptionalName(Driver &d, int option, std::string &arg);
bool HandleInclude(Driver &d, int option, std::string &arg);
bool HandlePch(Driver &d, int option, std::string &arg);

struct OptionRecord {
    const char *name;
    uint16_t compareLength;  // characters of the argument compared with name
    Handler handler;         // null: a flag
    int destination;         // a Slot, or kSlotInclude / kSlotPch
};

// The order decides matching: the first record whose name equals the
// argument's first compareLength characters wins ("/MWD" before "/MW").
constexpr OptionRecord kOptions[kOptionCount + 1] = {
    {"/TMP", 4, nullptr, kSlotTMP},
    {"/S", 2, HandleRuntimeEnv, kSlotS},
    {"/MWD", 4, nullptr, kSlotM},
    {"/MW", 3, nullptr, kSlotM},
    {"/CLe", 4, nullptr, kSlotCL},
    {"/CLd", 4, nullptr, kSlotCL},
    {"/CIe", 4, nullptr, kSlotCI},
    {"/CId", 4, nullptr, kSlotCI},
    {"/COe", 4, nullptr, kSlotCO},
    {"/COd", 4, nullptr, kSlotCO},
    {"/CFF", 4, nullptr, kSlotCF},
    {"/CFI", 4, nullptr, kSlotCF},
    {"/Fo", 3, HandleObject, kSlotFo},
    {"/Fs", 3, HandleOptionalName, kSlotFs},
    {"/Fx", 3, HandleOptionalName, kSlotFx},
    {"/Fp", 3, HandleOptionalName, kSlotFp},
    {"/Zi", 3, nullptr, kSlotZi},
    {"/I", 2, HandleInclude, kSlotInclude},
    {"/CV", 3, nullptr, kSlotCV},
    {"/Yc", 3, HandleOptionalName, kSlotYc},
    {"/Yu", 3, HandlePch, kSlotPch},
    {"/nologo", 7, nullptr, kSlotNologo},
    {nullptr, 0, nullptr, 0},
};

enum : int { kOptMWD = 2, kOptMW = 3, kOptCLe = 4, kOptCLd = 5, kOptCIe = 6, kOptCId = 7,
             kOptCOe = 8, kOptCFF = 10, kOptFo = 12, kOptFs = 13, kOptFx = 14, kOptFp = 15,
             kOptYc = 19 };

// "/MWD" makes a program form whose checks cannot be switched on: it
// forces these variants unless they were given.
constexpr int kForcedByMWD[] = {kOptCId, kOptCLd};

// Names an empty "/Fs", "/Fx", "/Fp" or "/Yc" gives: base name and this
// extension, in the current folder.
struct NameDefault {
    int option;
    const char *extension;
};
constexpr NameDefault kNameDefaults[4] = {
    {kOptFs, ".LST"}, {kOptFx, ".XRF"}, {kOptFp, ".I"}, {kOptYc, ".PBI"},
};

// Groups whose block word is 1 for the first variant and 2 for the other.
struct VariantGroup {
    int slot;
    int firstVariant;
    uint32_t CmpFilParam::*field;
};
constexpr VariantGroup kVariantGroups[] = {
    {kSlotM, kOptMW, &CmpFilParam::M},   {kSlotCL, kOptCLe, &CmpFilParam::CL},
    {kSlotCI, kOptCIe, &CmpFilParam::CI}, {kSlotCO, kOptCOe, &CmpFilParam::CO},
    {kSlotCF, kOptCFF, &CmpFilParam::CF},
};

// Words that say only whether the option was given.
struct FlagWord {
    int slot;
    uint32_t CmpFilParam::*field;
};
constexpr FlagWord kFlagWords[] = {
    {kSlotTMP, &CmpFilParam::TMP}, {kSlotZi, &CmpFilParam::Zi}, {kSlotCV, &CmpFilParam::CV},
};

// File names: the slot holds the argument (or a default buffer beginning
// with the option's name), so the name starts after the option letters.
struct NameField {
    int slot;
    std::size_t skip;
    char *CmpFilParam::*field;
};
constexpr NameField kNameFields[] = {
    {kSlotS, 2, &CmpFilParam::S_filenmae},  {kSlotFo, 3, &CmpFilParam::Fo_filename},
    {kSlotFs, 3, &CmpFilParam::Fs_filename}, {kSlotFx, 3, &CmpFilParam::Fx_filename},
    {kSlotFp, 3, &CmpFilParam::Fp_filename}, {kSlotYc, 3, &CmpFilParam::Yc_filename},
};

bool OptionError(Driver &d, uint32_t code) {
    PrintError(d, code, 0, nullptr, 0);
    return false;
}

void Consume(Driver &d, int option, const char *value) {
    d.slot[kOptions[option].destination] = value;
    d.consumed[option] = true;
}

const char *Rest(int option, const std::string &arg) {
    return arg.c_str() + kOptions[option].compareLength;
}

bool HandleRuntimeEnv(Driver &d, int option, std::string &arg) {
    const char *rest = Rest(option, arg);
    if (rest[0] == '\0')
        return OptionError(d, kErrOption);
    if (rest[0] == ':') {
        if (rest[1] == '\0' || (rest[1] == '?' && rest[2] != '\0'))
            return OptionError(d, kErrOption);
        arg.erase(kOptions[option].compareLength, 1);
    } else if (rest[0] == '?' && rest[1] != '\0') {
        return OptionError(d, kErrOption);
    }
    Consume(d, option, arg.c_str());
    return true;
}

bool HandleObject(Driver &d, int option, std::string &arg) {
    if (Rest(option, arg)[0] == '\0')
        return OptionError(d, kErrOption);
    Consume(d, option, arg.c_str());
    return true;
}

bool HandleOptionalName(Driver &d, int option, std::string &arg) {
    if (Rest(option, arg)[0] != '\0') {
        Consume(d, option, arg.c_str());
        return true;
    }
    for (std::size_t i = 0; i < std::size(kNameDefaults); ++i) {
        if (kNameDefaults[i].option == option) {
            d.nameDefault[i] = std::string(kOptions[option].name) + d.baseName + kNameDefaults[i].extension;
            Consume(d, option, d.nameDefault[i].c_str());
        }
    }
    return true;
}

bool HandleInclude(Driver &d, int option, std::string &arg) {
    if (Rest(option, arg)[0] == '\0' || d.includes.size() >= kMaxIncludePaths)
        return OptionError(d, kErrOption);
    d.includes.push_back(arg.c_str());
    return true;
}

bool HandlePch(Driver &d, int, std::string &arg) {
    if (d.pchs.size() >= kMaxPchNames)
        return OptionError(d, kErrOption);
    d.pchs.push_back(arg.c_str());
    return true;
}

int FindOption(const char *arg) {
    for (int i = 0; kOptions[i].name; ++i)
        if (std::strncmp(kOptions[i].name, arg, kOptions[i].compareLength) == 0)
            return i;
    return -1;
}

bool ParseOne(Driver &d, std::string &arg) {
    if (arg.empty() || (arg[0] != '-' && arg[0] != '/'))
        return OptionError(d, kErrOption);
    arg[0] = '/';
    int i = FindOption(arg.c_str());
    if (i < 0 || d.consumed[i])
        return OptionError(d, kErrOption);
    const OptionRecord &rec = kOptions[i];
    if (rec.destination < kSlotCount && d.slot[rec.destination] != nullptr)
        return OptionError(d, kErrConflict);
    if (rec.handler)
        return rec.handler(d, i, arg);
    if (arg.size() != rec.compareLength)
        return OptionError(d, kErrOption);
    Consume(d, i, rec.name);
    return true;
}

bool ApplyMWD(Driver &d) {
    if (d.slot[kSlotM] != kOptions[kOptMWD].name)
        return true;
    for (int option : kForcedByMWD) {
        if (d.consumed[option])
            continue;  // given explicitly
        if (d.slot[kOptions[option].destination] != nullptr)
            return OptionError(d, kErrConflict);
        Consume(d, option, kOptions[option].name);
    }
    return true;
}

void ApplyDefaults(Driver &d) {
    struct DefaultRecord {
        const char *value;
        int slot;
    };
    const DefaultRecord defaults[] = {
        {kOptions[kOptMW].name, kSlotM},   {kOptions[kOptCLe].name, kSlotCL},
        {kOptions[kOptCIe].name, kSlotCI}, {kOptions[kOptCOe].name, kSlotCO},
        {kOptions[kOptCFF].name, kSlotCF}, {d.objectDefault.c_str(), kSlotFo},
    };
    for (const DefaultRecord &r : defaults)
        if (d.slot[r.slot] == nullptr)
            d.slot[r.slot] = r.value;
}

bool IsUsageRequest(const std::string &arg) {
    return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-') && arg[1] == '?';
}

}  // namespace

std::string BaseName(const char *path) {
    const char *name = path;
    const char *dot = nullptr;
    for (const char *p = path; *p;) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (tx::IsSjisLeadByte(c) && p[1] != '\0') {
            p += 2;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') {
            name = p + 1;
            dot = nullptr;
        } else if (c == '.') {
            dot = p;
        }
        ++p;
    }
    return dot ? std::string(name, dot) : std::string(name);
}

bool ParseOptions(Driver &d) {
    if (d.args.empty()) {
        PrintBanner(d);
        return false;
    }
    // Only the check may treat a lone argument as an option: rewriting its
    // '-' would turn a source named "-x.bas" into the root path "/x.bas".
    if (d.args.size() == 1 && IsUsageRequest(d.args[0])) {
        PrintUsage(d);
        return false;
    }
    const std::string &source = d.args.back();
    d.baseName = BaseName(source.c_str());
    d.objectDefault = std::string(kOptions[kOptFo].name) + d.baseName + ".obj";

    for (std::size_t i = 0; i + 1 < d.args.size(); ++i)
        if (!ParseOne(d, d.args[i]))
            return false;
    if (!ApplyMWD(d))
        return false;
    ApplyDefaults(d);
    PrintBanner(d);
    return true;
}

bool FillCmpFilParam(Driver &d) {
    CmpFilParam &p = d.param;
    for (const FlagWord &f : kFlagWords)
        p.*f.field = d.slot[f.slot] != nullptr;
    for (const VariantGroup &g : kVariantGroups)
        p.*g.field = d.slot[g.slot] == kOptions[g.firstVariant].name ? 1 : 2;
    for (const NameField &f : kNameFields) {
        const char *s = d.slot[f.slot];
        p.*f.field = s ? const_cast<char *>(s + f.skip) : nullptr;
    }
    for (std::size_t i = 0; i < d.includes.size(); ++i)
        p.I_path[i] = const_cast<char *>(d.includes[i] + 2);
    static char anyPch[] = "*";
    for (std::size_t i = 0; i < d.pchs.size(); ++i)
        p.Yu_filename[i] = d.pchs[i][3] ? const_cast<char *>(d.pchs[i] + 3) : anyPch;
    p.srcfilename = d.args.back().data();
    return true;
}

}  // namespace txcl
