// The grammar of the dialect, written with the rule builder. Each statement
// kind gets a rule sequence; shared subroutines analyse expressions,
// assignment targets, subscripts, call arguments and label operands.
#include <string_view>

#include "sc_defs.h"
#include "sc_functions.h"
#include "sc_rules.h"
#include "sc_slots.h"
#include "tokens.h"

namespace txsc {

namespace {

using namespace tok::tw;
using L = RuleBuilder::Label;

// Handler slots, by the names of their handlers.
enum Slot : uint8_t {
#define X(name, slot, handler) name = slot,
    TXSC_HANDLER_SLOTS(X)
#undef X
};

// Statuses the rules raise themselves (their errors come from the status
// table): 1 NEXT without FOR, 4 a token the statement does not expect,
// 12 no operand, 37 a list not closed, 80 an argument too many or of the
// wrong form, 86 WEND without WHILE, 98 a CALL of a name never declared,
// 105 a block statement out of place, 107 a statement that cannot stand
// here.
constexpr uint8_t kStNoFor = 1, kStSyntax = 4, kStNoOperand = 12, kStUnclosed = 37,
                  kStArgument = 80, kStNoWhile = 86, kStUndefinedProc = 98, kStBlock = 105, kStPlace = 107;

class GrammarWriter {
public:
    constexpr BuiltProgram Build() {
        Subroutines();
        Statements();
        Functions();
        return b.Finish();
    }

private:
    RuleBuilder b;
    L labelOp = 0, lineOp = 0, jumpOp = 0, tail = 0, expr = 0, target = 0, subs = 0, args = 0,
      argsBare = 0, argFill = 0, dispatch = 0, callStmt = 0, cond = 0;

#include "sc_grammar_graphics.inc"

    // An error end with the status of the last handler, unless it is 0.
    constexpr void Check() { b.IfNotStatus(0, dispatch); }
    constexpr void Need(uint16_t word, uint8_t status = kStSyntax) { b.NeedToken(word, b.StatusEntry(status)); }
    // A declared array's bounds that are expressions, evaluated when the
    // statement runs; the handler given declares it from the name frame.
    constexpr void RuntimeBounds(uint8_t declare) {
        L bound = b.NewLabel();
        b.Handler(FrmOpn);
        b.Place(bound);
        Expr(kTypeLng);
        b.Handler(FrmCnt);
        b.IfToken(kCOMMA, bound);
        Need(kRPAREN, kStUnclosed);
        b.Handler(declare);
        Check();
        b.Return();
    }
    constexpr void Expr(uint8_t targetType) {
        b.Handler(ExpTarget, targetType);
        b.Call(expr);
    }
    // Inside a one-line construct a block may open only when it closes on
    // the same line: it is tracked on the line's block stack too.
    constexpr void OpenOnLine(uint8_t kind) {
        L depth0 = b.NewLabel();
        b.Handler(DepLin);
        b.IfStatus(0, depth0);
        b.Handler(PshLin, kind);
        b.Place(depth0);
    }
    // ... and a statement that continues or closes a block must find that
    // block innermost on its line (dropped when `close`).
    constexpr void OnLine(uint8_t kind, bool close) {
        L depth0 = b.NewLabel();
        b.Handler(DepLin);
        b.IfStatus(0, depth0);
        b.Handler(TopLin);
        b.IfNotStatus(kind, b.StatusEntry(kStBlock));
        if (close)
            b.Handler(PopLin);
        b.Place(depth0);
    }
    constexpr L Stmt(uint8_t kind) {
        L l = b.NewLabel();
        b.StmtEntry(kind, l);
        b.Place(l);
        return l;
    }

    constexpr void Subroutines() {
        dispatch = b.NewLabel();
        labelOp = b.NewLabel();
        lineOp = b.NewLabel();
        jumpOp = b.NewLabel();
        tail = b.NewLabel();
        expr = b.NewLabel();
        target = b.NewLabel();
        subs = b.NewLabel();
        args = b.NewLabel();
        argsBare = b.NewLabel();
        argFill = b.NewLabel();
        callStmt = b.NewLabel();
        cond = b.NewLabel();

        // The two operand subroutines at the front: a label, a line number.
        b.Place(labelOp);
        b.NeedToken(kLabelOperand, b.StatusEntry(kStSyntax));
        b.EmitToken();
        b.Handler(DefLbl);
        Check();
        b.Return();
        b.Place(lineOp);
        b.NeedToken(kLineNumberOperand, b.StatusEntry(kStSyntax));
        b.EmitToken();
        b.Handler(DefLin);
        Check();
        b.Return();

        // A jump target: either form.
        L isLine = b.NewLabel();
        b.Place(jumpOp);
        b.IfToken(kLineNumberOperand, isLine);
        b.Call(labelOp);
        b.Return();
        b.Place(isLine);
        b.BackTokens(1);
        b.Call(lineOp);
        b.Return();

        b.Place(dispatch);
        b.StatusDispatch();

        CommonTail();
        Expression();
        Target();
        Arguments();

        // A condition: a numeric expression.
        b.Place(cond);
        Expr(32);
        b.Handler(TypGrp);
        b.IfNotStatus(0, b.StatusEntry(71));
        b.Return();
    }

    // End of a statement: the line's end, a comment, the separator, or the
    // ELSE of a one-line IF.
    constexpr void CommonTail() {
        L close = b.NewLabel(), sep = b.NewLabel(), els = b.NewLabel(), loop = b.NewLabel();
        L implicitEnd = b.NewLabel(), forOpen = b.NewLabel(), whileOpen = b.NewLabel();
        b.Place(tail);
        b.Handler(ObjOwn);
        Check();
        b.IfClass(tok::kClsEnd, close);
        b.IfToken(kREM, close);
        b.IfToken(kAPOSTROPHE, close);
        b.IfToken(kCOLON, sep);
        b.IfToken(kELSE, els);
        b.Fail(kStSyntax);

        b.Place(sep);
        b.EmitItem(ic::kSep, 0);
        b.NextStatement();

        b.Place(els);
        b.BackTokens(1);
        b.EmitItem(ic::kSep, 0);
        b.NextStatement();

        // Close the one-line blocks of this line.
        b.Place(close);
        b.Place(loop);
        b.Handler(DepLin);
        L done = b.NewLabel();
        b.IfStatus(0, done);
        b.Handler(TopLin);
        b.IfStatus(17, implicitEnd);
        b.IfStatus(24, implicitEnd);
        b.IfStatus(32, forOpen);
        b.IfStatus(34, whileOpen);
        b.Handler(PopBlk);
        b.End(0x6927);
        b.Place(implicitEnd);
        b.EmitItem(ic::kHead, 0x13);
        b.Handler(PopLin);
        b.Jump(loop);
        b.Place(forOpen);
        b.Handler(PopBlk);
        b.End(0x5417);
        b.Place(whileOpen);
        b.Handler(PopBlk);
        b.End(0x5518);
        b.Place(done);
        b.End(0);
    }

    // The selectors after an operand or a target: .name or .name(subscripts),
    // any number of them, then on to `exit`. Written in place rather than
    // called: a call would take a frame of the rule machine's stack.
    // In an expression `objFn` names two more exits: an intrinsic function
    // and a routine after an object's selector.
    constexpr void MemberChain(L members, L member, L memberParen, L exit, const L *objFn = nullptr) {
        b.Place(members);
        b.IfToken(kPERIOD, member);
        b.Jump(exit);
        b.Place(member);
        if (objFn) {
            L record = b.NewLabel();
            b.IfClass(tok::kClsFunction, objFn[0]);
            b.IfNotItem(Word(ic::kVar, kTypeObject), record);
            b.Handler(IsSub, 1);
            b.IfStatus(1, objFn[1]);
            b.Place(record);
        }
        b.IfClass(tok::kClsNameParen, memberParen);
        b.NeedClass(tok::kClsName, b.StatusEntry(22));
        b.Handler(RefMbr);
        Check();
        b.Jump(members);
        b.Place(memberParen);
        b.Handler(RefMbr);
        Check();
        b.Call(subs);
        b.Jump(members);
    }

