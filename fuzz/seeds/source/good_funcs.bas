S$ = "hello"
X = ABS(-1) + SIN(1) + COS(1) + TAN(1) + ATN(1) + SQR(4) + LOG(2) + EXP(1)
Y = INT(2.5) + FIX(2.5) + SGN(-3) + CINT(2.6) + CLNG(3) + CSNG(1) + CDBL(1) + RND
L = LEN(S$) + ASC(S$) + VAL("12") + INSTR(S$, "l") + INSTR(2, S$, "l")
T$ = MID$(S$, 2) + MID$(S$, 2, 1) + LEFT$(S$, 1) + RIGHT$(S$, 2) + CHR$(65, 66) + STR$(12) + HEX$(255) + SPACE$(2) + STRING$(3, "*")
T$ = UCASE$(S$) + LCASE$(S$) + LTRIM$(S$) + RTRIM$(S$) + TRIM$(S$) + DATE$ + TIME$ + INKEY$
PRINT TAB(5); SPC(2); CSRLIN; POS(0)
