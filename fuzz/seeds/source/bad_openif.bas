' expect: 31
IF 1 THEN
