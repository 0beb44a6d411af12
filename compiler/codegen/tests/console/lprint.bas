' LPRINT and its family on the printer file; PRINT stays on the console
PRINT "console";
LPRINT "a"; 12; "b"
PRINT " one"
LPRINT USING "##.# "; 1.25; 2.5
LPRINT USING "<&>"; "x";
PRINT LPOS(0); POS(0)
LPRINT "y"
LPRINT TYPE
WIDTH LPRINT 10
LPRINT "123456789012345"
LPRINT "12345"; "678901"
WIDTH "LPT1:", 20
LPRINT "12345"; "678901"
PRINT "console two"
