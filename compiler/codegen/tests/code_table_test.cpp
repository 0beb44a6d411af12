// Every statement code and every intrinsic-function code from a source form
// through txcl, LINK and basrun. The snippets of one program share a run;
// each prints its marker first, so its output, a run-time error or a refusal
// is laid at the door of its code. The intermediate file (txcl /TMP) shows
// that a snippet really writes its code. The table is held against the codes
// compiler/common defines: a code without a snippet, and not excluded with
// its reason, fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "intermediate.h"
#include "tokens.h"
#include "tx_scratch.h"

namespace {

namespace fs = std::filesystem;

// ---- the table ---------------------------------------------------------------

enum Flags : unsigned {
    kNoCode = 1,   // a declaration or a comment: nothing in the stream
    kInModule = 2, // its code is written by the program's other modules
};

struct Entry {
    char kind;           // 'S' statement code, 'F' function code
    uint8_t code;
    const char *program; // the program it runs in
    const char *head;    // before the program's flow (declarations)
    const char *body;    // in the flow; lines separated by '\n'
    const char *tail;    // after the flow's END (procedures, labels, DATA)
    const char *out;     // what the body prints.
                         // "{LINE}" stands for the body's first line,
                         // "{LINE+n}" for the n-th after it.
    unsigned flags;
};

// The programs. Their other modules: "+NAME" is linked into the program,
// "*NAME" is a DLL beside it, "#NAME" an include file.
struct Program {
    const char *name;
    std::vector<std::pair<const char *, const char *>> files;
    const char *input;   // standard input
    const char *options; // further basrun options
    int status;          // basrun's exit status
    bool trap;           // an error handler that prints ERR and goes on
};

const Program kPrograms[] = {
    {"MAIN",
     {{"#CODES.BI", "PRINT \"included\"\r\n"}},
     "line one\r\n7\r\nxyz",
     "--clock '2026-12-11 09:08:07.654'",
     0,
     true},
    {"GFX", {}, "", "", 0, true},
    {"MODS",
     {{"+ROUT.SUB", "PARAM N AS INTEGER, S AS STRING = \"d\"\r\n"
                    "PRINT \"rout\"; N; S\r\n"
                    "N = N + 1\r\n"
                    "IF N < 50 THEN RETURNS N * 2\r\n"},
      {"*DLIB.SUB", "DECLARE FUNCTION TWICE (BYVAL N AS LONG) AS LONG\r\n"
                    "DECLARE SUB GREET (S AS STRING)\r\n"
                    "FUNCTION TWICE (BYVAL N AS LONG) AS LONG\r\n"
                    "  TWICE = N * 2\r\n"
                    "END FUNCTION\r\n"
                    "SUB GREET (S AS STRING)\r\n"
                    "  PRINT \"hello \"; S\r\n"
                    "END SUB\r\n"}},
     "",
     "",
     0,
     true},
    {"STOP", {}, "", "", 0, false},
    {"RUN", {}, "", "", 0, false},
};

// Where a file number or a graphics screen is needed the snippets use their
// own; the event switches are left off, so no trap fires.
const Entry kTable[] = {
    // Line structure.
    {'S', 0x00, "MAIN", "", "REM nothing here", "", "", kNoCode},
    {'S', 0x01, "MAIN", "", "' nothing here", "", "", kNoCode},
    {'S', 0x02, "MAIN", "", "*L02 PRINT \"label\"", "", "label\n", 0},
    {'S', 0x03, "MAIN", "", "1000 PRINT \"number\"", "", "number\n", 0},
    {'S', 0x04, "MAIN", "", "#include \"CODES.BI\"", "", "included\n", kNoCode},
    {'S', 0x05, "MAIN", "", "#include \"CODES.BI\"", "", "included\n", kNoCode},
    // Blocks.
    {'S', 0x10, "MAIN", "", "IF A% = 0 THEN\nPRINT \"then\"\nEND IF", "", "then\n", 0},
    {'S', 0x11, "MAIN", "", "IF A% = 1 THEN\nPRINT \"then\"\nELSE\nPRINT \"else\"\nEND IF", "", "else\n", 0},
    {'S', 0x12, "MAIN", "", "IF A% = 1 THEN\nPRINT 1\nELSEIF A% = 0 THEN\nPRINT 2\nEND IF", "", " 2 \n", 0},
    {'S', 0x13, "MAIN", "", "IF A% = 0 THEN\nPRINT \"in\"\nEND IF\nPRINT \"out\"", "", "in\nout\n", 0},
    {'S', 0x14, "MAIN", "", "SELECT CASE 3\nCASE 1\nPRINT \"one\"\nCASE 2 TO 4\nPRINT \"two to four\"\nEND SELECT",
     "", "two to four\n", 0},
    {'S', 0x15, "MAIN", "", "SELECT CASE 7\nCASE 1, 7\nPRINT \"seven\"\nEND SELECT", "", "seven\n", 0},
    {'S', 0x16, "MAIN", "", "SELECT CASE 9\nCASE 1\nPRINT \"one\"\nCASE ELSE\nPRINT \"else\"\nEND SELECT", "",
     "else\n", 0},
    {'S', 0x17, "MAIN", "", "SELECT CASE 0\nCASE IS < 1\nPRINT \"less\"\nEND SELECT\nPRINT \"after\"", "",
     "less\nafter\n", 0},
    {'S', 0x18, "MAIN", "", "IF A% = 0 THEN PRINT \"yes\" ELSE PRINT \"no\"", "", "yes\n", 0},
    {'S', 0x19, "MAIN", "", "DO\nEXIT DO\nLOOP\nPRINT \"left\"", "", "left\n", 0},
    {'S', 0x1A, "MAIN", "", "IF A% = 1 THEN END", "", "", 0},
    {'S', 0x1B, "MAIN", "TYPE PT1B\n  X AS INTEGER\nEND TYPE\nDIM P1B AS PT1B", "P1B.X = 4: PRINT P1B.X", "",
     " 4 \n", kNoCode},
    {'S', 0x1C, "MAIN", "TYPE PT1C\n  X AS LONG\nEND TYPE\nDIM P1C AS PT1C", "P1C.X = 7: PRINT P1C.X", "", " 7 \n",
     kNoCode},
    {'S', 0x1D, "MAIN", "TYPE PT1D\n  A AS INTEGER\n  B AS INTEGER\nEND TYPE\nDIM P1D AS PT1D",
     "P1D.B = 2: PRINT P1D.B", "", " 2 \n", kNoCode},
    {'S', 0x1E, "MAIN", "DECLARE\n  SUB S1E (N%)\nEND DECLARE", "S1E 5", "SUB S1E (N%)\nPRINT N%\nEND SUB", " 5 \n",
     kNoCode},
    {'S', 0x1F, "MAIN", "", "FOR I% = 1 TO 3: PRINT I%;: NEXT: PRINT", "", " 1  2  3 \n", 0},
    // Loops.
    {'S', 0x20, "MAIN", "", "FOR I% = 6 TO 2 STEP -2\nPRINT I%;\nNEXT\nPRINT", "", " 6  4  2 \n", 0},
    {'S', 0x21, "MAIN", "", "FOR I% = 1 TO 2: FOR J% = 1 TO 2\nPRINT I% * J%;\nNEXT J%, I%\nPRINT", "",
     " 1  2  2  4 \n", 0},
    {'S', 0x22, "MAIN", "", "I% = 0\nWHILE I% < 2\nI% = I% + 1\nWEND\nPRINT I%", "", " 2 \n", 0},
    {'S', 0x23, "MAIN", "", "I% = 5\nWHILE I% < 2\nI% = I% + 1\nWEND\nPRINT I%", "", " 5 \n", 0},
    {'S', 0x24, "MAIN", "", "I% = 0\nDO\nI% = I% + 1\nIF I% = 3 THEN EXIT DO\nLOOP\nPRINT I%", "", " 3 \n", 0},
    {'S', 0x25, "MAIN", "", "I% = 0\nDO\nI% = I% + 2\nIF I% > 5 THEN EXIT DO\nLOOP\nPRINT I%", "", " 6 \n", 0},
    {'S', 0x26, "MAIN", "", "I% = 0\nDO WHILE I% < 4\nI% = I% + 1\nLOOP\nPRINT I%", "", " 4 \n", 0},
    {'S', 0x27, "MAIN", "", "I% = 0\nDO UNTIL I% >= 4\nI% = I% + 3\nLOOP\nPRINT I%", "", " 6 \n", 0},
    {'S', 0x28, "MAIN", "", "I% = 0\nDO\nI% = I% + 1\nLOOP WHILE I% < 5\nPRINT I%", "", " 5 \n", 0},
    {'S', 0x29, "MAIN", "", "I% = 10\nDO\nI% = I% + 1\nLOOP UNTIL I% > 5\nPRINT I%", "", " 11 \n", 0},
    // Module routines and their calls (ROUT.SUB and DLIB.SUB above).
    {'S', 0x2A, "MODS", "", "A% = 5: CALLS \"ROUT\" (A%): PRINT A%", "", "rout 5 d\n 6 \n", kInModule},
    {'S', 0x2B, "MODS", "", "A% = 1: CALLS \"ROUT\" (A%): PRINT RTN", "", "rout 1 d\n 4 \n", kInModule},
    {'S', 0x2C, "MODS", "", "A% = 2: CALLS \"rout\" (A%, \"x\"): PRINT A%", "", "rout 2 x\n 3 \n", 0},
    {'S', 0x2D, "MODS", "", "LOADM \"DLIB.DLL\"", "", "", 0},
    {'S', 0x2F, "MODS", "", "CALLM \"DLIB.DLL\", \"TWICE\", 21: PRINT RTN", "", " 42 \n", 0},
    {'S', 0x2E, "MODS", "", "DELETEM \"DLIB.DLL\"", "", "", 0},
    // Procedures and declarations.
    {'S', 0x30, "MAIN", "DECLARE SUB S30 (N%)", "S30 1", "SUB S30 (N%)\nPRINT N%\nEND SUB", " 1 \n", kNoCode},
    {'S', 0x31, "MAIN", "DECLARE FUNCTION F31% (N%)", "PRINT F31%(4)",
     "FUNCTION F31% (N%)\nF31% = N% * 2\nEND FUNCTION",
     " 8 \n", 0},
    {'S', 0x32, "MAIN", "DECLARE FUNCTION F32$ ()", "PRINT F32$", "FUNCTION F32$\nF32$ = \"end\"\nEND FUNCTION",
     "end\n", 0},
    {'S', 0x33, "MAIN", "DECLARE FUNCTION F33% (N%)", "PRINT F33%(-1); F33%(3)",
     "FUNCTION F33% (N%)\nIF N% < 0 THEN EXIT FUNCTION\nF33% = N%\nEND FUNCTION", " 0  3 \n", 0},
    {'S', 0x34, "MAIN", "DECLARE\n  FUNCTION F34% (N%)\nEND DECLARE", "PRINT F34%(2)",
     "FUNCTION F34% (N%)\nF34% = N% * 3\nEND FUNCTION", " 6 \n", kNoCode},
    {'S', 0x35, "MAIN", "DECLARE SUB S35 (N%)", "S35 3", "SUB S35 (N%)\nPRINT \"sub\"; N%\nEND SUB", "sub 3 \n", 0},
    {'S', 0x36, "MAIN", "DECLARE SUB S36 ()", "S36: PRINT \"back\"", "SUB S36\nPRINT \"in\"\nEND SUB", "in\nback\n", 0},
    {'S', 0x37, "MAIN", "DECLARE SUB S37 (N%)", "S37 1: S37 0",
     "SUB S37 (N%)\nIF N% THEN EXIT SUB\nPRINT \"not left\"\nEND SUB", "not left\n", 0},
    {'S', 0x38, "MAIN", "DECLARE SUB S38 (N%)", "N% = 1: CALL S38(N%): PRINT N%", "SUB S38 (N%)\nN% = N% + 1\nEND SUB",
     " 2 \n", 0},
    {'S', 0x39, "MAIN", "COMMON C39%", "C39% = 4: PRINT C39%", "", " 4 \n", kNoCode},
    {'S', 0x3A, "MAIN", "COMMON SHARED C3A#", "C3A# = 2.5: PRINT C3A#", "", " 2.5 \n", kNoCode},
    {'S', 0x3B, "MAIN", "DIM D3B AS INTEGER", "D3B = 3: PRINT D3B", "", " 3 \n", kNoCode},
    {'S', 0x3C, "MAIN", "DECLARE SUB S3C ()\nDIM SHARED D3C%", "D3C% = 6: S3C", "SUB S3C\nPRINT D3C%\nEND SUB",
     " 6 \n", kNoCode},
    {'S', 0x3D, "MAIN", "DECLARE SUB S3D ()", "G3D% = 9: S3D", "SUB S3D\nSHARED G3D%\nPRINT G3D%\nEND SUB", " 9 \n",
     kNoCode},
    {'S', 0x3E, "MAIN", "DECLARE SUB S3E ()", "S3E: S3E: PRINT",
     "SUB S3E\nSTATIC N3E%\nN3E% = N3E% + 1: PRINT N3E%;\nEND SUB", " 1  2 \n", kNoCode},
    // With a FUNCTION of the DLL beside the SUB: its call in an expression.
    {'S', 0x3F, "MODS",
     "DECLARE SUB GREET LIB \"DLIB\" (S AS STRING)\nDECLARE FUNCTION TWICE LIB \"DLIB\" (BYVAL N AS LONG) AS LONG",
     "CALL GREET(\"dll\"): PRINT TWICE(4)", "", "hello dll\n 8 \n", 0},
    // Definitions, type defaults.
    {'S', 0x40, "MAIN", "", "DEF FNT40(X!) = X! * 3: PRINT FNT40(2)", "", " 6 \n", 0},
    {'S', 0x41, "MAIN", "", "DEF LEN (3) L41$: L41$ = \"abcdef\": PRINT \"[\"; L41$; \"]\"", "", "[abc]\n", 0},
    {'S', 0x42, "MAIN", "", "DEF BCD B42$: B42$ = \"0.1\" + \"0.2\": PRINT B42$", "", " .3 \n", 0},
    {'S', 0x43, "MODS", "", "B% = 3: DEF PARM *P43, B%\nCALLS \"ROUT\", *P43: PRINT B%", "", "rout 3 d\n 4 \n", 0},
    {'S', 0x44, "MAIN", "DEFINT Q", "Q = 5.75: PRINT Q", "", " 6 \n", kNoCode},
    {'S', 0x45, "MAIN", "DEFLNG W", "W = 70000: PRINT W", "", " 70000 \n", kNoCode},
    {'S', 0x46, "MAIN", "DEFSNG V", "V = 1.5: PRINT V", "", " 1.5 \n", kNoCode},
    {'S', 0x47, "MAIN", "DEFDBL U", "U = 1 / 4: PRINT U", "", " .25 \n", kNoCode},
    {'S', 0x48, "MAIN", "DEFBYT Y", "Y = 255: PRINT Y", "", " 255 \n", kNoCode},
    {'S', 0x49, "MAIN", "DEFSTR Z", "Z = \"str\": PRINT Z", "", "str\n", kNoCode},
    {'S', 0x4A, "MAIN", "", "BEEP", "", "", 0},
    {'S', 0x4B, "MAIN", "", "STOPI", "", "", 0},
    {'S', 0x4C, "MAIN", "", "WAITI", "", "", 0},
    {'S', 0x4D, "MAIN", "", "FOR I% = 1 TO 3\nIF I% = 2 THEN CONTINUE\nPRINT I%;\nNEXT\nPRINT", "", " 1  3 \n", 0},
    // Traps, events and run control.
    {'S', 0x50, "STOP", "", "PRINT \"a\": STOP: PRINT \"b\"", "", "a\n", 0},
    {'S', 0x52, "MAIN", "", "ERROR 7", "", "error 7 \n", 0},
    {'S', 0x53, "MAIN", "", "INTERVAL 100", "", "", 0},
    {'S', 0x54, "MAIN", "", "TIME = \"12:00:00\"", "", "", 0},
    {'S', 0x56, "MAIN", "", "BAUD 1, 9600", "", "", 0},
    {'S', 0x57, "MAIN", "", "KEY 1, \"abc\"", "", "", 0},
    {'S', 0x59, "MAIN", "", "CLS", "", "", 0},
    {'S', 0x5A, "MAIN", "", "RANDOMIZE 1", "", "", 0},
    {'S', 0x5B, "RUN", "",
     "OPEN \"RUNS.TXT\" FOR APPEND AS #1: N& = LOF(1): PRINT #1, \"x\": CLOSE #1\nIF N& = 0 THEN RUN\n"
     "PRINT \"again\"",
     "", "again\n", 0},
    {'S', 0x5D, "MAIN", "", "WAIT 10", "", "", 0},
    {'S', 0x60, "MAIN", "", "STOP ON: STOP OFF", "", "", 0},
    {'S', 0x61, "MAIN", "", "TRON\nTROFF\nPRINT", "", "[{LINE+1}]\n", 0},
    {'S', 0x62, "MAIN", "", "TRON\nPRINT \"on\"\nTROFF\nPRINT", "", "[{LINE+1}]on\n[{LINE+2}]\n", 0},
    {'S', 0x63, "MAIN", "", "INTERVAL ON: INTERVAL STOP: INTERVAL OFF", "", "", 0},
    {'S', 0x64, "MAIN", "", "TIME ON: TIME STOP: TIME OFF", "", "", 0},
    {'S', 0x66, "MAIN", "", "COM(1) ON: COM(1) STOP: COM(1) OFF", "", "", 0},
    {'S', 0x67, "MAIN", "", "KEY(1) ON: KEY(1) STOP: KEY(1) OFF", "", "", 0},
    {'S', 0x68, "MAIN", "", "MOUSE(1) ON: MOUSE(1) STOP: MOUSE OFF", "", "", 0},
    // Jumps.
    {'S', 0x70, "MAIN", "", "GOTO *L70\nPRINT \"skipped\"\n*L70\nPRINT \"there\"", "", "there\n", 0},
    {'S', 0x71, "MAIN", "", "GOSUB *G71: PRINT \"back\"", "*G71\nPRINT \"gosub\"\nRETURN", "gosub\nback\n", 0},
    {'S', 0x72, "MAIN", "", "ON ERROR GOTO *H72: ERROR 11\nON ERROR GOTO *TRAP",
     "*H72\nPRINT \"trapped\"; ERR\nRESUME NEXT", "trapped 11 \n", 0},
    {'S', 0x73, "MAIN", "", "ON INTERVAL GOSUB *EV73", "*EV73\nRETURN", "", 0},
    {'S', 0x74, "MAIN", "", "ON TIME GOSUB *EV74", "*EV74\nRETURN", "", 0},
    {'S', 0x76, "MAIN", "", "ON COM(1) GOSUB *EV76", "*EV76\nRETURN", "", 0},
    {'S', 0x77, "MAIN", "", "ON KEY(2) GOSUB *EV77", "*EV77\nRETURN", "", 0},
    {'S', 0x78, "MAIN", "", "ON MOUSE(1) GOSUB *EV78", "*EV78\nRETURN", "", 0},
    {'S', 0x79, "MAIN", "", "ON 2 GOTO *A79, *B79\n*A79\nPRINT \"a\"\n*B79\nPRINT \"b\"", "", "b\n", 0},
    {'S', 0x7A, "MAIN", "", "ON 2 GOSUB *A7A, *B7A", "*A7A\nPRINT \"a\"\nRETURN\n*B7A\nPRINT \"b\"\nRETURN", "b\n", 0},
    {'S', 0x7B, "MAIN", "", "RESTORE *D7B: READ R7B%: PRINT R7B%", "*D7B\nDATA 42", " 42 \n", 0},
    {'S', 0x7C, "MAIN", "", "GOSUB *G7C: PRINT \"returned\"", "*G7C\nRETURN", "returned\n", 0},
    {'S', 0x7D, "MAIN", "",
     "ON ERROR GOTO *H7D: ERROR 6: PRINT \"skipped\"\n*R7D\nPRINT \"resumed\"\nON ERROR GOTO *TRAP",
     "*H7D\nRESUME *R7D", "resumed\n", 0},
    // Assignment, strings, data.
    {'S', 0x80, "MAIN", "", "LET A80% = 2: B80% = A80% + 1: PRINT B80%", "", " 3 \n", 0},
    {'S', 0x81, "MAIN", "", "DEF BCD B81$: B81$ = \"1.5\" * \"2\": PRINT B81$", "", " 3 \n", 0},
    {'S', 0x82, "MAIN", "", "S$ = \"abcd\": LSET S$ = \"x\": PRINT \"[\"; S$; \"]\"", "", "[x   ]\n", 0},
    {'S', 0x83, "MAIN", "", "S$ = \"abcd\": RSET S$ = \"x\": PRINT \"[\"; S$; \"]\"", "", "[   x]\n", 0},
    {'S', 0x84, "MAIN", "", "S$ = \"abcd\": MID$(S$, 2, 2) = \"XY\": PRINT S$", "", "aXYd\n", 0},
    {'S', 0x86, "MAIN", "", "OPEN \"K86.TXT\" FOR OUTPUT AS #1: CLOSE #1: KILL \"K86.TXT\"", "", "", 0},
    {'S', 0x87, "MAIN", "", "SHELL \"dir\"", "", "error 75 \n", 0},
    {'S', 0x88, "MAIN", "", "A% = 1: B% = 2: SWAP A%, B%: PRINT A%; B%", "", " 2  1 \n", 0},
    {'S', 0x89, "MAIN", "",
     "OPEN \"N1.TXT\" FOR OUTPUT AS #1: CLOSE #1: NAME \"N1.TXT\" AS \"N2.TXT\": KILL \"N2.TXT\"",
     "", "", 0},
    {'S', 0x8A, "MAIN", "", "N% = 3: DIM A8A%(N%): A8A%(3) = 7: PRINT A8A%(3)", "", " 7 \n", 0},
    {'S', 0x8B, "MAIN", "", "DIM E8B%(3): E8B%(1) = 5: ERASE E8B%: PRINT E8B%(1)", "", " 0 \n", 0},
    {'S', 0x8C, "MAIN", "", "RESTORE *D8C: READ R8C$: PRINT R8C$", "*D8C\nDATA data", "data\n", kNoCode},
    {'S', 0x8D, "MAIN", "", "RESTORE *D8D: READ R8D%, R8D$: PRINT R8D%; R8D$", "*D8D\nDATA 5, five", " 5 five\n", 0},
    // Console and screen text.
    {'S', 0x90, "MAIN", "", "WIDTH \"SCRN:\", 80", "", "", 0},
    {'S', 0x91, "MAIN", "", "LINE INPUT L91$: PRINT \"[\"; L91$; \"]\"", "", "line one\n[line one]\n", 0},
    {'S', 0x92, "MAIN", "", "INPUT N92%: PRINT N92%", "", "? 7\n 7 \n", 0},
    {'S', 0x93, "MAIN", "", "PRINT USING \"##.#\"; 1.25", "", " 1.3\n", 0},
    {'S', 0x94, "MAIN", "", "PRINT \"p\"; 1, \"q\"", "", "p 1           q\n", 0},
    {'S', 0x95, "MAIN", "", "WRITE 1, \"a\", 2.5", "", "1,\"a\",2.5\n", 0},
    {'S', 0x96, "MAIN", "", "CONSOLE 0, 25, 1", "", "", 0},
    {'S', 0x97, "MAIN", "", "COLOR 7", "", "", 0},
    {'S', 0x99, "MAIN", "", "LOCATE 1, 1", "", "", 0},
    {'S', 0x9A, "MAIN", "", "WIDTH 80", "", "", 0},
    // Files.
    {'S', 0xAA, "MAIN", "", "OPEN \"T.TXT\" FOR OUTPUT AS #1: PRINT #1, \"one\": CLOSE #1", "", "", 0},
    {'S', 0xAB, "MAIN", "", "OPEN \"I\", #1, \"T.TXT\": LINE INPUT #1, T$: CLOSE #1: PRINT T$", "", "one\n", 0},
    {'S', 0xAC, "MAIN", "",
     "OPEN \"T.TXT\" FOR INPUT AS #1: OPEN \"U.TXT\" FOR OUTPUT AS #2: CLOSE #1, #2: PRINT FREEFILE",
     "", " 1 \n", 0},
    {'S', 0xA4, "MAIN", "", "OPEN \"P.TXT\" FOR OUTPUT AS #1: PRINT #1, \"a\"; 2: CLOSE #1", "", "", 0},
    {'S', 0xA5, "MAIN", "", "OPEN \"P.TXT\" FOR APPEND AS #1: WRITE #1, \"w\", 3: CLOSE #1", "", "", 0},
    {'S', 0xA3, "MAIN", "", "OPEN \"P.TXT\" FOR APPEND AS #1: PRINT #1, USING \"##\"; 7: CLOSE #1", "", "", 0},
    {'S', 0xA1, "MAIN", "", "OPEN \"P.TXT\" FOR INPUT AS #1: LINE INPUT #1, T$: CLOSE #1: PRINT T$", "", "a 2 \n", 0},
    {'S', 0xA2, "MAIN", "",
     "OPEN \"P.TXT\" FOR INPUT AS #1: LINE INPUT #1, T$: INPUT #1, T$, N%: LINE INPUT #1, U$: CLOSE #1\n"
     "PRINT T$; N%; U$",
     "", "w 3  7\n", 0},
    {'S', 0xA0, "MAIN", "", "OPEN \"W.TXT\" FOR OUTPUT AS #1: WIDTH #1, 20: CLOSE #1", "", "", 0},
    {'S', 0xA6, "MAIN", "", "OPEN \"W.TXT\" FOR APPEND AS #1: PRINT #1, \"u\": UPDATE #1: CLOSE #1: UPDATE #1", "",
     "error 52 \n", 0},
    {'S', 0xA9, "MAIN", "",
     "OPEN \"R.DAT\" FOR RANDOM AS #1 LEN = 4: FIELD #1, 4 AS F$: LSET F$ = \"abcd\": PUT #1, 1\n"
                          "LSET F$ = \"\": GET #1, 1: PRINT F$: CLOSE #1",
     "", "abcd\n", 0},
    {'S', 0xA8, "MAIN", "", "OPEN \"R.DAT\" FOR RANDOM AS #1 LEN = 2: N% = 258: PUT #1, 2, N%: CLOSE #1", "", "", 0},
    {'S', 0xA7, "MAIN", "", "OPEN \"R.DAT\" FOR RANDOM AS #1 LEN = 2: GET #1, 2, N%: CLOSE #1: PRINT N%", "", " 258 \n",
     0},
    {'S', 0xAE, "MAIN", "", "OPEN \"B.DAT\" FOR BINARY AS #1: N% = 513: FWRITE #1, N%: CLOSE #1", "", "", 0},
    {'S', 0xAD, "MAIN", "", "OPEN \"B.DAT\" FOR BINARY AS #1: FREAD #1, M%: CLOSE #1: PRINT M%", "", " 513 \n", 0},
    {'S', 0xAF, "MAIN", "", "OPEN \"B.DAT\" FOR BINARY AS #1: SEEK #1, 1: FREAD #1, B%: CLOSE #1: PRINT B%", "",
     " 513 \n", 0},
    {'S', 0x9D, "MAIN", "", "OPEN \"B.DAT\" FOR BINARY AS #1: SEEK #1, 2: TRUNCATE #1: PRINT LOF(1): CLOSE #1", "",
     " 1 \n", 0},
    {'S', 0x9E, "MAIN", "", "OPEN \"R.DAT\" FOR RANDOM AS #1 LEN = 2: LOCK #1, 1 TO 2: UNLOCK #1, 1 TO 2: CLOSE #1", "",
     "", 0},
    {'S', 0x9F, "MAIN", "", "OPEN \"R.DAT\" FOR RANDOM AS #1 LEN = 2: LOCK #1: UNLOCK #1: CLOSE #1", "", "", 0},
    // Graphics.
    {'S', 0x98, "GFX", "", "COLOR@ (0, 0)-(9, 9), 3", "", "", 0},
    {'S', 0xB0, "GFX", "", "WINDOW (-1, -1)-(1, 1): WINDOW", "", "", 0},
    {'S', 0xB1, "GFX", "", "PALETTE 8, 2", "", "", 0},
    {'S', 0xB2, "GFX", "", "PALETTE 9, 10, 20, 30", "", "", 0},
    {'S', 0xB3, "GFX", "", "SYMBOL (400, 300), \"HI\", 2, 3, 1", "", "", 0},
    {'S', 0xB4, "GFX", "DIM G%(10)", "PSET (0, 0), , 3: GET@ (0, 0)-(1, 0), G%", "", "", 0},
    {'S', 0xB5, "GFX", "", "PUT@ (10, 10), G%, PSET: PRINT POINT(10, 10)", "", " 3 \n", 0},
    {'S', 0xB6, "GFX", "", "POINT (20, 20)", "", "", 0},
    {'S', 0xB7, "GFX", "", "VIEW (100, 100)-(299, 199), 0, 7: VIEW", "", "", 0},
    {'S', 0xB8, "GFX", "", "PSET (30, 30), , 4: PRESET (30, 30): PRINT POINT(30, 30)", "", " 0 \n", 0},
    {'S', 0xB9, "GFX", "", "PSET (31, 30), , 5: PRINT POINT(31, 30)", "", " 5 \n", 0},
    {'S', 0xBA, "GFX", "", "LINE (40, 40)-(50, 40), 6: PRINT POINT(40, 40); POINT(50, 40)", "", " 6  6 \n", 0},
    {'S', 0xBB, "GFX", "", "CIRCLE (320, 200), 50, 2: PRINT POINT(370, 200)", "", " 2 \n", 0},
    {'S', 0xBC, "GFX", "", "CONNECT (10, 300)-(60, 300)-STEP(0, 40), 7: PRINT POINT(60, 340)", "", " 7 \n", 0},
    {'S', 0xBD, "GFX", "", "PAINT (320, 200), 6, 2: PRINT POINT(320, 200)", "", " 6 \n", 0},
    {'S', 0xBE, "GFX", "", "AXIS 1: AXIS 0", "", "", 0},
    // Printer.
    {'S', 0xC3, "MAIN", "", "LPRINT USING \"##\"; 5", "", " 5\n", 0},
    {'S', 0xC4, "MAIN", "", "LPRINT \"lp\"", "", "lp\n", 0},
    {'S', 0xC5, "MAIN", "", "LPRINT TYPE", "", "", 0},
    {'S', 0xC6, "MAIN", "", "WIDTH LPRINT 72", "", "", 0},

    // Functions without arguments.
    {'F', 0x00, "MAIN", "", "PRINT CSRLIN > 0", "", "-1 \n", 0},
    {'F', 0x01, "MAIN", "", "PRINT DATE > 0", "", "-1 \n", 0},
    {'F', 0x02, "MAIN", "", "PRINT TIME > 0", "", "-1 \n", 0},
    {'F', 0x03, "MAIN", "", "ON ERROR GOTO *H03: ERROR 9\nON ERROR GOTO *TRAP", "*H03\nPRINT ERL\nRESUME NEXT",
     " {LINE} \n", 0},
    {'F', 0x04, "MAIN", "", "ON ERROR GOTO *H04: ERROR 12\nON ERROR GOTO *TRAP", "*H04\nPRINT ERR\nRESUME NEXT",
     " 12 \n", 0},
    // Off the module's end: the routine returns 0.
    {'F', 0x05, "MODS", "", "A% = 50: CALLS \"ROUT\" (A%): PRINT A%; RTN", "", "rout 50 d\n 51  0 \n", 0},
    {'F', 0x06, "MAIN", "", "R! = RND: PRINT R! >= 0 AND R! < 1", "", "-1 \n", 0},
    {'F', 0x07, "MAIN", "", "PRINT FREEFILE", "", " 1 \n", 0},
    {'F', 0x08, "MAIN", "", "PRINT MILLITIME >= 0", "", "-1 \n", 0},
    // Numeric functions.
    {'F', 0x10, "MAIN", "", "PRINT ABS(-2.5)", "", " 2.5 \n", 0},
    {'F', 0x11, "MAIN", "", "PRINT ATN(0)", "", " 0 \n", 0},
    {'F', 0x12, "MAIN", "", "BAUD 2, 4800: PRINT BAUD(2)", "", " 4800 \n", 0},
    {'F', 0x13, "MAIN", "", "PRINT COS(0)", "", " 1 \n", 0},
    {'F', 0x14, "MAIN", "", "PRINT CINT(2.6)", "", " 3 \n", 0},
    {'F', 0x15, "MAIN", "", "PRINT CLNG(70000.4)", "", " 70000 \n", 0},
    {'F', 0x16, "MAIN", "", "PRINT CSNG(1.5)", "", " 1.5 \n", 0},
    {'F', 0x17, "MAIN", "", "PRINT CDBL(2)", "", " 2 \n", 0},
    {'F', 0x18, "MAIN", "", "OPEN \"T.TXT\" FOR INPUT AS #1: PRINT EOF(1);: LINE INPUT #1, T$: PRINT EOF(1): CLOSE #1",
     "", " 0 -1 \n", 0},
    {'F', 0x19, "MAIN", "", "PRINT EXP(0)", "", " 1 \n", 0},
    {'F', 0x1A, "MAIN", "", "PRINT FIX(-2.5)", "", "-2 \n", 0},
    {'F', 0x1B, "MAIN", "", "PRINT FRE(0) > 0", "", "-1 \n", 0},
    {'F', 0x1C, "MAIN", "", "PRINT INT(-2.5)", "", "-3 \n", 0},
    {'F', 0x1D, "MAIN", "", "OPEN \"R.DAT\" FOR RANDOM AS #1 LEN = 2: GET #1, 2, N%: PRINT LOC(1): CLOSE #1", "",
     " 2 \n", 0},
    {'F', 0x1E, "MAIN", "", "OPEN \"T.TXT\" FOR INPUT AS #1: PRINT LOF(1): CLOSE #1", "", " 5 \n", 0},
    {'F', 0x1F, "MAIN", "", "PRINT LOG(1)", "", " 0 \n", 0},
    {'F', 0x20, "MAIN", "", "PRINT LPOS(0)", "", " 1 \n", 0},
    {'F', 0x21, "MAIN", "", "PRINT \"ab\"; POS(0)", "", "ab 3 \n", 0},
    {'F', 0x22, "MAIN", "", "PRINT SGN(-3)", "", "-1 \n", 0},
    {'F', 0x23, "MAIN", "", "PRINT SIN(0)", "", " 0 \n", 0},
    {'F', 0x24, "MAIN", "", "PRINT SQR(16)", "", " 4 \n", 0},
    {'F', 0x25, "MAIN", "", "PRINT TAN(0)", "", " 0 \n", 0},
    {'F', 0x26, "GFX", "", "VIEW (100, 100)-(299, 199): PRINT VIEW(0); VIEW(3): VIEW", "", " 100  199 \n", 0},
    {'F', 0x27, "GFX", "", "WINDOW (-1, -2)-(1, 2): PRINT WINDOW(0); WINDOW(3): WINDOW", "", "-1  2 \n", 0},
    {'F', 0x28, "MAIN", "", "OPEN \"B.DAT\" FOR BINARY AS #1: SEEK #1, 2: PRINT SEEK(1): CLOSE #1", "", " 2 \n", 0},
    {'F', 0x2D, "MAIN", "", "PRINT CBYT(300 - 45)", "", " 255 \n", 0},
    {'F', 0x2E, "MAIN", "", "PRINT DSKF(\"A:\") >= 0", "", "-1 \n", 0},
    {'F', 0x2F, "MAIN", "", "PRINT DSKF(0) >= 0", "", "-1 \n", 0},
    // Functions of strings.
    {'F', 0x30, "MAIN", "", "PRINT ASC(\"A\")", "", " 65 \n", 0},
    {'F', 0x31, "MAIN", "", "PRINT CVI(MKI$(-513))", "", "-513 \n", 0},
    {'F', 0x32, "MAIN", "", "PRINT CVL(MKL$(70000))", "", " 70000 \n", 0},
    {'F', 0x33, "MAIN", "", "PRINT CVS(MKS$(1.5))", "", " 1.5 \n", 0},
    {'F', 0x34, "MAIN", "", "PRINT CVD(MKD$(0.25#))", "", " .25 \n", 0},
    {'F', 0x35, "MAIN", "", "PRINT JIS(\"A\")", "", " 65 \n", 0},
    {'F', 0x36, "MAIN", "", "PRINT LEN(\"abc\")", "", " 3 \n", 0},
    {'F', 0x38, "MAIN", "", "PRINT VAL(\"12.5\")", "", " 12.5 \n", 0},
    {'F', 0x39, "MAIN", "", "PRINT VARPTR(A%) <> 0", "", "-1 \n", 0},
    {'F', 0x3A, "MAIN", "", "S$ = \"x\": PRINT STRADR(S$) <> 0", "", "-1 \n", 0},
    {'F', 0x3B, "MAIN", "", "OPEN \"T.TXT\" FOR INPUT AS #1: PRINT FILEATTR(1): CLOSE #1", "", " 1 \n", 0},
    {'F', 0x3C, "MAIN", "", "PRINT ERRDEV(0)", "", " 0 \n", 0},
    {'F', 0x40, "GFX", "", "PRINT MAP(10, 0)", "", " 10 \n", 0},
    {'F', 0x41, "MAIN", "", "PRINT KTYPE(\"a\", 1)", "", " 0 \n", 0},
    {'F', 0x42, "MAIN", "", "PRINT KLEN(\"abc\", 0)", "", " 3 \n", 0},
    {'F', 0x43, "MAIN", "", "PRINT MOUSE(0); MOUSE(2, 0)", "", " 0  0 \n", 0},
    {'F', 0x50, "GFX", "", "PSET (60, 60), , 3: PRINT POINT(60, 60)", "", " 3 \n", 0},
    {'F', 0x51, "GFX", "", "PSET (61, 62), , 3: PRINT POINT(0); POINT(1)", "", " 61  62 \n", 0},
    {'F', 0x52, "MAIN", "", "PRINT SCREEN(1, 1, 0)", "", "error 5 \n", 0},
    {'F', 0x53, "MAIN", "", "PRINT INSTR(\"abcabc\", \"c\"); INSTR(4, \"abcabc\", \"c\")", "", " 3  6 \n", 0},
    {'F', 0x54, "MAIN", "", "PRINT KINSTR(1, \"abc\", \"b\")", "", " 2 \n", 0},
    {'F', 0x55, "MAIN", "DIM V55%(4)", "V55%(3) = 7: PRINT SEARCH(V55%(), 7, 0, 4); SEARCH(V55%(), 7, 0, 2)", "",
     " 3 -1 \n", 0},
    {'F', 0x80, "MAIN", "", "PRINT \"[\"; COMMAND$; \"]\"", "", "[]\n", 0},
    {'F', 0x81, "MAIN", "", "PRINT DATE$", "", "2026/12/11\n", 0},
    {'F', 0x82, "MAIN", "", "PRINT TIME$", "", "09:08:07\n", 0},
    {'F', 0x83, "MAIN", "", "PRINT \"[\"; INKEY$; \"]\"", "", "[x]\n", 0},
    {'F', 0x84, "MAIN", "", "PRINT TODAY$", "", "\x8b\xe0\n", 0}, // a Friday
    {'F', 0x90, "MAIN", "", "PRINT HEX$(255)", "", "FF\n", 0},
    {'F', 0x91, "MAIN", "", "PRINT LEN(KNJ$(&H2422))", "", " 2 \n", 0},
    {'F', 0x92, "MAIN", "", "PRINT LEN(MKI$(1))", "", " 2 \n", 0},
    {'F', 0x93, "MAIN", "", "PRINT LEN(MKL$(1))", "", " 4 \n", 0},
    {'F', 0x94, "MAIN", "", "PRINT LEN(MKS$(1))", "", " 4 \n", 0},
    {'F', 0x95, "MAIN", "", "PRINT LEN(MKD$(1))", "", " 8 \n", 0},
    {'F', 0x96, "MAIN", "", "PRINT OCT$(8)", "", "10\n", 0},
    {'F', 0x97, "MAIN", "", "PRINT \"[\"; SPACE$(2); \"]\"", "", "[  ]\n", 0},
    {'F', 0x98, "MAIN", "", "PRINT \"a\"; SPC(2); \"b\"", "", "a  b\n", 0},
    // STR$ and FORMAT$ choose their routine by the argument's type.
    {'F', 0x99, "MAIN", "DIM B99 AS BYTE",
     "B99 = 200: L99& = 70000: PRINT STR$(B99); STR$(5); STR$(L99&); STR$(-1.5); STR$(0.5#)",
     "", " 200 5 70000-1.5 .5\n", 0},
    {'F', 0x9A, "MAIN", "", "PRINT \"a\"; TAB(4); \"b\"", "", "a  b\n", 0},
    {'F', 0xA0, "MAIN", "", "PRINT LEN(AKCNV$(\"ab\"))", "", " 4 \n", 0},
    {'F', 0xA1, "MAIN", "", "PRINT KACNV$(AKCNV$(\"ab\"))", "", "ab\n", 0},
    {'F', 0xA2, "MAIN", "", "PRINT \"[\"; ENV$(\"TX_NO_SUCH_NAME\"); \"]\"", "", "[]\n", 0},
    {'F', 0xA3, "MAIN", "", "PRINT LCASE$(\"AbC\")", "", "abc\n", 0},
    {'F', 0xA4, "MAIN", "", "PRINT UCASE$(\"AbC\")", "", "ABC\n", 0},
    {'F', 0xA5, "MAIN", "", "PRINT \"[\"; LTRIM$(\"  a \"); \"]\"", "", "[a ]\n", 0},
    {'F', 0xA6, "MAIN", "", "PRINT \"[\"; RTRIM$(\"  a \"); \"]\"", "", "[  a]\n", 0},
    {'F', 0xA7, "MAIN", "", "PRINT \"[\"; TRIM$(\"  a \"); \"]\"", "", "[a]\n", 0},
    {'F', 0xA8, "MAIN", "", "PRINT JCONV$(\"abc\", 0, 1)", "", "abc\n", 0},
    {'F', 0xA9, "MAIN", "", "PRINT \"[\"; ENVIRON$(\"TX_NO_SUCH_NAME\"); \"]\"", "", "[]\n", 0},
    {'F', 0xB0, "MAIN", "", "PRINT STRING$(3, \"ab\")", "", "aaa\n", 0},
    {'F', 0xB1, "MAIN", "", "PRINT STRING$(2, 65)", "", "AA\n", 0},
    {'F', 0xB2, "MAIN", "", "PRINT \"[\"; KEXT$(\"abc\", 1); \"]\"", "", "[]\n", 0},
    {'F', 0xB3, "MAIN", "", "PRINT KLEFT$(\"abc\", 2)", "", "ab\n", 0},
    {'F', 0xB4, "MAIN", "", "PRINT KRIGHT$(\"abc\", 2)", "", "bc\n", 0},
    {'F', 0xB5, "MAIN", "", "PRINT LEFT$(\"abc\", 2)", "", "ab\n", 0},
    {'F', 0xB6, "MAIN", "", "PRINT RIGHT$(\"abc\", 2)", "", "bc\n", 0},
    {'F', 0xC0, "MAIN", "", "PRINT CHR$(65, 66)", "", "AB\n", 0},
    {'F', 0xC1, "MAIN", "", "PRINT INPUT$(2)", "", "yz\n", 0},
    {'F', 0xC2, "MAIN", "", "OPEN \"T.TXT\" FOR INPUT AS #1: PRINT INPUT$(5, #1);: PRINT INPUT$(1, #1): CLOSE #1", "",
     "one\r\nerror 62 \n", 0},
    {'F', 0xC3, "MAIN", "", "PRINT KMID$(\"abcd\", 2, 2); KMID$(\"abcd\", 3)", "", "bccd\n", 0},
    {'F', 0xC4, "MAIN", "", "PRINT MID$(\"abcd\", 2, 2); MID$(\"abcd\", 3)", "", "bccd\n", 0},
    {'F', 0xC5, "MAIN", "DIM BC5 AS BYTE",
     "BC5 = 9: LC5& = 70000: PRINT FORMAT$(BC5, \"##\"); FORMAT$(7, \"##\"); FORMAT$(LC5&, \"######\")\n"
     "PRINT FORMAT$(1.5!, \"#.#\"); FORMAT$(3.14159#, \"#.##\"); FORMAT$(\"ab\", \"&\")",
     "", " 9 7 70000\n1.53.14ab\n", 0},
};

// Codes compiler/common defines that no source form writes.
const struct {
    char kind;
    uint8_t code;
    const char *why;
} kExcluded[] = {
    {'S', ifile::kStmMouseHead, "a transient head: the MOUSE switch is always written as its own code"},
};

// ---- running the programs ------------------------------------------------------

std::string Q(const std::string &s) { return "'" + s + "'"; }

std::string Slurp(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Hex(uint8_t code) {
    char b[4];
    std::snprintf(b, sizeof b, "%02X", code);
    return b;
}

std::string Name(const Entry &e) {
    return std::string(e.kind == 'S' ? "statement code " : "function code ") + Hex(e.code);
}
std::string Marker(const Entry &e) { return std::string("[") + e.kind + Hex(e.code) + "]"; }

std::vector<std::string> Lines(const char *text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l))
        v.push_back(l);
    return v;
}

