      1 DECLARE SUB B (X AS INTEGER)
      2 DIM A(3) AS INTEGER
      3 K% = 1
      4 CALL B(A(K% + 1))
      5 CALL B((K%))
      6 CALL B((K%) + 1)
      7 B K%
      8 SUB B (X AS INTEGER)
      9 DIM M(2, 3) AS LONG
     10 X = X + 1
     11 END SUB
エラー個数=       0 ワーニング個数=       0
