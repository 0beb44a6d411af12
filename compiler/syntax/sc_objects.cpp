// The object prefix: `obj.PRINT`, `obj.CSRLIN`, `obj.Method args`, and the
// hidden object of the routines declared with EDECL (form 3). The object
// travels as a group {B5 40} object {BE 00}: in front of a statement head,
// in front of an intrinsic function item, or as the first argument of a
// form-3 routine; the generator passes the object's address (0 for the
// null object).
#include "sc_objects.h"

#include "sc_defs.h"
#include "sc_functions.h"
#include "sc_machine.h"
#include "sc_pass.h"

namespace txsc {

namespace {

// Statuses of these handlers: 4 an object where none can stand, 12 `this`
// outside a form-3 procedure.
constexpr uint8_t kStNoObject = 4, kStNoThis = 12;

// The keywords a selector may lead to: the statements that draw or write
// in a window. VIEW, WINDOW and POINT are function words that start their
// statements.
struct ObjectKeyword {
    uint16_t word;
    uint8_t head;
};
constexpr ObjectKeyword kObjectKeywords[] = {
    {tok::tw::kCLS, ifile::kStmCls},         {tok::tw::kWIDTH, ifile::kStmWidthDevice},
    {tok::tw::kINPUT, ifile::kStmInput},     {tok::tw::kPRINT, ifile::kStmPrint},
    {tok::tw::kWRITE, ifile::kStmWrite},     {tok::tw::kCONSOLE, ifile::kStmConsole},
    {tok::tw::kCOLOR, ifile::kStmColor},     {tok::tw::kCOLOR_AT, ifile::kStmColorAt},
    {tok::tw::kLOCATE, ifile::kStmLocate},   {tok::tw::kPALETTE, ifile::kStmPalette},
    {tok::tw::kSYMBOL, ifile::kStmSymbol},   {tok::tw::kGET_AT, ifile::kStmGetAt},
    {tok::tw::kPUT_AT, ifile::kStmPutAt},    {tok::tw::kPRESET, ifile::kStmPreset},
    {tok::tw::kPSET, ifile::kStmPset},       {tok::tw::kLINE, ifile::kStmLine},
    {tok::tw::kCIRCLE, ifile::kStmCircle},   {tok::tw::kCONNECT, ifile::kStmConnect},
    {tok::tw::kPAINT, ifile::kStmPaint},     {tok::tw::kAXIS, ifile::kStmAxis},
    {tok::tw::kVIEW, ifile::kStmView},       {tok::tw::kWINDOW, ifile::kStmWindow},
    {tok::tw::kPOINT, ifile::kStmPoint},
};

// The hidden parameter of the form-3 procedure being analysed, 0 outside one.
uint32_t OwnObject(ScPass &p) {
    if (!p.scope.proc) return 0;
    const Symbol &own = p.tab.sym(p.scope.proc);
    if (own.block != kFormObject || own.params.empty()) return 0;
    return own.params[0].sym;
}

bool PutObjectGroup(ScPass &p, const Item &object) {
    return PutItem(p, ic::kObject, kTypeObject) && PutItem(p, object.code, object.sub, object.value) &&
           PutItem(p, ic::kObjectEnd, 0);
}

}  // namespace

// Slot 112: a call of a routine declared with EDECL and no object named:
// its hidden first argument, the calling procedure's own hidden parameter
// when it has one, else the null object. Other routines get nothing.
void SC_ObjImp(ScPass &p) {
    p.status = 0;
    if (p.argFrames.empty()) return;
    const Symbol &r = p.tab.sym(p.argFrames.back().routine);
    if (r.block != kFormObject) return;
    const uint32_t own = OwnObject(p);
    PutObjectGroup(p, own ? Item{ic::kVar, kTypeObject, own} : Item{ic::kConst, kTypeNull, 0});
}

// Slot 113: the object of a call selected from it (the top of the object
// stack) as the hidden first argument.
void SC_ObjExp(ScPass &p) {
    if (p.objects.empty()) { p.status = 27; return; }
    p.status = 0;
    PutObjectGroup(p, p.objects.back());
}

// Slot 115: the object just analysed leaves the output for the object
// stack; only a plain variable can be one.
void SC_ObjPsh(ScPass &p) {
    const Item *last = LastItem(p);
    if (!last || last->code != ic::kVar) { p.status = kStNoObject; return; }
    p.objects.push_back(*last);
    --p.out;
    p.status = 0;
}

// Slot 116.
void SC_ObjPop(ScPass &p) {
    if (!p.objects.empty()) p.objects.pop_back();
    p.status = 0;
}

// Slot 117: a statement keyword after the selector: taken (status 1) and
// written as the head item it starts, or status 0.
void SC_ObjKwd(ScPass &p) {
    const uint16_t w = CurToken(p).word();
    p.status = 0;
    for (const ObjectKeyword &k : kObjectKeywords) {
        if (k.word != w) continue;
        Consume(p);
        if (PutItem(p, ic::kHead, k.head)) p.status = 1;
        return;
    }
}

// Slot 118: status 1 when the function just read takes an object.
void SC_ObjCls(ScPass &p) {
    const Token &t = LastToken(p);
    const FuncSig *f = t.cls == tok::kClsFunction ? FindFunction(t.kind) : nullptr;
    p.status = f && f->args[0] == 'P' ? 1 : 0;
}

// Slot 119: the form of the routine in the last item.
void SC_PrcForm(ScPass &p) {
    const Item *last = LastItem(p);
    p.status = 0;
    if (last && last->value && (last->code == ic::kHead || last->code == ic::kCall || last->code == ic::kLibCall))
        p.status = p.tab.sym(last->value).block;
}

// Slot 121: `obj.KEYWORD`: the statement head becomes the object's group
// (the object from the stack) and the keyword's head item (slot 117) is
// dropped; the rules then begin the keyword's statement after the group.
// Slot 122, at the end of every statement: a statement that takes an
// object and names none gets the procedure's hidden one inside a form-3
// procedure (elsewhere the generator passes the null object); one that
// takes none must not name one (status 4).
void SC_ObjHead(ScPass &p) {
    if (RuleA(p) == 122) {
        const uint8_t kind = p.items[p.head].sub;
        const bool named = p.head > 0 && p.items[p.head - 1].code == ic::kObjectEnd;
        p.status = 0;
        if (!ifile::TakesWindowWord(kind)) {
            if (named) p.status = kStNoObject;
            return;
        }
        const uint32_t own = OwnObject(p);
        if (named || !own) return;
        const Item group[] = {{ic::kObject, kTypeObject, 0}, {ic::kVar, kTypeObject, own}, {ic::kObjectEnd, 0, 0}};
        if (InsertItems(p, p.head, group, 3)) p.head += 3;
        return;
    }
    if (p.objects.empty() || p.out != p.head + 2 || p.items[p.out - 1].code != ic::kHead) { p.status = 27; return; }
    const Item object = p.objects.back();
    p.objects.pop_back();
    p.out = p.head;
    p.status = PutObjectGroup(p, object) ? 0 : 27;
}

// Slot 124: `this`, the hidden parameter of a form-3 procedure, as an
// operand (status 0); status 1 when the name just read is another name.
void SC_ObjThis(ScPass &p) {
    const Token &t = LastToken(p);
    p.status = 1;
    if (t.cls != tok::kClsName) return;
    const std::string_view name = TokenName(p, t);
    if (name.size() != 4) return;
    for (size_t i = 0; i < 4; ++i)
        if ((name[i] | 0x20) != "this"[i]) return;
    // A suffix makes it an ordinary variable.
    if (CheckName(p.lineView(), t.off, name.size()).suffix) return;
    const uint32_t own = OwnObject(p);
    if (!own) { p.status = kStNoThis; return; }
    p.status = PutItem(p, ic::kVar, kTypeObject, own) ? 0 : 27;
}

}  // namespace txsc
