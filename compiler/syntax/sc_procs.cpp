#include "sc_procs.h"

#include <cstring>

#include "sc_expr.h"
#include "sc_machine.h"
#include "sc_names.h"
#include "sc_output.h"

namespace txsc {

namespace {

bool IsStrT(uint8_t t) { return (t & 0xF0) == 0x10; }

constexpr uint8_t kRefCode = ifile::kParamByRef, kValCode = ifile::kParamByVal, kArrCode = ifile::kParamArray,
                  kDefaultBit = ifile::kParamDefault;

// An entry's code without its default mark: only codes from
// kParamDefaultFrom carry
// one (the array code 0x62 has the same bit set by itself).
uint8_t PlainCode(uint16_t word) {
    const uint8_t code = uint8_t(word & 0xFF);
    return code >= ifile::kParamDefaultFrom ? uint8_t(code & ~kDefaultBit) : code;
}

// A string constant token of non-zero length at the cursor.
bool StringOperand(ScPass &p, std::string_view *text) {
    const Token t = CurToken(p);
    if (t.word() != tok::tw::kStringConstant) return false;
    Consume(p);
    *text = TokenName(p, t);
    return !text->empty();
}

// One declared parameter: [BYVAL] name[()] [AS type] [= constant].
uint8_t DeclaredParam(ScPass &p, ParamEntry &e, uint16_t &argBytes) {
    bool byVal = false;
    if (CurToken(p).word() == tok::tw::kBYVAL) { Consume(p); byVal = true; }
    const Token t = CurToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) return 30;
    Consume(p);
    bool array = false;
    if (t.cls == tok::kClsNameParen) {
        if (CurToken(p).word() != kTokClose) return 18;
        Consume(p);
        array = true;
    }
    const bool suffix = CheckName(p.lineView(), t.off, t.len).suffix;
    uint8_t type = t.kind;
    uint32_t extra = 0;
    if (CurToken(p).word() == kTokAs) {
        Consume(p);
        if (uint8_t st = ParseTypeClause(p, &type, &extra, suffix, t.kind)) return st;
    }
    if (byVal && (IsStrT(type) || array)) return 31;
    uint8_t code = array ? kArrCode : byVal ? kValCode : kRefCode;
    e.value = type == kTypeRecord ? extra : 0;
    if (CurToken(p).word() == kTokEq) {
        Consume(p);
        if (array || type == kTypeRecord) return 34;
        const Token k = CurToken(p);
        if (IsStrT(type)) {
            std::string_view text;
            if (k.word() != tok::tw::kStringConstant) return 73;
            Consume(p);
            text = TokenName(p, k);
            uint8_t st;
            uint32_t ref = EnterString(p, text.data(), text.size(), &st);
            if (st) return st;
            std::memcpy(e.deflt, &ref, 4);
        } else {
            Cst c;
            if (EvalConstExpr(p, c)) return 26;
            if (type > 4) return 73;
            if (ConvertConst(c, type)) return 73;
            StoreConst(c, e.deflt);
        }
        code = uint8_t(code + kDefaultBit);
    }
    e.word = uint16_t(code | type << 8);
    argBytes = uint16_t(argBytes + ((byVal && type == kTypeDbl) ? 8 : 4));
    return 0;
}

}  // namespace

