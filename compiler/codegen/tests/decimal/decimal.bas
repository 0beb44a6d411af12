' Decimals (DEF BCD) and strings of a run-time length (DEF LEN).
DECLARE SUB COUNTUP ()
DECLARE SUB SHOW (X$)
DECLARE SUB ADDON ()
DEF BCD A$, B$, C$, M$(2, 1)
DEF LEN (5) F$, G$(2)
' 0.1 added ten times is exactly 1; a double misses it.
A$ = "0"
X# = 0
FOR I% = 1 TO 10
  A$ = A$ + ".1"
  X# = X# + .1
NEXT
PRINT A$; (A$ = "1"); (X# = 1)
' The operators, the right operand above the left one.
B$ = "7.5": C$ = "2"
A$ = B$ - C$: PRINT A$;
A$ = C$ - B$: PRINT A$;
A$ = B$ * C$: PRINT A$;
A$ = B$ / C$: PRINT A$;
A$ = B$ \ C$: PRINT A$;
A$ = -B$ MOD C$: PRINT A$;
A$ = C$ ^ "10": PRINT A$;
A$ = C$ ^ "-3": PRINT A$
A$ = "1" / "3": PRINT A$
A$ = "2" / "3": PRINT A$
A$ = "123456789012345678901234567" + "0": PRINT A$
A$ = "1E30" * "1E30": PRINT A$
A$ = ".000001" * ".000001": PRINT A$
' Comparison is by value, not by text.
IF "10" > C$ THEN PRINT "10 > 2";
IF C$ = "2.000" THEN PRINT " 2 = 2.000";
IF B$ > "10" THEN PRINT " wrong" ELSE PRINT " 7.5 < 10"
' To and from the other types.
S$ = B$: PRINT "["; S$; "]"; LEN(S$); STR$(B$); VAL(B$) * 2
A$ = STR$(1 / 4): PRINT A$
READ A$, F$: PRINT A$; "["; F$; "]"
WRITE A$, C$
A$ = "1234567890.123456789012"
SWAP A$, C$: PRINT A$; C$
DEF LEN (3) K$
K$ = "xyz": F$ = "abcde": SWAP F$, K$: PRINT "["; F$; "]["; K$; "]"
' Arrays.
FOR I% = 0 TO 2: FOR J% = 0 TO 1
  M$(I%, J%) = STR$(I% * 10 + J%) / "10"
NEXT: NEXT
A$ = M$(2, 1) + M$(1, 0): PRINT A$; M$(0, 0)
' DEF LEN strings keep their length.
F$ = "abcdefgh": PRINT "["; F$; "]";
F$ = "xy": PRINT "["; F$; "]"; LEN(F$)
G$(2) = F$ + "z": PRINT "["; G$(2); "]["; G$(0); "]"
' Bounds and a length given when the statement runs; PRINT USING.
N% = 2
DEF BCD R$(N%)
DEF LEN (N% + 1) H$(N%)
R$(N%) = "1234.5678": H$(N%) = "abcdef"
PRINT USING "##,###.## & &"; R$(N%); R$(N%); H$(N%)
' A procedure's own decimal starts at 0 on each call.
COUNTUP
COUNTUP
SHOW B$
' A module decimal shared with a procedure.
ADDON: ADDON: PRINT B$
DATA 1.50, 123456
SUB COUNTUP
  DEF BCD L$, T$(1)
  L$ = L$ + ".5": T$(1) = T$(1) - L$
  PRINT L$; T$(1)
END SUB
SUB SHOW (X$)
  PRINT X$
END SUB
SUB ADDON
  SHARED B$
  B$ = B$ + ".7"
END SUB
