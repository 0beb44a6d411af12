#include "cp932.h"

#include "dbcs.h"

namespace rc {
namespace {
#include "cp932_table.inc"

int LeadIndex(unsigned char c) { return c <= 0x9F ? c - 0x81 : c - 0xE0 + (0x9F - 0x81 + 1); }

}  // namespace

std::u16string Cp932ToUtf16(const std::string &bytes) {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
        } else if (tx::IsSjisLeadByte(c)) {
            unsigned char t = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            if (t < 0x40) {   // a lead byte without its trail
                out += u'\x30FB';
                continue;
            }
            out += static_cast<char16_t>(kDouble[LeadIndex(c)][t - 0x40]);
            ++i;
        } else {
            out += static_cast<char16_t>(kSingle[c - 0x80]);
        }
    }
    return out;
}

}  // namespace rc
