' RUN with a label or a line number starts there, cleared; a file counts
' the passes.
PRINT "start"
*COUNT
OPEN "RUNLABEL.TXT" FOR APPEND AS #1
PRINT #1, "x"
CLOSE #1
OPEN "RUNLABEL.TXT" FOR INPUT AS #1
C% = 0
WHILE NOT EOF(1)
  LINE INPUT #1, L$
  C% = C% + 1
WEND
CLOSE #1
READ D%
PRINT "pass"; C%; N%; "["; S$; "]"; D%
N% = 5: S$ = "set"
IF C% = 1 THEN RUN *COUNT
IF C% = 2 THEN GOSUB 300
OPEN "OPEN.TXT" FOR OUTPUT AS #2: CLOSE #2
KILL "RUNLABEL.TXT"
PRINT "end"
END
300 RUN 400
400 PRINT "at 400"; N%
OPEN "OPEN.TXT" FOR OUTPUT AS #2
RUN *COUNT
DATA 7, 8
