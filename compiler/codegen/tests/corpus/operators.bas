A% = 7: B% = 2: X! = 2.5: L& = 100000
PRINT A% + B%; A% - B%; A% * B%; A% \ B%; A% MOD B%; A% / B%
PRINT -A%; A% ^ B%; X! * 2; L& * 3; L& + A%
PRINT (A% + B%) * (A% - B%); (A% + B%) * X!; X! - A% * B%; A% - (B% - (A% - B%))
PRINT A% > B%; A% < B%; A% = 7; A% <> 7; X! >= 2.5; X! <= 2
PRINT NOT 0; 5 AND 3; 5 OR 3; 5 XOR 3; 5 EQV 3; 5 IMP 3
PRINT A% > B% AND X! < 3; A% < B% OR X! < 3
