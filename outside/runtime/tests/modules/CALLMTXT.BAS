' CALLM hands a machine-code routine a string by reference as the address
' of its text: the routine reads it and may change it in place.
DIM T$(2), G AS STRING * 3
DEF LEN (4) F$
DEF BCD D$
S$ = "hello": T$(1) = "xyz": F$ = "ab": D$ = "12.50": G = "efg"
LOADM "TEXTR"
CALLM "TEXTR", "UPCASE", S$, LEN(S$)
PRINT S$; RTN
CALLM "TEXTR", "UPCASE", T$(1), 3
PRINT T$(1); RTN
CALLM "TEXTR", "UPCASE", F$, 4
PRINT "["; F$; "]"; RTN
CALLM "TEXTR", "UPCASE", G, 2
PRINT G; RTN
CALLM "TEXTR", "SUMTEXT", S$, 2
PRINT RTN
CALLM "TEXTR", "SUMTEXT", D$, 4
PRINT RTN
