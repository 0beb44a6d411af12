      1 A = 0
      2 WHILE A < 10
      3 A = A + 1
      4 WEND
エラー個数=       0 ワーニング個数=       0
