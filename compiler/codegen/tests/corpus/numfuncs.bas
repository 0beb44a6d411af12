' Numeric functions, conversions and operator precedence
X# = -2.5
PRINT ABS(X#); SQR(16); INT(X#); FIX(X#); SGN(X#); CINT(2.5); CINT(3.5); CLNG(-7.5)
PRINT SIN(0); COS(0); EXP(0); LOG(1); ATN(0); TAN(0); CSNG(1.25); CDBL(2)
PRINT HEX$(255); " "; OCT$(8); " "; STRING$(3, "x"); " ["; LTRIM$("  a "); "]["; RTRIM$(" b  "); "]["; TRIM$("  c  "); "]"
PRINT STR$(1.5); STR$(-2); LEN(STR$(10)); CHR$(65, 66, 67); ASC(MID$("xyz", 2)); VAL("&H1F")
A% = 10: B% = 3
PRINT A% \ B% * B% + A% MOD B%; -A% ^ 2; (A% + 0.5) * 2
