' expect: 24
WHILE 1
