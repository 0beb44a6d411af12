// Jump resolution and shortening, relocations filed by fixup kind, and the
// resume chain; expected bytes worked out by hand.
#include <gtest/gtest.h>

#include "cg_bytes.h"
#include "cg_fixup.h"
#include "cg_test_util.h"

namespace txcg {
namespace {

using test::Hex;

// Pads the code with NOPs up to an offset.
void PadTo(CgState &st, uint32_t offset) {
    while (CurrentCodeOffset(st) < offset)
        EmitByte(st, 0x90);
}

std::vector<uint8_t> At(const CgState &st, uint32_t at, uint32_t n) {
    return {st.code.bytes.begin() + at, st.code.bytes.begin() + at + n};
}

TEST(ResolveFixups, JumpsAreShortenedInPlaceWhenInReach) {
    struct Case {
        const char *name;
        uint32_t jumpAt; // offset of the E9; its field is at jumpAt + 1
        uint32_t target;
        const char *bytes;
    };
    const Case cases[] = {
        {"backward, d = 126", 200, 201 - 125, "eb 82 90 90 90"},
        {"backward, d = 127 stays long", 200, 201 - 126, "e9 7e ff ff ff"},
        {"jump to itself", 200, 200, "eb fe 90 90 90"},
        {"forward to the next instruction", 200, 205, "eb 03 90 90 90"},
        {"forward, d = 126", 200, 201 + 127, "eb 7e 90 90 90"},
        {"forward, d = 127 stays long", 200, 201 + 128, "e9 7c 00 00 00"},
        {"far forward", 200, 201 + 1000, "e9 e4 03 00 00"},
        {"far backward", 2000, 10, "e9 35 f8 ff ff"},
        {"unplaced label (0) out of reach stays as emitted", 300, 0, "e9 00 00 00 00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CgState st;
        test::InitForEmit(st);
        const uint32_t slot = NewLabel(st);
        PadTo(st, c.jumpAt);
        EmitJump(st, slot, kTargetLabelSlot);
        PadTo(st, 1500 + c.target);
        PutU32(st.labels.data() + slot, c.target);
        ResolveFixups(st);
        EXPECT_EQ(Hex(At(st, c.jumpAt, 5)), c.bytes);
        EXPECT_TRUE(st.sec[kSecText].relocs.empty()) << "a jump needs no relocation";
    }
}

TEST(ResolveFixups, LineLabelJumpTakesTheOffsetFromProcNameTable) {
    CgState st;
    test::InitForEmit(st);
    st.tables[ifile::kProcNameTable].assign(2 * 11, 0);
    const uint32_t entry = 11; // second entry, name length 1
    PutU32(st.tables[ifile::kProcNameTable].data() + entry + ifile::kProcEntrySlot, 0x300);
    PadTo(st, 0x10);
    EmitJump(st, entry, kTargetProcName);
    PadTo(st, 0x400);
    ResolveFixups(st);
    EXPECT_EQ(Hex(At(st, 0x10, 5)), "e9 eb 02 00 00"); // 0x300 - 0x11 - 4
}

// Every kind that the linker finishes becomes a relocation, in the order
// added, with the table value completed and the addend in the field.
TEST(ResolveFixups, RelocationsByKind) {
    CgState st;
    test::InitForEmit(st);
    const uint32_t text = st.sec[kSecText].symbol;
    const uint32_t data = st.sec[kSecDataCn].symbol;
    auto &procs = st.tables[ifile::kProcNameTable];
    procs.assign(30, 0);
    const uint32_t proc = AddSymbol(st, "_F@0", 0, 0, 0x20, kClassExternal, 0);
    PutU32(procs.data() + 0 + ifile::kProcEntrySlot, proc);  // a procedure's symbol index
    PutU32(procs.data() + 10 + ifile::kProcEntrySlot, 0x80); // a code offset
    st.tables[ifile::kLocalNameRefTable].assign(20, 0);
    PutU32(st.tables[ifile::kLocalNameRefTable].data() + 6 + ifile::kProcEntrySlot, 0x90);

    EmitCallRuntime(st, "_$PsBEEP@0");          // 0
    const uint32_t beep = st.fixups.back().symbol;
    EmitCallProc(st, 0);                         // 5
    EmitCallLocal(st, 10);                       // 10
    EmitPushLabelAddr(st, 10, kTargetProcName);  // 15
    EmitPushLabelAddr(st, 6, kTargetLocalRef);   // 20
    EmitPushSymbolAddr(st, data, 0x10);          // 25
    EmitMovRegSymbol(st, kEbx, data, 0);         // 30
    ResolveFixups(st);

    struct Want {
        uint32_t offset, symbol;
        uint16_t type;
        uint32_t field;
    };
    const Want want[] = {
        {1, beep, kRelRel32, 0},    {6, proc, kRelRel32, 0},      {11, text, kRelRel32, 0x80},
        {16, text, kRelDir32, 0x80}, {21, text, kRelDir32, 0x90}, {26, data, kRelDir32, 0x10},
        {31, data, kRelDir32, 0},
    };
    const auto &relocs = st.sec[kSecText].relocs;
    ASSERT_EQ(relocs.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(relocs[i].offset, want[i].offset);
        EXPECT_EQ(relocs[i].symbol, want[i].symbol);
        EXPECT_EQ(relocs[i].type, want[i].type);
        EXPECT_EQ(GetU32(st.code.bytes.data() + relocs[i].offset), want[i].field);
    }
}

TEST(ResolveFixups, NoFixupsNoRelocations) {
    CgState st;
    test::InitForEmit(st);
    EmitRet(st, 0);
    ResolveFixups(st);
    EXPECT_TRUE(st.sec[kSecText].relocs.empty());
}

// An entry offset beyond the table is a damaged intermediate file, not a
// wild read.
TEST(ResolveFixups, EntryOutsideItsTableIsAnError) {
    CgState st;
    test::InitForEmit(st);
    st.tables[ifile::kProcNameTable].assign(10, 0);
    EmitCallProc(st, 8);
    try {
        ResolveFixups(st);
        FAIL() << "no error";
    } catch (const CgError &e) {
        EXPECT_EQ(e.code, kErrRead);
        EXPECT_EQ(e.detail, kDetailIntermediate);
    }
}

// A procedure's entry holds the index of its symbol; one from a damaged
// file that names no symbol would become a relocation the linker cannot
// follow.
TEST(ResolveFixups, ProcedureEntryNamingNoSymbolIsAnError) {
    for (bool beyond : {false, true}) {
        CgState st;
        test::InitForEmit(st);
        const uint32_t last = uint32_t(st.obj.symbols.size()) - 1;
        st.tables[ifile::kProcNameTable].assign(10, 0);
        PutU32(st.tables[ifile::kProcNameTable].data() + ifile::kProcEntrySlot, beyond ? last + 1 : last);
        EmitCallProc(st, 0);
        if (!beyond) {
            ResolveFixups(st);
            EXPECT_EQ(st.sec[kSecText].relocs.at(0).symbol, last);
            continue;
        }
        try {
            ResolveFixups(st);
            FAIL() << "no error";
        } catch (const CgError &e) {
            EXPECT_EQ(e.code, kErrRead);
            EXPECT_EQ(e.detail, kDetailIntermediate);
        }
    }
}

// Resume mode: each statement's push receives the address of the next
// statement's push; the last one the module's final offset. A block that
// nests keeps the outer link open until the block's end is passed.
TEST(ResumeChain, EachPushReceivesTheNextStatement) {
    CgState st;
    test::InitForEmit(st);
    st.resumeMode = true;
    std::vector<uint32_t> pushes;
    for (int i = 0; i < 3; ++i) {
        pushes.push_back(CurrentCodeOffset(st));
        EmitPushResumeLink(st);
        EmitCallRuntime(st, "_$PsBEEP@0");
    }
    const uint32_t end = CurrentCodeOffset(st);
    CloseLabelChainIfTrap(st, end);
    ResolveFixups(st);
    EXPECT_EQ(GetU32(st.code.bytes.data() + pushes[0] + 1), pushes[1]);
    EXPECT_EQ(GetU32(st.code.bytes.data() + pushes[1] + 1), pushes[2]);
    EXPECT_EQ(GetU32(st.code.bytes.data() + pushes[2] + 1), end);
}

TEST(ResumeChain, NestedBlockResolvesAtItsEnd) {
    CgState st;
    test::InitForEmit(st);
    st.resumeMode = true;
    auto statement = [&]() {
        uint32_t at = CurrentCodeOffset(st);
        EmitPushResumeLink(st);
        EmitCallRuntime(st, "_$PsBEEP@0");
        return at;
    };
    const uint32_t head = statement(); // a block opens here
    SetResumeNest(st);
    const uint32_t inner = statement();
    MarkResumePending(st); // the block ends
    const uint32_t after = statement();
    CloseLabelChainIfTrap(st, CurrentCodeOffset(st));
    ResolveFixups(st);
    EXPECT_EQ(GetU32(st.code.bytes.data() + head + 1), after);
    EXPECT_EQ(GetU32(st.code.bytes.data() + inner + 1), after);
}

TEST(ResumeChain, JumpWithResumeTrackingAddsASecondJumpToAPendingLabel) {
    CgState st;
    test::InitForEmit(st);
    st.resumeMode = true;
    EmitPushResumeLink(st);
    const uint32_t target = NewLabel(st);
    EmitJumpResume(st, target, kTargetLabelSlot);
    EXPECT_EQ(Hex(test::Code(st)), "68 00 00 00 00 e9 00 00 00 00 e9 00 00 00 00");
    ASSERT_TRUE(st.labelPending);
    EXPECT_EQ(st.fixups[0].value, 10u) << "RESUME NEXT lands on the second jump";
    EXPECT_EQ(st.fixups[2].kind, kFixJumpLabel);
    EXPECT_EQ(st.fixups[2].value, st.pendingLabel);

    CgState plain;
    test::InitForEmit(plain);
    EmitJumpResume(plain, NewLabel(plain), kTargetLabelSlot);
    EXPECT_EQ(Hex(test::Code(plain)), "e9 00 00 00 00");
}

// Past a section's count the relocations are filed in lists of that count,
// across the fixup blocks given back on the way, and the split hands each
// list to its part: the parts still put together the code, and each keeps
// the fields of its own calls in order.
TEST(ResolveFixups, RelocationsPastASectionsCountGoToTheParts) {
    CgState st;
    test::InitForEmit(st);
    const uint32_t calls = 2 * kMaxSectionRelocs + 7;
    const uint32_t slot = NewLabel(st);
    PlaceLabel(st, slot);
    std::vector<uint32_t> fields;
    for (uint32_t i = 0; i < calls; ++i) {
        if (i % 1000 == 0)
            EmitJump(st, slot, kTargetLabelSlot); // files no relocation
        fields.push_back(CurrentCodeOffset(st) + 1);
        EmitCallRuntime(st, "_$PsBEEP@0");
    }
    ASSERT_GT(st.fixups.size(), FixupStore::kBlock);
    st.code.bytes.resize(st.code.offset);
    ResolveFixups(st);
    EXPECT_TRUE(st.fixups.empty());
    EXPECT_EQ(st.sec[kSecText].relocs.size(), kMaxSectionRelocs);
    ASSERT_EQ(st.textRelocsMore.size(), 2u);
    EXPECT_EQ(st.textRelocsMore[1].size(), 7u);

    const std::vector<uint8_t> code = st.code.bytes;
    st.sec[kSecText].image = std::move(st.code.bytes);
    SplitTextSections(st);
    EXPECT_EQ(st.extraTextCount, 2);
    std::vector<uint8_t> joined;
    size_t next = 0;
    for (int p = 0; p < 3; ++p) {
        const auto &part = st.sec[p == 0 ? kSecText : SectionId(kSecTextExtra + p - 1)];
        const uint32_t start = uint32_t(joined.size());
        joined.insert(joined.end(), part.image.begin(), part.image.end());
        for (const CoffReloc &r : part.relocs)
            ASSERT_EQ(r.offset + start, fields[next++]);
    }
    EXPECT_EQ(next, fields.size());
    EXPECT_TRUE(joined == code) << "the parts put together are the code";
}

} // namespace
} // namespace txcg
