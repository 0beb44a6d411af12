' CALLS of a module routine of the same program.
A% = 5: B$ = "hi"
CALLS "ROUTINE" (A%, B$)
PRINT A%; B$; RTN
CALLS "routine" (A% + 1, "x", 1 / 4, 300 / 2)
PRINT A%; RTN
CALLS "ROUTINE" (A%, , , 1)
PRINT A%
CALLS "ROUTINE" (A%)
PRINT A%
S! = 1
CALLS "ROUTINE" (S!)
