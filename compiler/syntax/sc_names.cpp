#include "sc_names.h"

#include "sc_expr.h"
#include "sc_machine.h"
#include "sc_output.h"

namespace txsc {

namespace {

// The upper bound of each subscript of an array dimensioned by its use.
constexpr int32_t kImplicitBound = 10;

bool IsStrT(uint8_t t) { return (t & 0xF0) == 0x10; }

uint32_t RecordSize(const SymTemplate &t) {
    uint32_t size = 36 + uint32_t(t.name.size());
    if (t.dims) size += 4 * (t.dims == 255 ? 1 : t.dims) + 4;
    return size;
}

// A use of a name: the template gets the token's name and type; it counts
// as typed only when the name carries a suffix.
void UseTemplate(ScPass &p, const Token &t, uint8_t dims) {
    TemplateFromToken(p, t);
    p.tmpl.typed = p.tmpl.flags[1];
    p.tmpl.kind = sk::kUse;
    p.tmpl.dims = dims;
}

// Resolves a name use; writes its item. `form` 0 plain use, 1 with a
// parenthesis, 2 assignment target.
void RefName(ScPass &p, int form) {
    const Token t = LastToken(p);
    // A DEF FN expression's own parameters come first.
    if (form == 0 && p.fnDef) {
        UseTemplate(p, t, 0);
        if (uint32_t ph = p.tab.SearchParam(p.fnDef, p.tmpl)) {
            PutItem(p, ic::kVar, p.tab.sym(ph).type, ph);
            p.status = 0;
            return;
        }
    }
    UseTemplate(p, t, form == 1 ? 255 : 0);
    const bool suffix = p.tmpl.flags[1] != 0;
    uint32_t h = p.tab.Search(p.tmpl, p.scope);
    if (h) {
        Symbol &s = p.tab.sym(h);
        if (s.kind == sk::kFunction) {
            if (suffix && s.type != t.kind) { p.status = 74; return; }
            if (form == 2) {
                if (h != p.scope.proc) { p.status = 117; return; }
                PutItem(p, ic::kFnResult, s.type, h);
            } else {
                PutItem(p, s.libName ? ic::kLibCall : ic::kCall, s.type, h);
            }
            p.status = 0;
            return;
        }
        if (s.kind == sk::kSub) {
            // A procedure without result can only be called: the call
            // statement's head (moved over the statement head by the rule).
            if (form == 0) { p.status = 8; return; }
            if (suffix) { p.status = 23; return; }
            PutItem(p, ic::kHead, s.libName ? ifile::kStmCallDll : ifile::kStmCall, h);
            p.status = 0;
            return;
        }
        if (s.kind == sk::kModuleRoutine) { p.status = 8; return; }
        if (suffix && s.type != t.kind && !(IsStrT(s.type) && IsStrT(t.kind))) { p.status = 66; return; }
        PutItem(p, form == 1 ? ic::kElem : ic::kVar, s.type, h);
        if (form == 1 && s.dims == 0) { p.status = 63; return; }
        if (p.flags & kFlagXref) OutputReference(p, s.xref, 1);
        p.status = 0;
        return;
    }
    if (p.flags & kFlagNoDefaultVars) { p.status = 99; return; }
    // An array used without DIM is dimensioned by its first use (its count
    // of subscripts, each bound kImplicitBound). Inside a procedure it keeps
    // its storage across calls: a frame array would need a DIM to run.
    p.tmpl.kind = p.scope.proc ? (form == 1 ? sk::kStatic : sk::kLocal) : sk::kModule;
    p.tmpl.typed = 1;
    h = p.tab.Enter(p.tmpl, RecordSize(p.tmpl), p.scope);
    if (!h) { p.status = 119; return; }
    p.tab.sym(h).implicitArray = form == 1;
    PutItem(p, form == 1 ? ic::kElem : ic::kVar, t.kind, h);
    if (p.flags & kFlagXref) OutputReference(p, p.tab.sym(h).xref, 0);
    p.status = 0;
}

// A list of constant bounds "(b1, b2, ...)" after a declared array name.
uint8_t DeclaredBounds(ScPass &p, std::vector<int32_t> &bounds) {
    int64_t count = 1;
    for (;;) {
        Cst c;
        uint8_t st = EvalConstExpr(p, c);
        if (st) return st == fs::kBadToken ? 26 : st;
        if (ConvertConst(c, kTypeLng)) return 59;
        bounds.push_back(c.l);
        count *= int64_t(c.l) + 1;
        if (count < 0 || count > 0x7FFFFFFF) return 59;
        const Token &n = CurToken(p);
        if (n.word() == kTokComma) { Consume(p); continue; }
        if (n.word() == kTokClose) { Consume(p); return 0; }
        return 37;
    }
}

}  // namespace

uint32_t NameRecordSize(const SymTemplate &t) { return RecordSize(t); }
uint8_t ConstantBounds(ScPass &p, std::vector<int32_t> &bounds) { return DeclaredBounds(p, bounds); }

uint8_t ParseTypeClause(ScPass &p, uint8_t *type, uint32_t *extra, bool suffix, uint8_t suffixType) {
    const Token t = CurToken(p);
    *extra = 0;
    if (t.cls == tok::kClsName) {
        Consume(p);
        if (suffix) return 23;
        uint32_t u = p.tab.SearchType(TokenName(p, t));
        if (!u) return 96;
        *type = kTypeRecord;
        *extra = u;
        return 0;
    }
    if (t.cls != tok::kClsType) return 24;
    Consume(p);
    uint8_t k = t.kind;
    if (k == 17) {
        if (CurToken(p).word() == kTokStar) {
            Consume(p);
            Cst c;
            uint8_t st = EvalConstExpr(p, c);
            if (st) return 26;
            if (ConvertConst(c, kTypeLng) || c.l <= 0) return 59;
            *type = kTypeFixStr;
            *extra = uint32_t(c.l);
        } else {
            *type = kTypeStr;
        }
        if (suffix && !IsStrT(suffixType)) return 24;
        return 0;
    }
    if (k <= 4) {
        if (suffix && suffixType != k) return 24;
        *type = k;
        return 0;
    }
    if ((k == 64 || k == 80) && !suffix) {
        *type = k;
        return 0;
    }
    return 24;
}

// Slot 1 and 2: the file name the error lines show; the statements of an
// included file count as the line of its include line in the main source.
void SC_PshNam(ScPass &p) {
    const Token &t = LastToken(p);
    p.nameStack.push_back(std::string(TokenName(p, t)));
    p.fromInclude = true;
}
void SC_PopNam(ScPass &p) {
    if (p.nameStack.size() > 1) p.nameStack.pop_back();
    p.fromInclude = p.nameStack.size() > 1;
}

void SC_RefTgt(ScPass &p) { RefName(p, 2); }
void SC_RefVar(ScPass &p) { RefName(p, 0); }
void SC_RefIdx(ScPass &p) { RefName(p, 1); }

// Slot 25: a whole array "name()".
void SC_RefArr(ScPass &p) {
    const Token t = LastToken(p);
    UseTemplate(p, t, 255);
    uint32_t h = p.tab.Search(p.tmpl, p.scope);
    if (!h) { p.status = 99; return; }
    Symbol &s = p.tab.sym(h);
    if (s.kind == sk::kFunction || s.kind == sk::kSub) { p.status = 19; return; }
    PutItem(p, ic::kExpr, s.type, s.type == kTypeRecord ? s.extra : 0);
    PutItem(p, ic::kArray, s.type, h);
    PutItem(p, ic::kExprEnd, 0);
    p.curType = s.type;
    p.status = 0;
}

// Slot 26: "name()" as a call's argument, alone in it: the element item
// just written becomes the whole array, status 1; elsewhere status 0.
void SC_ArrRef(ScPass &p) {
    p.status = 0;
    if (p.argFrames.empty() || p.exprStarts.empty()) return;
    const int start = p.exprStarts.back();
    if (start + 2 != p.out) return;
    Item &it = p.items[p.out - 1];
    if (it.code != ic::kElem) return;
    it.code = ic::kArray;
    p.curType = it.sub;
    p.status = 1;
}

// Slot 30: SHARED name[()] [AS type] inside a procedure: a module
// variable or array becomes visible in it (its owner becomes this
// procedure); shared before, or of another kind, it is status 65.
void SC_ShrNam(ScPass &p) {
    const Token t = CurToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 17; return; }
    Consume(p);
    bool array = false;
    if (t.cls == tok::kClsNameParen) {
        if (CurToken(p).word() != kTokClose) { p.status = 18; return; }
        Consume(p);
        array = true;
    }
    TemplateFromToken(p, t);
    const bool suffix = p.tmpl.flags[1] != 0;
    uint8_t type = t.kind;
    uint32_t extra = 0;
    bool clause = false;
    if (CurToken(p).word() == kTokAs) {
        Consume(p);
        if (uint8_t st = ParseTypeClause(p, &type, &extra, suffix, t.kind)) { p.status = st; return; }
        clause = true;
    }
    p.tmpl.kind = sk::kUse;
    p.tmpl.type = type;
    p.tmpl.typed = suffix || clause ? 1 : 0;
    p.tmpl.dims = array ? 255 : 0;
    p.tmpl.owner = 0;
    const uint32_t h = p.tab.Search(p.tmpl, ScopeInfo{});
    if (!h) { p.status = 99; return; }
    Symbol &s = p.tab.sym(h);
    if (s.type == kTypeFixStr && clause && type == kTypeFixStr && s.extra != extra) { p.status = 72; return; }
    const bool moduleLevel = s.kind == sk::kModule || s.kind == sk::kCommon || s.kind == sk::kShared ||
                             s.kind == sk::kCommonShared;
    if (!moduleLevel || s.owner == p.scope.procId) { p.status = 65; return; }
    s.owner = p.scope.procId;
    p.status = 0;
}

