' DEF PARM lists, built when a CALLS uses them.
A% = 5: B$ = "blk"
DEF PARM *P1, A%, B$
DEF PARM *P2, A% * 2
CALLS "FITR2", *P1
PRINT A%; B$
CALLS "FITR2", *P2
PRINT A%; RTN
CALLS "FITR2", *P1
PRINT A%
