      1 DECLARE SUB S ()
      2 DECLARE FUNCTION F% (N AS INTEGER)
      3 DATA 1, "two"
      4 RESTORE *M
      5 CALL S
      6 PRINT F%(5); "tw"
      7 *M DATA 4
      8 SUB S ()
      9 DIM L(5) AS INTEGER, Q AS DOUBLE
     10 DATA 3
     11 RESTORE
     12 READ L(1), Q
     13 END SUB
     14 FUNCTION F% (N AS INTEGER)
     15 DIM T AS LONG
     16 T = 7
     17 F% = T
     18 END FUNCTION
エラー個数=       0 ワーニング個数=       0
