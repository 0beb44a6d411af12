' files.bas: a text file written, added to and read back line by line
OPEN "NOTES.TXT" FOR OUTPUT AS #1
PRINT #1, "milk"
PRINT #1, "bread"
CLOSE #1
OPEN "NOTES.TXT" FOR APPEND AS #1
PRINT #1, "eggs"
CLOSE #1
N% = 0
OPEN "NOTES.TXT" FOR INPUT AS #1
WHILE NOT EOF(1)
  LINE INPUT #1, ITEM$
  N% = N% + 1
  PRINT N%; ITEM$
WEND
CLOSE #1
KILL "NOTES.TXT"