// Slot 92: DECLARE FUNCTION / DECLARE SUB.
void SC_DclPrc(ScPass &p) {
    const Token kw = CurToken(p);
    uint8_t kind;
    if (kw.word() == 0x3100) { p.items[p.head].sub = 0x30; kind = sk::kFunction; }
    else if (kw.word() == 0x3500) { p.items[p.head].sub = 0x34; kind = sk::kSub; }
    else { p.status = 29; return; }
    Consume(p);
    const Token t = CurToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 30; return; }
    Consume(p);
    TemplateFromToken(p, t);
    const bool suffix = p.tmpl.flags[1] != 0;
    if (kind == sk::kSub && suffix) { p.status = 23; return; }
    p.tmpl.kind = kind;
    p.tmpl.owner = 0;
    if (p.tab.Search(p.tmpl, p.scope)) { p.status = 65; return; }

    Symbol r;
    uint32_t lib = 0;
    if (CurToken(p).word() == 0x1910) {
        Consume(p);
        std::string_view text;
        if (!StringOperand(p, &text)) { p.status = 28; return; }
        uint8_t st;
        lib = EnterString(p, text.data(), text.size(), &st);
        if (st) { p.status = st; return; }
    }
    uint8_t form = 0;
    std::string prefix = lib ? "" : "_";
    switch (CurToken(p).word()) {
    case 0x0510: form = kFormTxdecl; prefix = "_TX$"; Consume(p); break;
    case 0x1410: form = kFormCdecl; prefix = "_"; Consume(p); break;
    case 0x1510: form = kFormObject; prefix = "_TV$"; Consume(p); break;
    }
    uint16_t argBytes = 0;
    if (form == kFormObject) {
        r.params.push_back(ParamEntry{uint16_t(0x50 | kTypeObject << 8), 0, 0, {}});
        argBytes = 4;
    }
    std::string name = p.tmpl.name;
    bool alias = false;
    if (CurToken(p).word() == 0x1A10) {
        Consume(p);
        std::string_view text;
        if (!StringOperand(p, &text)) { p.status = 28; return; }
        name = std::string(text);
        alias = true;
        if (form <= 1) prefix.clear();
    }
    bool hasList = false;
    if (t.cls == tok::kClsNameParen || CurToken(p).word() == kTokOpen) {
        if (t.cls != tok::kClsNameParen) Consume(p);
        hasList = true;
        if (CurToken(p).word() == kTokClose) {
            Consume(p);
        } else {
            for (;;) {
                ParamEntry e;
                if (uint8_t st = DeclaredParam(p, e, argBytes)) { p.status = st; return; }
                r.params.push_back(e);
                if (CurToken(p).word() == kTokComma) { Consume(p); continue; }
                if (CurToken(p).word() == kTokClose) { Consume(p); break; }
                p.status = 39;
                return;
            }
        }
    }
    if (!hasList && form >= 2) { p.status = 80; return; }
    if (kind == sk::kFunction && CurToken(p).word() == kTokAs) {
        Consume(p);
        uint8_t type;
        uint32_t extra;
        if (uint8_t st = ParseTypeClause(p, &type, &extra, suffix, t.kind)) { p.status = st; return; }
        if (form == 1 && type == kTypeStr) { p.status = 74; return; }
        p.tmpl.type = type;
    }
    std::string ext = prefix + name;
    if (!lib && !alias && form != 1) ext += "@" + std::to_string(argBytes);
    uint32_t size = 36 + uint32_t(p.tmpl.name.size() + ext.size() + 6 * r.params.size());
    p.tmpl.block = form;
    p.tmpl.dims = uint8_t(r.params.size());
    uint32_t h = p.tab.Enter(p.tmpl, size, p.scope);
    if (!h) { p.status = 119; return; }
    Symbol &s = p.tab.sym(h);
    s.dims = uint8_t(r.params.size());
    s.params = std::move(r.params);
    s.extName = ext;
    s.tailOffset = uint32_t(ext.size());
    s.libName = lib;
    s.argBytes = argBytes;
    s.mark[1] = hasList ? 0 : 1;   // no list: callable, never defined here
    p.items[p.head].value = h;
    p.status = 0;
}

