      1 ' expect: 29 76 10 10 76
      2 SUB S
t.bas ****2行 [29] 定義されていないシンボル名が参照されました
      3 END SUB
t.bas ****3行 [76] ここでは宣言または実行できません
      4 DECLARE SUB T
      5 DECLARE SUB T
t.bas ****5行 [10] 重複定義を行おうとしました
      6 DECLARE SUB U ()
      7 SUB U ()
      8 END SUB
      9 SUB U ()
t.bas ****9行 [10] 重複定義を行おうとしました
     10 END SUB
t.bas ***10行 [76] ここでは宣言または実行できません
エラー個数=       5 ワーニング個数=       0
