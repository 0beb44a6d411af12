' Array members of records: of a variable, of an array element, nested,
' of a by-reference parameter and of a local record, with their bounds
TYPE PT
  X AS INTEGER
  V(3) AS DOUBLE
END TYPE
TYPE BOX
  N AS STRING * 3
  K(2) AS LONG
  P(1) AS PT
  S(1) AS STRING * 2
END TYPE
DECLARE SUB SHOW (Q AS BOX)
DIM C AS BOX, B(2) AS BOX
C.K(2) = 70000
C.K(1) = 5
PRINT C.K(2); C.K(1); C.K(0)
I% = 1
C.P(I%).X = 7
C.P(I%).V(3) = 2.5
C.P(0).V(I% + 1) = -1
PRINT C.P(1).X; C.P(1).V(3); C.P(0).V(2)
B(2).K(2) = 11
B(I% + 1).P(1).V(0) = 0.5
B(1).S(1) = "abc"
C.N = "xyz"
PRINT B(2).K(2); B(2).P(1).V(0); "["; B(1).S(1); "]"; C.N; C.K(2) + B(2).K(2)
SWAP C.K(1), B(2).K(2)
PRINT C.K(1); B(2).K(2)
SHOW C
PRINT C.K(0)
SUB SHOW (Q AS BOX)
  DIM L AS BOX
  L.K(1) = 4
  PRINT Q.K(2); L.K(1)
  Q.K(0) = Q.K(2) + L.K(1)
END SUB