// A program's main module: its lines, and which entry each line belongs to.
struct Source {
    std::string text;
    std::map<int, const Entry *> owner; // line -> entry
    std::map<const Entry *, int> firstBodyLine;
};

Source Assemble(const Program &p, const std::vector<const Entry *> &entries) {
    Source s;
    int line = 0;
    auto add = [&](const std::string &l, const Entry *e) {
        s.text += l + "\r\n";
        ++line;
        if (e)
            s.owner[line] = e;
    };
    for (const Entry *e : entries)
        for (const auto &l : Lines(e->head))
            add(l, e);
    if (p.trap)
        add("ON ERROR GOTO *TRAP", nullptr);
    for (const Entry *e : entries) {
        add("PRINT \"" + Marker(*e) + "\"", nullptr);
        s.firstBodyLine[e] = line + 1;
        for (const auto &l : Lines(e->body))
            add(l, e);
    }
    add("END", nullptr);
    for (const Entry *e : entries)
        for (const auto &l : Lines(e->tail))
            add(l, e);
    if (p.trap) {
        add("*TRAP", nullptr);
        add("PRINT \"error\"; ERR", nullptr);
        add("RESUME NEXT", nullptr);
    }
    return s;
}

struct Tools {
    std::string txcl = TX_TXCL_EXE, link = TX_LINK_EXE, basrun = TX_BASRUN_EXE;
    std::string runtime = std::string(TX_LIB_DIR) + "/TQ70RN63.LIB";
};

