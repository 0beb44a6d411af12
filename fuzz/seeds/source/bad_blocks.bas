' expect: 39 39 39
ELSE
LOOP
END IF
