' Functions: clock, command line, environment, memory, kanji, SEARCH, LEN
PRINT DATE$; " "; TIME$; " "; TODAY$
PRINT DATE; TIME; MILLITIME
PRINT "["; COMMAND$; "]"
PRINT "["; ENV$("TXTEST_ENV"); "]["; ENVIRON$("TXTEST_ENV"); "]["; ENV$("TXTEST_UNSET"); "]"
PRINT FRE(0) > 1000000; LPOS(0); RTN
S$ = "abc"
PRINT STRADR(S$) <> 0; STRADR("xyz") <> 0
K$ = "aあbいう"
PRINT KLEN(K$, 0); KLEN(K$, 1); KLEN(K$, 2); KTYPE(K$, 1); KTYPE(K$, 2); LEN(K$)
PRINT KINSTR(K$, "い"); KINSTR(3, K$, "b"); KINSTR(K$, "z"); INSTR(K$, "い")
PRINT HEX$(JIS("あ")); " "; HEX$(JIS("A")); " "; KNJ$(&H2422); KNJ$(&H3021)
PRINT AKCNV$("Ab1 ｶﾞｷﾞ!"); "|"; KACNV$("Ａｂ１　ガパあ"); "|"
PRINT KEXT$(K$, 1); "|"; KEXT$(K$, 0); "|"
J$ = JCONV$("aあ", 0, 1)
PRINT LEN(J$); ASC(MID$(J$, 2)); JCONV$(J$, 1, 0); HEX$(ASC(MID$(JCONV$("あ", 0, 2), 1)))
DIM A%(5), N$(3)
FOR I% = 0 TO 5: A%(I%) = I% * I%: NEXT I%
N$(0) = "x": N$(1) = "y": N$(2) = "z": N$(3) = "y"
PRINT SEARCH(A%(), 9, 0, 5); SEARCH(A%(), 9, 4, 5); SEARCH(A%(), 16, 0, -1); SEARCH(N$(), "y", 2, 3)
B% = 1: L& = 2: D# = 3: T$ = "four"
PRINT LEN(B%); LEN(L&); LEN(D#); LEN(T$); LEN(T$ + "!")
