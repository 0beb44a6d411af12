#include "intermediate.h"

#include <cstring>

#include "envblock.h"
#include "lebytes.h"

namespace ifile {
namespace {

void Put16(uint8_t *p, uint16_t v) { le::PutU16(p, v); }
void Put32(uint8_t *p, uint32_t v) { le::PutU32(p, v); }
uint16_t Get16(const uint8_t *p) { return le::GetU16(p); }
uint32_t Get32(const uint8_t *p) { return le::GetU32(p); }

}  // namespace

std::array<uint8_t, kHeaderSize> EncodeHeader(const Header &h) {
    std::array<uint8_t, kHeaderSize> b{};
    b[kHdrSignature] = kSignature;
    b[kHdrModuleFlag] = h.module_flag;
    Put16(&b[kHdrVersion], kVersion);
    Put16(&b[kHdrTableCount], kTableCount);
    b[kHdrTrapBits] = h.trap_bits;
    Put32(&b[kHdrDataSize], h.data_size);
    Put32(&b[kHdrStreamSize], h.stream_size);
    for (int i = 0; i < kTableCount; ++i) Put32(&b[kHdrTableSizes + 4 * i], h.table_size[i]);
    return b;
}

Header DecodeHeader(const uint8_t *bytes) {
    Header h;
    h.module_flag = bytes[kHdrModuleFlag];
    h.trap_bits = bytes[kHdrTrapBits];
    h.data_size = Get32(bytes + kHdrDataSize);
    h.stream_size = Get32(bytes + kHdrStreamSize);
    for (int i = 0; i < kTableCount; ++i) h.table_size[i] = Get32(bytes + kHdrTableSizes + 4 * i);
    return h;
}

static_assert(kEnvBlockSize == ::kEnvBlockSize);

// The bytes of the one built-in record that envblock.h defines.
const std::array<uint8_t, kEnvBlockSize> &BuiltinEnvBlock() {
    static const std::array<uint8_t, kEnvBlockSize> block = [] {
        std::array<uint8_t, kEnvBlockSize> b{};
        const EnvBlock env = BuiltInEnvBlock();
        std::memcpy(b.data(), &env, b.size());
        return b;
    }();
    return block;
}

// Offsets are computed in 64 bits so that a corrupt header cannot wrap round
// and point back into the file.
static uint64_t TableOffset64(const Header &h, int i) {
    uint64_t off = kStreamOffset + ((uint64_t(h.stream_size) + kAlign - 1) & ~uint64_t(kAlign - 1));
    for (int k = 0; k < i; ++k) off += (uint64_t(h.table_size[k]) + kAlign - 1) & ~uint64_t(kAlign - 1);
    return off;
}

uint32_t TableOffset(const Header &h, int i) { return uint32_t(TableOffset64(h, i)); }
uint32_t FileSize(const Header &h) { return uint32_t(TableOffset64(h, kTableCount)); }

bool SplitFile(const uint8_t *data, size_t size, Layout *out, std::string *error) {
    if (size < kStreamOffset) {
        *error = "file shorter than header and environment block";
        return false;
    }
    out->header = DecodeHeader(data);
    if (TableOffset64(out->header, kTableCount) > size) {
        *error = "file shorter than its header says";
        return false;
    }
    out->env = data + kEnvBlockOffset;
    out->stream = data + kStreamOffset;
    for (int i = 0; i < kTableCount; ++i) out->table[i] = data + TableOffset64(out->header, i);
    return true;
}

int ConstantValueSize(uint8_t type) {
    switch (type) {
    case kTypeInt:
    case kTypeWord:
        return 2;
    case kTypeLng:
    case kTypeSng:
    case kTypeDword:
    case kTypeStr:  // offset of the constant's head in table 2
        return 4;
    case kTypeDbl:
        return 8;
    case kTypeByt:
        return 1;
    case kTypeFixStr:  // the empty string
    case kTypeNull:    // the null object
        return 0;
    default:
        return -1;
    }
}

static uint32_t StatementTokenLength(uint8_t code) {
    switch (code) {
    case kStmCheckedEntry:
        return 18;
    case kStmFuncEntry:
    case kStmSubEntry:
        return 14;
    case kStmFuncEnd:
    case kStmCall:
        return 7;
    case kStmCallDll:
        return 11;
    case kStmDefFn:
        return 10;
    case kStmRestore:
        return 6;
    default:
        return 2;
    }
}

uint32_t TokenLength(const uint8_t *p, size_t avail) {
    if (avail < 2) return 0;
    uint32_t n;
    switch (p[0]) {
    case kTokStatement:
        n = StatementTokenLength(p[1]);
        break;
    case kTokIntrinsic:
        n = 3;
        break;
    case kTokOwnFunc:
    case kTokMember:
    case kTokSubscript:
    case kTokLabel:
        n = 6;
        break;
    case kTokDeclFunc:
    case kTokVar:
    case kTokElement:  // a variable token the generator's decoder has marked
    case kTokArray:
    case kTokArrayAddr:
        n = 7;
        break;
    case kTokLibFunc:
        n = 11;
        break;
    case kTokConstant: {
        int v = ConstantValueSize(p[1]);
        if (v < 0) return 0;
        n = 2 + uint32_t(v);
        break;
    }
    case kTokLineNumber:
        n = p[1] == kLineNumberNone ? 2 : 6;
        break;
    case kTokParamBlock:
        n = p[1] == 0 ? 10 : 6;
        break;
    default:
        n = 2;
        break;
    }
    return n <= avail ? n : 0;
}

StreamWalker::Step StreamWalker::Fail(const std::string &why) {
    error_ = "stream offset " + std::to_string(pos_) + ": " + why;
    done_ = true;
    return kError;
}

StreamWalker::Step StreamWalker::Next(Record *rec) {
    if (done_) return error_.empty() ? kEnd : kError;
    if (size_ == 0) {  // a module without code has no stream at all
        done_ = true;
        return kEnd;
    }
    if (size_ - pos_ < 4) return Fail("stream ends without its end mark");
    uint16_t length = Get16(p_ + pos_);
    if (length == 0) {
        if (Get32(p_ + pos_) != 0) return Fail("broken end mark");
        if (pos_ + 4 != size_) return Fail("end mark before the end of the stream");
        done_ = true;
        return kEnd;
    }
    if (length < kRecordHeadSize + 2) return Fail("record length " + std::to_string(length) + " too short");
    if (length > size_ - pos_ - 4) return Fail("record runs into or past the end mark");
    rec->offset = uint32_t(pos_);
    rec->length = length;
    rec->line = Get16(p_ + pos_ + 2);
    rec->tokens.clear();
    size_t at = pos_ + kRecordHeadSize;
    size_t end = pos_ + length;
    for (;;) {
        uint32_t n = TokenLength(p_ + at, end - at);
        if (n == 0) {
            if (end - at >= 2 && p_[at] == kTokConstant)
                return Fail("constant of unknown type " + std::to_string(p_[at + 1]));
            return Fail("token at " + std::to_string(at) + " runs past the record");
        }
        rec->tokens.push_back(uint32_t(at));
        if (p_[at] == kTokRecordEnd) {
            if (at + n != end) return Fail("end item before the record's end");
            break;
        }
        at += n;
        if (at == end) return Fail("record without end item");
    }
    pos_ = end;
    return kRecord;
}

}  // namespace ifile
