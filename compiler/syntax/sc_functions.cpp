#include "sc_functions.h"

#include <iterator>

namespace txsc {

namespace {

constexpr uint8_t I = 0, L = 1, F = 2, D = 3, B = 4, S = 16;

const FuncSig kFunctions[] = {
    {0x00, "P", I},    {0x01, "", L},     {0x02, "", L},     {0x03, "", L},     {0x04, "", I},
    {0x05, "", L},     {0x06, "", F},     {0x07, "", I},     {0x08, "", L},     {0x10, "D", D},
    {0x11, "D", D},    {0x12, "N", L},    {0x13, "D", D},    {0x14, "X", I},    {0x15, "X", L},
    {0x16, "D", F},    {0x17, "D", D},    {0x18, "N", I},    {0x19, "D", D},    {0x1A, "D", D},
    {0x1B, "N", L},    {0x1C, "D", D},    {0x1D, "N", L},    {0x1E, "N", L},    {0x1F, "D", D},
    {0x20, "N", I},    {0x21, "PN", I},   {0x22, "D", D},    {0x23, "D", D},    {0x24, "D", D},
    {0x25, "D", D},    {0x26, "PN", I},   {0x27, "PN", F},   {0x28, "N", L},    {0x2D, "X", B},
    {0x2E, "S", L},    {0x2F, "N", L},    {0x30, "S", I},    {0x31, "S", I},    {0x32, "S", L},
    {0x33, "S", F},    {0x34, "S", D},    {0x35, "S", I},    {0x36, "S", I},    {0x38, "S", D},
    {0x39, "V", L},    {0x3A, "S", L},    {0x3B, "N", L},    {0x3C, "N", I},    {0x40, "PNN", F},
    {0x41, "SN", I},   {0x42, "SN", I},   {0x43, "PNn", I},  {0x50, "PNN", I},  {0x51, "PN", F},
    {0x52, "PNNN", I}, {0x53, "ASs", I},  {0x54, "ASs", I},  {0x55, "VANN", I}, {0x80, "", S},
    {0x81, "", S},     {0x82, "", S},     {0x83, "P", S},    {0x84, "", S},     {0x90, "N", S},
    {0x91, "N", S},    {0x92, "N", S},    {0x93, "N", S},    {0x94, "F", S},    {0x95, "D", S},
    {0x96, "N", S},    {0x97, "N", S},    {0x98, "N", S},    {0x99, "X", S},    {0x9A, "N", S},
    {0xA0, "S", S},    {0xA1, "S", S},    {0xA2, "S", S},    {0xA3, "S", S},    {0xA4, "S", S},
    {0xA5, "S", S},    {0xA6, "S", S},    {0xA7, "S", S},    {0xA8, "SNN", S},  {0xA9, "S", S},
    {0xB0, "NA", S},   {0xB1, "NN", S},   {0xB2, "SN", S},   {0xB3, "SN", S},   {0xB4, "SN", S},
    {0xB5, "SN", S},   {0xB6, "SN", S},   {0xC0, "N*", S},   {0xC1, "PN", S},   {0xC2, "NN", S},
    {0xC3, "SNn", S},  {0xC4, "SNn", S},  {0xC5, "AS", S},
};

}  // namespace

const FuncSig *FindFunction(uint8_t code) {
    for (const FuncSig &f : kFunctions)
        if (f.code == code) return &f;
    return nullptr;
}

const FuncSig *FunctionTable(int *count) {
    *count = int(std::size(kFunctions));
    return kFunctions;
}

}  // namespace txsc