    // A full expression in postfix items between a start and an end item.
    constexpr void Expression() {
        L operand = b.NewLabel(), after = b.NewLabel(), done = b.NewLabel(), prefix = b.NewLabel();
        L open = b.NewLabel(), constant = b.NewLabel(), name = b.NewLabel(), indexed = b.NewLabel();
        L func = b.NewLabel(), members = b.NewLabel(), call = b.NewLabel(), callBare = b.NewLabel();
        L close = b.NewLabel(), backOut = b.NewLabel(), binop = b.NewLabel(), member = b.NewLabel();
        L memberParen = b.NewLabel(), fnRef = b.NewLabel(), fnParen = b.NewLabel(), objFn = b.NewLabel();
        L objMethod = b.NewLabel(), objMethodParen = b.NewLabel(), labelValue = b.NewLabel();

        b.Place(expr);
        b.Handler(ExpOpen);
        b.Place(operand);
        b.IfToken(kMINUS, prefix);
        b.IfToken(kPLUS, operand);
        b.IfToken(kNOT, prefix);
        b.IfToken(kLPAREN, open);
        b.IfClass(tok::kClsConstant, constant);
        b.IfClass(tok::kClsName, name);
        b.IfClass(tok::kClsNameParen, indexed);
        b.IfClass(tok::kClsFunction, func);
        b.IfToken(kFN, fnRef);
        b.IfToken(kLabelOperand, labelValue);
        b.Fail(kStNoOperand);

        // *NAME: the label's table-0 offset, as the right operand of an
        // operator (the typing refuses it elsewhere).
        b.Place(labelValue);
        b.Handler(LblNam);
        Check();
        b.Jump(after);

        // FN name[(args)]: a single-expression function.
        b.Place(fnRef);
        b.IfClass(tok::kClsNameParen, fnParen);
        b.NeedClass(tok::kClsName, b.StatusEntry(79));
        b.Handler(RefFn);
        Check();
        b.Jump(callBare);
        b.Place(fnParen);
        b.Handler(RefFn);
        Check();
        b.Jump(call);

        b.Place(prefix);
        b.Handler(ExpPfx);
        b.Jump(operand);
        b.Place(open);
        b.Handler(ExpPar);
        b.Jump(operand);
        b.Place(constant);
        b.Handler(ExpCst);
        Check();
        b.Jump(after);

        b.Place(name);
        b.Handler(ObjThis);
        b.IfStatus(0, members);
        b.IfNotStatus(1, dispatch);
        b.Handler(RefVar);
        Check();
        b.IfItemCode(ic::kCall, callBare);
        b.IfItemCode(ic::kLibCall, callBare);
        b.Jump(members);

        L whole = b.NewLabel();
        b.Place(indexed);
        b.Handler(RefIdx);
        Check();
        b.IfItemCode(ic::kCall, call);
        b.IfItemCode(ic::kLibCall, call);
        b.IfItemCode(ic::kHead, b.StatusEntry(8));
        b.IfToken(kRPAREN, whole);
        b.Call(subs);
        const L objExits[] = {objFn, objMethod};
        MemberChain(members, member, memberParen, after, objExits);

        // obj.CSRLIN, obj.POS(n) ...: the object is the function's first
        // argument.
        b.Place(objFn);
        b.Handler(ObjCls);
        b.IfStatus(0, b.StatusEntry(kStSyntax));
        b.Handler(ObjPsh);
        Check();
        b.Handler(ObjExp);
        b.Handler(ObjPop);
        b.Handler(ExpFun, 1);
        Check();
        b.CallByItem();
        b.Jump(after);

        // obj.F(args): a FUNCTION declared with EDECL, the object its hidden
        // first argument.
        b.Place(objMethod);
        b.Handler(ObjPsh);
        Check();
        b.IfClass(tok::kClsNameParen, objMethodParen);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Handler(RefVar);
        for (bool withParen : {false, true}) {
            if (withParen) {
                b.Place(objMethodParen);
                b.Handler(RefIdx);
            }
            Check();
            b.Handler(PrcForm);
            b.IfNotStatus(kFormObject, b.StatusEntry(kStSyntax));
            b.Handler(ArgPsh);
            b.Handler(ObjExp);
            b.Handler(ObjPop);
            b.Call(withParen ? args : argFill);
            b.Handler(FunEnd);
            b.Jump(after);
        }

        // "name()" passes a whole array to a procedure.
        b.Place(whole);
        b.Handler(ArrRef);
        b.IfStatus(0, b.StatusEntry(kStNoOperand));
        b.Jump(after);

        b.Place(call);
        b.Handler(ArgPsh);
        b.Handler(ObjImp);
        b.Call(args);
        b.Handler(FunEnd);
        b.Jump(after);
        b.Place(callBare);
        b.Handler(ArgPsh);
        b.Handler(ObjImp);
        b.Call(argFill);
        b.Handler(FunEnd);
        b.Jump(after);

        b.Place(func);
        b.Handler(ExpFun);
        Check();
        b.CallByItem();
        b.Jump(after);

        b.Place(after);
        b.IfToken(kRPAREN, close);
        b.IfClass(tok::kClsOperator, binop);
        b.Jump(done);
        b.Place(close);
        b.Handler(ExpCls);
        b.IfStatus(1, backOut);
        b.Jump(after);
        b.Place(backOut);
        b.BackTokens(1);
        b.Jump(done);
        b.Place(binop);
        b.Handler(ExpOpr);
        Check();
        b.Jump(operand);

        b.Place(done);
        b.Handler(ExpClose);
        Check();
        b.Return();

        // Subscripts after a name that carries its parenthesis, counted
        // against the array's dimensions.
        L more = b.NewLabel();
        b.Place(subs);
        b.Handler(FrmOpn, 1);
        b.Place(more);
        Expr(kTypeLng);
        b.Handler(FrmCnt);
        b.IfToken(kCOMMA, more);
        Need(kRPAREN, kStUnclosed);
        b.Handler(FrmItm);
        Check();
        b.Return();
    }

    // An assignment target: a variable, an element, a member, or the
    // result of the function being defined.
    constexpr void Target() {
        L scalar = b.NewLabel(), indexed = b.NewLabel(), members = b.NewLabel(), done = b.NewLabel();
        L member = b.NewLabel(), memberParen = b.NewLabel();
        b.Place(target);
        b.Handler(ExpTarget, 80);
        b.Handler(ExpOpen);
        b.IfClass(tok::kClsName, scalar);
        b.IfClass(tok::kClsNameParen, indexed);
        b.Fail(kStSyntax);
        b.Place(scalar);
        b.Handler(ObjThis);
        b.IfStatus(0, members);
        b.IfNotStatus(1, dispatch);
        b.Handler(RefTgt);
        Check();
        b.IfNotItemCode(ic::kVar, members);
        b.Jump(members);
        b.Place(indexed);
        b.Handler(RefIdx);
        Check();
        b.IfNotItemCode(ic::kElem, b.StatusEntry(8));
        b.Call(subs);
        MemberChain(members, member, memberParen, done);
        b.Place(done);
        b.Handler(ExpClose);
        Check();
        b.Return();
    }

    // Arguments of a call, matched one by one to the declared entries.
    constexpr void Arguments() {
        L loop = b.NewLabel(), omitted = b.NewLabel(), close = b.NewLabel(), pop = b.NewLabel();
        L one = b.NewLabel(), bareLoop = b.NewLabel(), byVal = b.NewLabel(), marked = b.NewLabel();
        // One argument; BYVAL before it passes its value.
        b.Place(one);
        b.IfToken(kBYVAL, byVal);
        Expr(80);
        b.Handler(ArgMrk);
        b.Jump(marked);
        b.Place(byVal);
        Expr(80);
        b.Handler(ArgMrk, 1);
        b.Place(marked);
        Check();
        b.Handler(ArgArr);
        b.IfStatus(1, b.StatusEntry(kStArgument));
        b.Return();

        b.Place(args);
        b.IfToken(kRPAREN, argFill);
        b.Place(loop);
        b.IfToken(kCOMMA, omitted);
        b.Call(one);
        b.IfToken(kCOMMA, loop);
        b.Jump(close);
        b.Place(omitted);
        b.Handler(ArgDef);
        Check();
        b.Jump(loop);
        b.Place(close);
        Need(kRPAREN, kStUnclosed);

        // Omitted trailing arguments take their defaults.
        b.Place(argFill);
        b.Handler(ArgCnt);
        b.IfStatus(0, pop);
        b.Handler(ArgDef);
        Check();
        b.Jump(argFill);
        b.Place(pop);
        b.Handler(ArgPop);
        b.Return();

        // Arguments of a call statement without parentheses.
        b.Place(argsBare);
        b.Handler(EndTok);
        b.IfStatus(1, argFill);
        b.Place(bareLoop);
        b.Call(one);
        b.IfToken(kCOMMA, bareLoop);
        b.Jump(argFill);
    }

    constexpr void Statements() {
        // Comments and statements without operands. No keyword starts 0x06,
        // 0x4E, 0x4F, 0xD2, 0xD3 or 0xE0: kinds that make no code, kept so a
        // token of theirs is an empty statement rather than error 2.
        for (uint8_t k : {uint8_t(0x00), uint8_t(0x01), uint8_t(0x06), uint8_t(0x4A), uint8_t(0x4B),
                          uint8_t(0x4C), uint8_t(0x4E), uint8_t(0x4F), uint8_t(0x61), uint8_t(0x62),
                          uint8_t(0xD2), uint8_t(0xD3), uint8_t(0xE0)})
            b.StmtEntry(k, tail);
        Stmt(ifile::kStmStop);   // STOP
        b.Jump(tail);
        // RUN [label]: the program again from its start, or from a label
        // of the main module; the routine reads one word, 0 for the start.
        L runFrom = b.NewLabel();
        Stmt(ifile::kStmRun);
        b.Handler(EndTok);
        b.IfStatus(0, runFrom);
        b.EmitItem(ic::kKeyword, ifile::kKwNone);
        b.Jump(tail);
        b.Place(runFrom);
        b.Handler(InPrc);
        b.IfNotStatus(0, b.StatusEntry(kStPlace));
        b.Call(jumpOp);
        b.Jump(tail);

        // DEFtype letter lists: the preprocessor has applied them.
        {
            L loop = Stmt(ifile::kStmDefType);
            for (uint8_t k = 0x45; k <= 0x49; ++k) b.StmtEntry(k, loop);
            L next = b.NewLabel();
            b.Place(next);
            b.IfClass(tok::kClsName, next);
            b.IfToken(kMINUS, next);
            b.IfToken(kCOMMA, next);
            b.Jump(tail);
        }

        Assignment();
        Jumps();
        Data();
        Declarations();
        Ifs();
        ForNext();
        WhileWend();
        DoLoop();
        Exit();
        Select();
        Procedures();
        ModuleCalls();
        Prints();
        Console();
        Files();
        ErrorTraps();
        End();
        Flow();
        DataStatements();
        DefFnStatement();
        IncludeMarkers();
        SharedStaticCommon();
        Graphics();
        Events();
    }