// Slot 31: the COMMON block the following names belong to.
void SC_ComBlk(ScPass &p) { p.commonBlock = RuleB(p); }

// Slot 27: a name frame for the array name just consumed, whose bounds
// follow as expressions: the array's item waits for its record. With B = 1
// the frame counts the subscripts of the element item just written.
void SC_FrmOpn(ScPass &p) {
    const Token t = LastToken(p);
    NameFrame f;
    if (RuleB(p) == 1) {
        f.off = t.off;
        f.len = t.len;
        f.suffix = false;
        f.count = 0;
        f.item = uint32_t(p.out - 1);
        p.nameFrames.push_back(f);
        p.status = 0;
        return;
    }
    f.off = t.off;
    f.len = t.len;
    f.suffix = CheckName(p.lineView(), t.off, t.len).suffix;
    f.count = 0;
    if (!PutItem(p, ic::kExprRef, t.kind, 0)) return;
    f.item = uint32_t(p.out);
    if (!PutItem(p, ic::kElem, t.kind, 0)) return;
    p.nameFrames.push_back(f);
    p.status = 0;
}

// Slot 23: one more bound in the current name frame.
void SC_FrmCnt(ScPass &p) {
    if (!p.nameFrames.empty()) ++p.nameFrames.back().count;
}

