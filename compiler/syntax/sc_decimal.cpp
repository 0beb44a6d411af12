// DEF BCD and DEF LEN: the names they declare become decimals (type 18) or
// strings of a length set when the statement runs (type 19).
#include "sc_decimal.h"

#include <vector>

#include "sc_expr.h"
#include "sc_machine.h"
#include "sc_names.h"
#include "sc_output.h"

namespace txsc {

namespace {

uint8_t DeclaredType(const ScPass &p) {
    return p.items[p.head].sub == ifile::kStmDefLen ? kTypeFix : kTypeBcd;
}

// Finds or enters the name of the template (its dimensions set) as the
// statement's type; 0 with the status set when it cannot be. `itemType`:
// the type the items carry.
uint32_t Declare(ScPass &p, const std::vector<int32_t> &bounds, uint8_t &itemType) {
    const uint8_t type = DeclaredType(p);
    p.tmpl.type = type;
    p.tmpl.typed = 1;
    p.tmpl.kind = p.scope.proc ? sk::kLocal : sk::kModule;
    itemType = type;
    uint32_t h = p.tab.Search(p.tmpl, p.scope);
    if (h) {
        const Symbol &s = p.tab.sym(h);
        if ((s.kind == sk::kParam || s.kind == sk::kByVal) && vt::IsStringGroup(s.type)) {
            itemType = s.type;
        } else if (s.type != type || s.dims != p.tmpl.dims) {
            p.status = 65;
            return 0;
        }
        return h;
    }
    h = p.tab.Enter(p.tmpl, NameRecordSize(p.tmpl), p.scope);
    if (!h) {
        p.status = 119;
        return 0;
    }
    p.tab.sym(h).bounds = bounds;
    if (p.flags & kFlagXref) OutputReference(p, p.tab.sym(h).xref, 0);
    return h;
}

}  // namespace

// Slot 139: one declared name "name$[(bounds)]" at the cursor; the type
// follows the statement (0x42 decimal, 0x41 DEF LEN). The name must be a
// string one: its storage is the runtime's. A new variable is entered as a
// local or module one; the same declaration again (a DEF BCD in a loop)
// finds it; a string parameter stays the caller's (status 0, generated as
// nothing); any other symbol of that name is status 65, as it already has
// storage of another size. The variable is written as a by-reference
// group, an array as DIM writes it (a local's bounds as subscripts).
// Bounds that are not constants give status 26 with the cursor back on
// them, for the name frame of slots 27, 23 and 140.
void SC_DclDec(ScPass &p) {
    const Token t = CurToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 17; return; }
    Consume(p);
    if (!vt::IsStringGroup(t.kind)) { p.status = 72; return; }
    TemplateFromToken(p, t);
    std::vector<int32_t> bounds;
    if (t.cls == tok::kClsNameParen) {
        const int at = p.tok;
        if (uint8_t st = ConstantBounds(p, bounds)) {
            if (st == 26) p.tok = at;
            p.status = st;
            return;
        }
    }
    p.tmpl.dims = uint8_t(bounds.size());
    uint8_t itemType;
    const uint32_t h = Declare(p, bounds, itemType);
    if (!h) return;
    PutItem(p, ic::kExprRef, itemType, 0);
    if (bounds.empty()) {
        PutItem(p, ic::kVar, itemType, h);
    } else {
        PutItem(p, ic::kElem, itemType, h);
        if (p.tab.sym(h).kind == sk::kLocal) {
            for (int32_t b : bounds) {
                const int slot = NewSlot(p, Cst::Lng(b));
                if (slot < 0) break;
                PutItem(p, ic::kExpr, kTypeLng);
                PutItem(p, ic::kConst, kTypeLng, uint32_t(slot));
                PutItem(p, ic::kExprEnd, 0);
            }
            PutItem(p, ic::kIndexEnd, 0);
        }
    }
    PutItem(p, ic::kExprEnd, 0);
    p.status = 0;
}

// Slot 140: the array of the current name frame, whose bounds were written
// as expressions evaluated when the statement runs.
void SC_DclDecFrm(ScPass &p) {
    if (p.nameFrames.empty()) { p.status = 27; return; }
    const NameFrame f = p.nameFrames.back();
    p.nameFrames.pop_back();
    Token t{};
    t.cls = tok::kClsNameParen;
    t.kind = p.items[f.item].sub;
    t.off = f.off;
    t.len = f.len;
    TemplateFromToken(p, t);
    p.tmpl.dims = f.count;
    uint8_t itemType;
    const uint32_t h = Declare(p, {}, itemType);
    if (!h) return;
    p.items[f.item].value = h;
    p.items[f.item].sub = itemType;
    p.items[f.item - 1].sub = itemType;
    PutItem(p, ic::kIndexEnd, 0);
    PutItem(p, ic::kExprEnd, 0);
    p.status = 0;
}

}  // namespace txsc
