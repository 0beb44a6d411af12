' DEF FN: numeric and string functions, parameters before module names
DEF FNSQ(X) = X * X
DEF FNA!(X!, Y%) = X! * 2 + Y%
DEF FN HALF#(A#) = A# / 2
DEF FNK% = K% + 1
DEF FNJ$(A$, N%) = LEFT$(A$, N%) + "!"
DEF FNS$(N%) = LEFT$("abcdef", N%) + "?"
K% = 41
X = 100
PRINT FNSQ(3); FNA!(1.5, 3); FN HALF#(5); FNK%; X
PRINT FNJ$("hello", 2); FNSQ(FNSQ(2)); FNS$(3)
A$ = FNJ$(FNS$(4), 3) + FNS$(1)
PRINT A$
