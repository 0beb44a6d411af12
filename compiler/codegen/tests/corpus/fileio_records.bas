' Random and binary files: FIELD, LSET/RSET, GET/PUT, SEEK, FREAD/FWRITE
OPEN "REC.DAT" FOR RANDOM AS #1 LEN = 12
FIELD #1, 8 AS N$, 4 AS V$
FOR I% = 1 TO 3
  LSET N$ = "item" + MID$(STR$(I%), 2)
  RSET V$ = STR$(I% * 10)
  PUT #1, I%
NEXT
LSET N$ = "last"
RSET V$ = "99"
PUT #1
PRINT "records"; LOF(1) / 12; "loc"; LOC(1)
GET #1, 2
PRINT "[" + N$ + "][" + V$ + "]"
GET #1
PRINT "[" + N$ + "][" + V$ + "]"; EOF(1)
SEEK #1, 1
GET #1
PRINT "[" + N$ + "]"; SEEK(1)
GET #1, 9
PRINT "past end"; EOF(1); LEN(N$)
LOCK #1, 1 TO 2
UNLOCK #1, 1 TO 2
LOCK #1
UNLOCK #1
CLOSE #1
OPEN "BIN.DAT" FOR BINARY AS #2
A% = 258: L& = 100000: S! = 1.5: T$ = "text"
PUT #2, , A%
PUT #2, , L&
FWRITE #2, S!
FWRITE #2, T$
PRINT "bytes"; LOF(2); "at"; LOC(2)
B% = 0: M& = 0: R! = 0: U$ = SPACE$(4)
GET #2, 1, B%
GET #2, , M&
FREAD #2, R!
FREAD #2, U$
PRINT B%; M&; R!; U$
GET #2, 2, C%
PRINT "at 2:"; C%
SEEK #2, 7
TRUNCATE #2
PRINT "truncated"; LOF(2)
CLOSE
KILL "REC.DAT"
KILL "BIN.DAT"
PRINT "after close [" + N$ + "]"; LEN(V$)
