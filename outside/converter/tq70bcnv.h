// TQ70BCNV: the migration converter's one entry and its parameter block, as
// the IDE and our stand-in share them. The block is packed to 2 bytes; its
// size follows the pointer size (26 bytes in the 32-bit build).
#pragma once

#include <cstdint>

#pragma pack(push, 2)
struct CnvFilWinBlock {
    const char* input;   // the text to convert
    const char* output;  // written by the converter; absent before the call
    uint32_t zero1;      // 0
    uint32_t one;        // 1
    uint16_t mode;       // 0 convert, 4 delete the messages a conversion inserted
    uint32_t zero2;      // 0
    void* view;          // window of the editor view converted
};
#pragma pack(pop)

enum : uint16_t { kCnvConvert = 0, kCnvDeleteMessages = 4 };

extern "C" {
// 0 when the output file holds the converted text.
typedef int (*EntCnvFilWinFn)(CnvFilWinBlock* block);
}
