# Number formatting through PRINT and STR$, conversions and x87 functions.
	.include "basic.inc"
	DBLCONST d_half, 0.5
	DBLCONST d_mquarter, -0.25
	DBLCONST d_three, 3.0
	DBLCONST d_1e20, 1e20
	DBLCONST d_15em7, 1.5e-7
	DBLCONST d_100, 100.0
	DBLCONST d_milli, 0.001
	DBLCONST d_micro, 0.000001
	DBLCONST d_2p5, 2.5
	DBLCONST d_3p5, 3.5
	DBLCONST d_m2p5, -2.5
	DBLCONST d_ten, 10.0
	DBLCONST d_two, 2.0
	DBLCONST d_m2, -2.0
	DBLCONST d_big, 123456789012345678.0
	SNGCONST s_123m, 123456789.0
	SNGCONST s_two, 2.0
	SNGCONST s_1234567, 1234567.0
	SNGCONST s_12345678, 12345678.0

.macro PRINT_ST0 sep=0
	call "_$PsPRINT8@4"
.endm
# PRINT <double constant>
.macro PD c, sep=0
	pushl $\sep
	fldl \c
	call "_$PsPRINT8@4"
.endm
# PRINT <single in ST0>, through the single's bit pattern
.macro PS_ST0 sep=0
	pushl $\sep
	call "$PbFstSng"
	pushl %eax
	call "_$PsPRINT4@8"
.endm

	MAIN_MODULE "NUMBERS.BAS"
	LINE 1			# PRINT .5; -.25; 1/3
	PRINT_START
	PD d_half, 2
	PD d_mquarter, 2
	pushl $0
	fld1
	fldl d_three
	fdivrp
	call "_$PsPRINT8@4"
	PRINT_END
	LINE 2			# PRINT 1D20; 1.5D-7; 100#; .001; .000001; 123456789012345678#
	PRINT_START
	PD d_1e20, 2
	PD d_15em7, 2
	PD d_100, 2
	PD d_milli, 2
	PD d_micro, 2
	PD d_big
	PRINT_END
	LINE 3			# PRINT 123456789!; 2!/3; 1234567!; 12345678!
	PRINT_START
	flds s_123m
	PS_ST0 2
	pushl $2
	fld1
	fadd %st(0), %st
	fldl d_three
	fdivrp
	call "$PbFstSng"
	pushl %eax
	call "_$PsPRINT4@8"
	flds s_1234567
	PS_ST0 2
	flds s_12345678
	PS_ST0 0
	PRINT_END
	LINE 4			# PRINT -32768; 255 (byte); 2147483647&; -2147483648&
	PRINT_START
	PRINT_INT -32768, 2
	pushl $2
	pushl $255
	call "_$PsPRINT1@8"
	pushl $2
	pushl $2147483647
	call "_$PsPRINT6@8"
	pushl $0
	pushl $-2147483648
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 5			# PRINT CINT(2.5); CINT(3.5); CINT(-2.5)
	PRINT_START
	pushl $2
	fldl d_2p5
	call "$PbFstInt"
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $2
	fldl d_3p5
	call "$PbFstInt"
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $0
	fldl d_m2p5
	call "$PbFstInt"
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 6			# PRINT 2^10; (-2)^3; 2^-1; EXP(1); ATN(1)*4
	PRINT_START
	pushl $2
	fldl d_two
	fldl d_ten
	call "_$PnFXy@0"
	call "_$PnErrSetCal@0"
	call "_$PsPRINT8@4"
	pushl $2
	fldl d_m2
	fldl d_three
	call "_$PnFXy@0"
	call "_$PsPRINT8@4"
	pushl $2
	fldl d_two
	fld1
	fchs
	call "_$PnFXy@0"
	call "_$PsPRINT8@4"
	pushl $2
	fld1
	call "_$PnFExp@0"
	call "_$PsPRINT8@4"
	pushl $0
	fld1
	call "_$PnFAtn@0"
	fldl d_two
	fadd %st(0), %st
	fmulp
	call "_$PsPRINT8@4"
	PRINT_END
	LINE 7			# PRINT INT(-2.5); FIX(-2.5); SGN(-2.5); LOG(1); 17 \ 5; 17 MOD 5
	PRINT_START
	pushl $2
	fldl d_m2p5
	call "_$PnFInt@0"
	call "_$PsPRINT8@4"
	pushl $2
	fldl d_m2p5
	call "_$PnFFix@0"
	call "_$PsPRINT8@4"
	pushl $2
	fldl d_m2p5
	call "_$PnFSgn@0"
	call "_$PsPRINT8@4"
	pushl $2
	fld1
	call "_$PnFLog@0"
	call "_$PsPRINT8@4"
	pushl $2
	movl $17, %eax
	movl $5, %edx
	movl %edx, %ebx
	call "$PbChk0Div"
	cltd
	idivl %ebx
	pushl %eax
	call "_$PsPRINT6@8"
	pushl $0
	movl $17, %eax
	movl $5, %edx
	movl %edx, %ebx
	call "$PbChk0Div"
	cltd
	idivl %ebx
	pushl %edx
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 8			# PRINT "[" + STR$(3.5) + STR$(-7) + "]"; CDBL(CSNG(0.1))
	STRCONST s_lb, "["
	STRCONST s_rb, "]"
	PRINT_START
	pushl $2
	pushl $s_lb
	call "_$PbFldConst@4"
	fldl d_3p5
	call "_$PfSTR248@0"
	call "_$PbAdd5@0"
	pushl $-7
	call "_$PfSTR242@4"
	call "_$PbAdd5@0"
	pushl $s_rb
	call "_$PbFldConst@4"
	call "_$PbAdd5@0"
	call "_$PsPRINT5@4"
	pushl $0
	fld1
	fldl d_ten
	fdivrp
	call "_$PfCSNG@0"
	call "_$PsPRINT8@4"
	PRINT_END
	LINE 9			# x87 values deeper on the stack survive PRINT
	fldl d_ten
	fldl d_two
	PRINT_START
	pushl $0
	fldl d_half
	call "_$PsPRINT8@4"
	PRINT_END
	fmulp
	call "$PbFstLng"
	PRINT_START
	PRINT_LNG_EAX
	PRINT_END
	ret
