' expect: 25
WEND