// Slot 24: the subscripts of the frame's element end: their count must be
// the array's (or the member array's) dimension count, status 63 otherwise;
// an array whose count is not declared (255: an array parameter) takes any
// count, left as it is for the tables. The end item keeps sub-code 0, as the
// stream has always carried it.
void SC_FrmItm(ScPass &p) {
    if (p.nameFrames.empty()) { p.status = 27; return; }
    const NameFrame f = p.nameFrames.back();
    p.nameFrames.pop_back();
    const Item &it = p.items[f.item];
    const uint8_t *dims = nullptr;
    if (it.code == ic::kElem && it.value) dims = &p.tab.sym(it.value).dims;
    else if (it.code == ic::kElemMember && it.value) dims = &p.tab.member(it.value).dims;
    if (dims && *dims != 255 && *dims != f.count) { p.status = 63; return; }
    if (dims && *dims == 255 && it.code == ic::kElem && p.tab.sym(it.value).implicitArray) {
        Symbol &s = p.tab.sym(it.value);
        s.dims = f.count;
        s.bounds.assign(f.count, kImplicitBound);
    }
    PutItem(p, ic::kIndexEnd, 0, it.value);
    p.status = 0;
}

// Slot 28: declares the array of the current name frame with its count of
// bounds and an optional type clause, as a local or module array (shared
// for DIM SHARED); its bounds are set when the statement runs.
void SC_DclFrm(ScPass &p) {
    if (p.nameFrames.empty()) { p.status = 27; return; }
    const NameFrame f = p.nameFrames.back();
    p.nameFrames.pop_back();
    Token t{};
    t.cls = tok::kClsNameParen;
    t.kind = p.items[f.item].sub;
    t.off = f.off;
    t.len = f.len;
    TemplateFromToken(p, t);
    p.tmpl.typed = 1;
    if (CurToken(p).word() == kTokAs) {
        Consume(p);
        uint8_t type;
        uint32_t extra;
        if (uint8_t st = ParseTypeClause(p, &type, &extra, f.suffix, t.kind)) { p.status = st; return; }
        if (type == kTypeAny) { p.status = 88; return; }
        p.tmpl.type = type;
        p.tmpl.extra = extra;
        p.tmpl.typed = f.suffix ? 1 : 0;
    }
    p.tmpl.dims = f.count;
    p.tmpl.kind = p.items[p.head].sub == ifile::kStmDimShared ? sk::kShared : p.scope.proc ? sk::kLocal : sk::kModule;
    uint32_t h = 0;
    SymTemplate want = p.tmpl;
    if (uint32_t old = p.tab.Search(want, p.scope)) {
        // An array dimensioned by its first use is taken over: from here on
        // it has no storage until this DIM runs.
        Symbol &s = p.tab.sym(old);
        if (s.kind == sk::kFunction || s.kind == sk::kSub || s.kind == sk::kModuleRoutine || s.kind == sk::kFnDef) {
            p.status = 65;
            return;
        }
        if (s.type != p.tmpl.type && !(IsStrT(s.type) && IsStrT(p.tmpl.type) && s.implicitArray)) {
            p.status = s.type == kTypeRecord && p.tmpl.type == kTypeRecord ? 64 : 65;
            return;
        }
        if (s.type == kTypeRecord && s.extra != p.tmpl.extra) { p.status = 64; return; }
        if (s.typed != p.tmpl.typed) { p.status = 66; return; }
        if (!s.implicitArray) { p.status = 65; return; }
        if (s.dims != 255 && s.dims != f.count) { p.status = 63; return; }
        s.dims = f.count;
        s.bounds.clear();
        s.implicitArray = false;
        h = old;
    } else {
        h = p.tab.Enter(p.tmpl, RecordSize(p.tmpl), p.scope);
        if (!h) { p.status = 119; return; }
    }
    // No bounds in the record: no storage of its own before the DIM runs.
    p.items[f.item].value = h;
    p.items[f.item].sub = p.tmpl.type;
    p.items[f.item - 1].sub = p.tmpl.type;
    PutItem(p, ic::kIndexEnd, 0);
    PutItem(p, ic::kExprEnd, 0);
    p.status = 0;
}

