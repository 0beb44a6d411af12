// The runtime-environment record (.bet file): 352 bytes that the IDE's
// editor writes, the syntax analyzer copies into its intermediate file and
// the code generator emits as _$PvBET for the runtime. Every field is at its
// natural alignment, so the plain struct is the file image on every target.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::size_t kEnvBlockSize = 352;
// The IDE keeps bytes 0-307; the rest is reserved and written as zeros.
constexpr std::size_t kEnvBlockKept = 308;
constexpr int kEnvPortCount = 5;
constexpr uint8_t kEnvSignature0 = 0xFA;
constexpr uint8_t kEnvSignature1 = 0x18;

struct EnvBlock {
    uint8_t signature[2];         // FA 18
    uint8_t unused2[28];
    uint16_t fixed30;             // 0x0100 in a new document
    uint8_t unused32[4];
    uint8_t printer_columns;      // 1-255
    uint8_t unused37[27];
    uint16_t port_params[kEnvPortCount];  // line-parameter word per port
    uint8_t dc1;                  // 0x11
    uint8_t dc3;                  // 0x13
    uint8_t unused76[2];
    uint8_t parity_error;         // 0 = error, 1 = output '?'
    uint8_t baud_by_system;       // 0 = by the program, 1 = by the system
    uint8_t baud_index[kEnvPortCount];
    uint8_t shift_code;           // 0 = line start and shift change, 1 = change only
    uint8_t unused86[10];
    uint8_t fixed96;
    uint8_t fixed97;
    uint8_t fixed98;
    uint8_t unused99[29];
    uint8_t fixed128;
    uint8_t cls_key;              // 1 = enabled
    uint8_t unused130[4];
    uint8_t screen_text_off;      // "画面": 0 = used
    uint8_t origin_lower_left;    // 0 = upper left
    uint8_t screen_graphic_off;   // "グラフィック": 0 = used
    uint8_t unused137;
    uint8_t fixed138[3];
    uint8_t fixed141;
    uint8_t unused142[146];
    uint32_t baud_rate[kEnvPortCount];  // bits per second; 0 = use baud_index
    uint8_t reserved308[44];
};

static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(EnvBlock) == kEnvBlockSize);
static_assert(offsetof(EnvBlock, fixed30) == 30);
static_assert(offsetof(EnvBlock, printer_columns) == 36);
static_assert(offsetof(EnvBlock, port_params) == 64);
static_assert(offsetof(EnvBlock, dc1) == 74);
static_assert(offsetof(EnvBlock, parity_error) == 78);
static_assert(offsetof(EnvBlock, baud_index) == 80);
static_assert(offsetof(EnvBlock, shift_code) == 85);
static_assert(offsetof(EnvBlock, fixed96) == 96);
static_assert(offsetof(EnvBlock, fixed128) == 128);
static_assert(offsetof(EnvBlock, screen_text_off) == 134);
static_assert(offsetof(EnvBlock, fixed138) == 138);
static_assert(offsetof(EnvBlock, fixed141) == 141);
static_assert(offsetof(EnvBlock, baud_rate) == 288);
static_assert(offsetof(EnvBlock, reserved308) == 308);

// The record of a new runtime-environment document.
EnvBlock NewEnvBlock();
// The record the syntax analyzer uses when no file is named.
EnvBlock BuiltInEnvBlock();

enum class EnvReadStatus {
    kOk,
    kOpenFailed,    // the file cannot be opened for reading
    kShort,         // fewer than 352 bytes
    kBadSignature,  // does not begin with FA 18
};

// Takes the record from the start of a file image. A longer image is
// accepted; its bytes from 352 on are ignored. On failure `out` is untouched.
EnvReadStatus ParseEnvBlock(const uint8_t *data, std::size_t size, EnvBlock &out);
// Reads the file at `path` (the system's own byte string) as above.
EnvReadStatus ReadEnvBlockFile(const std::string &path, EnvBlock &out);

// The 352 bytes of the file: bytes 0-307 of the record, then zeros.
void EnvBlockFileImage(const EnvBlock &block, uint8_t (&out)[kEnvBlockSize]);
// Writes that image; false when the file cannot be created or written.
bool WriteEnvBlockFile(const std::string &path, const EnvBlock &block);
