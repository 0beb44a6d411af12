' counter.bas: a count kept in a file; the first run finds no file
DECLARE SUB SAVECOUNT (N%)
ON ERROR GOTO *NOFILE
OPEN "COUNT.TXT" FOR INPUT AS #1
INPUT #1, N%
CLOSE #1
*COUNTED
N% = N% + 1
PRINT "run number"; N%
SAVECOUNT N%
END

*NOFILE
PRINT "no count yet (error"; ERR; ")"
N% = 0
RESUME *COUNTED

SUB SAVECOUNT (N%)
  OPEN "COUNT.TXT" FOR OUTPUT AS #1
  PRINT #1, N%
  CLOSE #1
END SUB
