      1 ' The object prefix: the object's group in front of a statement or a
      2 ' function, as the hidden argument of an EDECL routine, and this.
      3 DECLARE SUB M EDECL (N AS INTEGER)
      4 DECLARE SUB SAME (X AS OBJECT)
      5 DIM O AS OBJECT
      6 SUB M (N AS INTEGER)
      7   PRINT N: this.CLS
      8   SAME this
      9 END SUB
     10 SUB SAME (X AS OBJECT)
     11 END SUB
     12 A = 1: O.PRINT A; O.CSRLIN
     13 O.M 2
     14 M 3
エラー個数=       0 ワーニング個数=       0
