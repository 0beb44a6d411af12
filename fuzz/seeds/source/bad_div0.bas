' expect: 11 11
PRINT 1 / 0
PRINT 5 MOD 0
