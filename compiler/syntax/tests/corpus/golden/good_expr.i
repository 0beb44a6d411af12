      1 A = 1: B = 2
      2 C = A + B - A * B / 2 \ 1 MOD 3 ^ 2
      3 D = (A = B) OR (A <> B) AND (A < B) XOR (A > B) EQV (A <= B) IMP (A >= B)
      4 E = NOT A
      5 F$ = "a" & "b"
      6 G = -(-A)
エラー個数=       0 ワーニング個数=       0
