A=$(B) x
B=$(C)
C=y $(A)
t : u
	LINK @<<
$(B)
<<
u :
	TXCL $(A)
