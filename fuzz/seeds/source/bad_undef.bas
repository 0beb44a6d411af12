' expect: 29
GOTO *NOWHERE
PRINT 1
