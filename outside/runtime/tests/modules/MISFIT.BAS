' Arguments that do not fit the module routine, each trapped.
ON ERROR GOTO *TRAP
DIM X&(2), Y%(2): I% = 3
CALLS "FITR" (I%, X&(), 3)
CALLS "FITR" (I%)
CALLS "FITR" (I%, X&)
CALLS "FITR" (I%, Y%())
CALLS "FITR" ("7", X&())
CALLS "FITR" (70000, X&())
CALLS "NONE"
CALLM "FITR", "FITR"
DELETEM "FITR"
LOADM "NOWHERE"
CALLS "FITR" (I%, X&()): PRINT "ok"
END
*TRAP
PRINT "error"; ERR; "line"; ERL
RESUME NEXT
