' procs.bas: a SUB and a FUNCTION, declared before they are used
DECLARE SUB BANNER (TITLE$, WIDE%)
DECLARE FUNCTION AVERAGE# (BYVAL A#, BYVAL B#)
DECLARE SUB TWICE (N%)
CALL BANNER("scores", 10)
PRINT "average"; AVERAGE#(72, 85)
N% = 21
TWICE N%
PRINT "twice 21 is"; N%
END

' Arguments are passed by reference: TWICE changes the caller's N%.
SUB TWICE (N%)
  N% = N% * 2
END SUB

SUB BANNER (TITLE$, WIDE%)
  PRINT STRING$(WIDE%, "-")
  PRINT TITLE$
  PRINT STRING$(WIDE%, "-")
END SUB

' A FUNCTION returns the value last assigned to its name.
FUNCTION AVERAGE# (BYVAL A#, BYVAL B#)
  AVERAGE# = (A# + B#) / 2
END FUNCTION
