      1 ' expect: 90
      2 DATA 1
      3 *L PRINT 1
      4 RESTORE *L
t.bas ****4行 [90] 定数行(RESTORE)文で指定したデータが見つかりません
エラー個数=       1 ワーニング個数=       0
