// The state of one analysis pass: inputs, and as parts of their own the line
// under analysis, the rule machine, expression analysis and the tables. One
// object per compilation; the fatal exit is the exception ScAbort caught at
// the pass boundary (SC_CmpFil), so it unwinds from any depth.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cmpfilparam.h"
#include "sc_defs.h"
#include "sc_fold.h"
#include "sc_symbols.h"
#include "stdiobuffer.h"
#include "substring_index.h"

namespace txsc {

struct ScOutputState;   // the emission side (sc_output.h)

struct ScAbort {
    uint32_t code;
};

// Output flags.
constexpr uint8_t kFlagListing = 1, kFlagExpanded = 2, kFlagXref = 4, kFlagNoDefaultVars = 8;

struct TraceEntry {
    uint16_t token;
    uint16_t op;
    uint8_t a, b;
    uint32_t target;
};

struct CallFrame {
    uint32_t ret;
    uint32_t opBase;
    uint8_t parens;
};

// An entry of the expression operator stack.
struct OpEntry {
    uint16_t op;       // item word to write: {0x20, code} or {0x28, code}
    uint8_t level;     // nesting level
    uint8_t prec;
};

struct BlockEntry {
    uint8_t kind;
    uint16_t line;
    uint32_t value;
};

// A call whose arguments are being matched to the declared entries.
struct ArgFrame {
    uint32_t routine;
    uint32_t next;     // index of the next declared entry
    uint8_t remaining;
    bool hasBody;
};

// A name whose element count is still being counted (SHARED a(), READ).
struct NameFrame {
    uint8_t off, len;
    bool suffix;
    uint8_t count;
    uint32_t item;
};

struct StringConst {
    uint32_t ref = 0;     // earlier constant this one lies in, 0 for none
    uint32_t pos = 0;
    std::string text;
};

struct DataItem {
    uint16_t line, stmt;
    uint32_t proc;
    uint32_t offset = 0;
    std::string text;
};

// The statement under analysis: its source line and its tokens.
struct ScPassLine {
    char line[kLineMax + 2] = {};
    int lineLen = 0;
    uint8_t tokbuf[kTokenBufBytes] = {};
    int tokBytes = 0;          // tokens, without the end mark
    uint16_t recLine = 0;
    bool slistEnd = false, tcodeEnd = false;
    bool fromInclude = false;
    std::string_view lineView() const { return std::string_view(line, size_t(lineLen)); }

