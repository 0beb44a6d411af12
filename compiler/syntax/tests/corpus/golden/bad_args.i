      1 ' expect: 22 22
      2 DECLARE SUB S (A AS INTEGER)
      3 CALL S()
t.bas ****3行 [22] オペランドの記述が正しくありません
      4 CALL S(1, 2)
t.bas ****4行 [22] オペランドの記述が正しくありません
      5 SUB S (A AS INTEGER)
      6 END SUB
エラー個数=       2 ワーニング個数=       0