int Shell(const std::string &cmd) {
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Compiles one module with /TMP and keeps its intermediate file as
// NAME.pcode; "" on success, else what txcl said.
std::string Compile(const fs::path &dir, const std::string &file, const std::string &obj, bool dll) {
    const std::string stem = fs::path(file).stem().string();
    const std::string log = stem + ".clog";
    const std::string cmd = "cd " + Q(dir.string()) + " && " + Q(Tools().txcl) + " /nologo /TMP " +
                            (dll ? "/MWD " : "") + "/Fo" + Q(obj) + " " + Q(file) + " > " + Q(log) + " 2>&1";
    const int rc = Shell(cmd);
    std::error_code ec;
    fs::rename(dir / "Pcode.tmp", dir / (stem + ".pcode"), ec);
    if (rc != 0 || !fs::exists(dir / obj)) {
        // Its message, without the /TMP dump of the parameter block.
        std::string said;
        for (const auto &l : Lines(Slurp(dir / log).c_str()))
            if (l.find(file) != std::string::npos && l.find("****") != std::string::npos)
                said += l + "\n";
        return "txcl " + file + ": " + said;
    }
    return "";
}

std::string Link(const fs::path &dir, const std::vector<std::string> &objs, const std::string &image, bool dll) {
    std::string cmd = "cd " + Q(dir.string()) + " && " + Q(Tools().link) + " /nologo " + (dll ? "/DLL " : "") +
                      "/out:" + Q(image);
    for (const auto &o : objs)
        cmd += " " + Q(o);
    cmd += " " + Q(Tools().runtime) + " > link.log 2>&1";
    if (Shell(cmd) != 0)
        return "LINK " + image + ": " + Slurp(dir / "link.log");
    return "";
}

// Builds the program of these entries in its own folder; "" on success.
std::string Build(const fs::path &dir, const Program &p, const Source &src) {
    fs::create_directories(dir);
    std::ofstream(dir / (std::string(p.name) + ".BAS"), std::ios::binary) << src.text;
    std::vector<std::string> objs{std::string(p.name) + ".obj"};
    for (const auto &[entry, text] : p.files) {
        const std::string file = entry + 1;
        std::ofstream(dir / file, std::ios::binary) << text;
        const std::string stem = fs::path(file).stem().string();
        if (entry[0] == '+') {
            if (auto err = Compile(dir, file, stem + ".obj", false); !err.empty())
                return err;
            objs.push_back(stem + ".obj");
        } else if (entry[0] == '*') {
            if (auto err = Compile(dir, file, stem + ".dllobj", true); !err.empty())
                return err;
            if (auto err = Link(dir, {stem + ".dllobj"}, stem + ".DLL", true); !err.empty())
                return err;
        }
    }
    if (auto err = Compile(dir, std::string(p.name) + ".BAS", objs[0], false); !err.empty())
        return err;
    return Link(dir, objs, std::string(p.name) + ".exe", false);
}

struct RunResult {
    int status = -1;
    std::string out, err;
};

RunResult Execute(const fs::path &dir, const Program &p) {
    std::ofstream(dir / "stdin.txt", std::ios::binary) << p.input;
    const std::string cmd = "cd " + Q(dir.string()) + " && " + Q(Tools().basrun) + " " + p.options + " " +
                            Q(std::string(p.name) + ".exe") + " < stdin.txt > out.txt 2> err.txt";
    RunResult r;
    r.status = Shell(cmd);
    r.out = Slurp(dir / "out.txt");
    r.err = Slurp(dir / "err.txt");
    return r;
}

// The statement and function codes of an intermediate file, by source line.
std::map<int, std::set<std::string>> CodesByLine(const fs::path &pcode) {
    std::map<int, std::set<std::string>> codes;
    const std::string bytes = Slurp(pcode);
    ifile::Layout layout;
    std::string why;
    if (!ifile::SplitFile(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), &layout, &why))
        return codes;
    ifile::StreamWalker walker(layout.stream, layout.header.stream_size);
    ifile::Record rec;
    while (walker.Next(&rec) == ifile::StreamWalker::kRecord) {
        for (uint32_t at : rec.tokens) {
            const uint8_t *t = layout.stream + at;
            if (t[0] == ifile::kTokStatement)
                codes[rec.line].insert("S" + Hex(t[1]));
            else if (t[0] == ifile::kTokIntrinsic)
                codes[rec.line].insert("F" + Hex(t[1]));
        }
    }
    return codes;
}

