      1 ' expect: 01 01
      2 NEXT
t.bas ****2行 [01] 反復(FOR)文がないのに繰り返し(NEXT)文がありました
      3 FOR I = 1 TO 2: NEXT J
t.bas ****3行 [01] 反復(FOR)文がないのに繰り返し(NEXT)文がありました
エラー個数=       2 ワーニング個数=       0
