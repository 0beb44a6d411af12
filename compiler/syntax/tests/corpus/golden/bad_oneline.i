      1 ' expect: 23
      2 IF 1 THEN FOR I = 1 TO 2
t.bas ****2行 [23] 反復(FOR)文と繰り返し(NEXT)文の対応が正しくありません
エラー個数=       1 ワーニング個数=       0
