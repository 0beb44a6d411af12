// The module as a routine of its own (PARAM): its name from the source
// file, its parameters with constant defaults; and the argument marks of
// the module calls (CALLS, CALLM), whose arguments carry their own types.
#include "sc_module.h"

#include <cstring>

#include "cmpfilparam.h"
#include "dbcs.h"
#include "sc_expr.h"
#include "sc_fold.h"
#include "sc_machine.h"
#include "sc_names.h"
#include "sc_output.h"

namespace txsc {

namespace {

constexpr size_t kModuleParamMax = 64;

bool IsStrT(uint8_t t) { return (t & 0xF0) == 0x10; }

// The routine's name: the source file's name without folder, leading
// points and extension, a-z upper-cased, double-byte characters kept.
std::string ModuleName(const char *path) {
    std::string_view s = path ? path : "";
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < s.size()) { ++i; continue; }
        if (c == '\\' || c == '/' || c == ':') start = i + 1;
    }
    s.remove_prefix(start);
    while (!s.empty() && s.front() == '.') s.remove_prefix(1);
    std::string name;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < s.size()) {
            name += s[i];
            name += s[++i];
            continue;
        }
        if (c == '.') break;
        name += char(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    name.resize(tx::SjisFitLength(name.c_str(), size_t(kNameMax)));
    return name;
}

}  // namespace

// Slot 104: the module becomes the routine being analysed (kind 14).
void SC_DefMod(ScPass &p) {
    // A second PARAM finds the routine it made; inside a procedure the
    // statement cannot stand.
    if (p.scope.proc) {
        p.status = p.tab.sym(p.scope.proc).kind == sk::kModuleRoutine ? 67 : 107;
        return;
    }
    p.tmpl = SymTemplate{};
    p.tmpl.name = ModuleName(p.param ? p.param->srcfilename : nullptr);
    p.tmpl.bucket = HashName(p.tmpl.name);
    p.tmpl.kind = sk::kModuleRoutine;
    p.tmpl.typed = 1;
    if (p.tab.Search(p.tmpl, p.scope)) { p.status = 67; return; }
    const uint32_t h = p.tab.Enter(p.tmpl, 36 + uint32_t(2 * p.tmpl.name.size() + 6 * kModuleParamMax), p.scope);
    if (!h) { p.status = 119; return; }
    Symbol &s = p.tab.sym(h);
    s.extName = s.name;
    s.tailOffset = uint32_t(s.extName.size());
    s.mark[1] = 1;
    s.owner = ++p.nextProcId;
    p.scope.proc = h;
    p.scope.procId = s.owner;
    p.items[p.head].value = h;
    p.status = 0;
}

// Slot 105: PARAM's list: name [AS type] [= constant], at most 64.
void SC_ModPrm(ScPass &p) {
    const uint32_t h = p.scope.proc;
    if (!h) { p.status = 4; return; }
    for (;;) {
        const Token t = CurToken(p);
        if (t.cls == tok::kClsEnd) break;
        if (p.tab.sym(h).params.size() >= kModuleParamMax) { p.status = 123; return; }
        if (t.cls != tok::kClsName && t.cls != tok::kClsNameParen) { p.status = 30; return; }
        Consume(p);
        const bool array = t.cls == tok::kClsNameParen;
        if (array) {
            if (CurToken(p).word() != kTokClose) { p.status = 18; return; }
            Consume(p);
        }
        TemplateFromToken(p, t);
        uint8_t type = t.kind;
        if (CurToken(p).word() == kTokAs) {
            Consume(p);
            uint32_t extra;
            if (uint8_t st = ParseTypeClause(p, &type, &extra, p.tmpl.flags[1] != 0, t.kind)) { p.status = st; return; }
            p.tmpl.extra = extra;
            p.tmpl.typed = p.tmpl.flags[1];
        }
        if (type == kTypeFixStr) type = kTypeStr;
        p.tmpl.type = type;
        p.tmpl.kind = sk::kParam;
        p.tmpl.dims = array ? 255 : 0;
        p.tmpl.owner = p.scope.procId;
        uint32_t ps = 0;
        if (uint32_t old = p.tab.Search(p.tmpl, p.scope)) {
            Symbol &o = p.tab.sym(old);
            if ((o.type == kTypeBcd || o.type == kTypeFix) && o.kind == sk::kLocal) {
                o.kind = sk::kParam;
                ps = old;
            } else if (!IsStrT(o.type)) {
                p.status = 65;
                return;
            }
        }
        if (!ps) {
            ps = p.tab.Enter(p.tmpl, 36 + uint32_t(p.tmpl.name.size()), p.scope);
            if (!ps) { p.status = 119; return; }
        }
        // The entry is {u8 default present, u8 type}; the module end
        // writes the defaults after table 9 for the checked entry.
        ParamEntry e;
        e.sym = ps;
        uint8_t flag = 0;
        if (CurToken(p).word() == kTokEq) {
            Consume(p);
            if (array || type == kTypeRecord) { p.status = 34; return; }
            if (type == kTypeStr) {
                const Token k = CurToken(p);
                if (k.word() != 0x1070) { p.status = 73; return; }
                Consume(p);
                const std::string_view text = TokenName(p, k);
                uint8_t st;
                const uint32_t ref = EnterString(p, text.data(), text.size(), &st);
                if (st) { p.status = st; return; }
                std::memcpy(e.deflt, &ref, 4);
            } else {
                if (CurToken(p).word() == 0x1070) { p.status = 73; return; }
                Cst c;
                if (EvalConstExpr(p, c)) { p.status = 26; return; }
                if (type > kTypeByt || ConvertConst(c, type)) { p.status = 73; return; }
                StoreConst(c, e.deflt);
            }
            flag = 1;
        }
        e.word = uint16_t(flag | type << 8);
        p.tab.sym(h).params.push_back(e);
        p.tab.sym(h).dims = uint8_t(p.tab.sym(h).params.size());
        if (CurToken(p).word() != kTokComma) break;
        Consume(p);
    }
    p.status = 0;
}

