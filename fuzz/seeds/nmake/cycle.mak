a : b
	TXCL a
b : c
	TXCL b
c : A
	TXCL c
