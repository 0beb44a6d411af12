// The designer's one undo step: copies of the selected controls' records
// (or of the form's own) taken before an alignment or a property change,
// and the slot that holds the state just before the last undo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dsg_model.h"

namespace dsg {

enum UndoCode : uint32_t { kUndoText = 0, kUndoAlign = 1, kUndoProperty = 2 };

bool UndoCodeAccepted(uint32_t code);

struct UndoSlot {
    uint32_t code = 0;
    const void *doc = nullptr;  // the document active when recorded
    std::string text;           // code 0: the window text before the change
    uint32_t target = 0;        // the active form, or the re-bound window
    std::vector<ControlRecord> snapshot;
    uint32_t rebind = 0;
};

class UndoBuffer {
public:
    uint32_t stepFlag = 0;
    UndoSlot slots[2];
    int current = 2;  // 2: none

    // Records the records of the selected controls (the form's own when
    // none is selected) into slot 0 (an edit) or 1 (undo keeping the
    // present state). False, recording nothing, when there is no form, a
    // record is missing or the code is refused.
    bool Record(uint32_t code, const void *doc, const Form *form, const std::vector<uint32_t> &selected,
                const std::string &anchorText, int slot = 0);
    // The re-bind after a property change re-created a window.
    void SetKind(uint32_t flag, uint32_t window);
    // The slot an undo restores in the active document, -1 none.
    int Current(const void *activeDoc) const;
};

// Writes a slot's records back into the form's table (matched by window;
// the first record also by the target); false when one has no place.
bool UndoWriteBack(Form &form, const UndoSlot &slot);

}  // namespace dsg
