' STATIC arrays keep their elements from call to call, one set per
' procedure; a STATIC scalar beside them
DECLARE SUB TALLY (K%)
DECLARE SUB OTHER ()
TALLY 1
TALLY 2
TALLY 1
OTHER
OTHER
SUB TALLY (K%)
  STATIC HITS%(3), NAMES$(2), COUNT&
  COUNT& = COUNT& + 1
  HITS%(K%) = HITS%(K%) + 1
  NAMES$(K%) = NAMES$(K%) + CHR$(64 + K%)
  PRINT COUNT&; HITS%(1); HITS%(2); NAMES$(1); NAMES$(2)
END SUB
SUB OTHER ()
  STATIC HITS%(3)
  HITS%(3) = HITS%(3) + 10
  PRINT HITS%(3)
END SUB
