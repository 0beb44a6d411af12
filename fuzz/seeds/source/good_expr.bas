A = 1: B = 2
C = A + B - A * B / 2 \ 1 MOD 3 ^ 2
D = (A = B) OR (A <> B) AND (A < B) XOR (A > B) EQV (A <= B) IMP (A >= B)
E = NOT A
F$ = "a" & "b"
G = -(-A)
