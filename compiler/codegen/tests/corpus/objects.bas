' The object prefix: window statements and functions with an object,
' EDECL routines called for an object, and the hidden object passed
' along. A holds the address the object should have; -1 is true.
DECLARE SUB SHOW EDECL (N AS INTEGER)
DECLARE SUB OUTER EDECL ()
DECLARE FUNCTION TWICE EDECL (N AS LONG) AS LONG
DECLARE SUB SAME (X AS OBJECT)
TYPE REC
  SHOW AS INTEGER
END TYPE
DIM SHARED O AS OBJECT, P AS OBJECT, A AS LONG
DIM R AS REC
SUB SHOW (N AS INTEGER)
  this.PRINT "show"; N; VARPTR(this) = A
  PRINT "csrlin"; this.CSRLIN > 0; CSRLIN > 0
END SUB
SUB OUTER ()
  SHOW 3
  this.SHOW 4
  SAME this
  PRINT this.TWICE(5)
END SUB
FUNCTION TWICE (N AS LONG) AS LONG
  TWICE = N * 2 + (VARPTR(this) = A)
END FUNCTION
SUB SAME (X AS OBJECT)
  PRINT "same"; VARPTR(X) = A
END SUB
A = VARPTR(O)
O.CLS
O.PRINT "one"; O.POS(0)
O.COLOR 2: O.LOCATE , , 1
O.SHOW 1
O.SHOW(2)
O.OUTER
PRINT O.TWICE(3); TWICE(3)
A = VARPTR(P)
P.OUTER
A = 0
SHOW 5
R.SHOW = 6
PRINT R.SHOW
O.WRITE 7, "w"
K$ = O.INKEY$
PRINT LEN(K$)