// Slot 29: one declared name of DIM (and its kin): bounds, type clause.
void SC_DclArr(ScPass &p) {
    const Token t = LastToken(p);
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 17; return; }
    TemplateFromToken(p, t);
    const bool suffix = p.tmpl.flags[1] != 0;
    std::vector<int32_t> bounds;
    if (t.cls == tok::kClsNameParen) {
        const int at = p.tok;
        if (uint8_t st = DeclaredBounds(p, bounds)) {
            // Bounds that are no constants: the rules analyse them as
            // expressions for a name frame (slots 27, 23, 28).
            if (st == 26 && (p.items[p.head].sub == ifile::kStmDimDecl || p.items[p.head].sub == ifile::kStmDimShared)) p.tok = at;
            p.status = st;
            return;
        }
    }
    p.tmpl.dims = uint8_t(bounds.size());
    p.tmpl.typed = 1;
    if (CurToken(p).word() == kTokAs) {
        Consume(p);
        uint8_t type;
        uint32_t extra;
        if (uint8_t st = ParseTypeClause(p, &type, &extra, suffix, t.kind)) { p.status = st; return; }
        if (type == kTypeAny) { p.status = 88; return; }
        p.tmpl.type = type;
        p.tmpl.extra = extra;
        p.tmpl.typed = suffix ? 1 : 0;
    }
    uint8_t head = p.items[p.head].sub;
    switch (head) {
    case ifile::kStmCommon: p.tmpl.kind = sk::kCommon; p.tmpl.block = p.commonBlock; break;
    case ifile::kStmCommonShared: p.tmpl.kind = sk::kCommonShared; p.tmpl.block = p.commonBlock; break;
    case ifile::kStmDimDecl: case ifile::kStmDim: p.tmpl.kind = p.scope.proc ? sk::kLocal : sk::kModule; break;
    case ifile::kStmDimShared: p.tmpl.kind = sk::kShared; break;
    case ifile::kStmStaticDecl: p.tmpl.kind = sk::kStatic; break;
    default: p.status = 90; return;
    }
    if (p.tab.Search(p.tmpl, p.scope)) { p.status = 65; return; }
    uint32_t h = p.tab.Enter(p.tmpl, RecordSize(p.tmpl), p.scope);
    if (!h) { p.status = 119; return; }
    p.tab.sym(h).bounds = std::move(bounds);
    if (p.tmpl.dims) {
        PutItem(p, ic::kExprRef, p.tmpl.type, 0);
        PutItem(p, ic::kElem, p.tmpl.type, h);
        // A local array's bounds record holds zeros: it is dimensioned each
        // time the procedure runs, from the bounds written here as its
        // subscripts, one LNG constant group each.
        if (p.tmpl.kind == sk::kLocal) {
            for (int32_t b : p.tab.sym(h).bounds) {
                int slot = NewSlot(p, Cst::Lng(b));
                if (slot < 0) break;
                PutItem(p, ic::kExpr, kTypeLng);
                PutItem(p, ic::kConst, kTypeLng, uint32_t(slot));
                PutItem(p, ic::kExprEnd, 0);
            }
            PutItem(p, ic::kIndexEnd, 0);
        }
        PutItem(p, ic::kExprEnd, 0);
    }
    p.status = 0;
}