    constexpr void Assignment() {
        Stmt(ifile::kStmLet);
        b.Handler(BackName);
        b.Handler(IsSub);
        b.IfStatus(1, callStmt);
        ObjectStatement();
        b.Call(target);
        b.Handler(AsgMrk);
        // A decimal target: the decimal store, whose operators are decimal.
        L plain = b.NewLabel();
        b.Handler(TypCur);
        b.IfNotStatus(kTypeBcd, plain);
        b.SetKind(ifile::kStmLetBcd);
        b.Place(plain);
        L record = b.NewLabel();
        b.Handler(TypCur);
        b.IfStatus(kTypeRecord, record);
        Need(kEQ);
        b.EmitItem(ic::kOper, 0x00);
        b.Handler(AsgTgt);
        b.Call(expr);
        b.Jump(tail);
        // A record target: the source must be a record it may take whole.
        b.Place(record);
        Need(kEQ);
        b.EmitItem(ic::kOper, 0x00);
        b.Handler(AsgTgt);
        b.Call(expr);
        b.Handler(AsgChk);
        Check();
        b.Jump(tail);

        // CALL name [(args)]; a line led by a SUB name comes here too.
        L paren = b.NewLabel(), head = b.NewLabel();
        Stmt(ifile::kStmCall);
        b.Handler(IsSub);
        b.IfStatus(2, b.StatusEntry(kStUndefinedProc));
        b.Place(callStmt);
        b.IfClass(tok::kClsNameParen, paren);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Handler(RefTgt);
        Check();
        b.IfNotItemCode(ic::kHead, b.StatusEntry(8));
        b.Handler(HeadLast);
        b.Handler(ArgPsh);
        b.Handler(ObjImp);
        b.Call(argsBare);
        b.Jump(tail);
        b.Place(paren);
        b.Handler(RefIdx);
        Check();
        b.IfNotItemCode(ic::kHead, b.StatusEntry(8));
        b.Place(head);
        b.Handler(HeadLast);
        b.Handler(ArgPsh);
        b.Handler(ObjImp);
        b.Call(args);
        b.Jump(tail);
    }

    // A line led by `obj.`: a statement keyword that writes or draws in the
    // object (obj.PRINT ...), or a SUB declared with EDECL called for an
    // OBJECT variable (obj.Method args). Anything else goes on as an
    // assignment (rec.field = ...).
    constexpr void ObjectStatement() {
        L dot = b.NewLabel(), selector = b.NewLabel(), keyword = b.NewLabel(), method = b.NewLabel();
        L plain = b.NewLabel(), paren = b.NewLabel(), typed = b.NewLabel();
        b.IfClass(tok::kClsName, dot);
        b.Jump(plain);
        b.Place(dot);
        b.IfToken(kPERIOD, selector);
        b.BackTokens(1);
        b.Jump(plain);
        b.Place(selector);
        b.IfClass(tok::kClsStatement, keyword);
        b.IfClass(tok::kClsFunction, keyword);
        b.Handler(IsSub);
        b.IfStatus(1, method);
        b.BackTokens(2);
        b.Jump(plain);

        // The keyword's statement begins again after the object's group.
        b.Place(keyword);
        b.BackTokens(3);
        ObjectName();
        Need(kPERIOD);
        b.Handler(ObjKwd);
        b.IfStatus(0, b.StatusEntry(kStSyntax));
        b.Handler(ObjHead);
        Check();
        b.BackTokens(1);
        b.NextStatement();

        b.Place(method);
        b.BackTokens(2);
        ObjectName(false);
        b.IfItem(Word(ic::kVar, kTypeObject), typed);
        // Not an object: a member of a record that has a SUB's name.
        b.BackItems(1);
        b.BackTokens(1);
        b.Jump(plain);
        b.Place(typed);
        b.Handler(ObjPsh);
        Check();
        Need(kPERIOD);
        for (bool withParen : {false, true}) {
            if (withParen) {
                b.Place(paren);
                b.Handler(RefIdx);
            } else {
                b.IfClass(tok::kClsNameParen, paren);
                b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
                b.Handler(RefTgt);
            }
            Check();
            b.IfNotItemCode(ic::kHead, b.StatusEntry(8));
            b.Handler(HeadLast);
            b.Handler(ArgPsh);
            b.Handler(PrcForm);
            b.IfNotStatus(kFormObject, b.StatusEntry(kStSyntax));
            b.Handler(ObjExp);
            b.Handler(ObjPop);
            b.Call(withParen ? args : argsBare);
            b.Jump(tail);
        }
        b.Place(plain);
    }

    // The object in front of a selector: `this` or a variable. With `push`
    // it goes on the object stack at once.
    constexpr void ObjectName(bool push = true) {
        L object = b.NewLabel();
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Handler(ObjThis);
        b.IfStatus(0, object);
        b.IfNotStatus(1, dispatch);
        b.Handler(RefVar);
        Check();
        b.Place(object);
        if (push) {
            b.Handler(ObjPsh);
            Check();
        }
    }

    constexpr void Jumps() {
        Stmt(ifile::kStmGoto);   // GOTO, GO TO
        b.Call(jumpOp);
        b.Jump(tail);
        Stmt(ifile::kStmGosub);   // GOSUB
        b.Call(jumpOp);
        b.Jump(tail);
        L bare = b.NewLabel();
        Stmt(ifile::kStmReturn);   // RETURN [label]
        b.Handler(EndTok);
        b.IfStatus(1, bare);
        b.Call(jumpOp);
        b.Place(bare);
        b.Jump(tail);
        L none = b.NewLabel();
        Stmt(ifile::kStmRestore);   // RESTORE [label]: the label goes into the head
        b.Handler(EndTok);
        b.IfStatus(1, none);
        b.Call(jumpOp);
        b.Place(none);
        b.Jump(tail);

        // ON n GOTO / GOSUB label, ...; ON ERROR GOTO label
        L go = b.NewLabel(), list = b.NewLabel(), onError = b.NewLabel();
        Stmt(ifile::kStmOnGoto);
        b.IfToken(kERROR, onError);
        OnEventBranches();
        b.Call(cond);
        b.IfToken(kGOTO, go);
        Need(kGOSUB);
        b.SetKind(ifile::kStmOnGosub);
        b.Place(go);
        b.Place(list);
        b.Call(jumpOp);
        b.IfToken(kCOMMA, list);
        b.Jump(tail);
        b.Place(onError);
        b.SetKind(ifile::kStmOnErrorGoto);
        Need(kGOTO);
        b.Call(jumpOp);
        b.Handler(TrpBit, ifile::kTrapResume);
        b.Jump(tail);
    }

    constexpr void Data() {
        Stmt(ifile::kStmData);   // DATA item, ...
        L next = b.NewLabel();
        b.Place(next);
        b.NeedClass(0x80, b.StatusEntry(kStSyntax));
        b.Handler(DatItm);
        b.IfToken(kCOMMA, next);
        b.Jump(tail);

        L more = b.NewLabel();
        Stmt(ifile::kStmRead);   // READ variable, ...
        b.Place(more);
        b.Call(target);
        b.Handler(TypSet, 80);
        b.IfToken(kCOMMA, more);
        b.Jump(tail);
    }

    constexpr void Declarations() {
        // DIM [SHARED] name[(bounds)] [AS type], ...
        L shared = b.NewLabel(), loop = b.NewLabel(), sloop = b.NewLabel(), one = b.NewLabel();
        Stmt(ifile::kStmDimDecl);
        b.IfToken(kSHARED, shared);
        b.Place(loop);
        b.Call(one);
        b.IfToken(kCOMMA, loop);
        b.SetKind(ifile::kStmDim);
        b.Jump(tail);
        b.Place(shared);
        b.SetKind(ifile::kStmDimShared);
        b.Place(sloop);
        b.Call(one);
        b.IfToken(kCOMMA, sloop);
        b.SetKind(ifile::kStmDim);
        b.Jump(tail);
        L paren = b.NewLabel(), runtime = b.NewLabel();
        b.Place(one);
        b.IfClass(tok::kClsNameParen, paren);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Place(paren);
        b.Handler(DclArr);
        b.IfStatus(26, runtime);
        Check();
        b.Return();
        b.Place(runtime);
        RuntimeBounds(DclFrm);

        // TYPE name ... member lines ... END TYPE
        Stmt(ifile::kStmType);
        b.Handler(ChkLinTop);
        Check();
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Handler(DefTyp);
        Check();
        b.Handler(TypOn);
        b.Jump(tail);
        L mparen = b.NewLabel();
        Stmt(ifile::kStmTypeMember);
        b.Handler(BackName);
        b.IfClass(tok::kClsNameParen, mparen);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Place(mparen);
        b.Handler(DefMbr);
        Check();
        b.Jump(tail);
    }

