A = 0
WHILE A < 10
A = A + 1
WEND