// Slot 103: status 0 inside the module routine, else 107 (RETURNS outside
// a module that is a routine).
void SC_InMod(ScPass &p) {
    p.status = p.scope.proc && p.tab.sym(p.scope.proc).kind == sk::kModuleRoutine ? 0 : 107;
}

// Slot 125: marks a module call's argument. One variable, element or
// array goes by reference with its own type (B2); anything else is a value:
// for CALLS (B = 0) through a temporary (B3), for CALLM (B = 1) by value
// with the type its class gives (B1). B = 2: a whole array "name()".
void SC_RefArg(ScPass &p) {
    p.status = 0;
    if (RuleB(p) == 2) {
        // A whole array, just written by slot 25 as {start, array, end}.
        if (p.out >= 3 && p.items[p.out - 2].code == ic::kArray) p.items[p.out - 3].code = ic::kExprRef;
        return;
    }
    if (p.exprStart < 0) { p.status = 4; return; }
    Item &s = p.items[p.exprStart];
    const Item &first = p.items[p.exprStart + 1];
    const bool closed = p.exprStart + 2 < p.out && p.items[p.out - 1].code == ic::kExprEnd;
    const bool single = closed && !p.exprHadOp && !p.exprParenthesised &&
                        ((first.code == ic::kVar && p.exprStart + 3 == p.out) ||
                         (first.code == ic::kElem &&
                          (p.exprStart + 3 == p.out || p.items[p.out - 2].code == ic::kIndexEnd)) ||
                         (first.code == ic::kArray && p.exprStart + 3 == p.out));
    if (single) {
        s.code = ic::kExprRef;
        s.sub = p.curType == kTypeFixStr ? kTypeStr : p.curType;
    } else if (RuleB(p) == 0) {
        s.code = ic::kExprTmp;
        s.sub = vt::IsStringGroup(p.curType) ? kTypeStr : kTypeDbl;
    } else {
        s.code = ic::kExprVal;
        s.sub = 0x21;
    }
    s.value = 0;
    p.status = 0;
}

// Slot 106: a parameter-block label (B = 0 its DEF PARM, 1 a CALLS using
// it): the name without its first character, found or entered per
// procedure; a name of one character or with a suffix is status 33.
void SC_RefBlk(ScPass &p) {
    const Token &t = LastToken(p);
    const std::string_view text = TokenName(p, t);
    if (text.size() <= 1) { p.status = 33; return; }
    const NameCheck nc = CheckName(p.lineView(), size_t(t.off) + 1, text.size() - 1);
    if (nc.suffix) { p.status = 33; return; }
    std::string name(text.substr(1, nc.len));
    for (char &c : name)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    uint32_t h = 0;
    for (size_t i = 0; i < p.paramBlocks.size() && !h; ++i)
        if (p.paramBlocks[i].name == name && p.paramBlocks[i].owner == p.scope.procId) h = uint32_t(i + 1);
    if (!h) {
        p.paramBlocks.push_back(ScPassTables::ParamBlock{name, p.scope.procId});
        h = uint32_t(p.paramBlocks.size());
    }
    ScPassTables::ParamBlock &b = p.paramBlocks[h - 1];
    if (RuleB(p) == 0) {
        if (b.defined) { p.status = 65; return; }
        b.defined = true;
    }
    ++b.refs;
    if (!PutItem(p, ic::kBlockRef, RuleB(p), h)) return;
    p.status = 0;
}

}  // namespace txsc
