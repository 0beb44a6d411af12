      1 PRINT
      2 PRINT 1
      3 A = 2: B = 3
      4 PRINT A, B; "x";
      5 PRINT USING "##.#"; A
      6 PRINT #1, A; B
      7 LPRINT "a"; 1
エラー個数=       0 ワーニング個数=       0
