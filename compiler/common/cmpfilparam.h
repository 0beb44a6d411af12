// The compile parameter block: filled by the driver, handed by address to
// the three passes. The preprocessor lives in its own library and reads the
// block too, so the 32-bit layout is an interface and is pinned below.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMaxIncludePaths = 128;
constexpr int kMaxPchNames = 16;
constexpr int kErrTextSize = 264;

struct CmpFilParam {
    uint32_t TMP;
    uint32_t M;
    uint32_t CL;
    uint32_t CI;
    uint32_t CO;
    uint32_t CF;
    uint32_t Zi;
    uint32_t CV;
    char *S_filenmae;
    char *Fo_filename;
    char *Fs_filename;
    char *Fx_filename;
    char *Fp_filename;
    char *Yc_filename;
    char *I_path[kMaxIncludePaths + 1];
    char *Yu_filename[kMaxPchNames + 1];
    char *srcfilename;
    char *slist_filename;
    char *tcode_filename;
    char *pcode_filename;
    uint32_t err_code;
    uint32_t err_detail;
    char err_text[kErrTextSize];
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(CmpFilParam, S_filenmae) == 32);
static_assert(offsetof(CmpFilParam, Fo_filename) == 36);
static_assert(offsetof(CmpFilParam, Yc_filename) == 52);
static_assert(offsetof(CmpFilParam, I_path) == 56);
static_assert(offsetof(CmpFilParam, Yu_filename) == 572);
static_assert(offsetof(CmpFilParam, srcfilename) == 640);
static_assert(offsetof(CmpFilParam, slist_filename) == 644);
static_assert(offsetof(CmpFilParam, tcode_filename) == 648);
static_assert(offsetof(CmpFilParam, pcode_filename) == 652);
static_assert(offsetof(CmpFilParam, err_code) == 656);
static_assert(offsetof(CmpFilParam, err_detail) == 660);
static_assert(offsetof(CmpFilParam, err_text) == 664);
static_assert(sizeof(CmpFilParam) == 928);
#endif

// The pass entry points share one contract: exactly 1 lets the chain go on;
// anything else stops it with err_code (and err_detail, err_text) set.
extern "C" {
typedef int (*CmpFilPass)(CmpFilParam *param);
}
