FOR V% = 1 TO 3
  READ A%
  IF A% > 3 THEN
    PRINT "big"
  ELSEIF A% > 1 THEN
    PRINT "mid"
  ELSE
    PRINT "small"
  END IF
NEXT
DATA 5, 2, 0
A% = 0
IF A% THEN PRINT "t" ELSE PRINT "f"
A% = 1
IF A% THEN PRINT "t" ELSE PRINT "f"
X# = .5
IF X# > .25 THEN PRINT "x>.25"
IF X# < .25 THEN PRINT "x<.25"
IF X# THEN PRINT "nonzero"
IF A% = 1 THEN
  IF X# < 1 THEN PRINT "nested"
END IF
