' SHELL runs what basrun's command table lists: its output on the console,
' its result in RTN; any other command stays refused (error 75).
ON ERROR GOTO *REFUSED
PRINT "before ";
SHELL "echo hi"
PRINT "rtn"; RTN
SHELL "build all", , 1
PRINT RTN
C$ = "quiet": SHELL C$: PRINT C$; RTN
SHELL "prompt": PRINT POS(0)
SHELL "ECHO HI"
SHELL "echo hi "
PRINT "end"; RTN
END
*REFUSED
PRINT "refused"; ERR
RESUME NEXT
