      1 REM a comment
      2 ' another
      3 PRINT 1 ' after a statement
エラー個数=       0 ワーニング個数=       0
