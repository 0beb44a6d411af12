' SHARED, STATIC, COMMON SHARED, the declaration block, DIM with bounds
' computed when it runs (module, DIM SHARED, inside a procedure)
DECLARE
  SUB BUMP ()
  SUB COUNTER ()
  SUB OTHER ()
  SUB LOCALS (N%)
END DECLARE
TOTAL% = 10
DIM LIST$(2)
LIST$(1) = "one"
COMMON SHARED G#
G# = 2.5
BUMP
BUMP
PRINT TOTAL%; LIST$(1); LIST$(2)
COUNTER
COUNTER
COUNTER
OTHER
N% = 4
DIM Z(N%), M$(N% - 2, 2), K%(3)
DIM SHARED S#(N% * 2)
Z(4) = 1.5
M$(2, 2) = "m"
K%(3) = 7
S#(8) = 0.25
PRINT Z(4); M$(2, 2); K%(3); S#(8)
LOCALS 3
LOCALS 5
SUB BUMP ()
  SHARED TOTAL%, LIST$()
  TOTAL% = TOTAL% + 1
  LIST$(2) = LIST$(2) + "x"
  PRINT G#;
END SUB
SUB COUNTER ()
  STATIC N%, S$
  N% = N% + 1
  S$ = S$ + "*"
  PRINT N%; S$
END SUB
SUB OTHER ()
  PRINT TOTAL%
END SUB
SUB LOCALS (N%)
  DIM L&(N%)
  FOR I% = 0 TO N%
    L&(I%) = I% * 100000
  NEXT
  PRINT L&(N%); S#(8)
END SUB
