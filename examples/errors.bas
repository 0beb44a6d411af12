' errors.bas: run-time errors caught by ON ERROR GOTO and resumed
ON ERROR GOTO *HANDLER
OPEN "MISSING.TXT" FOR INPUT AS #1
PRINT "the program goes on"
D% = 0
PRINT 10 \ D%
ERROR 200
PRINT "done"
END

*HANDLER
PRINT "error"; ERR; "in line"; ERL
RESUME NEXT
