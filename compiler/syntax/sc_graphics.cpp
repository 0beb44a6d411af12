// LINE's box words. B and BF are not keywords (a program may well have a
// variable B), so the rule takes them as names by their spelling.
#include "sc_graphics.h"

#include "sc_defs.h"
#include "sc_machine.h"
#include "sc_pass.h"

namespace txsc {

void SC_BoxWrd(ScPass &p) {
    const Token &t = CurToken(p);
    p.status = 4;
    if (t.cls != tok::kClsName) return;
    const std::string_view name = TokenName(p, t);
    uint8_t item = 0;
    if (name.size() == 1 && (name[0] == 'B' || name[0] == 'b'))
        item = ifile::kKwBox;
    else if (name.size() == 2 && (name[0] == 'B' || name[0] == 'b') && (name[1] == 'F' || name[1] == 'f'))
        item = ifile::kKwBoxFill;
    if (!item) return;
    Consume(p);
    PutItem(p, ic::kKeyword, item);
    p.status = 0;
}

}  // namespace txsc
