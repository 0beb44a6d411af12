      1 GOSUB *S
      2 END
      3 *S PRINT "S"
      4 RETURN
エラー個数=       0 ワーニング個数=       0