namespace {

// The user type of the operand whose last item is at `at` (a variable, a
// member, or an element whose subscripts end there); 0 when it is no record.
uint32_t RecordTypeAt(ScPass &p, int at) {
    if (at < 0 || at >= p.out) return 0;
    const Item *prev = &p.items[at];
    uint32_t type = 0;
    if (prev->code == ic::kIndexEnd) {
        // P(I).X: the element whose subscripts end here, past the names
        // and elements inside them.
        int depth = 0;
        for (int i = at - 1; i >= 0 && !type; --i) {
            const Item &it = p.items[i];
            if (it.code == ic::kIndexEnd) ++depth;
            else if (it.code == ic::kElem || it.code == ic::kElemMember) {
                if (depth-- > 0) continue;
                if (it.sub != kTypeRecord) break;
                type = it.code == ic::kElem ? p.tab.sym(it.value).extra : p.tab.member(it.value).extra;
            }
        }
    } else if (prev->sub == kTypeRecord) {
        if (prev->code == ic::kMember || prev->code == ic::kElemMember) type = p.tab.member(prev->value).extra;
        else if (prev->code == ic::kVar || prev->code == ic::kElem) type = p.tab.sym(prev->value).extra;
    }
    return type;
}

}  // namespace

// Slots 87 and 88: ".member" after a variable or a member.
void SC_RefMbr(ScPass &p) {
    const Token t = LastToken(p);
    const uint32_t type = RecordTypeAt(p, p.out - 1);
    if (!type) { p.status = 22; return; }
    if (CheckName(p.lineView(), t.off, t.len).suffix) { p.status = 23; return; }
    uint32_t m = p.tab.SearchMember(type, TokenName(p, t));
    if (!m) { p.status = 22; return; }
    PutItem(p, uint8_t(t.cls + 1), p.tab.member(m).type, m);
    p.status = 0;
}

void SC_TypOn(ScPass &p) { p.typeMode = true; }
void SC_TypTst(ScPass &p) { p.status = p.typeMode ? 1 : 0; }
void SC_TypOff(ScPass &p) {
    p.typeMode = false;
    p.status = (p.typeDef && p.tab.type(p.typeDef).size == 0) ? 21 : 0;
    // A type whose bytes hold a string descriptor or an object reference,
    // directly or in a member type, cannot go to a file as its bytes
    // (slot 43): its mark says so.
    if (p.typeDef) {
        UserType &u = p.tab.type(p.typeDef);
        for (uint32_t m = u.firstMember; m; m = p.tab.member(m).next) {
            const Member &mb = p.tab.member(m);
            if (mb.type == kTypeStr || mb.type == kTypeObject || mb.type == kTypeAny ||
                (mb.type == kTypeRecord && p.tab.type(mb.extra).mark == kMarkNotBytes))
                u.mark = kMarkNotBytes;
        }
    }
    p.typeDef = 0;
}

