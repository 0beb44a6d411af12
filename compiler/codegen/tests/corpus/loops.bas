I% = 0
WHILE I% < 3: PRINT I%;: I% = I% + 1: WEND: PRINT
DO WHILE I% < 5: PRINT I%;: I% = I% + 1: LOOP: PRINT
DO UNTIL I% = 7: PRINT I%;: I% = I% + 1: LOOP: PRINT
DO: PRINT I%;: I% = I% + 1: LOOP WHILE I% < 9
DO: PRINT I%;: I% = I% + 1: LOOP UNTIL I% >= 11: PRINT
DO
  IF I% = 13 THEN EXIT DO
  I% = I% + 1
LOOP
WHILE I% < 0
  PRINT "never"
WEND
PRINT I%
STOP
PRINT "after stop"
