' expect: 23
IF 1 THEN FOR I = 1 TO 2
