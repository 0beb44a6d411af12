PRINT
PRINT 1
A = 2: B = 3
PRINT A, B; "x";
PRINT USING "##.#"; A
PRINT #1, A; B
LPRINT "a"; 1
