      1 ' expect: 02 02 02 02 02 02 02 13 27
      2 ' The object prefix where it cannot stand.
      3 DECLARE SUB P (X)
      4 DECLARE SUB M EDECL ()
      5 DIM O AS OBJECT
      6 X = this
t.bas ****6行 [02] 文法が正しくありません
      7 this.CLS
t.bas ****7行 [02] 文法が正しくありません
      8 O.BEEP
t.bas ****8行 [02] 文法が正しくありません
      9 O.PRINT #1, 2
t.bas ****9行 [02] 文法が正しくありません
     10 O.P 1
t.bas ***10行 [02] 文法が正しくありません
     11 X = O.ABS(1)
t.bas ***11行 [02] 文法が正しくありません
     12 SUB P (X)
     13   PRINT this
t.bas ***13行 [02] 文法が正しくありません
     14 END SUB
     15 PRINT O
t.bas ***15行 [13] 変数または式の型が合っていません
     16 DIM Z AS ANY
t.bas ***16行 [27] システムに異常があります
エラー個数=       9 ワーニング個数=       0
