' FOR with constant, negative, variable and floating steps
FOR I% = 1 TO 3: PRINT I%;: NEXT: PRINT
FOR I% = 3 TO 1 STEP -1: PRINT I%;: NEXT I%: PRINT
S% = 3
FOR I% = 1 TO 7 STEP S%: PRINT I%;: NEXT: PRINT
S% = -2
FOR I% = 5 TO 1 STEP S%: PRINT I%;: NEXT: PRINT
FOR X! = 0 TO 1 STEP .25: PRINT X!;: NEXT: PRINT
FOR L& = 100000 TO 100002: PRINT L&;: NEXT: PRINT
FOR I% = 1 TO 2
  FOR J% = 1 TO 2
    PRINT I% * 10 + J%;
  NEXT J%, I%
PRINT
N% = 4
FOR I% = 1 TO N% * 2 STEP N% - 2: PRINT I%;: NEXT: PRINT
FOR K% = 1 TO 10
  IF K% = 3 THEN EXIT FOR
NEXT
PRINT K%
' The limit is passed before the first pass: FM runs the body once, ISO not.
FOR I% = 5 TO 1: PRINT I%;: NEXT: PRINT
