FOR I% = 1 TO 6
  SELECT CASE I%
  CASE 1
    PRINT "one"
  CASE 2, 3
    PRINT "two or three"
  CASE 4 TO 5
    PRINT "four to five"
  CASE ELSE
    PRINT "else"
  END SELECT
NEXT
FOR K% = 1 TO 3
  READ S$
  SELECT CASE S$
  CASE "b"
    PRINT "bee"
  CASE IS > "m"
    PRINT "after m"
  END SELECT
NEXT
DATA b, z, c
