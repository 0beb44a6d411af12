#include "dsg_undo.h"

namespace dsg {

bool UndoCodeAccepted(uint32_t code) {
    return code <= 8 || (code >= 30 && code <= 34) || (code >= 60 && code <= 62);
}

bool UndoBuffer::Record(uint32_t code, const void *doc, const Form *form, const std::vector<uint32_t> &selected,
                        const std::string &anchorText, int slot) {
    if (!form || form->table.empty() || !UndoCodeAccepted(code) || slot < 0 || slot > 1) return false;
    std::vector<ControlRecord> snap;
    if (selected.empty()) {
        snap.push_back(form->table[0]);
    } else {
        for (uint32_t w : selected) {
            const ControlRecord *found = nullptr;
            for (const auto &r : form->table)
                if (r.hwnd == w) found = &r;
            if (!found) return false;
            snap.push_back(*found);
        }
    }
    UndoSlot &s = slots[slot];
    s.snapshot = std::move(snap);
    s.target = form->window;
    s.rebind = 0;
    if (code == kUndoText) s.text = anchorText;
    s.code = code;
    s.doc = doc;
    stepFlag = 1;
    current = slot == 0 ? 0 : 1;
    return true;
}

void UndoBuffer::SetKind(uint32_t flag, uint32_t window) {
    if (current > 1) return;
    UndoSlot &s = slots[current];
    if (flag == 1) {
        s.target = window;
        if (!s.snapshot.empty()) s.snapshot[0].hwnd = window;
    }
    s.rebind = flag;
}

int UndoBuffer::Current(const void *activeDoc) const {
    if (!stepFlag || current > 1 || slots[current].doc != activeDoc) return -1;
    return current;
}

bool UndoWriteBack(Form &form, const UndoSlot &slot) {
    for (const ControlRecord &saved : slot.snapshot) {
        ControlRecord *place = nullptr;
        for (auto &r : form.table)
            if (r.hwnd == saved.hwnd) place = &r;
        if (!place) return false;
        *place = saved;
    }
    return true;
}

}  // namespace dsg
