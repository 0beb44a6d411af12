// The runtime's last error record (HKCU "...\RUNTIME\ERROR") and the text
// report made from it: the sixteen values in report order, the report
// builder, the test for a complete record and the clear.
#pragma once

#include "regstore.h"

#include <cstdint>
#include <optional>
#include <string>

namespace anz {

inline constexpr char kRecordKey[] = "Software\\Veltran\\Tambrix V6.3\\RUNTIME\\ERROR";
inline constexpr char kEnvKey[] = "Software\\Veltran\\Tambrix V6.3\\Env";
inline constexpr char kEnvFolderValue[] = "Tambrix";  // HKLM, the installation folder
inline constexpr char kMessageLibrary[] = "TQ70RE63.DLL";
inline constexpr char kMessageExport[] = "$PbGetErrMsg";
// A text value's buffer, NUL included; a longer value cannot be read. The
// report reads into 257 bytes, the test for a complete record into 256.
inline constexpr size_t kTextBytes = 257;
inline constexpr size_t kTestTextBytes = 256;
inline constexpr size_t kFolderBytes = 260;

// How a value is shown after its label.
enum class Shown { Text, Decimal, Message, Routine, Hex };

struct RecordValue {
    const char* name;
    fw::RegType type;  // Sz or Dword
    const char* label; // Shift-JIS, with its tabs and "= "
    Shown shown;
    bool needed;       // part of the test for a complete record
};

// The sixteen values, report order (also the order they are cleared in):
// MODL..RTL are the error block, XMODL..XCODE the exception block.
extern const RecordValue kRecordValues[16];
inline constexpr int kErrorBlockSize = 10;

// Message texts of error codes, from the runtime's message library.
class MessageSource {
public:
    virtual ~MessageSource() = default;
    // The text of a code: nullopt when the library (or its folder value, or
    // its export) is missing; an empty text when it has no such string.
    virtual std::optional<std::string> Message(uint32_t code) = 0;
};

// The routine name of an id: the first row of the table with that id, or
// nullptr.
const char* FindRoutineName(uint32_t id);

// The text of one line without its CR LF; nullopt values give the label
// alone.
std::string FormatValueLine(const RecordValue& v, std::optional<std::string> text,
                            std::optional<uint32_t> number, MessageSource& messages);

// The report of the record in reg, or nullopt when its key is missing.
std::optional<std::string> BuildReport(fw::RegStore& reg, MessageSource& messages);

// True when every needed value of the record can be read.
bool RecordComplete(fw::RegStore& reg);

// Overwrites all sixteen values (empty texts, zeros); false when the key is
// gone or a value cannot be written.
bool ClearRecord(fw::RegStore& reg);

}  // namespace anz