// Slot 94: FUNCTION name / SUB name opening a body.
void SC_DefPrc(ScPass &p) {
    const Token t = CurToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 30; return; }
    Consume(p);
    TemplateFromToken(p, t);
    const bool suffix = p.tmpl.flags[1] != 0;
    p.tmpl.kind = sk::kFunction;
    p.tmpl.owner = 0;
    uint32_t h = p.tab.Search(p.tmpl, p.scope);
    if (!h) { p.status = 98; return; }
    Symbol &r = p.tab.sym(h);
    if (r.owner || r.libName || r.block == 1 || r.mark[1]) { p.status = 67; return; }
    const uint8_t head = p.items[p.head].sub;
    if ((head == 0x31 && r.kind != sk::kFunction) || (head == 0x35 && r.kind != sk::kSub)) { p.status = 67; return; }
    r.owner = ++p.nextProcId;
    p.scope.proc = h;
    p.scope.procId = r.owner;
    p.items[p.head].value = h;
    size_t first = 0;
    if (r.block == kFormObject) {
        // The hidden object parameter. Its name is not written over the
        // line: the line's later names are still read from there.
        SymTemplate th;
        th.name = "this";
        th.type = kTypeObject;
        th.kind = sk::kParam;
        th.typed = 1;
        th.owner = r.owner;
        r.params[0].sym = p.tab.Enter(th, 40, p.scope);
        first = 1;
    }
    const size_t declared = r.params.size() - first;
    if (t.cls == tok::kClsNameParen || CurToken(p).word() == kTokOpen) {
        if (t.cls != tok::kClsNameParen) Consume(p);
        size_t i = 0;
        if (CurToken(p).word() == kTokClose && declared == 0) {
            Consume(p);
        } else {
            for (;; ++i) {
                if (i >= declared) { p.status = 39; return; }
                ParamEntry &e = p.tab.sym(h).params[first + i];
                const uint8_t code = PlainCode(e.word);
                const uint8_t dtype = uint8_t(e.word >> 8);
                const bool byVal = (code & 0x0F) == 0x0F;
                if (CurToken(p).word() == tok::tw::kBYVAL) Consume(p);
                else if (byVal) { p.status = 72; return; }
                const Token n = CurToken(p);
                if (n.cls != tok::kClsName && n.cls != tok::kClsNameParen) { p.status = 30; return; }
                Consume(p);
                const bool array = n.cls == tok::kClsNameParen;
                if (array) {
                    if (CurToken(p).word() != kTokClose) { p.status = 18; return; }
                    Consume(p);
                }
                if ((code == kArrCode) != array) { p.status = array ? 17 : 19; return; }
                TemplateFromToken(p, n);
                uint8_t type = n.kind;
                if (CurToken(p).word() == kTokAs) {
                    Consume(p);
                    uint32_t extra;
                    if (uint8_t st = ParseTypeClause(p, &type, &extra, p.tmpl.flags[1] != 0, n.kind)) { p.status = st; return; }
                    p.tmpl.extra = extra;
                    // The clause, not the name, gives the type: a bare use
                    // of the name must still find the parameter.
                    p.tmpl.typed = p.tmpl.flags[1];
                }
                if (type != dtype && !(dtype == kTypeFixStr && type == kTypeStr)) { p.status = 72; return; }
                p.tmpl.type = type;
                p.tmpl.kind = byVal ? sk::kByVal : sk::kParam;
                p.tmpl.dims = array ? 255 : 0;
                p.tmpl.owner = p.scope.procId;
                if (uint32_t old = p.tab.Search(p.tmpl, p.scope)) {
                    if (!IsStrT(p.tab.sym(old).type)) { p.status = 65; return; }
                }
                uint32_t ps = p.tab.Enter(p.tmpl, 36 + uint32_t(p.tmpl.name.size()), p.scope);
                if (!ps) { p.status = 119; return; }
                p.tab.sym(h).params[first + i].sym = ps;
                if (CurToken(p).word() == kTokComma) { Consume(p); continue; }
                if (CurToken(p).word() == kTokClose) {
                    Consume(p);
                    if (i + 1 < declared) { p.status = 37; return; }
                    break;
                }
                p.status = 39;
                return;
            }
        }
    } else if (declared) {
        p.status = 80;
        return;
    }
    Symbol &s = p.tab.sym(h);
    if (s.kind == sk::kFunction) {
        if (CurToken(p).word() == kTokAs) {
            Consume(p);
            uint8_t type;
            uint32_t extra;
            if (uint8_t st = ParseTypeClause(p, &type, &extra, suffix, t.kind)) { p.status = st; return; }
            if (type != s.type) { p.status = 74; return; }
        }
        s.extra = SymbolTable::VarSize(s.type, 0, &p.tab);
    } else if (suffix) {
        p.status = 23;
        return;
    }
    if (p.flags & kFlagXref) {
        for (ParamEntry &e : s.params)
            if (e.sym) OutputReference(p, p.tab.sym(e.sym).xref, 0);
        OutputReference(p, s.xref, 0);
    }
    p.status = 0;
}

// Slot 90: END FUNCTION / END SUB.
void SC_EndPrc(ScPass &p) {
    if (Item *it = LastItem(p)) it->value = p.scope.proc;
    p.scope = ScopeInfo{};
}

void SC_InPrc(ScPass &p) { p.status = p.scope.proc ? 1 : 0; }

// Slot 93: an argument frame for the routine in the last item (or in the
// statement head for a call statement).
void SC_ArgPsh(ScPass &p) {
    const Item *it = LastItem(p);
    uint32_t h = it ? it->value : 0;
    if (!h || !(it->code == ic::kCall || it->code == ic::kLibCall || it->code == ic::kHead)) { p.status = 4; return; }
    Symbol &s = p.tab.sym(h);
    ArgFrame f;
    f.routine = h;
    f.hasBody = s.owner != 0;
    f.next = s.block == kFormObject ? 1 : 0;
    f.remaining = uint8_t(s.params.size() - f.next);
    p.argFrames.push_back(f);
    p.status = s.mark[1];
}

