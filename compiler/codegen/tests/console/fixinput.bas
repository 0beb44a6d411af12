' INPUT, LINE INPUT and their # forms into fixed-length strings: the answer
' cut or padded to the length, the bytes around it untouched.
DIM F AS STRING * 5
DIM G AS STRING * 4
H$ = "after"
INPUT F
PRINT "["; F; "]"; LEN(F); H$
OPEN "FX.TXT" FOR OUTPUT AS #1
PRINT #1, "abcdefgh"
PRINT #1, "xy"
CLOSE #1
OPEN "FX.TXT" FOR INPUT AS #1
INPUT #1, F
LINE INPUT #1, G
CLOSE #1
PRINT "["; F; "]["; G; "]"; H$
LINE INPUT G
PRINT "["; G; "]"