// "{LINE}" and "{LINE+n}" become the body's first line and the ones after.
std::string Expected(const Entry &e, int firstLine) {
    std::string want = e.out;
    static const std::regex mark(R"(\{LINE(\+(\d))?\})");
    std::smatch m;
    while (std::regex_search(want, m, mark)) {
        const int line = firstLine + (m[2].matched ? std::stoi(m[2]) : 0);
        want.replace(size_t(m.position(0)), size_t(m.length(0)), std::to_string(line));
    }
    return want;
}

// Each entry's output: from the last time its marker was printed to the
// next marker.
std::map<const Entry *, std::string> Split(const std::string &out, const std::vector<const Entry *> &entries) {
    std::vector<std::pair<size_t, const Entry *>> at;
    for (const Entry *e : entries) {
        const std::string m = Marker(*e) + "\n";
        if (auto pos = out.rfind(m); pos != std::string::npos)
            at.push_back({pos, e});
    }
    std::sort(at.begin(), at.end());
    std::map<const Entry *, std::string> parts;
    for (size_t i = 0; i < at.size(); ++i) {
        const size_t from = at[i].first + Marker(*at[i].second).size() + 1;
        const size_t to = i + 1 < at.size() ? at[i + 1].first : out.size();
        parts[at[i].second] = out.substr(from, to - from);
    }
    return parts;
}

