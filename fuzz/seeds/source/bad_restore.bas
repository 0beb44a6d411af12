' expect: 90
DATA 1
*L PRINT 1
RESTORE *L
