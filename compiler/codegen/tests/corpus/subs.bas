DECLARE SUB SWAPIT (A&, B&)
DECLARE SUB BUMP (N%, S$, BYVAL D#)
X& = 1: Y& = 2
CALL SWAPIT(X&, Y&)
PRINT X&; Y&
K% = 41: S$ = "hey"
CALL BUMP(K%, S$, 1.5)
BUMP K%, S$, K% / 2
PRINT K%; S$
END
SUB SWAPIT (A&, B&)
  T& = A&: A& = B&: B& = T&
END SUB
SUB BUMP (N%, S$, BYVAL D#)
  N% = N% + 1
  S$ = S$ + "!"
  PRINT D#
  EXIT SUB
  PRINT "not here"
END SUB
