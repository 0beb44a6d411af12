' expect: 02 02 02
PRINT )
A = 
GOTO
