' Local arrays are dimensioned afresh on each call; array elements
' travel by reference, a parenthesised argument by value.
DECLARE SUB FILL (N AS INTEGER)
DECLARE SUB SWAPIT (A&, B&)
DECLARE SUB BUMP (N%)
DECLARE FUNCTION DEPTH% (N AS INTEGER)
CALL FILL(2)
CALL FILL(3)
DIM V(3) AS LONG, G(2, 2) AS INTEGER
V(1) = 10: V(3) = 30
CALL SWAPIT(V(1), V(3))
PRINT V(1); V(3)
I% = 2
CALL BUMP(G(I%, I% - 1))
BUMP G(2, 1)
K% = 5
CALL BUMP((K%))
CALL BUMP(K% + 0)
PRINT G(2, 1); K%
CALL BUMP(K%)
BUMP (K%)
PRINT K%; DEPTH%(3)
END
SUB FILL (N AS INTEGER)
  DIM L(5) AS INTEGER, M(2, 3) AS LONG, T$(1)
  FOR J% = 0 TO 5
    L(J%) = L(J%) + J% * N
  NEXT J%
  M(2, 3) = M(2, 3) + N
  T$(1) = T$(1) + "x"
  PRINT L(5); M(2, 3); T$(1)
END SUB
SUB SWAPIT (A&, B&)
  T& = A&: A& = B&: B& = T&
END SUB
SUB BUMP (N%)
  N% = N% + 1
END SUB
' Each call has its own W: the inner calls leave this one's W(1) alone.
FUNCTION DEPTH% (N AS INTEGER)
  DIM W(2) AS INTEGER
  W(1) = N
  IF N > 0 THEN R% = DEPTH%(N - 1)
  DEPTH% = W(1) + R%
END FUNCTION
