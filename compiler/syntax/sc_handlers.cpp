// StmtHandlerTable: the handlers the rule program calls by slot number.
#include "sc_blocks.h"
#include "sc_decimal.h"
#include "sc_expr.h"
#include "sc_graphics.h"
#include "sc_machine.h"
#include "sc_module.h"
#include "sc_names.h"
#include "sc_objects.h"
#include "sc_procs.h"
#include "sc_slots.h"

namespace txsc {

namespace {

struct SlotEntry {
    uint8_t slot;
    Handler fn;
};

constexpr SlotEntry kSlots[] = {
#define X(name, slot, handler) {slot, handler},
    TXSC_HANDLER_SLOTS(X)
#undef X
};

struct HandlerArray {
    Handler fn[kHandlerSlots] = {};
    constexpr HandlerArray() {
        for (const SlotEntry &e : kSlots) fn[e.slot] = e.fn;
    }
};

constexpr HandlerArray kArray;

}  // namespace

const Handler kHandlers[kHandlerSlots] = {
#define H(i) kArray.fn[i]
#define H10(i) H(i), H(i + 1), H(i + 2), H(i + 3), H(i + 4), H(i + 5), H(i + 6), H(i + 7), H(i + 8), H(i + 9)
    H10(0),   H10(10),  H10(20),  H10(30),  H10(40),  H10(50),  H10(60),
    H10(70),  H10(80),  H10(90),  H10(100), H10(110), H10(120), H10(130),
    H(140), H(141), H(142), H(143), H(144), H(145),
#undef H10
#undef H
};

}  // namespace txsc