// The entry whose line basrun's run-time error names.
const Entry *Culprit(const std::string &err, const Source &src) {
    static const std::regex line(R"( line (\d+) )");
    std::smatch m;
    if (!std::regex_search(err, m, line))
        return nullptr;
    auto it = src.owner.find(std::stoi(m[1]));
    return it == src.owner.end() ? nullptr : it->second;
}

const fs::path &Root() {
    static const txtest::ScratchDir dir("txcg_codes");
    return dir.path();
}

// One program of the table: built, its stream read, run.
class CodeTable : public ::testing::TestWithParam<const Program *> {};

TEST_P(CodeTable, EveryCodeCompilesLinksAndRuns) {
    const Program &p = *GetParam();
    std::vector<const Entry *> entries;
    for (const Entry &e : kTable)
        if (std::string(e.program) == p.name)
            entries.push_back(&e);
    const Source src = Assemble(p, entries);
    const fs::path dir = Root() / p.name;
    if (const std::string err = Build(dir, p, src); !err.empty()) {
        // Which of them: each entry alone.
        int named = 0;
        for (const Entry *e : entries) {
            const fs::path one = Root() / (std::string(p.name) + "_" + e->kind + Hex(e->code));
            if (const std::string why = Build(one, p, Assemble(p, {e})); !why.empty()) {
                ADD_FAILURE() << Name(*e) << " does not build: " << why;
                ++named;
            }
        }
        if (!named)
            ADD_FAILURE() << "the program does not build, though each entry does alone: " << err;
        return;
    }
    // Each entry's code is in the stream at its own lines.
    const auto byLine = CodesByLine(dir / (std::string(p.name) + ".pcode"));
    std::set<std::string> inModules;
    for (const auto &[entry, text] : p.files) {
        if (entry[0] == '#')
            continue;
        for (const auto &[l, codes] : CodesByLine(dir / (fs::path(entry + 1).stem().string() + ".pcode")))
            inModules.insert(codes.begin(), codes.end());
    }
    for (const Entry *e : entries) {
        if (e->flags & kNoCode)
            continue;
        const std::string want = std::string(1, e->kind) + Hex(e->code);
        bool found = false;
        if (e->flags & kInModule)
            found = inModules.count(want) != 0;
        for (const auto &[l, owner] : src.owner)
            if (owner == e && byLine.count(l) && byLine.at(l).count(want))
                found = true;
        EXPECT_TRUE(found) << Name(*e) << ": its snippet does not write the code";
    }
    const RunResult r = Execute(dir, p);
    if (r.status != p.status) {
        const Entry *e = Culprit(r.err, src);
        ADD_FAILURE() << (e ? Name(*e) : std::string("the program")) << " ends the run with status " << r.status
                      << ": " << r.err;
    }
    const auto parts = Split(r.out, entries);
    for (const Entry *e : entries) {
        auto it = parts.find(e);
        if (it == parts.end()) {
            ADD_FAILURE() << Name(*e) << " never ran";
            continue;
        }
        EXPECT_EQ(it->second, Expected(*e, src.firstBodyLine.at(e))) << Name(*e) << " printed otherwise";
    }
}

