      1 DECLARE SUB S (A AS INTEGER, B$)
      2 CALL S(1, "x")
      3 S 2, "y"
      4 SUB S (A AS INTEGER, B$)
      5 PRINT A; B$
      6 IF A > 1 THEN EXIT SUB
      7 END SUB
エラー個数=       0 ワーニング個数=       0