// Slot 95: marks the argument just analysed.
void SC_ArgMrk(ScPass &p) {
    if (p.argFrames.empty() || p.exprStart < 0) { p.status = 4; return; }
    ArgFrame &f = p.argFrames.back();
    if (f.remaining == 0) { p.status = 80; return; }
    const ParamEntry &e = p.tab.sym(f.routine).params[f.next];
    const uint8_t code = PlainCode(e.word);
    uint8_t dtype = uint8_t(e.word >> 8);
    Item &s = p.items[p.exprStart];
    const uint8_t at = p.curType;
    const bool fits = (vt::IsNumeric(dtype) && (vt::IsNumeric(at) || at == kTypeAny)) ||
                      (IsStrT(dtype) && IsStrT(at)) || dtype == kTypeAny ||
                      (dtype == at);
    if (!fits) { p.status = 72; return; }
    // One variable or array element alone (an element's subscripts end in
    // 0x6F just before the end item; a member selector would follow it).
    const Item &first = p.items[p.exprStart + 1];
    const bool closed = p.exprStart + 2 < p.out && p.items[p.out - 1].code == ic::kExprEnd;
    const bool single = closed && !p.exprHadOp &&
                        ((first.code == ic::kVar && p.exprStart + 3 == p.out) ||
                         (first.code == ic::kElem &&
                          (p.exprStart + 3 == p.out || p.items[p.out - 2].code == ic::kIndexEnd)));
    const bool byValToken = RuleB(p) == 1;
    // BYVAL before a number for a library routine pushes its value as a
    // 32-bit word whatever the declaration says.
    const bool libValue = byValToken && (code & 0x0F) != 0x0F && p.tab.sym(f.routine).libName &&
                          vt::IsNumeric(at);
    if (first.code == ic::kArray) {
        s.code = ic::kExprRef;
        s.value = 0;
    } else if ((code & 0x0F) == 0x0F || libValue) {
        s.code = ic::kExprVal;
        s.value = 0;
    } else if (p.exprParenthesised || byValToken) {
        // A routine of this module reads its by-reference parameter through
        // an address: BYVAL gives it one of a copy.
        // "(X)" passes the value of X through a temporary: the callee's
        // changes do not reach X.
        s.code = p.exprHadOp ? ic::kExprTmp : ic::kExprParen;
        s.value = 0;
    } else if (single && (first.sub == dtype || (dtype == kTypeFixStr && at == kTypeStr))) {
        // A variable or element of the declared type is passed itself; any
        // other goes through a temporary.
        s.code = ic::kExprRef;
        s.value = 0;
    } else {
        s.code = ic::kExprTmp;
        s.value = 0;
    }
    s.sub = libValue ? kTypeLng : dtype == kTypeFixStr ? kTypeStr : dtype;
    if (dtype == kTypeRecord && !libValue) s.value = e.value;
    --f.remaining;
    ++f.next;
    p.status = 0;
}

void SC_ArgCnt(ScPass &p) { p.status = p.argFrames.empty() ? 0 : p.argFrames.back().remaining; }

void SC_ArgArr(ScPass &p) {
    if (p.argFrames.empty() || p.exprStart < 0) { p.status = 0; return; }
    ArgFrame &f = p.argFrames.back();
    if (f.next == 0) { p.status = 0; return; }
    const ParamEntry &e = p.tab.sym(f.routine).params[f.next - 1];
    bool declArr = PlainCode(e.word) == kArrCode;
    bool argArr = p.exprStart + 1 < p.out && p.items[p.exprStart + 1].code == ic::kArray;
    p.status = declArr != argArr ? 1 : 0;
}

void SC_ArgPop(ScPass &p) { if (!p.argFrames.empty()) p.argFrames.pop_back(); }

