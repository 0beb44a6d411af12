      1 DECLARE FUNCTION F (X AS DOUBLE) AS DOUBLE
      2 DECLARE FUNCTION G% ()
      3 PRINT F(2) + G%()
      4 FUNCTION F (X AS DOUBLE) AS DOUBLE
      5 F = X * 2
      6 END FUNCTION
      7 FUNCTION G% ()
      8 G% = 1
      9 END FUNCTION
エラー個数=       0 ワーニング個数=       0
