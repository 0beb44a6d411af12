' expect: 02 02 02 02 02 02 02 13 27
' The object prefix where it cannot stand.
DECLARE SUB P (X)
DECLARE SUB M EDECL ()
DIM O AS OBJECT
X = this
this.CLS
O.BEEP
O.PRINT #1, 2
O.P 1
X = O.ABS(1)
SUB P (X)
  PRINT this
END SUB
PRINT O
DIM Z AS ANY
