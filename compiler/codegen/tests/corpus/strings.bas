S$ = "ABC"
T$ = S$ + "DEF" + S$
PRINT T$; LEN(T$); LEFT$(T$, 2); RIGHT$(T$, 3); MID$(T$, 2, 3); MID$(T$, 7)
PRINT CHR$(72); CHR$(105); ASC("A"); STR$(42); VAL("3.5") + 1; UCASE$("abc"); "["; SPACE$(2); "]"
T$ = "<" + UCASE$(S$) + ">"
PRINT T$; "ABC" < "ABD"; "B" > S$; S$ = "ABC"; LCASE$(S$) <> S$
PRINT INSTR(T$, "C>"); INSTR("ABCABC", "BC"); INSTR(3, "ABCABC", "BC"); INSTR("ABC", "X"); INSTR(2, "ABC", ""); INSTR(LCASE$(T$), "b")
