// The operand constant check: every constant that stands alone in an
// expression start gets the type its context requires, so the generator
// writes constants that need no conversion at run time.
#include "sc_machine.h"

namespace txsc {

uint16_t CheckConstants(ScPass &p) {
    for (int i = 0; i < p.out && p.items[i].code != ic::kEnd;) {
        const Item &start = p.items[i];
        bool isStart = start.code == ic::kExpr || start.code == ic::kExprRef || start.code == ic::kExprParen;
        if (isStart && i + 1 < p.out && p.items[i + 1].code == ic::kConst) {
            uint8_t target = start.sub;
            Item &k = p.items[i + 1];
            if (target <= 4 || target == 8 || target == 9) {
                Cst c = SlotValue(p, k);
                uint8_t st = ConvertConst(c, target);
                if (st == fs::kOverflow) return 0x3C06;
                if (st == fs::kConvert) return 0x5C1B;
                if (st) return 0x591B;
                k.sub = c.type;
                SetSlot(p, k, c);
            }
            i += 3;
        } else {
            ++i;
        }
    }
    return 0;
}

}  // namespace txsc
