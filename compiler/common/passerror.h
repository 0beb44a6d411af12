// How a pass reports a failure in the parameter block: the code, the detail
// naming the kind of file (0x1nn user or module file, 0x2nn temporary) and
// the file's name. The driver prints these three fields.
#pragma once

#include <cstdint>

#include "cmpfilparam.h"

namespace tx {

// Codes in err_code. The driver and every pass use these; the driver's
// message table gives their texts.
enum PassError : uint32_t {
    kErrCannotStart = 1,
    kErrNoText = 2,          // the pass has printed its own lines (statement errors)
    kErrParameter = 3,
    kErrOption = 4,
    kErrConflict = 5,
    kErrNoMemory = 6,
    kErrWorkFile = 10,
    kErrOpen = 11,
    kErrWrite = 12,
    kErrRead = 13,
    kErrBadFile = 14,        // a file that is not what it should be
    kErrTextFull = 20,       // the code generator's relocations included
    kErrNamesFull = 21,
    kErrVariablesFull = 22,
    kErrConstantsFull = 23,
    kErrTooManyLines = 24,
    kErrMakeScript = 30,
    kErrInternal = 90,       // a state the passes never reach on sound input
    kErrUnknownCode = 91,    // a code the driver has no text for
    kErrInterrupted = 98,
    kErrNotCompiled = 99,
};

// Details in err_detail: 0x1nn a user or module file, 0x2nn a temporary.
enum PassDetail : uint32_t {
    kDetailNone = 0,
    kDetailUserFile = 0x100,
    kDetailSource = 0x101,
    kDetailEnv = 0x102,
    kDetailInclude = 0x103,
    kDetailPch = 0x104,
    kDetailListing = 0x105,
    kDetailExpanded = 0x106,
    kDetailXref = 0x107,
    kDetailObject = 0x108,
    kDetailTempFile = 0x200,
    kDetailTemp = 0x201,
    kDetailSourceList = 0x202,
    kDetailTokenCode = 0x203,
    kDetailIntermediate = 0x204,
    kDetailWork = 0x205,
    kDetailXrefWork = 0x206,
    // Details that name no file: where inside the analyzer it failed.
    kDetailNoFile = 0,
    kDetailExprStack = 241,  // the expression analysis lost its place
    kDetailValueType = 241,  // a value type without a size or a temporary
    kDetailAnalyzer = 243,   // the analyzer's own memory
};

// Copies at most kErrTextSize - 1 bytes of name, never half a double-byte
// character, and always terminates err_text: a long path is cut short
// instead of running past the block. A null name stores an empty text.
void StorePassError(CmpFilParam &param, uint32_t code, uint32_t detail = 0,
                    const char *name = nullptr);

}  // namespace tx