    constexpr void Ifs() {
        L block = b.NewLabel(), viaGoto = b.NewLabel(), implicitGoto = b.NewLabel();
        Stmt(ifile::kStmIf);   // IF cond THEN ...
        b.Call(cond);
        b.IfToken(kGOTO, viaGoto);
        Need(kTHEN);
        b.Handler(EndTok);
        b.IfStatus(1, block);
        b.SetKind(ifile::kStmLineIf);
        b.Handler(PshLin, 24);
        b.IfToken(kLineNumberOperand, implicitGoto);
        b.IfToken(kLabelOperand, implicitGoto);
        b.EmitItem(ic::kSep, 0);
        b.NextStatement();
        b.Place(viaGoto);
        b.SetKind(ifile::kStmLineIf);
        b.Handler(PshLin, 24);
        b.SkipTokens(1);
        b.Place(implicitGoto);
        b.BackTokens(1);
        b.EmitItem(ic::kSep, 0);
        b.Handler(NewStm, 0x70);
        b.Call(jumpOp);
        b.Jump(tail);
        b.Place(block);
        b.Handler(PshBlk);
        OpenOnLine(ifile::kStmIf);
        b.Jump(tail);

        // ELSE: of a one-line IF on this line, or of a block IF.
        L lineElse = b.NewLabel(), blockOk = b.NewLabel(), elseGoto = b.NewLabel();
        Stmt(ifile::kStmElse);
        b.Handler(TopLin);
        b.IfStatus(24, lineElse);
        b.Handler(TopBlk);
        b.IfStatus(16, blockOk);
        b.IfStatus(18, blockOk);
        b.Fail(kStBlock);
        b.Place(blockOk);
        OnLine(ifile::kStmIf, false);
        b.Handler(RepBlk);
        b.Jump(tail);
        b.Place(lineElse);
        b.Handler(RepLin, 17);
        b.IfToken(kLineNumberOperand, elseGoto);
        b.IfToken(kLabelOperand, elseGoto);
        b.Handler(EndTok);
        b.IfStatus(1, tail);
        b.EmitItem(ic::kSep, 0);
        b.NextStatement();
        b.Place(elseGoto);
        b.BackTokens(1);
        b.EmitItem(ic::kSep, 0);
        b.Handler(NewStm, 0x70);
        b.Call(jumpOp);
        b.Jump(tail);

        // ELSEIF cond THEN
        L elseifOk = b.NewLabel();
        Stmt(ifile::kStmElseIf);
        b.Handler(TopBlk);
        b.IfStatus(16, elseifOk);
        b.IfStatus(18, elseifOk);
        b.Fail(kStBlock);
        b.Place(elseifOk);
        OnLine(ifile::kStmIf, false);
        b.Handler(RepBlk);
        b.Call(cond);
        Need(kTHEN);
        b.Jump(tail);
    }

    constexpr void ForNext() {
        // FOR v = a TO b [STEP c]
        L step = b.NewLabel(), stepDone = b.NewLabel(), lineFor = b.NewLabel();
        Stmt(ifile::kStmForHead);
        b.Handler(PshBlk);
        b.Call(target);
        b.Handler(ForVar);
        Check();
        b.Handler(AsgMrk);
        Need(kEQ);
        b.Handler(AsgTgt);
        b.Call(expr);
        Need(kTO);
        b.Handler(AsgTgt);
        b.Call(expr);
        b.Handler(ForTmp);
        Check();
        b.IfToken(kSTEP, step);
        b.Handler(ForOne);
        b.Jump(stepDone);
        b.Place(step);
        b.Handler(AsgTgt);
        b.Call(expr);
        b.Handler(ForTmp);
        Check();
        b.Place(stepDone);
        b.Handler(DepLin);
        b.IfNotStatus(0, lineFor);
        b.Jump(tail);
        b.Place(lineFor);
        b.Handler(PshLin, 32);
        b.Jump(tail);

        // NEXT [v, ...]: one closing statement per variable.
        L bare = b.NewLabel(), var = b.NewLabel(), more = b.NewLabel(), closeOne = b.NewLabel();
        Stmt(ifile::kStmNext);
        b.Handler(EndTok);
        b.IfStatus(1, bare);
        b.Place(var);
        b.Call(target);
        b.Handler(NxtVar);
        Check();
        b.Call(closeOne);
        b.IfToken(kCOMMA, more);
        b.Jump(tail);
        b.Place(more);
        b.Handler(NxtSpl);
        b.Jump(var);
        b.Place(bare);
        b.Handler(TopBlk);
        b.IfNotStatus(32, b.StatusEntry(kStNoFor));
        b.Call(closeOne);
        b.Jump(tail);
        // Pops the loop, and its one-line entry when it opened on this line.
        b.Place(closeOne);
        OnLine(ifile::kStmForHead, true);
        b.Handler(PopBlk);
        b.Return();
    }

    constexpr void WhileWend() {
        // WHILE cond ... WEND
        L lineWhile = b.NewLabel();
        Stmt(ifile::kStmWhile);
        b.Handler(PshBlk);
        b.Call(cond);
        b.Handler(DepLin);
        b.IfNotStatus(0, lineWhile);
        b.Jump(tail);
        b.Place(lineWhile);
        b.Handler(PshLin, 34);
        b.Jump(tail);
        Stmt(ifile::kStmWend);
        b.Handler(TopBlk);
        b.IfNotStatus(34, b.StatusEntry(kStNoWhile));
        OnLine(ifile::kStmWhile, true);
        b.Handler(PopBlk);
        b.Jump(tail);
    }

    constexpr void DoLoop() {
        // DO [WHILE | UNTIL cond] ... LOOP [WHILE | UNTIL cond]
        L doWhile = b.NewLabel(), doUntil = b.NewLabel(), doPush = b.NewLabel();
        Stmt(ifile::kStmDo);
        b.IfToken(kWHILE, doWhile);
        b.IfToken(kUNTIL, doUntil);
        b.Jump(doPush);
        b.Place(doWhile);
        b.SetKind(ifile::kStmDoWhile);
        b.Call(cond);
        b.Jump(doPush);
        b.Place(doUntil);
        b.SetKind(ifile::kStmDoUntil);
        b.Call(cond);
        b.Place(doPush);
        b.Handler(PshBlk);
        OpenOnLine(ifile::kStmDo);
        b.Jump(tail);
        L loopOk = b.NewLabel(), loopWhile = b.NewLabel(), loopUntil = b.NewLabel(), loopPop = b.NewLabel();
        Stmt(ifile::kStmLoop);
        b.Handler(TopBlk);
        b.IfStatus(36, loopOk);
        b.IfStatus(38, loopOk);
        b.IfStatus(39, loopOk);
        b.Fail(kStBlock);
        b.Place(loopOk);
        OnLine(ifile::kStmDo, true);
        b.IfToken(kWHILE, loopWhile);
        b.IfToken(kUNTIL, loopUntil);
        b.Jump(loopPop);
        b.Place(loopWhile);
        b.SetKind(ifile::kStmLoopWhile);
        b.Call(cond);
        b.Jump(loopPop);
        b.Place(loopUntil);
        b.SetKind(ifile::kStmLoopUntil);
        b.Call(cond);
        b.Place(loopPop);
        b.Handler(PopBlk);
        b.Jump(tail);
    }

    constexpr void Exit() {
        // EXIT FOR | DO | SUB | FUNCTION, or bare EXIT
        L exFor = b.NewLabel(), exDo = b.NewLabel(), exSub = b.NewLabel(), exFn = b.NewLabel();
        Stmt(ifile::kStmExit);
        b.IfToken(kFOR, exFor);
        b.IfToken(kDO, exDo);
        b.IfToken(kSUB, exSub);
        b.IfToken(kFUNCTION, exFn);
        b.EmitItem(ic::kKeyword, 0xF0);
        b.Jump(tail);
        b.Place(exFor);
        b.EmitItem(ic::kKeyword, 0x1C);
        b.Handler(SrhBlk, 0x20);
        b.IfStatus(0, b.StatusEntry(kStBlock));
        b.Jump(tail);
        b.Place(exDo);
        b.EmitItem(ic::kKeyword, 0x1B);
        b.Handler(SrhBlk, 0x24);
        b.IfStatus(0, b.StatusEntry(kStBlock));
        b.Jump(tail);
        b.Place(exSub);
        b.SetKind(ifile::kStmSubExit);
        b.Handler(InPrc);
        b.IfStatus(0, b.StatusEntry(kStPlace));
        b.Jump(tail);
        b.Place(exFn);
        b.SetKind(ifile::kStmFuncExit);
        b.Handler(InPrc);
        b.IfStatus(0, b.StatusEntry(kStPlace));
        b.Jump(tail);
    }

