// Pending 32-bit fields of the code: every reference the emitters write is
// filed here, and ResolveFixups turns the list into completed jumps and the
// relocations of .text once the whole module is generated. Also the label
// table, the data-relocation helper and the resume chain.
#pragma once

#include <cstdint>

#include "cg_state.h"

namespace txcg {

// Class numbers the callers pass for jumps and label addresses.
constexpr uint32_t kTargetLabelSlot = 2; // a label-table slot
constexpr uint32_t kTargetProcName = 3;  // a ProcNameTable entry
constexpr uint32_t kTargetLocalRef = 4;  // a LocalNameRefTable entry

// ifile::kProcEntrySlot: the u32 of ProcNameTable and LocalNameRefTable
// entries that the generator fills with a symbol index or a code offset.

void AddFixupCall(CgState &st, uint32_t offset, uint32_t symbol);
void AddFixupRel32(CgState &st, uint32_t offset, uint32_t procEntry);
void AddFixupRel32Local(CgState &st, uint32_t offset, uint32_t procEntry);
void AddFixupJump(CgState &st, uint32_t offset, uint32_t target, uint32_t cls);
void AddFixupData(CgState &st, uint32_t offset, uint32_t entry, uint32_t cls);
void AddFixupDir32(CgState &st, uint32_t offset, uint32_t symbol, uint32_t value);

// Phase 5: completes jumps (shortening those that reach) and files the
// relocations of .text, in the order the fixups were added.
void ResolveFixups(CgState &st);

// A DIR32 relocation of a data section; a non-zero value is written into
// the field as the addend.
void AddDataReloc(CgState &st, SectionId sec, uint32_t offset, uint32_t value, uint32_t symbol);
void AddDataRelocAt(CgState &st, SectionId sec, uint32_t offset, uint32_t symbol);

// Label table: u32 slots that hold a code offset once placed (0 before).
uint32_t NewLabel(CgState &st, uint32_t bytes = 4);
void PlaceLabel(CgState &st, uint32_t slot);
uint32_t LabelValue(const CgState &st, uint32_t slot);

// Resume chain (resume mode): each statement pushes the address of the next.
void AddFixupLabelChain(CgState &st, uint32_t offset);
void CloseLabelChain(CgState &st, uint32_t target);
void CloseLabelChainIfTrap(CgState &st, uint32_t target);
void SetResumeNest(CgState &st);     // a block opens
void MarkResumePending(CgState &st); // a block ends

} // namespace txcg
