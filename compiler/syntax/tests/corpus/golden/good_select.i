      1 A = 3
      2 SELECT CASE A
      3 CASE 1
      4 PRINT 1
      5 CASE 2 TO 5, 7
      6 PRINT 2
      7 CASE IS > 10
      8 PRINT 3
      9 CASE ELSE
     10 PRINT 4
     11 END SELECT
     12 S$ = "x"
     13 SELECT CASE S$
     14 CASE "a", "x"
     15 END SELECT
エラー個数=       0 ワーニング個数=       0
