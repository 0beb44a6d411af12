      1 ' expect: 29
      2 GOTO *NOWHERE
      3 PRINT 1
t.bas ****2行 [29] 定義されていないシンボル名が参照されました
エラー個数=       1 ワーニング個数=       0