    constexpr void Select() {
        // SELECT CASE expr: the value goes into a holder.
        Stmt(ifile::kStmSelect);
        Need(kCASE);
        b.Handler(PshBlk);
        OpenOnLine(ifile::kStmSelect);
        Expr(32);
        b.Handler(CasTmp);
        Check();
        b.Jump(tail);

        // CASE item, ... | CASE ELSE
        L ok = b.NewLabel(), caseElse = b.NewLabel(), item = b.NewLabel(), isForm = b.NewLabel();
        L range = b.NewLabel(), next = b.NewLabel();
        Stmt(ifile::kStmCase);
        b.Handler(TopBlk);
        b.IfStatus(20, ok);
        b.IfStatus(21, ok);
        b.Fail(kStBlock);
        b.Place(ok);
        OnLine(ifile::kStmSelect, false);
        b.Handler(ClrEnd);
        b.IfToken(kELSE, caseElse);
        b.Handler(RepBlk);
        b.Place(item);
        b.IfToken(kIS, isForm);
        b.Handler(CasEq);
        Expr(32);
        b.Handler(CasTyp);
        Check();
        b.IfToken(kTO, range);
        b.Handler(CasCmp);
        Check();
        b.Jump(next);
        b.Place(range);
        Expr(32);
        b.Handler(CasTyp);
        Check();
        b.Handler(CasRng);
        Check();
        b.Jump(next);
        b.Place(isForm);
        b.NeedClass(tok::kClsOperator, b.StatusEntry(11));
        b.Handler(CasOpr);
        Check();
        Expr(32);
        b.Handler(CasTyp);
        Check();
        b.Handler(CasCmp);
        Check();
        b.Place(next);
        b.IfToken(kCOMMA, item);
        b.Jump(tail);
        b.Place(caseElse);
        b.SetKind(ifile::kStmCaseElse);
        b.Handler(RepBlk);
        b.Jump(tail);
    }

    constexpr void Procedures() {
        // DECLARE FUNCTION | SUB ..., or DECLARE alone opening a block of
        // FUNCTION and SUB declarations up to END DECLARE.
        L block = b.NewLabel(), inBlock = b.NewLabel();
        Stmt(ifile::kStmDeclare);
        b.Handler(EndTok);
        b.IfStatus(1, block);
        b.Handler(DclPrc);
        Check();
        b.Jump(tail);
        b.Place(block);
        b.SetKind(ifile::kStmDeclareBlock);
        b.Handler(DclOn);
        b.Jump(tail);
        b.Place(inBlock);
        b.BackTokens(1);
        b.Handler(DclPrc);
        Check();
        b.Jump(tail);
        // FUNCTION name ... / SUB name ...: first on their line, not nested;
        // inside a declaration block, declarations.
        for (uint8_t kind : {uint8_t(0x31), uint8_t(0x35)}) {
            Stmt(kind);
            b.Handler(DclTst);
            b.IfStatus(1, inBlock);
            b.Handler(ChkLinTop);
            Check();
            b.Handler(InPrc);
            b.IfNotStatus(0, b.StatusEntry(kStPlace));
            b.Handler(DefPrc);
            Check();
            b.Jump(tail);
        }
    }

    // The module as a routine and the calls of modules: PARAM, RETURNS,
    // CALLS, LOADM, DELETEM, CALLM.
    constexpr void ModuleCalls() {
        // PARAM [name [AS type] [= constant], ...]: in a .SUB module,
        // outside any procedure.
        Stmt(ifile::kStmCheckedEntry);
        b.Handler(ModSub);
        b.IfStatus(0, b.StatusEntry(kStPlace));
        b.Handler(DefMod);
        Check();
        b.Handler(ModPrm);
        Check();
        b.Jump(tail);
        // RETURNS value: only in a module that PARAM made a routine.
        Stmt(ifile::kStmReturns);
        b.Handler(InMod);
        Check();
        Expr(kTypeLng);
        b.Jump(tail);
        // LOADM f$, DELETEM f$
        for (uint8_t kind : {uint8_t(0x2D), uint8_t(0x2E)}) {
            Stmt(kind);
            Expr(kTypeStr);
            b.Jump(tail);
        }
        // CALLS prog$ [(arg, ...)]: typed references, an argument may be
        // left out.
        {
            L list = b.NewLabel(), loop = b.NewLabel(), omitted = b.NewLabel(), next = b.NewLabel();
            L block = b.NewLabel();
            Stmt(ifile::kStmCalls);
            Expr(kTypeStr);
            b.IfToken(kLPAREN, list);
            b.IfToken(kCOMMA, block);
            b.Jump(tail);
            // CALLS prog$, *block: the list DEF PARM built.
            b.Place(block);
            b.NeedToken(kLabelOperand, b.StatusEntry(33));
            b.Handler(RefBlk, 1);
            Check();
            b.Jump(tail);
            b.Place(list);
            b.IfToken(kRPAREN, tail);
            b.Place(loop);
            b.IfToken(kCOMMA, omitted);
            ModuleArgument(0, next);
            b.Place(next);
            b.IfToken(kCOMMA, loop);
            Need(kRPAREN, kStUnclosed);
            b.Jump(tail);
            b.Place(omitted);
            Omitted();
            b.Jump(loop);
        }
        // CALLM module$, routine$ [, arg ...]
        {
            L loop = b.NewLabel(), one = b.NewLabel();
            Stmt(ifile::kStmCallM);
            Expr(kTypeStr);
            Need(kCOMMA);
            Expr(kTypeStr);
            b.Place(loop);
            b.IfToken(kCOMMA, one);
            b.Jump(tail);
            b.Place(one);
            ModuleArgument(1, loop);
        }
    }

    // One argument of CALLS (kind 0) or CALLM (1): a whole array "name()",
    // or an expression; then on to the label.
    constexpr void ModuleArgument(uint8_t kind, L then) {
        L maybe = b.NewLabel(), whole = b.NewLabel(), value = b.NewLabel();
        b.IfClass(tok::kClsNameParen, maybe);
        b.Jump(value);
        b.Place(maybe);
        b.IfToken(kRPAREN, whole);
        b.BackTokens(1);
        b.Jump(value);
        b.Place(whole);
        b.BackTokens(2);
        b.NeedClass(tok::kClsNameParen, b.StatusEntry(kStSyntax));
        b.Handler(RefArr);
        Check();
        Need(kRPAREN, kStUnclosed);
        b.Handler(RefArg, 2);
        b.Jump(then);
        b.Place(value);
        Expr(80);
        b.Handler(RefArg, kind);
        Check();
        b.Jump(then);
    }

    // PRINT [#n,] [USING fmt;] items, and LPRINT [USING fmt;] items or TYPE.
    constexpr void Prints() {
        L items = b.NewLabel(), sepItem = b.NewLabel(), file = b.NewLabel(), usingL = b.NewLabel();
        L fileUsing = b.NewLabel(), item = b.NewLabel();
        Stmt(ifile::kStmPrint);
        b.IfToken(kHASH, file);
        b.IfToken(kUSING, usingL);
        b.Jump(items);
        b.Place(file);
        b.SetKind(ifile::kStmPrintFile);
        Expr(kTypeLng);
        Need(kCOMMA);
        b.IfToken(kUSING, fileUsing);
        b.Jump(items);
        b.Place(fileUsing);
        b.SetKind(ifile::kStmPrintFileUsing);
        L fmt = b.NewLabel();
        b.Jump(fmt);
        b.Place(usingL);
        b.SetKind(ifile::kStmPrintUsing);
        b.Place(fmt);
        Expr(kTypeStr);
        b.IfToken(kCOMMA, sepItem);
        Need(kSEMICOLON);
        b.EmitToken();
        b.Jump(items);

        L lusing = b.NewLabel(), ltype = b.NewLabel();
        Stmt(ifile::kStmLprint);
        b.IfToken(kUSING, lusing);
        b.IfToken(kTYPE, ltype);
        b.Jump(items);
        b.Place(ltype);
        b.SetKind(ifile::kStmLprintType);
        b.Jump(tail);
        b.Place(lusing);
        b.SetKind(ifile::kStmLprintUsing);
        b.Jump(fmt);

        b.Place(items);
        b.Handler(EndTok);
        b.IfStatus(1, tail);
        b.IfToken(kCOMMA, sepItem);
        b.IfToken(kSEMICOLON, sepItem);
        b.Place(item);
        Expr(32);
        b.Jump(items);
        b.Place(sepItem);
        b.EmitToken();
        b.Jump(items);
    }

