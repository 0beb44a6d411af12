      1 DIM A(10), B$(5, 5) AS STRING, C AS LONG
      2 DIM SHARED X AS INTEGER
      3 A(3) = 4
      4 B$(1, 2) = "Q"
      5 C = A(3) + X
エラー個数=       0 ワーニング個数=       0
