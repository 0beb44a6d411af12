' SWAP, LSET and RSET, MID$ as a statement, ERASE; READ into a fixed-length string
A% = 1: B% = 2
SWAP A%, B%
PRINT A%; B%
D# = 1.25: E# = -3.5
SWAP D#, E#
PRINT D#; E#
S$ = "HELLO": T$ = "X"
SWAP S$, T$
PRINT S$; T$
DIM V&(3)
V&(1) = 100000: V&(3) = -7
SWAP V&(1), V&(3)
PRINT V&(1); V&(3)
MID$(T$, 2, 3) = "abcdef"
PRINT T$
MID$(T$, 4) = "xyz"
PRINT T$
MID$(T$, 1, 0) = "Q"
PRINT T$
MID$(T$, 5) = "1234"
PRINT T$
C$ = "const"
MID$(C$, 1, 1) = "K"
PRINT C$
LSET T$ = "ab"
PRINT "["; T$; "]"
RSET T$ = "cd"
PRINT "["; T$; "]"
DIM Z(5), N%(2)
Z(4) = 1.5: N%(2) = 9
PRINT Z(4); N%(2)
ERASE Z, N%
PRINT Z(4); N%(2)
DIM F AS STRING * 4
READ F, T$
PRINT "["; F; "]"; T$
DATA "xyz", "tail"
TYPE PT
  X AS INTEGER
  Y AS INTEGER
END TYPE
DIM P AS PT, Q(1) AS PT
P.X = 1: P.Y = 2
Q(1).X = 3: Q(1).Y = 4
SWAP P, Q(1)
PRINT P.X; P.Y; Q(1).X; Q(1).Y
DIM FA AS STRING * 3, FB AS STRING * 3
FA = "abc": FB = "xy"
SWAP FA, FB
PRINT "["; FA; "]["; FB; "]"
