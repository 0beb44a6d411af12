A% = 5
B& = -100000
C! = 1.5
D# = 2.25
S$ = "HI"
A2% = A%: B2& = B&: C2! = C!: D2# = D#: S2$ = S$
PRINT A2%; B2&; C2!; D2#; S2$
A% = B& \ 1000
C! = A%
D# = C! / 8
B& = A%
A2% = D#
S$ = ""
PRINT A%; C!; D#; B&; A2%; S$; "|"
