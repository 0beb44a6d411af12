// Small BASIC programs written directly as intermediate files, compiled by
// the code generator, linked with the real i686 linker against the runtime
// subset and run in the emulator runner. The statement forms are those the
// analyzer writes (see compiler/common/intermediate.md).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "cg_driver.h"
#include "ir_builder.h"
#include "tx_scratch.h"

namespace txcg::test {

namespace t8 {
constexpr uint8_t I = 0, L = 1, F = 2, D = 3, B = 4, S = 16, ANY = 0x20;
}

// Token helpers over tok:: of the builder.
inline Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline Bytes Op(uint8_t code) { return {0x20, code}; }
// A one-operand group and an expression group.
inline Bytes G(uint8_t type, const Bytes &operand) { return Bytes{0xB0, type} + operand + Bytes{0xBF, 0}; }
inline Bytes E(uint8_t type, const Bytes &postfix) { return Bytes{0xB1, type} + postfix + Bytes{0xBF, 0}; }
inline Bytes Ref(uint8_t type, const Bytes &operand) { return Bytes{0xB2, type} + operand + Bytes{0xBF, 0}; }
inline Bytes Head(uint8_t code) { return {0x00, code}; }
inline Bytes Let(uint8_t type, const Bytes &target, const Bytes &source) {
    return Head(0x80) + G(type, target) + Op(0x00) + source;
}
inline Bytes Comma() { return {0x30, 0x02}; }
inline Bytes Semi() { return {0x30, 0x03}; }
inline Bytes StrConst(uint32_t head) {
    Bytes b{0x70, 16};
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(head >> (8 * i)));
    return b;
}
inline Bytes LabelTok(uint32_t entry) { return tok::Label(0xA0, entry); }
// An intrinsic function call: 40 code type, arguments, 4F.
inline Bytes Fn(uint8_t code, uint8_t type, const Bytes &args = {}) {
    return Bytes{0x40, code, type} + args + Bytes{0x4F, 0};
}
// A call of a FUNCTION of the module inside an expression.
inline Bytes Call(uint8_t type, uint32_t entry, const Bytes &args = {}) {
    Bytes b{0x41, type};
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(entry >> (8 * i)));
    return b + args + Bytes{0x4F, 0};
}

// A main module under construction: module variables get data offsets in
// order; lines are numbered from 1.
class Program {
  public:
    IrBuilder ir;

    // A module variable of a scalar type; returns its variable token.
    Bytes Var(uint8_t type) {
        const uint32_t size = type == 0 ? 2 : type == 3 ? 8 : type == 4 ? 1 : type == 16 ? 12 : 4;
        VarRec v;
        v.type = type;
        v.cls = 1;
        v.address = data_;
        v.name = "V" + std::to_string(++vars_);
        data_ += size;
        ir.DataSize(data_);
        return tok::Var(0x50, type, 1, ir.ModuleVar(v));
    }
    // A module array; returns its record offset for ArrayTok.
    uint32_t Array(uint8_t type, const std::vector<uint32_t> &dims) {
        uint32_t elements = 1;
        for (uint32_t d : dims)
            elements *= d + 1;
        const uint32_t size = type == 0 ? 2 : type == 3 ? 8 : type == 4 ? 1 : type == 16 ? 12 : 4;
        VarRec v;
        v.type = type;
        v.cls = 0x11;
        v.address = ir.Array(type, elements * size);
        v.bounds = ir.Bounds(dims);
        v.name = "A" + std::to_string(++vars_);
        return ir.ModuleVar(v);
    }
    Bytes Str(const std::string &text) { return StrConst(ir.StringConst(text)); }
    void Line(const Bytes &tokens) { ir.Statement(++line_, tokens); }
    uint16_t NextLine() const { return uint16_t(line_ + 1); }

  private:
    uint32_t data_ = 0;
    int vars_ = 0;
    int line_ = 0;
};

// An element reference: 60 type class record, subscripts, 6F.
inline Bytes ArrayTok(uint8_t type, uint8_t cls, uint32_t record, const std::vector<Bytes> &subs) {
    Bytes b = tok::Var(0x60, type, cls, record);
    for (const auto &s : subs)
        b = b + s;
    return b + Bytes{0x6F, 0};
}

inline Bytes Print(const Bytes &items) { return Head(0x94) + items; }

struct RunResult {
    bool compiled = false;
    std::string error;  // compile or link failure
    int status = -1;    // basrun's exit status
    std::string output; // the program's standard output
};

inline std::string ToolPath(const char *env, const char *fallback) {
    const char *v = std::getenv(env);
    return v && *v ? v : fallback;
}

// Where the runtime and the runner are; empty when this build has none.
inline std::string RuntimeLib() { return ToolPath("TXRT_LIB", TX_TXRT_LIB); }
inline std::string Runner() { return ToolPath("TX_BASRUN", TX_BASRUN_EXE); }
inline std::string Linker() { return ToolPath("TX_I686_LD", TX_I686_LD_EXE); }
inline bool CanRun() { return !RuntimeLib().empty() && !Runner().empty() && !Linker().empty(); }

inline std::string Slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Compiles the intermediate file into NAME.obj in dir; true on success.
inline bool CompileIr(const IrBuilder &ir, const std::filesystem::path &dir, const std::string &name,
                      CmpFilParam &p, uint32_t cf = 1, uint32_t co = 0, uint32_t zi = 0) {
    std::filesystem::create_directories(dir);
    const std::string pcode = (dir / (name + ".pcode")).string();
    const std::string obj = (dir / (name + ".obj")).string();
    const std::string src = name + ".BAS";
    ir.Write(pcode);
    static std::string keep[3];
    keep[0] = pcode;
    keep[1] = obj;
    keep[2] = src;
    p = CmpFilParam{};
    p.M = 1;
    p.CF = cf;
    p.CO = co;
    p.Zi = zi;
    p.pcode_filename = keep[0].data();
    p.Fo_filename = keep[1].data();
    p.srcfilename = keep[2].data();
    return CgCompile(&p) == 1;
}

// The programs' folder, this process's own; removed when the process ends.
inline std::filesystem::path ProgramDir() {
    static const txtest::ScratchDir dir("txcg_programs");
    return dir.path();
}

inline RunResult BuildAndRun(const IrBuilder &ir, const std::string &name, uint32_t cf = 1,
                             uint32_t co = 0) {
    RunResult r;
    const auto dir = ProgramDir();
    CmpFilParam p{};
    if (!CompileIr(ir, dir, name, p, cf, co)) {
        r.error = "CG_CmpFil failed: " + std::to_string(p.err_code) + "/" + std::to_string(p.err_detail);
        return r;
    }
    r.compiled = true;
    const std::string obj = (dir / (name + ".obj")).string();
    const std::string exe = (dir / (name + ".exe")).string();
    const std::string out = (dir / (name + ".out")).string();
    const std::string err = (dir / (name + ".err")).string();
    std::string link = "'" + Linker() + "' --no-leading-underscore -nostdlib -e '$PbStartup' -o '" +
                       exe + "' '" + obj + "' '" + RuntimeLib() + "' 2>'" + err + "'";
    if (std::system(link.c_str()) != 0) {
        r.error = "link failed: " + Slurp(err);
        return r;
    }
    std::string run = "'" + Runner() + "' '" + exe + "' >'" + out + "' 2>'" + err + "'";
    const int rc = std::system(run.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.output = Slurp(out);
    r.error = Slurp(err);
    return r;
}

} // namespace txcg::test
