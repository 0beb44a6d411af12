DECLARE SUB W LIB "K" ALIAS "Wx" (X AS INTEGER)
A% = 1: B$ = "b"
CALLS "M" (A%, , B$, A% + 1, (A%))
CALLS "M"
LOADM "K"
CALLM "K", "R", A%, 2, B$
DELETEM "K"
W A%
DEF PARM *BLK, A%, , B$
CALLS "M", *BLK
