' expect: 23
FOR I = 1 TO 2
