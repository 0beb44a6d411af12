      1 FOR I = 1 TO 10 STEP 2
      2 PRINT I
      3 NEXT I
      4 FOR J% = 10 TO 1 STEP -1: NEXT
      5 FOR K = 1 TO 2: FOR L = 1 TO 2: NEXT L, K
エラー個数=       0 ワーニング個数=       0
