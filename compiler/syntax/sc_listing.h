// The listings: source (.LST) and expanded source (.I), written line by line
// while the statements are read and closed by the count line, and the cross
// reference (.XRF), written once from the symbol table and the reference
// records of the cross-reference work file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "sc_defs.h"

namespace txsc {

struct ScPass;
class WorkFile;


// A line or statement number right-aligned in 7 characters ("      0").
std::string NumberField(uint32_t n);
// "エラー個数=" … "ワーニング個数=" …, in Shift-JIS, with its line feed.
std::string CountLine(uint16_t errors, uint16_t warnings);
// Tabs after a listed name of n bytes.
std::string_view NamePadding(size_t n);

// Texts of the cross reference (Shift-JIS, each of one fixed width).
const char *XrefTypeName(uint8_t type);   // 14 bytes
const char *XrefKindName(uint8_t kind);   // 18 bytes
const char *CountLineError();             // "エラー個数="
const char *CountLineWarning();           // "ワーニング個数="

// Name order of the cross reference: bytes as unsigned values over the
// shorter length, then the shorter name first.
bool XrefNameLess(std::string_view a, std::string_view b);

// The listing lines of the statement just read. The source listing shows
// each main-source line once; statements before the source's own first
// line (main-source line 0) are not shown there.
struct ListingState {
    bool any = false;
    uint16_t lastLine = 0;
};
void ListStatement(ListingState &st, FILE *listing, FILE *expanded, uint16_t mainLine, uint16_t stmtCount,
                   std::string_view text);
void ListCountLine(FILE *listing, FILE *expanded, uint16_t errors, uint16_t warnings);

// The cross reference of the whole module.
void WriteXref(ScPass &p, FILE *out, WorkFile &refs);

}  // namespace txsc
