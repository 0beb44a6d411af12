      1 DATA 1, "A", 2.5
      2 *D DATA 3
      3 READ A, B$, C
      4 RESTORE
      5 RESTORE *D
      6 READ X
エラー個数=       0 ワーニング個数=       0
