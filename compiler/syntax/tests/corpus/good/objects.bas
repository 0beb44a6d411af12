' The object prefix: the object's group in front of a statement or a
' function, as the hidden argument of an EDECL routine, and this.
DECLARE SUB M EDECL (N AS INTEGER)
DECLARE SUB SAME (X AS OBJECT)
DIM O AS OBJECT
SUB M (N AS INTEGER)
  PRINT N: this.CLS
  SAME this
END SUB
SUB SAME (X AS OBJECT)
END SUB
A = 1: O.PRINT A; O.CSRLIN
O.M 2
M 3