    // INPUT, LINE INPUT, WRITE (and their # forms), the screen statements
    // with optional operands, CLS and WIDTH.
    constexpr void Console() {
        // The variables of INPUT, or LINE INPUT's one variable.
        L vars = b.NewLabel(), var = b.NewLabel(), prompt = b.NewLabel(), promptSep = b.NewLabel();
        L file = b.NewLabel(), lineVar = b.NewLabel(), linePrompt = b.NewLabel(), lineFile = b.NewLabel();
        Stmt(ifile::kStmInput);
        b.IfToken(kHASH, file);
        b.IfToken(tok::tw::kStringConstant, prompt);
        b.Jump(vars);
        b.Place(prompt);
        b.BackTokens(1);
        Expr(kTypeStr);
        b.IfToken(kCOMMA, promptSep);
        Need(kSEMICOLON);
        b.Place(promptSep);
        b.EmitToken();
        b.Jump(vars);
        b.Place(file);
        b.SetKind(ifile::kStmInputFile);
        Expr(kTypeLng);
        Need(kCOMMA);
        b.Place(vars);
        b.Place(var);
        b.Call(target);
        b.Handler(TypSet, 80);
        b.IfToken(kCOMMA, var);
        b.Jump(tail);

        L lineInput = b.NewLabel();
        lineDraw = b.NewLabel();
        Stmt(ifile::kStmLine);   // LINE INPUT; LINE as a drawing statement is with the graphics
        b.IfToken(kINPUT, lineInput);
        b.Jump(lineDraw);
        b.Place(lineInput);
        b.SetKind(ifile::kStmLineInput);
        b.IfToken(kHASH, lineFile);
        b.IfToken(tok::tw::kStringConstant, linePrompt);
        b.Jump(lineVar);
        b.Place(linePrompt);
        b.BackTokens(1);
        Expr(kTypeStr);
        L lineSep = b.NewLabel();
        b.IfToken(kCOMMA, lineSep);
        Need(kSEMICOLON);
        b.Place(lineSep);
        b.EmitToken();
        b.Jump(lineVar);
        b.Place(lineFile);
        b.SetKind(ifile::kStmLineInputFile);
        Expr(kTypeLng);
        Need(kCOMMA);
        b.Place(lineVar);
        b.Call(target);
        b.Handler(TypSet, 80);
        b.Jump(tail);

        // WRITE [#n,] [item [, item ...]]: an empty item is its separator alone.
        L witems = b.NewLabel(), wsep = b.NewLabel(), wfile = b.NewLabel();
        Stmt(ifile::kStmWrite);
        b.IfToken(kHASH, wfile);
        b.Jump(witems);
        b.Place(wfile);
        b.SetKind(ifile::kStmWriteFile);
        Expr(kTypeLng);
        Need(kCOMMA);
        b.Place(witems);
        b.Handler(EndTok);
        b.IfStatus(1, tail);
        b.IfToken(kCOMMA, wsep);
        Expr(32);
        b.Handler(EndTok);
        b.IfStatus(1, tail);
        Need(kCOMMA);
        b.Place(wsep);
        b.EmitToken();
        b.Jump(witems);

        // COLOR, LOCATE, CONSOLE [a] [, b] ...: an omitted operand is the
        // keyword item F0.
        L opt = b.NewLabel(), omitted = b.NewLabel();
        Stmt(ifile::kStmColor);
        b.StmtEntry(0x99, opt);
        b.StmtEntry(0x96, opt);
        b.Place(opt);
        b.Handler(EndTok);
        b.IfStatus(1, tail);
        b.IfToken(kCOMMA, omitted);
        Expr(kTypeLng);
        b.IfToken(kCOMMA, opt);
        b.Jump(tail);
        b.Place(omitted);
        b.EmitItem(ic::kKeyword, 0xF0);
        b.Jump(opt);

        // SHELL cmd$ [, a [, b [, c]]]: the command, then the optional form.
        Stmt(ifile::kStmShell);
        Expr(kTypeStr);
        b.IfToken(kCOMMA, opt);
        b.Jump(tail);

        // CLS [mode]
        L clsNone = b.NewLabel();
        Stmt(ifile::kStmCls);
        b.Handler(EndTok);
        b.IfStatus(1, clsNone);
        Expr(kTypeLng);
        b.Jump(tail);
        b.Place(clsNone);
        b.EmitConstant(0, 0);
        b.Jump(tail);

        // WIDTH n [, m [, k]]; WIDTH dev$, n; WIDTH #f, n; WIDTH LPRINT n.
        L wdev = b.NewLabel(), wnum = b.NewLabel(), wlp = b.NewLabel();
        Stmt(ifile::kStmWidthDevice);
        b.IfToken(kHASH, wnum);
        b.IfToken(kLPRINT, wlp);
        Expr(32);
        b.Handler(TypGrp);
        b.IfStatus(0x10, wdev);
        b.SetKind(ifile::kStmWidthScreen);
        b.IfToken(kCOMMA, opt);
        b.Jump(tail);
        b.Place(wdev);
        Need(kCOMMA);
        Expr(kTypeLng);
        b.Jump(tail);
        b.Place(wnum);
        b.SetKind(ifile::kStmWidthFile);
        Expr(kTypeLng);
        Need(kCOMMA);
        Expr(kTypeLng);
        b.Jump(tail);
        b.Place(wlp);
        b.SetKind(ifile::kStmWidthLprint);
        Expr(kTypeLng);
        b.Jump(tail);
    }

    // An optional "#" before a file number, then the number.
    constexpr void FileNumber() {
        L plain = b.NewLabel();
        b.IfToken(kHASH, plain);
        b.Place(plain);
        Expr(kTypeLng);
    }
    // An operand not given: the keyword item that pushes its default.
    constexpr void Omitted() { b.EmitItem(ic::kKeyword, ifile::kKwNone); }
    // A variable operand, as READ takes it.
    constexpr void Variable() {
        b.Call(target);
        b.Handler(TypSet, 80);
    }
    // A variable whose bytes go to or come from a file: a record must be
    // plain bytes.
    constexpr void RecordVariable() {
        Variable();
        b.Handler(UsrMrk);
        b.IfStatus(1, b.StatusEntry(72));
    }

    // OPEN, CLOSE, records and the other file statements (the "#" forms of
    // PRINT, WRITE, INPUT and WIDTH are with their console forms).
    constexpr void Files() {
        // OPEN f$ [FOR mode] [ACCESS a] [SHARED | LOCK ...] AS [#]n [LEN = r]
        // OPEN mode$, [#]n, f$
        L shortForm = b.NewLabel(), noMode = b.NewLabel(), modeDone = b.NewLabel(), input = b.NewLabel();
        L noAccess = b.NewLabel(), accessDone = b.NewLabel(), accWrite = b.NewLabel(), accRead = b.NewLabel();
        L noLock = b.NewLabel(), lockDone = b.NewLabel(), lockWord = b.NewLabel(), lockRead = b.NewLabel();
        L lockWrite = b.NewLabel(), withLen = b.NewLabel(), shared = b.NewLabel(), modeWord = b.NewLabel();
        Stmt(ifile::kStmOpen);
        Expr(kTypeStr);
        b.IfToken(kCOMMA, shortForm);
        b.IfToken(kFOR, modeWord);
        b.Jump(noMode);
        b.Place(modeWord);
        b.IfToken(kINPUT, input);
        for (uint16_t w : {kOUTPUT, kAPPEND, kRANDOM, kBINARY}) {
            L next = b.NewLabel();
            b.NeedToken(w, next);
            b.EmitToken();
            b.Jump(modeDone);
            b.Place(next);
        }
        b.Fail(kStSyntax);
        b.Place(input);
        b.EmitItem(ic::kKeyword, ifile::kKwOpenInput);
        b.Jump(modeDone);
        b.Place(noMode);
        Omitted();
        b.Place(modeDone);
        b.IfToken(kACCESS, accRead);
        b.Jump(noAccess);
        b.Place(accRead);
        b.IfToken(kWRITE, accWrite);
        Need(kREAD);
        L readWrite = b.NewLabel();
        b.IfToken(kWRITE, readWrite);
        b.EmitItem(ic::kKeyword, ifile::kKwAccessRead);
        b.Jump(accessDone);
        b.Place(readWrite);
        b.EmitItem(ic::kKeyword, ifile::kKwAccessRead + 2);
        b.Jump(accessDone);
        b.Place(accWrite);
        b.EmitItem(ic::kKeyword, ifile::kKwAccessRead + 1);
        b.Jump(accessDone);
        b.Place(noAccess);
        Omitted();
        b.Place(accessDone);
        b.IfToken(kSHARED, shared);
        b.IfToken(kLOCK, lockWord);
        b.Jump(noLock);
        b.Place(shared);
        b.EmitItem(ic::kKeyword, ifile::kKwShared);
        b.Jump(lockDone);
        b.Place(lockWord);
        b.IfToken(kWRITE, lockWrite);
        Need(kREAD);
        b.IfToken(kWRITE, lockRead);
        b.EmitItem(ic::kKeyword, ifile::kKwShared + 1);
        b.Jump(lockDone);
        b.Place(lockRead);
        b.EmitItem(ic::kKeyword, ifile::kKwShared + 3);
        b.Jump(lockDone);
        b.Place(lockWrite);
        b.EmitItem(ic::kKeyword, ifile::kKwShared + 2);
        b.Jump(lockDone);
        b.Place(noLock);
        Omitted();
        b.Place(lockDone);
        Need(kAS);
        FileNumber();
        b.IfToken(kLEN, withLen);
        Omitted();
        b.Jump(tail);
        b.Place(withLen);
        Need(kEQ);
        Expr(kTypeLng);
        b.Jump(tail);
        b.Place(shortForm);
        b.SetKind(ifile::kStmOpenShort);
        FileNumber();
        Need(kCOMMA);
        Expr(kTypeStr);
        b.Jump(tail);

        // CLOSE [[#]n [, [#]n ...]]
        L closeAll = b.NewLabel(), closeNext = b.NewLabel();
        Stmt(ifile::kStmClose);
        b.Handler(EndTok);
        b.IfStatus(1, closeAll);
        b.Place(closeNext);
        FileNumber();
        b.IfToken(kCOMMA, closeNext);
        b.Place(closeAll);
        b.Jump(tail);

        // GET/PUT [#]n [, [rec] [, v]]
        for (uint8_t kind : {uint8_t(0xA7), uint8_t(0xA8)}) {
            L noRec = b.NewLabel(), recDone = b.NewLabel(), noVar = b.NewLabel(), emptyRec = b.NewLabel();
            Stmt(kind);
            FileNumber();
            b.IfToken(kCOMMA, recDone);
            b.Jump(noRec);
            b.Place(recDone);
            b.IfToken(kCOMMA, emptyRec);
            Expr(kTypeLng);
            b.IfToken(kCOMMA, noVar);
            Omitted();
            b.Jump(tail);
            b.Place(emptyRec);
            Omitted();
            b.Place(noVar);
            RecordVariable();
            b.Jump(tail);
            b.Place(noRec);
            Omitted();
            Omitted();
            b.Jump(tail);
        }

        // FIELD [#]n, w AS v$ [, w AS v$ ...]
        L fieldNext = b.NewLabel();
        Stmt(ifile::kStmField);
        FileNumber();
        Need(kCOMMA);
        b.Place(fieldNext);
        Expr(kTypeLng);
        Need(kAS);
        Variable();
        b.IfToken(kCOMMA, fieldNext);
        b.Jump(tail);
        // FREAD/FWRITE [#]n, v
        for (uint8_t kind : {uint8_t(0xAD), uint8_t(0xAE)}) {
            Stmt(kind);
            FileNumber();
            Need(kCOMMA);
            RecordVariable();
            b.Jump(tail);
        }

        // SEEK [#]n, p
        Stmt(ifile::kStmSeek);
        FileNumber();
        Need(kCOMMA);
        Expr(kTypeLng);
        Omitted();
        b.Jump(tail);

        // LOCK/UNLOCK [#]n [, a] [TO b]
        for (uint8_t kind : {uint8_t(0x9E), uint8_t(0x9F)}) {
            L from = b.NewLabel(), fromDone = b.NewLabel(), to = b.NewLabel();
            Stmt(kind);
            FileNumber();
            b.IfToken(kCOMMA, from);
            Omitted();
            b.Jump(fromDone);
            b.Place(from);
            Expr(kTypeLng);
            b.Place(fromDone);
            b.IfToken(kTO, to);
            Omitted();
            b.Jump(tail);
            b.Place(to);
            Expr(kTypeLng);
            b.Jump(tail);
        }

        // TRUNCATE [#]n; UPDATE [#]n; KILL f$; NAME a$ AS b$
        Stmt(ifile::kStmTruncate);
        FileNumber();
        b.Jump(tail);
        Stmt(ifile::kStmUpdate);
        FileNumber();
        b.Jump(tail);
        Stmt(ifile::kStmKill);
        Expr(kTypeStr);
        b.Jump(tail);
        Stmt(ifile::kStmName);
        Expr(kTypeStr);
        Need(kAS);
        Expr(kTypeStr);
        b.Jump(tail);
    }

