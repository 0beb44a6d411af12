' GET@ a block of two pixels (3 and 0) and PUT@ it in each action on a
' background of colour 5, then once more with a colour for the set pixels.
DIM G%(10), S%(1)
PSET (0, 0), , 3
GET@ (0, 0)-(1, 0), G%
FOR K = 0 TO 5
  LINE (10 + 20 * K, 10)-STEP(1, 0), 5
NEXT
PUT@ (10, 10), G%
PUT@ (30, 10), G%, PSET
PUT@ (50, 10), G%, PRESET
PUT@ (70, 10), G%, OR
PUT@ (90, 10), G%, AND
PUT@ (110, 10), G%(), XOR, 2
FOR K = 0 TO 5
  PRINT POINT(10 + 20 * K, 10); POINT(11 + 20 * K, 10)
NEXT
PRINT G%(0); G%(1)
ON ERROR GOTO *NOROOM
GET@ (0, 0)-(9, 9), S%
END
*NOROOM
PRINT "error"; ERR
END
