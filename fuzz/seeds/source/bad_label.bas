' expect: 30
*L PRINT 1
*L PRINT 2