    // RESUME [NEXT | 0 | label]; ERROR n. ON ERROR GOTO is among the jumps.
    // Plain RESUME's operand is written first; NEXT or a label replaces it.
    constexpr void ErrorTraps() {
        L next = b.NewLabel(), drop = b.NewLabel();
        Stmt(ifile::kStmResume);
        b.Handler(TrpBit, ifile::kTrapResume);
        b.Handler(AsgPos);
        Omitted();
        b.IfToken(kNEXT, next);
        b.Handler(EndTok);
        b.IfStatus(1, tail);
        b.Call(jumpOp);
        b.Jump(drop);
        b.Place(next);
        b.EmitItem(ic::kKeyword, ifile::kKwResumeNext);
        b.Place(drop);
        b.Handler(AsgDrop);
        Check();
        b.Jump(tail);

        Stmt(ifile::kStmError);
        Expr(kTypeLng);
        b.Jump(tail);
    }

    // END, and the END of blocks, procedures and types.
    constexpr void End() {
        L endIf = b.NewLabel(), endSelect = b.NewLabel(), endSub = b.NewLabel(), endFn = b.NewLabel();
        L endType = b.NewLabel(), ifOk = b.NewLabel(), selOk = b.NewLabel(), endDecl = b.NewLabel();
        Stmt(ifile::kStmEnd);
        b.IfToken(kIF, endIf);
        b.IfToken(kSUB, endSub);
        b.IfToken(kFUNCTION, endFn);
        b.IfToken(kTYPE, endType);
        b.IfToken(Word(tok::kClsClause, 6), endSelect);
        b.IfToken(kDECLARE, endDecl);
        b.EmitConstant(0, 0);
        b.Jump(tail);

        // END DECLARE closes a declaration block; it makes no code.
        b.Place(endDecl);
        b.Handler(DclTst);
        b.IfStatus(0, b.StatusEntry(kStBlock));
        b.SetKind(ifile::kStmEndDeclare);
        b.Handler(DclOff);
        b.Jump(tail);

        b.Place(endIf);
        b.SetKind(ifile::kStmEndIf);
        b.Handler(TopBlk);
        b.IfStatus(16, ifOk);
        b.IfStatus(17, ifOk);
        b.IfStatus(18, ifOk);
        b.Fail(kStBlock);
        b.Place(ifOk);
        OnLine(ifile::kStmIf, true);
        b.Handler(PopBlk);
        b.Jump(tail);

        b.Place(endSelect);
        b.SetKind(ifile::kStmEndSelect);
        b.Handler(TopBlk);
        b.IfStatus(20, selOk);
        b.IfStatus(21, selOk);
        b.IfStatus(22, selOk);
        b.Fail(kStBlock);
        b.Place(selOk);
        OnLine(ifile::kStmSelect, true);
        b.Handler(ClrEnd);
        b.Handler(PopBlk);
        b.Jump(tail);

        for (auto [l, kind] : {std::pair{endSub, uint8_t(0x36)}, std::pair{endFn, uint8_t(0x32)}}) {
            b.Place(l);
            b.SetKind(kind);
            b.Handler(InPrc);
            b.IfStatus(0, b.StatusEntry(kStPlace));
            b.Handler(DepLin);
            b.IfNotStatus(0, b.StatusEntry(kStBlock));
            b.Handler(EndPrc);
            b.Jump(tail);
        }

        b.Place(endType);
        b.SetKind(ifile::kStmEndType);
        b.Handler(TypOff);
        Check();
        b.Jump(tail);
    }


    // RANDOMIZE [seed], WAIT n, CONTINUE: STOP, TRON and TROFF take
    // nothing and are listed above.
    // DEF FNname[(params)] = expression; also written DEF FN name.
    constexpr void DefFnStatement() {
        L name = b.NewLabel(), got = b.NewLabel(), bcd = b.NewLabel(), len = b.NewLabel(), parm = b.NewLabel();
        Stmt(ifile::kStmDefFn);
        b.IfToken(kBCD, bcd);
        b.IfToken(kLEN, len);
        b.IfToken(kPARM, parm);
        b.IfToken(kFN, name);
        b.Place(name);
        b.IfClass(tok::kClsNameParen, got);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Place(got);
        b.Handler(DefFn);
        Check();
        Need(kEQ);
        Expr(32);
        b.Handler(EndFn);
        b.Jump(tail);

        // DEF BCD name$[(bounds)], ...; DEF LEN (n) name$[(bounds)], ...
        L names = b.NewLabel(), one = b.NewLabel(), runtime = b.NewLabel();
        b.Place(bcd);
        b.SetKind(ifile::kStmDefBcd);
        b.Jump(names);
        b.Place(len);
        b.SetKind(ifile::kStmDefLen);
        Need(kLPAREN);
        Expr(kTypeLng);
        Need(kRPAREN, kStUnclosed);
        b.Place(names);
        b.Call(one);
        b.IfToken(kCOMMA, names);
        b.Jump(tail);
        b.Place(one);
        b.Handler(DclDec);
        b.IfStatus(26, runtime);
        Check();
        b.Return();
        b.Place(runtime);
        RuntimeBounds(DclDecFrm);

        // DEF PARM *block, argument [, ...]: a typed reference list for a
        // later CALLS; an argument may be left out.
        L loop = b.NewLabel(), omitted = b.NewLabel(), next = b.NewLabel();
        b.Place(parm);
        b.SetKind(ifile::kStmDefParm);
        b.NeedToken(kLabelOperand, b.StatusEntry(33));
        b.Handler(RefBlk, 0);
        Check();
        Need(kCOMMA);
        b.Place(loop);
        b.IfToken(kCOMMA, omitted);
        ModuleArgument(0, next);
        b.Place(next);
        b.IfToken(kCOMMA, loop);
        b.Jump(tail);
        b.Place(omitted);
        Omitted();
        b.Jump(loop);
    }

    // The preprocessor's include markers: the included file's name names
    // its lines in error lines until the end marker.
    constexpr void IncludeMarkers() {
        Stmt(ifile::kStmIncludeBegin);
        b.NeedClass(tok::kClsConstant, b.StatusEntry(kStSyntax));
        b.Handler(PshNam);
        b.Jump(tail);
        Stmt(ifile::kStmIncludeEnd);
        b.Handler(PopNam);
        b.Jump(tail);
    }

