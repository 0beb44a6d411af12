' expect: 13 13 02
A$ = 1
B% = "x"
PRINT 1 + "x"
