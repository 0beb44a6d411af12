      1 ' expect: 76 76 02 02 02
      2 PARAM A AS INTEGER
t.bas ****2行 [76] ここでは宣言または実行できません
      3 RETURNS 1
t.bas ****3行 [76] ここでは宣言または実行できません
      4 CALLS "M" (A, B
t.bas ****4行 [02] 文法が正しくありません
      5 CALLM "M"
t.bas ****5行 [02] 文法が正しくありません
      6 LOADM
t.bas ****6行 [02] 文法が正しくありません
      7 CALLS "M" (A, , B$)
      8 CALLM "M", "R", A, 2 + 3
エラー個数=       5 ワーニング個数=       0