    // Constants of the line.
    uint8_t slots[kConstSlots][8] = {};
    int slotsUsed = 0;
    int lineStrings = 0;
};

// The rule machine: token cursor, items written, call frames, the blocks
// opened on this line.
struct ScPassMachine {
    int tok = 0;               // token cursor (byte offset)
    int lastTok = -1;          // offset of the last consumed token
    Item items[kItemMax] = {};
    int out = 0;               // next free item
    int head = 0;              // statement head item
    uint32_t rule = 0;         // current rule entry
    uint8_t status = 0;
    uint16_t lineError = 0;    // set by a write past a buffer: ends the line
    CallFrame frames[kCallFrames] = {};
    int depth = 0;
    TraceEntry trace[kTraceEntries] = {};
    int traceNext = 0;
    bool typeMode = false, declMode = false;
    uint8_t lineBlocks[kLineBlockMax] = {};
    int lineDepth = 0;
};

// Expression analysis: the operator stack, open expressions, the targets of
// assignments and CASE values.
struct ScPassExpr {
    std::vector<OpEntry> ops;
    uint32_t opBase = 0;
    uint8_t parens = 0;
    std::vector<int> exprStarts;   // item index of every open expression start
    // Per open expression: whether its first token opened a parenthesis and
    // where that parenthesis closed, to tell "(X)" from "(X) + 1".
    struct ExprParen {
        int startTok = 0;
        bool atStart = false;
        int closedAt = -1;         // item count when it closed
    };
    std::vector<ExprParen> exprParens;
    bool exprParenthesised = false; // the expression just completed is "( ... )"
    int exprStart = -1;            // the expression just completed or under way
    uint8_t exprTarget = 32;       // target type of the next expression start
    uint32_t exprValue = 0;        // and its value (a user-type record)
    bool exprHadOp = false;
    uint8_t curType = 0;
    int asgTarget = -1;            // item index of the assignment target start
    Item asgItem{};
    int asgPos = -1;
    uint8_t caseOp = 0x20;
    int caseLo = -1, caseHi = -1;  // starts of the last two case values
    uint32_t caseSel = 0;
    uint8_t caseType = 0;
};

// What lives for the whole module: symbols, blocks, calls being matched,
// strings and DATA.
struct ScPassTables {
    SymbolTable tab;
    SymTemplate tmpl;
    ScopeInfo scope;
    uint16_t nextProcId = 0;
    uint32_t fnDef = 0;            // kind-15 function being defined
    uint32_t typeDef = 0;          // user type being defined
    uint8_t commonBlock = 0;
    uint8_t stmtArg = 0;
    uint16_t tempCount[6] = {};
    std::vector<BlockEntry> blocks;
    std::vector<ArgFrame> argFrames;
    std::vector<NameFrame> nameFrames;
    std::vector<Item> objects;     // objects of the calls under analysis (slots 115, 116)
    std::vector<int> argOpen;      // output positions of open argument lists
    std::vector<StringConst> strings;
    tx::SubstringIndex stringIndex; // the constants that are no reference
    uint64_t stringBytes = 0;
    std::vector<DataItem> data;
    // Parameter blocks (DEF PARM), by handle - 1: name, owning procedure,
    // references, and whether DEF PARM defined it.
    struct ParamBlock {
        std::string name;
        uint16_t owner = 0;
        uint32_t refs = 0;
        bool defined = false;
    };
    std::vector<ParamBlock> paramBlocks;
};

// The pass itself: its files, options and counts, and the four parts above.
struct ScPass : ScPassLine, ScPassMachine, ScPassExpr, ScPassTables {
    CmpFilParam *param = nullptr;

    // Files of the pass. Listings belong to the emission side but are
    // opened here, in the order the fatal exit's detail list gives.
    FILE *listing = nullptr, *expanded = nullptr, *xref = nullptr;
    FILE *slist = nullptr, *tcode = nullptr, *pcode = nullptr;
    tx::StdioBuffer slistBuffer, tcodeBuffer, pcodeBuffer;  // outlive the three
    uint8_t flags = 0;
    char mode = 'W';
    uint8_t moduleFlag = 0;
    uint8_t trapBits = 0;
    uint8_t env[352] = {};

    uint16_t errors = 0, warnings = 0, stmtCount = 0, mainLine = 0;
    int phase = 0;
    bool placementMark = false;

    // Name of the file the current statement comes from (error lines).
    std::vector<std::string> nameStack;

    ScOutputState *output = nullptr;
};

// The one pass under way (the crash filter reads it).
ScPass *CurrentPass();

// Fatal exit: closes every stream, deletes the work files, stores the code
// (and, when given, the detail and its file name) and unwinds to
// SC_CmpFil, which returns 0.
[[noreturn]] void AbortPass(ScPass &p, uint32_t code, std::optional<uint32_t> detail = std::nullopt);

// Prints the error line of the current statement and counts it.
void ErrMsg(ScPass &p, uint16_t word);
// The same for a given source line (open blocks reported at the end).
void ErrMsgAt(ScPass &p, uint16_t word, uint16_t line);

// Reads the next statement: one source-list line and one token record.
void ReadStatement(ScPass &p);

// Name bytes of a token in the current line; a name that runs past the
// line is a bad token-code temporary.
std::string_view TokenName(ScPass &p, const Token &t);

// The analysis of the line in the token buffer; 0 or an error word.
uint16_t AnalyseLine(ScPass &p);
// The operand constant check of the analysed items; 0 or an error word.
uint16_t CheckConstants(ScPass &p);

}  // namespace txsc
