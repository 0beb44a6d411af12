' RUN: files closed, variables, arrays and strings cleared; a file counts the runs.
DECLARE SUB AGAIN ()
DIM A%(3), T$(2)
OPEN "RUNFLAG.TXT" FOR APPEND AS #1
PRINT #1, "x"
CLOSE #1
OPEN "RUNFLAG.TXT" FOR INPUT AS #1
C% = 0
WHILE NOT EOF(1)
  LINE INPUT #1, L$
  C% = C% + 1
WEND
PRINT "run"; C%; N%; A%(2); "["; S$; T$(1); "]"; ERR
N% = 9: A%(2) = 8: S$ = "old": T$(1) = "t"
OPEN "OTHER.TXT" FOR OUTPUT AS #2
ON ERROR GOTO 200
ERROR 7
50 IF C% = 1 THEN GOSUB 100
IF C% = 2 THEN CALL AGAIN
CLOSE
PRINT "end"
END
100 RUN
200 RESUME 50

SUB AGAIN ()
  RUN
END SUB
