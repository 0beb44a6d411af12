' Integer arithmetic keeps its type in PRINT and STR$; floating results stay in range
L& = 123456789: PRINT L& + 1; L& - 1; STR$(L& * 2)
A% = 32767: B% = -32768: C% = 100
PRINT A% - 1; B% + 1; C% * C%; A% + C% * 0; STR$(A% - 32767)
E = 2.5: PRINT C% + E; C% * E
PRINT A% \ 2; A% MOD 10; -C% - 1; -(L& + 1)
X! = 1E+38: Y# = X! * 100: PRINT Y# > 1E+39
PRINT SQR(16); EXP(1)