// Slot 43: a record read from or written to a file as its bytes, the
// operand's last item two back: a type marked as not plain bytes gives
// status 1; any other is marked as used so (status 0).
void SC_UsrMrk(ScPass &p) {
    p.status = 0;
    const uint32_t type = RecordTypeAt(p, p.out - 2);
    if (!type) return;
    UserType &u = p.tab.type(type);
    if (u.mark == kMarkUnset) u.mark = kMarkBytes;
    if (u.mark != kMarkBytes) p.status = 1;
}
void SC_DclOn(ScPass &p) { p.declMode = true; }
void SC_DclTst(ScPass &p) { p.status = p.declMode ? 1 : 0; }
void SC_DclOff(ScPass &p) { p.declMode = false; p.status = 0; }

// Slot 85: TYPE name.
void SC_DefTyp(ScPass &p) {
    const Token t = LastToken(p);
    if (CheckName(p.lineView(), t.off, t.len).suffix) { p.status = 23; return; }
    std::string_view name = TokenName(p, t);
    if (p.tab.SearchType(name)) { p.status = 64; return; }
    p.typeDef = p.tab.EnterType(name);
    p.status = 0;
}

// Slot 86: one member line of the type being defined.
void SC_DefMbr(ScPass &p) {
    const Token t = LastToken(p);
    if (!p.typeDef) { p.status = 4; return; }
    if (CheckName(p.lineView(), t.off, t.len).suffix) { p.status = 23; return; }
    std::string_view name = TokenName(p, t);
    if (p.tab.SearchMember(p.typeDef, name)) { p.status = 64; return; }
    Member m;
    m.name = std::string(name);
    if (t.cls == tok::kClsNameParen) {
        if (uint8_t st = DeclaredBounds(p, m.bounds)) { p.status = st; return; }
    }
    m.dims = uint8_t(m.bounds.size());
    if (CurToken(p).word() != kTokAs) { p.status = 24; return; }
    Consume(p);
    uint8_t type;
    uint32_t extra;
    const Token kw = CurToken(p);
    if (kw.cls == tok::kClsName && p.tab.SearchType(TokenName(p, kw)) == p.typeDef) { Consume(p); p.status = 96; return; }
    if (uint8_t st = ParseTypeClause(p, &type, &extra, false, 0)) { p.status = st == 26 && kw.kind == 17 ? 25 : st; return; }
    int64_t elem = type == kTypeRecord ? p.tab.type(extra).size : type == kTypeFixStr ? extra
                 : type == kTypeStr ? 12 : SymbolTable::VarSize(type, 0, nullptr);
    int64_t count = 1;
    for (int32_t b : m.bounds) count *= int64_t(b) + 1;
    int64_t size = elem * count;
    UserType &u = p.tab.type(p.typeDef);
    if (size < 0 || size + u.size > 0x7FFFFFFF) { p.status = 59; return; }
    m.type = type;
    m.extra = extra;
    m.offset = u.size;
    u.size += uint32_t(size);
    p.tab.AddMember(p.typeDef, std::move(m));
    p.status = 0;
}

// Slot 36: a statement led by a name steps back over it; one led by LET
// has consumed the keyword, not the name.
void SC_BackName(ScPass &p) {
    const Token &t = LastToken(p);
    if (t.cls == tok::kClsName || t.cls == tok::kClsNameParen) p.tok = p.lastTok;
}

// Slot 68: status 1 when the name at the cursor is a procedure without
// result (with B = 1, or a function: a method after an object's selector);
// its record then goes into the statement head. Status 2 when nothing of
// that name exists: a CALL must not declare it as a variable.
void SC_IsSub(ScPass &p) {
    const Token t = CurToken(p);
    p.status = 0;
    if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) return;
    UseTemplate(p, t, 0);
    uint32_t h = p.tab.Search(p.tmpl, p.scope);
    if (!h) {
        p.tmpl.dims = 255;
        h = p.tab.Search(p.tmpl, p.scope);
    }
    if (!h) p.status = 2;
    else if (p.tab.sym(h).kind == sk::kSub || (RuleB(p) == 1 && p.tab.sym(h).kind == sk::kFunction)) p.status = 1;
}

}  // namespace txsc
