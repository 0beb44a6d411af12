' The module calls' runtime routines in their order, for --trace.
A% = 2: B$ = "s"
CALLS "FITR2" (A%, B$ + "t")
LOADM "DLLLIB"
CALLM "DLLLIB", "TWICE", 21
