DIM SQ%(10), GRID!(2, 3), NAMES$(2)
FOR I% = 0 TO 10: SQ%(I%) = I% * I%: NEXT
FOR I% = 0 TO 10: SUM& = SUM& + SQ%(I%): NEXT
PRINT SQ%(3); SQ%(10); SUM&; SQ%(2) * SQ%(3)
FOR I% = 0 TO 2
  FOR J% = 0 TO 3
    GRID!(I%, J%) = I% + J% / 10
  NEXT
NEXT
PRINT GRID!(2, 3); GRID!(1, 0); GRID!(0, 1) + GRID!(2, 2)
NAMES$(0) = "zero"
NAMES$(2) = NAMES$(0) + "+two"
PRINT NAMES$(2); NAMES$(1); "."
SQ%(SQ%(2)) = -1
PRINT SQ%(4)
