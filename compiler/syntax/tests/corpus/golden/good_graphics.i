      1 DIM G%(20)
      2 PSET STEP(1, 2), , 3
      3 PRESET (X, Y)
      4 LINE -(10, 20), 4, BF, , , 1
      5 LINE (1, 2)-STEP(3, 4), , B, &HF0F0
      6 CIRCLE (5, 6), 7, 2, 0, 1.5, 0.5
      7 PAINT (5, 6), 1
      8 CONNECT (1, 1)-(2, 2)-STEP(3, 3), 5
      9 GET@ (0, 0)-(3, 3), G%
     10 PUT@ (4, 4), G%(), XOR
     11 VIEW SCREEN (1, 1)-(9, 9), 0, 7
     12 WINDOW (-1, -1)-(1, 1)
     13 SYMBOL (1, 1), "A", 2
     14 PALETTE 1, 2, 3, 4
     15 ON KEY(1) GOSUB *K
     16 KEY(1) STOP
     17 INTERVAL ON
     18 MOUSE OFF
     19 B = 1
     20 *K
     21 RETURN
エラー個数=       0 ワーニング個数=       0