// Slot 99: an omitted argument takes the declared default.
void SC_ArgDef(ScPass &p) {
    if (p.argFrames.empty()) { p.status = 82; return; }
    ArgFrame &f = p.argFrames.back();
    if (f.remaining == 0) { p.status = 82; return; }
    const ParamEntry &e = p.tab.sym(f.routine).params[f.next];
    const uint8_t code = uint8_t(e.word & 0xFF);
    if (!(code & kDefaultBit) || code < ifile::kParamDefaultFrom) { p.status = 82; return; }
    const uint8_t type = uint8_t(e.word >> 8);
    const bool byVal = (code & 0x0F) == 0x0F;
    if (type > 4 && type != 16 && type != 17) { p.status = 90; return; }
    PutItem(p, byVal ? ic::kExpr : ic::kExprRef, type);
    if (type == 16 || type == 17) {
        uint32_t ref;
        std::memcpy(&ref, e.deflt, 4);
        p.lineStrings += ref ? int(p.strings[ref - 1].text.size()) : 0;
        if (p.lineStrings > 257) { p.status = 124; return; }
        PutItem(p, ic::kConst, 16, ref);
    } else {
        int slot = NewSlot(p, LoadConst(type, e.deflt));
        if (slot < 0) return;
        PutItem(p, ic::kConst, type, uint32_t(slot));
    }
    PutItem(p, ic::kExprEnd, 0);
    --f.remaining;
    ++f.next;
    p.status = 0;
}

// Slot 100: the last item becomes the statement head.
void SC_HeadLast(ScPass &p) {
    if (p.out < 1) return;
    Item it = p.items[p.out - 1];
    p.items[p.head] = it;
    p.out = p.head + 1;
}

}  // namespace txsc

namespace txsc {

// Slot 109: DEF FN name[(params)]: the function of kind 15 with its
// by-value parameters; it becomes the function being defined, whose
// parameters the names of its expression find first.
void SC_DefFn(ScPass &p) {
    if (p.scope.proc) { p.status = 107; return; }
    const Token t = LastToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 30; return; }
    TemplateFromToken(p, t);
    p.tmpl.kind = sk::kFnDef;
    if (p.tab.Search(p.tmpl, p.scope)) { p.status = 65; return; }
    SymTemplate fn = p.tmpl;
    std::vector<ParamEntry> params;
    std::vector<SymTemplate> names;
    if (t.cls == tok::kClsNameParen) {
        for (;;) {
            const Token n = CurToken(p);
            if (n.cls != tok::kClsName) { p.status = 30; return; }
            Consume(p);
            TemplateFromToken(p, n);
            uint8_t type = n.kind;
            if (CurToken(p).word() == kTokAs) {
                Consume(p);
                uint32_t extra;
                if (uint8_t st = ParseTypeClause(p, &type, &extra, p.tmpl.flags[1] != 0, n.kind)) { p.status = st; return; }
                if (!vt::IsNumeric(type) && type != kTypeStr) { p.status = 72; return; }
            }
            for (const SymTemplate &o : names)
                if (o.name == p.tmpl.name) { p.status = 65; return; }
            p.tmpl.type = type;
            // A string argument arrives as the address of its copy.
            p.tmpl.kind = IsStrT(type) ? sk::kParam : sk::kByVal;
            names.push_back(p.tmpl);
            ParamEntry e;
            e.word = uint16_t(kValCode | type << 8);
            params.push_back(e);
            if (CurToken(p).word() == kTokComma) { Consume(p); continue; }
            if (CurToken(p).word() == kTokClose) { Consume(p); break; }
            p.status = 37;
            return;
        }
    }
    fn.owner = 0;
    fn.dims = uint8_t(params.size());
    const uint32_t h = p.tab.Enter(fn, 36 + uint32_t(fn.name.size() + 6 * params.size()), p.scope);
    if (!h) { p.status = 119; return; }
    const uint16_t owner = ++p.nextProcId;
    for (size_t i = 0; i < names.size(); ++i) {
        names[i].owner = owner;
        params[i].sym = p.tab.Enter(names[i], 36 + uint32_t(names[i].name.size()), p.scope);
        if (!params[i].sym) { p.status = 119; return; }
    }
    Symbol &s = p.tab.sym(h);
    s.owner = owner;
    s.dims = uint8_t(params.size());
    s.params = std::move(params);
    p.items[p.head].value = h;
    p.fnDef = h;
    p.status = 0;
}

// Slot 110: the end of the function's expression.
void SC_EndFn(ScPass &p) { p.fnDef = 0; }

// Slot 111: a use of a kind-15 function by the name just consumed: its
// call item, or status 79 when no such function was defined before.
void SC_RefFn(ScPass &p) {
    const Token t = LastToken(p);
    TemplateFromToken(p, t);
    p.tmpl.kind = sk::kFnDef;
    const uint32_t h = p.tab.Search(p.tmpl, p.scope);
    if (!h) { p.status = 79; return; }
    PutItem(p, ic::kCall, p.tab.sym(h).type, h);
    p.status = 0;
}

}  // namespace txsc
