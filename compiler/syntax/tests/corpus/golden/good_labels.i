      1 100 PRINT 1
      2 110 *A PRINT 2
      3 *B
      4 GOTO 100
      5 GOTO *B
エラー個数=       0 ワーニング個数=       0
