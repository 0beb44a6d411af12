      1 ' expect: 13 13 13 76 76
      2 TYPE NAMED
      3   N AS STRING
      4 END TYPE
      5 TYPE INNER
      6   R AS NAMED
      7 END TYPE
      8 TYPE PLAIN
      9   K AS INTEGER
     10   F AS STRING * 4
     11 END TYPE
     12 DIM R AS NAMED, I AS INNER, P AS PLAIN
     13 OPEN "R.DAT" FOR RANDOM AS #1 LEN = 12
     14 PUT #1, 1, P
     15 PUT #1, 1, R
t.bas ***15行 [13] 変数または式の型が合っていません
     16 GET #1, , I
t.bas ***16行 [13] 変数または式の型が合っていません
     17 FWRITE #1, R
t.bas ***17行 [13] 変数または式の型が合っていません
     18 DECLARE SUB T ()
     19 SUB T
     20   RUN *L
t.bas ***20行 [76] ここでは宣言または実行できません
     21   RUN 10
t.bas ***21行 [76] ここでは宣言または実行できません
     22 END SUB
エラー個数=       5 ワーニング個数=       0
