      1 DO
      2 A = A + 1
      3 IF A > 5 THEN EXIT DO
      4 LOOP
      5 DO WHILE A > 0
      6 A = A - 1
      7 LOOP
      8 DO
      9 LOOP UNTIL A = 3
     10 DO UNTIL A = 0
     11 A = A - 1
     12 LOOP WHILE A > 1
エラー個数=       0 ワーニング個数=       0
