      1 DECLARE SUB W LIB "K" ALIAS "Wx" (X AS INTEGER)
      2 A% = 1: B$ = "b"
      3 CALLS "M" (A%, , B$, A% + 1, (A%))
      4 CALLS "M"
      5 LOADM "K"
      6 CALLM "K", "R", A%, 2, B$
      7 DELETEM "K"
      8 W A%
      9 DEF PARM *BLK, A%, , B$
     10 CALLS "M", *BLK
エラー個数=       0 ワーニング個数=       0
