      1 A = 1
      2 IF A = 1 THEN
      3 PRINT 1
      4 ELSEIF A = 2 THEN
      5 PRINT 2
      6 ELSE
      7 PRINT 3
      8 END IF
      9 IF A THEN PRINT 1 ELSE PRINT 2
     10 IF A > 0 GOTO *X
     11 IF A THEN *X
     12 *X END
エラー個数=       0 ワーニング個数=       0
