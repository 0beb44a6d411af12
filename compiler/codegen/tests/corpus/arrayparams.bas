' Members of record array elements, arrays passed whole to procedures
DECLARE SUB FILL (A%(), N%)
DECLARE FUNCTION TOTAL# (D#())
DECLARE SUB JOIN (S$(), R$)
DECLARE SUB PASSON (A%())
TYPE PT
  X AS INTEGER
  Y AS DOUBLE
  N AS STRING * 4
END TYPE
DECLARE SUB SETPT (Q() AS PT)
TYPE BOX
  A AS PT
  W AS LONG
END TYPE
DIM P(3) AS PT, B(2) AS BOX, IX%(2)
IX%(1) = 2
FOR I% = 0 TO 3
  P(I%).X = I% * 10
  P(I%).Y = I% / 4
NEXT
P(IX%(1)).N = "ab"
PRINT P(1).X; P(2).Y; P(IX%(1)).X; "["; P(2).N; "]"
B(1).A.X = 42
B(2).W = 70000
B(IX%(1) - 1).A.Y = B(2).W / 2
PRINT B(1).A.X; B(2).W; B(1).A.Y
SWAP P(1).X, P(3).X
PRINT P(1).X; P(3).X
S = 0
FOR I% = 0 TO 3: S = S + P(I%).Y: NEXT
PRINT S
SETPT P()
PRINT P(2).X; P(2).Y
DIM V%(5), W#(2, 2), T$(3)
CALL FILL(V%(), 5)
PRINT V%(0); V%(3); V%(5)
W#(1, 1) = 1.5: W#(2, 2) = 2.25
PRINT TOTAL#(W#())
T$(0) = "a": T$(1) = "bc": T$(3) = "d"
JOIN T$(), R$
PRINT R$
PASSON V%()
PRINT V%(1)
SUB FILL (A%(), N%)
  FOR I% = 0 TO N%
    A%(I%) = I% * 2
  NEXT
END SUB
FUNCTION TOTAL# (D#())
  S# = 0
  FOR I% = 0 TO 2
    FOR J% = 0 TO 2
      S# = S# + D#(I%, J%)
    NEXT
  NEXT
  TOTAL# = S#
END FUNCTION
SUB JOIN (S$(), R$)
  R$ = ""
  FOR I% = 0 TO 3
    R$ = R$ + S$(I%) + "/"
  NEXT
END SUB
SUB PASSON (A%())
  CALL FILL(A%(), 1)
  A%(1) = A%(1) + 100
END SUB
SUB SETPT (Q() AS PT)
  Q(2).X = -1
  Q(2).Y = Q(2).Y * 4
END SUB
