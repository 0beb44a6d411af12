      1 GOTO *L1
      2 *L1 PRINT 1
      3 10 GO TO 20
      4 20 END
エラー個数=       0 ワーニング個数=       0
