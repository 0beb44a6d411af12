      1 ' expect: 89
      2 DECLARE SUB S (A$ = "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", B$ = "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy")
      3 S
      4 S: S
t.bas ****4行 [89] システム用作業領域がいっぱいになりました
      5 SUB S (A$, B$)
      6 END SUB
エラー個数=       1 ワーニング個数=       0