std::vector<const Program *> AllPrograms() {
    std::vector<const Program *> v;
    for (const Program &p : kPrograms)
        v.push_back(&p);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Programs, CodeTable, ::testing::ValuesIn(AllPrograms()),
                         [](const ::testing::TestParamInfo<const Program *> &info) {
                             return std::string(info.param->name);
                         });

// ---- the table against the codes compiler/common defines -------------------------

std::set<std::string> DefinedCodes() {
    std::set<std::string> codes;
    // The statement codes of the intermediate file.
    const std::string inter = Slurp(fs::path(TX_COMMON_DIR) / "intermediate.h");
    static const std::regex stm(R"(\bkStm\w+\s*=\s*0x([0-9A-Fa-f]{2}))");
    for (std::sregex_iterator it(inter.begin(), inter.end(), stm), end; it != end; ++it)
        codes.insert("S" + Hex(uint8_t(std::stoi((*it)[1], nullptr, 16))));
    // Statement keywords and function keywords carry their codes as kinds.
    for (const tok::Keyword &k : tok::kKeywords) {
        if (k.cls == tok::kClsStatement)
            codes.insert("S" + Hex(k.kind));
        else if (k.cls == tok::kClsFunction)
            codes.insert("F" + Hex(k.kind));
    }
    // The functions that share a keyword.
    const std::string tokens = Slurp(fs::path(TX_COMMON_DIR) / "tokens.h");
    const auto from = tokens.find("namespace fn {"), to = tokens.find("}  // namespace fn");
    if (from != std::string::npos && to != std::string::npos) {
        const std::string block = tokens.substr(from, to - from);
        static const std::regex fn(R"(uint8_t k\w+\s*=\s*0x([0-9A-Fa-f]{2}))");
        for (std::sregex_iterator it(block.begin(), block.end(), fn), end; it != end; ++it)
            codes.insert("F" + Hex(uint8_t(std::stoi((*it)[1], nullptr, 16))));
    }
    return codes;
}

TEST(CodeTableCoverage, EveryCodeCompilerCommonDefinesHasASnippet) {
    const std::set<std::string> defined = DefinedCodes();
    // The parse found the families it should (a moved header must not make
    // this test pass on nothing).
    ASSERT_TRUE(defined.count("S" + Hex(ifile::kStmLprintType)));
    ASSERT_TRUE(defined.count("F" + Hex(tok::fn::kInputFile)));
    std::set<std::string> covered;
    for (const Entry &e : kTable)
        covered.insert(std::string(1, e.kind) + Hex(e.code));
    for (const auto &x : kExcluded) {
        const std::string c = std::string(1, x.kind) + Hex(x.code);
        EXPECT_TRUE(defined.count(c)) << c << " is excluded but not defined";
        EXPECT_FALSE(covered.count(c)) << c << " is excluded (" << x.why << ") and in the table";
        covered.insert(c);
    }
    for (const std::string &c : defined)
        EXPECT_TRUE(covered.count(c)) << (c[0] == 'S' ? "statement code " : "function code ") << c.substr(1)
                                      << " has no source form in the table";
    for (const std::string &c : covered)
        EXPECT_TRUE(defined.count(c)) << c << " is in the table but compiler/common does not define it";
}

} // namespace
