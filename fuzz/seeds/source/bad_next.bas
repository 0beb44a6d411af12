' expect: 01 01
NEXT
FOR I = 1 TO 2: NEXT J
