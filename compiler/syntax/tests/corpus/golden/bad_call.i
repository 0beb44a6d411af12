      1 ' expect: 29 29 02
      2 CALL NOPE(1, 2)
t.bas ****2行 [29] 定義されていないシンボル名が参照されました
      3 CALL NOPE
t.bas ****3行 [29] 定義されていないシンボル名が参照されました
      4 A = 1
      5 CALL A
t.bas ****5行 [02] 文法が正しくありません
      6 DECLARE SUB NOPE (X)
      7 CALL NOPE(1)
      8 SUB NOPE (X)
      9 END SUB
エラー個数=       3 ワーニング個数=       0
