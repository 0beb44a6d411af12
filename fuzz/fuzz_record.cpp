// The runtime's error record as the error-analysis tool reads it from the
// registry: any values of any type and length under the record's key, then
// the completeness test, the report and the clear. The input is a list of
// values: index (of the sixteen), type, length, bytes.
#include "anzrecord.h"

namespace {

struct Messages : anz::MessageSource {
    std::optional<std::string> Message(uint32_t code) override {
        if (code % 3 == 0)
            return std::nullopt;
        return code % 3 == 1 ? std::string() : "message " + std::to_string(code);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fw::FakeRegistry reg;
    const fw::RegRoot root = fw::RegRoot::CurrentUser;
    if (size > 0 && data[0] != 0xFF)
        reg.CreateKey(root, anz::kRecordKey);
    for (size_t at = 1; at + 3 <= size;) {
        fw::RegValue v;
        const anz::RecordValue &slot = anz::kRecordValues[data[at] % 16];
        v.type = static_cast<fw::RegType>(data[at + 1] % 5);
        size_t n = std::min<size_t>(data[at + 2], size - at - 3);
        v.data.assign(data + at + 3, data + at + 3 + n);
        reg.Write(root, anz::kRecordKey, slot.name, v);
        at += 3 + n;
    }
    Messages messages;
    anz::RecordComplete(reg);
    anz::BuildReport(reg, messages);
    anz::ClearRecord(reg);
    return 0;
}