    // SHARED and STATIC inside a procedure; COMMON [SHARED] in a module.
    constexpr void SharedStaticCommon() {
        L shared = Stmt(ifile::kStmSharedDecl);
        b.Handler(InPrc);
        b.IfStatus(0, b.StatusEntry(kStPlace));
        L sloop = b.NewLabel();
        b.Place(sloop);
        b.Handler(ShrNam);
        Check();
        b.IfToken(kCOMMA, sloop);
        b.Jump(tail);

        L loop = b.NewLabel(), paren = b.NewLabel(), sparen = b.NewLabel();
        Stmt(ifile::kStmStaticDecl);
        b.Handler(InPrc);
        b.IfStatus(0, b.StatusEntry(kStPlace));
        b.Place(loop);
        b.IfClass(tok::kClsNameParen, sparen);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Place(sparen);
        b.Handler(DclArr);
        Check();
        b.IfToken(kCOMMA, loop);
        b.Jump(tail);

        L common = b.NewLabel(), cloop = b.NewLabel(), csh = b.NewLabel();
        Stmt(ifile::kStmCommon);
        b.Handler(InPrc);
        b.IfStatus(1, b.StatusEntry(kStPlace));
        b.IfToken(kSHARED, csh);
        b.Jump(common);
        b.Place(csh);
        b.SetKind(ifile::kStmCommonShared);
        b.Place(common);
        b.Handler(ComBlk, 0);
        b.Place(cloop);
        b.IfClass(tok::kClsNameParen, paren);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Place(paren);
        b.Handler(DclArr);
        Check();
        b.IfToken(kCOMMA, cloop);
        b.Jump(tail);
        (void)shared;
    }

    constexpr void Flow() {
        L seed = b.NewLabel();
        Stmt(ifile::kStmRandomize);   // RANDOMIZE [n]: an omitted seed is pushed as 0
        b.Handler(EndTok);
        b.IfStatus(0, seed);
        b.EmitItem(ic::kKeyword, 0xF0);
        b.Jump(tail);
        b.Place(seed);
        Expr(kTypeLng);
        b.Jump(tail);
        Stmt(ifile::kStmWait);   // WAIT n
        Expr(kTypeLng);
        b.Jump(tail);
        Stmt(ifile::kStmContinue);   // CONTINUE: only inside a loop
        b.Handler(SrhBlk, 0x4D);
        b.IfStatus(0, b.StatusEntry(kStBlock));
        b.Jump(tail);
    }

    // SWAP a, b; LSET/RSET a = s; MID$(a, start[, length]) = s;
    // ERASE array, ...
    constexpr void DataStatements() {
        Stmt(ifile::kStmSwap);
        b.Call(target);
        b.Handler(AsgMrk);
        Need(kCOMMA);
        b.Call(target);
        b.Handler(AsgSam);
        b.IfStatus(0, b.StatusEntry(72));
        b.Jump(tail);

        for (uint8_t kind : {uint8_t(0x82), uint8_t(0x83)}) {
            Stmt(kind);
            b.Call(target);
            b.Handler(TypGrp);
            b.IfNotStatus(0x10, b.StatusEntry(72));
            Need(kEQ);
            b.EmitItem(ic::kOper, 0x00);
            Expr(kTypeStr);
            b.Handler(TypGrp);
            b.IfNotStatus(0x10, b.StatusEntry(72));
            b.Jump(tail);
        }

        L length = b.NewLabel(), value = b.NewLabel();
        Stmt(ifile::kStmMid);
        Need(kLPAREN);
        b.Call(target);
        b.Handler(TypCur);
        b.IfNotStatus(kTypeStr, b.StatusEntry(72));
        Need(kCOMMA);
        Expr(kTypeLng);
        b.IfToken(kCOMMA, length);
        b.EmitItem(ic::kKeyword, 0xF0);
        b.Jump(value);
        b.Place(length);
        Expr(kTypeLng);
        b.Place(value);
        Need(kRPAREN, kStUnclosed);
        Need(kEQ);
        b.EmitItem(ic::kOper, 0x00);
        Expr(kTypeStr);
        b.Handler(TypGrp);
        b.IfNotStatus(0x10, b.StatusEntry(72));
        b.Jump(tail);

        // An array is named bare or with empty parentheses.
        L erase = b.NewLabel(), eparen = b.NewLabel(), enext = b.NewLabel();
        Stmt(ifile::kStmErase);
        b.Place(erase);
        b.IfClass(tok::kClsNameParen, eparen);
        b.NeedClass(tok::kClsName, b.StatusEntry(kStSyntax));
        b.Handler(RefArr);
        Check();
        b.Jump(enext);
        b.Place(eparen);
        b.Handler(RefArr);
        Check();
        Need(kRPAREN, kStUnclosed);
        b.Place(enext);
        b.IfToken(kCOMMA, erase);
        b.Jump(tail);
    }

    static constexpr uint16_t Word(uint8_t cls, uint8_t kind) { return uint16_t(cls | kind << 8); }

    // One argument rule per intrinsic function, reached by the function
    // code of its item.
    constexpr void Functions() {
        for (const FuncSig &f : kFunctions) {
            L entry = b.NewLabel(), close = b.NewLabel();
            b.ItemEntry(f.code, entry);
            b.Place(entry);
            if (f.code == 0x98 || f.code == 0x9A) {
                b.Handler(ChkCtx);
                Check();
            }
            const std::string_view sig = f.args;
            size_t first = 0;
            // The object prefix ('P') stands in front of the function item
            // (SC_ExpFun writes it).
            if (!sig.empty() && sig[0] == 'P')
                first = 1;
            if (first == sig.size()) {
                b.Handler(FunEnd);
                b.Return();
                continue;
            }
            Need(kLPAREN);
            for (size_t a = first; a < sig.size(); ++a) {
                char c = sig[a];
                if (c == '*') {
                    L again = b.NewLabel();
                    b.Place(again);
                    b.IfToken(kRPAREN, close);
                    Need(kCOMMA);
                    Argument(sig[a - 1]);
                    b.Jump(again);
                    continue;
                }
                if (c >= 'a' && c <= 'z') {
                    b.IfToken(kRPAREN, close);
                    c = char(c - 32);
                }
                if (a > first) Need(kCOMMA);
                Argument(c);
            }
            Need(kRPAREN, kStUnclosed);
            b.Place(close);
            b.Handler(FunEnd);
            Check();
            b.Return();
        }
    }

    constexpr void Argument(char c) {
        switch (c) {
        case 'N': Expr(kTypeLng); break;
        case 'F': Expr(kTypeSng); break;
        case 'D': Expr(kTypeDbl); break;
        case 'S': Expr(kTypeStr); break;
        case 'V': b.Call(target); break;
        case 'Y':
            b.NeedClass(tok::kClsNameParen, b.StatusEntry(kStSyntax));
            b.Handler(RefArr);
            Check();
            Need(kRPAREN, kStUnclosed);
            break;
        case 'Z': {
            // LEN: a single variable that is not a string is its size.
            // LEN of a type name is its size.
            L text = b.NewLabel(), done = b.NewLabel();
            b.Handler(SizTyp);
            b.IfStatus(1, done);
            Expr(32);
            b.Handler(TypGrp);
            b.IfStatus(0x10, text);
            b.Handler(SizVar);
            b.Jump(done);
            b.Place(text);
            b.Handler(TypSet, kTypeStr);
            b.Place(done);
            break;
        }
        case 'K': {
            // DSKF: a drive name, or a drive number (its second code).
            L text = b.NewLabel(), done = b.NewLabel();
            Expr(32);
            b.Handler(TypGrp);
            b.IfStatus(0x10, text);
            b.Handler(TypSet, kTypeLng);
            b.Jump(done);
            b.Place(text);
            b.Handler(TypSet, kTypeStr);
            b.Place(done);
            break;
        }
        case 'H': {
            L number = b.NewLabel();
            b.IfToken(kHASH, number);
            b.Place(number);
            Expr(kTypeLng);
            break;
        }
        case 'E': {
            // STR$: a number, or a decimal.
            L decimal = b.NewLabel();
            Expr(32);
            b.Handler(TypCur);
            b.IfStatus(kTypeBcd, decimal);
            b.Handler(TypGrp);
            b.IfNotStatus(0, b.StatusEntry(71));
            b.Place(decimal);
            break;
        }
        case 'X':
            Expr(32);
            b.Handler(TypGrp);
            b.IfNotStatus(0, b.StatusEntry(71));
            break;
        default: Expr(32); break;
        }
    }
};

}  // namespace

namespace {

constexpr size_t kRuleCount = GrammarWriter().Build().rules.size();

struct StaticProgram {
    std::array<RuleEntry, kRuleCount> rules{};
    std::array<uint32_t, kStmtKinds> stmt{};
    std::array<uint32_t, kItemKinds> item{};
    std::array<uint32_t, kStatuses> status{};
};

constexpr StaticProgram kProgram = [] {
    BuiltProgram built = GrammarWriter().Build();
    StaticProgram s;
    for (size_t i = 0; i < kRuleCount; ++i) s.rules[i] = built.rules[i];
    s.stmt = built.stmt;
    s.item = built.item;
    s.status = built.status;
    return s;
}();

const RuleProgram kView{kProgram.rules, kProgram.stmt, kProgram.item, kProgram.status};

}  // namespace

const RuleProgram &Grammar() { return kView; }

}  // namespace txsc
