' Console input from standard input, output statements and screen state
INPUT "Name"; N$
INPUT "Age, weight", A%, W!
PRINT N$; " is"; A%; "and weighs"; W!
INPUT X#
PRINT X# / 4
INPUT B%
PRINT B%
LINE INPUT "Line: "; L$
PRINT "["; L$; "]"
LINE INPUT L$
PRINT LEN(L$); "<"; L$; ">"
WRITE 1, "two, three", 3.5, , -4, 2.5E+20
WRITE
WRITE "alone"
C% = 7: D& = -70000: E = 1.25: F# = 1# / 3
WRITE C%, D&, E, F#, CHR$(65)
PRINT "a"; SPC(3); "b"; TAB(10); "c"; "d"
PRINT STRING$(3, 42); STRING$(2, "=-"); STRING$(0, 65); "|"
CLS
COLOR 1, 2, 3, 4
COLOR , 5
BEEP
PRINT CSRLIN;
LOCATE CSRLIN + 2, 6
PRINT "at"; CSRLIN; POS(0)
LOCATE , 20: PRINT "col 20"
LOCATE 1, 1: PRINT "stays"
WIDTH 24
PRINT "0123456789"; "0123456789"; "0123456789"
PRINT 123456; 7890123; 4567890
WIDTH 80
K$ = INKEY$: PRINT "key <"; K$; ">"; ASC(K$)
P$ = INPUT$(4): PRINT "four <"; P$; ">"
LINE INPUT R$: PRINT "rest <"; R$; ">"
K$ = INKEY$: PRINT "none <"; K$; ">"; LEN(K$)
