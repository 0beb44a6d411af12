# Number formatting of many doubles and singles, checked against a
# reference that formats them independently (correctly rounded).
	.include "basic.inc"
	.data
	.balign 8
doubles:
	.double 0.1
	.double 0.2
	.double 0.3
	.double 0.6666666666666666
	.double 1e15
	.double 1e14
	.double 999999999999999
	.double 1234567890123456
	.double 0.000001234
	.double 0.0000001
	.double 123.456
	.double -987654.321
	.double 1.5
	.double 9.9999999999999995
	.double 0.99999999999999999
	.double 1e-300
	.double 1.7976931348623157e308
	.double 5e-324
	.double 6.02214076e23
	.double 3.0e-5
	.double 12345678901234.5
	.double 1e100
	.double 4.35
	.double 0.045
	.double -0.000999
	.double 65536
	.double 2147483648
	.double -1e-5
	.double 0.30000000000000004
	.double 1e21
doubles_end:
singles:
	.float 0.1
	.float 3.4028235e38
	.float 1e-7
	.float 1e-6
	.float 16777216
	.float 0.333333343
	.float -2.5e-3
	.float 7654321
	.float 1.17549435e-38
	.float 100000
singles_end:
	MAIN_MODULE "FORMAT.BAS"
	movl $doubles, %esi
1:	LINE 1			# PRINT D#(I)
	PRINT_START
	pushl $0
	fldl (%esi)
	call "_$PsPRINT8@4"
	PRINT_END
	addl $8, %esi
	cmpl $doubles_end, %esi
	jb 1b
	movl $singles, %esi
2:	LINE 2			# PRINT S!(I); STR$(S!(I))
	PRINT_START
	pushl $2
	pushl (%esi)
	call "_$PsPRINT4@8"
	pushl $0
	pushl (%esi)
	call "_$PfSTR244@4"
	call "_$PsPRINT5@4"
	PRINT_END
	addl $4, %esi
	cmpl $singles_end, %esi
	jb 2b
	ret
