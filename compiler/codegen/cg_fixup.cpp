#include "cg_fixup.h"

#include <algorithm>

#include "cg_bytes.h"
#include "cg_object.h"
#include "cg_tables.h"

namespace txcg {

namespace {

constexpr uint8_t kJmpShort = 0xEB;
constexpr uint8_t kNop = 0x90;
constexpr uint32_t kShortReach = 127;

void Add(CgState &st, uint32_t offset, uint32_t symbol, uint16_t type, uint32_t value,
         uint32_t kind) {
    st.fixups.push_back(FixupRecord{offset, symbol, type, uint16_t(kind), value});
}

uint32_t KindFor(uint32_t cls, uint32_t slotKind, uint32_t entryKind, uint32_t entryClass) {
    if (cls == kTargetLabelSlot)
        return slotKind;
    if (cls == entryClass)
        return entryKind;
    return cls; // any other class passes through as the kind
}

uint32_t EntryValue(const CgState &st, TableId t, uint32_t entry) {
    return TableU32(st, t, entry + ifile::kProcEntrySlot);
}

// A 5-byte E9 jump whose rel32 field is at F: shortened in place when the
// target is in reach, else completed. Nothing moves, so no other offset
// needs adjusting.
void ResolveJump(CgState &st, uint32_t field, uint32_t target) {
    uint8_t *code = st.code.bytes.data();
    uint32_t d;
    bool backward = target <= field;
    d = backward ? field - target + 1 : target - field - 1;
    if (d < kShortReach) {
        uint8_t *p = code + field - 1;
        p[0] = kJmpShort;
        p[1] = 0;
        p[2] = p[3] = p[4] = kNop;
        code[field] = uint8_t(backward ? -int(d) : int(d));
    } else if (target != 0) {
        PutU32(code + field, target - field - 4);
    }
}

} // namespace

void AddFixupCall(CgState &st, uint32_t offset, uint32_t symbol) {
    Add(st, offset, symbol, kRelRel32, 0, kFixCall);
}

void AddFixupRel32(CgState &st, uint32_t offset, uint32_t procEntry) {
    Add(st, offset, 0, kRelRel32, procEntry, kFixProcCall);
}

void AddFixupRel32Local(CgState &st, uint32_t offset, uint32_t procEntry) {
    Add(st, offset, st.sec[kSecText].symbol, kRelRel32, procEntry, kFixLocalCall);
}

void AddFixupJump(CgState &st, uint32_t offset, uint32_t target, uint32_t cls) {
    uint32_t kind = KindFor(cls, kFixJumpLabel, kFixJumpLine, kTargetProcName);
    Add(st, offset, st.sec[kSecText].symbol, kRelRel32, target, kind);
}

void AddFixupData(CgState &st, uint32_t offset, uint32_t entry, uint32_t cls) {
    uint32_t kind = cls == kTargetProcName   ? kFixLabelAddr
                    : cls == kTargetLocalRef ? kFixLocalRefAddr
                                             : cls;
    Add(st, offset, st.sec[kSecText].symbol, kRelDir32, entry, kind);
}

void AddFixupDir32(CgState &st, uint32_t offset, uint32_t symbol, uint32_t value) {
    Add(st, offset, symbol, kRelDir32, value, kFixDir32);
}

void ResolveFixups(CgState &st) {
    if (st.fixups.empty())
        return;
    // At most one relocation a fixup, filed in lists of a section's count,
    // each taking the place of the fixup blocks given back before it.
    std::vector<CoffReloc> *relocs = &st.sec[kSecText].relocs;
    if (relocs->size() < kMaxSectionRelocs)
        relocs->reserve(std::min<size_t>(relocs->size() + st.fixups.size(), kMaxSectionRelocs));
    size_t left = st.fixups.size();
    auto file = [&](const CoffReloc &r) {
        if (relocs->size() >= kMaxSectionRelocs) {
            relocs = &st.textRelocsMore.emplace_back();
            relocs->reserve(std::min<size_t>(left, kMaxSectionRelocs));
        }
        relocs->push_back(r);
    };
    uint8_t *code = st.code.bytes.data();
    const size_t n = st.fixups.size();
    for (size_t i = 0; i < n; ++i) {
        FixupRecord f = st.fixups[i];
        --left;
        if ((i + 1) % FixupStore::kBlock == 0 || i + 1 == n)
            st.fixups.Release(i);
        switch (f.kind) {
        case kFixJumpLabel:
            ResolveJump(st, f.offset, LabelValue(st, f.value));
            continue;
        case kFixJumpLine:
            ResolveJump(st, f.offset, EntryValue(st, ifile::kProcNameTable, f.value));
            continue;
        case kFixProcCall:
            f.symbol = EntryValue(st, ifile::kProcNameTable, f.value);
            // The entry is the file's: a damaged one names no symbol.
            if (f.symbol >= st.obj.symbols.size())
                CgFail(kErrRead, kDetailIntermediate);
            f.value = 0;
            break;
        case kFixLocalCall:
        case kFixLabelAddr:
            f.value = EntryValue(st, ifile::kProcNameTable, f.value);
            break;
        case kFixLocalRefAddr:
            f.value = EntryValue(st, ifile::kLocalNameRefTable, f.value);
            break;
        default:
            break;
        }
        if (f.value != 0)
            PutU32(code + f.offset, f.value);
        file(CoffReloc{f.offset, f.symbol, f.type});
    }
    st.fixups.clear();
}

void AddDataReloc(CgState &st, SectionId sec, uint32_t offset, uint32_t value, uint32_t symbol) {
    auto &d = st.sec[sec];
    if (uint64_t(offset) + 4 > d.image.size())
        CgFail(kErrRead, kDetailIntermediate);
    d.relocs.push_back(CoffReloc{offset, symbol, kRelDir32});
    if (value != 0)
        PutU32(d.image.data() + offset, value);
}

void AddDataRelocAt(CgState &st, SectionId sec, uint32_t offset, uint32_t symbol) {
    AddDataReloc(st, sec, offset, 0, symbol);
}

uint32_t NewLabel(CgState &st, uint32_t bytes) {
    uint32_t slot = uint32_t(st.labels.size());
    st.labels.insert(st.labels.end(), bytes, 0);
    return slot;
}

void PlaceLabel(CgState &st, uint32_t slot) {
    if (uint64_t(slot) + 4 > st.labels.size())
        CgFail(kErrInternal);
    PutU32(st.labels.data() + slot, st.code.offset);
}

uint32_t LabelValue(const CgState &st, uint32_t slot) {
    if (uint64_t(slot) + 4 > st.labels.size())
        CgFail(kErrInternal);
    return GetU32(st.labels.data() + slot);
}

namespace {

bool IsOpen(const CgState &st, uint32_t fixup) {
    if (fixup == kNoFixup)
        return false;
    const FixupRecord &f = st.fixups[fixup];
    return f.kind == kFixDir32 && f.value == kOpenLink;
}

} // namespace

void AddFixupLabelChain(CgState &st, uint32_t offset) {
    AddFixupDir32(st, offset, st.sec[kSecText].symbol, kOpenLink);
    const uint32_t added = uint32_t(st.fixups.size() - 1);
    auto &chain = st.resume;
    // F - 1 is the push opcode of the statement now starting: where a RESUME
    // NEXT of the statements before continues.
    if (chain.back().nest) {
        chain.back().nest = 0;
        chain.push_back(ResumeEntry{});
    } else {
        while (chain.back().pending) {
            chain.back().pending = 0;
            if (chain.back().fixup != kNoFixup)
                st.fixups[chain.back().fixup].value = offset - 1;
            if (chain.size() == 1)
                break;
            chain.pop_back();
        }
        if (IsOpen(st, chain.back().fixup))
            st.fixups[chain.back().fixup].value = offset - 1;
    }
    chain.back().fixup = added;
}

void CloseLabelChain(CgState &st, uint32_t target) {
    uint32_t top = st.resume.back().fixup;
    if (IsOpen(st, top))
        st.fixups[top].value = target;
}

void CloseLabelChainIfTrap(CgState &st, uint32_t target) {
    if (st.resumeMode)
        CloseLabelChain(st, target);
}

void SetResumeNest(CgState &st) { st.resume.back().nest = 1; }

void MarkResumePending(CgState &st) {
    for (auto it = st.resume.rbegin(); it != st.resume.rend(); ++it) {
        if (!it->pending) {
            it->pending = 1;
            return;
        }
    }
}

} // namespace txcg
