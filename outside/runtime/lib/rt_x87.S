/* Numeric routines on the x87 stack, conversions between EAX and ST0, and
   the entry stubs of the C routines that take or give ST0. */
#include "rt.h"

.macro FAIL code, off
	movl \off(%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl $\code
	call _rt_fail
.endm

/* Jumps to \bad unless EDX:EAX lies in [\lo, \hi] as a signed 32-bit
   value. Keeps every register. */
.macro RANGE lo, hi, bad
	pushl %eax
	sarl $31, %eax
	cmpl %eax, %edx
	popl %eax
	jne \bad
	cmpl $\lo, %eax
	jl \bad
	cmpl $\hi, %eax
	jg \bad
.endm

/* Runs a C stdcall routine with \n stack words on a fresh x87 unit, so it
   may use all eight registers whatever the caller keeps there. */
.macro FPU_SAFE name, cfunc, n
	.globl "\name"
"\name":
	subl $108, %esp
	fnsave (%esp)
	.rept \n
	pushl (108 + 4 * \n)(%esp)
	.endr
	call \cfunc
	frstor (%esp)
	addl $108, %esp
	ret $(4 * \n)
.endm

	.section ".data$rt_x87", "w"	/* not the program's data that RUN clears */
	.balign 4
rnd_seed:	.long 0x50000
rnd_scale:	.long 0x33800000	/* 2^-24 */
half:	.long 0x3f000000	/* 0.5 */

	.text
/* ST0 popped into EDX:EAX as a 64-bit integer, rounded as the unit
   rounds (to nearest, halves to even). Internal. */
rt_fist:
	subl $8, %esp
	fistpll (%esp)
	movl (%esp), %eax
	movl 4(%esp), %edx
	addl $8, %esp
	ret

/* ---- EAX onto the x87 stack; every register kept ---------------------- */
	.globl "$PbFldInt", "$PbFldLng", "$PbFldByte"
"$PbFldInt":
	pushl %eax
	filds (%esp)
	popl %eax
	ret
"$PbFldLng":
	pushl %eax
	fildl (%esp)
	popl %eax
	ret
"$PbFldByte":
	pushl %eax
	movzbl %al, %eax
	pushl %eax
	fildl (%esp)
	addl $4, %esp
	popl %eax
	ret

/* ---- ST0 popped into EAX (EDX:EAX for doubles) ------------------------ */
/* Out-of-range values are an overflow error; every other register kept. */
	.globl "$PbFstInt", "_$PnSTtoI@0"
"$PbFstInt":
"_$PnSTtoI@0":
	pushl %edx
	call rt_fist
	RANGE -32768, 32767, 1f
	popl %edx
	ret
1:	FAIL RT_E_OVERFLOW, 4

	.globl "$PbFstLng", "_$PnSTtoL@0"
"$PbFstLng":
"_$PnSTtoL@0":
	pushl %edx
	call rt_fist
	RANGE -2147483648, 2147483647, 1f
	popl %edx
	ret
1:	FAIL RT_E_OVERFLOW, 4

	.globl "$PbFstByte"
"$PbFstByte":
	pushl %edx
	call rt_fist
	RANGE 0, 255, 1f
	popl %edx
	ret
1:	FAIL RT_E_OVERFLOW, 4

	.globl "_$PbFstUInt@0"
"_$PbFstUInt@0":
	pushl %edx
	call rt_fist
	RANGE 0, 65535, 1f
	popl %edx
	ret
1:	FAIL RT_E_OVERFLOW, 4

	.globl "_$PbFstULng@0"
"_$PbFstULng@0":
	pushl %edx
	call rt_fist
	testl %edx, %edx
	jnz 1f
	popl %edx
	ret
1:	FAIL RT_E_OVERFLOW, 4

	.globl "$PbFstSng"
"$PbFstSng":
	subl $4, %esp
	fstps (%esp)
	popl %eax
	/* beyond a single's range: an overflow, not infinity */
	pushl %eax
	andl $0x7F800000, %eax
	cmpl $0x7F800000, %eax
	popl %eax
	je 1f
	ret
1:	FAIL RT_E_OVERFLOW, 0

	.globl "$PbFstDbl"
"$PbFstDbl":
	subl $8, %esp
	fstpl (%esp)
	popl %eax
	popl %edx
	ret

/* ---- narrowing of EAX in place ---------------------------------------- */
	.globl "$PbCnvLtoI"
"$PbCnvLtoI":
	pushl %edx
	movswl %ax, %edx
	cmpl %eax, %edx
	popl %edx
	jne 1f
	ret
1:	FAIL RT_E_OVERFLOW, 0

	.globl "$PbCnvItoUC"
"$PbCnvItoUC":
	testw $0xFF00, %ax
	jnz 1f
	movzbl %al, %eax
	ret
1:	FAIL RT_E_OVERFLOW, 0

	.globl "$PbCnvLtoUC"
"$PbCnvLtoUC":
	testl $0xFFFFFF00, %eax
	jnz 1f
	ret
1:	FAIL RT_E_OVERFLOW, 0

/* ---- bytes through the x87 unit: the byte at [EBX] -------------------- */
	.globl "_$PeFucld@0"
"_$PeFucld@0":
	pushl %eax
	movzbl (%ebx), %eax
	pushl %eax
	fildl (%esp)
	addl $4, %esp
	popl %eax
	ret

	.globl "_$PeFucstp@0"
"_$PeFucstp@0":
	pushl %eax
	pushl %edx
	call rt_fist
	RANGE 0, 255, 1f
	movb %al, (%ebx)
	popl %edx
	popl %eax
	ret
1:	FAIL RT_E_OVERFLOW, 8

/* ---- error check after a floating operation --------------------------- */
/* Invalid operation, division by zero and overflow raised since the last
   check become run-time errors. */
	.globl "_$PnErrSetCal@0"
"_$PnErrSetCal@0":
	pushl %eax
	fnstsw %ax
	testb $0x0D, %al
	jnz 1f
	/* Not every x87 emulation raises these flags (a store to a single that
	   overflows, the root of a negative number): the value tells too. A
	   result still in ST0, or the one the store before the call wrote. */
	fxam
	fnstsw %ax
	andw $0x4500, %ax
	cmpw $0x0100, %ax
	je 5f
	cmpw $0x0500, %ax
	je 6f
	cmpw $0x4100, %ax
	jne 7f
	pushl %ecx
	pushl %edx
	pushl %ebx
	pushl %ebp
	pushl 20(%esp)
	call _rt_stored_bad
	addl $12, %esp
	popl %edx
	popl %ecx
	cmpl $5, %eax
	je 5f
	cmpl $6, %eax
	je 6f
7:	popl %eax
	ret
5:	FAIL RT_E_ILLEGAL, 4
6:	FAIL RT_E_OVERFLOW, 4
1:	fnclex
	testb $0x04, %al
	jnz 2f
	testb $0x08, %al
	jnz 3f
	FAIL RT_E_ILLEGAL, 4
2:	FAIL RT_E_DIVZERO, 4
3:	FAIL RT_E_OVERFLOW, 4

/* ---- with overflow checking, FOR steps: (step, address) --------------- */
	.globl "_$PbAddInt@8", "_$PbAddLng@8", "_$PbAddByte@8"
"_$PbAddInt@8":
	movl 4(%esp), %eax
	movl 8(%esp), %edx
	movswl (%edx), %ecx
	addl %eax, %ecx
	jo 1f
	movswl %cx, %eax
	cmpl %ecx, %eax
	jne 1f
	movw %cx, (%edx)
	ret $8
1:	FAIL RT_E_OVERFLOW, 0
"_$PbAddLng@8":
	movl 4(%esp), %eax
	movl 8(%esp), %edx
	movl (%edx), %ecx
	addl %eax, %ecx
	jo 1f
	movl %ecx, (%edx)
	ret $8
1:	FAIL RT_E_OVERFLOW, 0
"_$PbAddByte@8":
	movl 4(%esp), %eax
	movl 8(%esp), %edx
	movzbl (%edx), %ecx
	addl %eax, %ecx
	cmpl $255, %ecx
	ja 1f
	movb %cl, (%edx)
	ret $8
1:	FAIL RT_E_OVERFLOW, 0

/* ---- numeric functions: argument and result in ST0 -------------------- */
	.globl "_$PnFChs@0"
"_$PnFChs@0":
	fchs
	ret

/* 2 to the power ST0, for any ST0 the unit can scale. Internal. */
rt_exp2:
	fld %st(0)
	frndint
	fxch
	fsub %st(1), %st
	f2xm1
	fld1
	faddp
	fscale
	fstp %st(1)
	ret

/* ST1 to the power ST0. A negative base needs an integral exponent; zero
   to a negative power is a division by zero. */
	.globl "_$PnFXy@0"
"_$PnFXy@0":
	fxch
	ftst
	fnstsw %ax
	sahf
	jz 2f
	jb 3f
	fyl2x
	jmp rt_exp2
2:	fstp %st(0)
	ftst
	fnstsw %ax
	fstp %st(0)
	sahf
	jz 1f
	jb 4f
	fldz
	ret
1:	fld1
	ret
4:	FAIL RT_E_DIVZERO, 0
3:	fld %st(1)
	frndint
	fcomp %st(2)
	fnstsw %ax
	sahf
	jne 5f
	fabs
	fld %st(1)
	fmuls half
	fld %st(0)
	frndint
	fcompp
	fnstsw %ax
	sahf
	setne %cl
	fyl2x
	call rt_exp2
	testb %cl, %cl
	jz 6f
	fchs
6:	ret
5:	FAIL RT_E_ILLEGAL, 0

	.globl "_$PnFExp@0"
"_$PnFExp@0":
	fldl2e
	fmulp
	call rt_exp2
	/* beyond a double's range: the value is an overflow, not infinity */
	subl $8, %esp
	fstl (%esp)
	fldl (%esp)
	addl $8, %esp
	fxam
	fnstsw %ax
	fstp %st(0)
	andb $0x45, %ah
	cmpb $0x05, %ah
	je 1f
	ret
1:	FAIL RT_E_OVERFLOW, 0

	.globl "_$PnFLog@0"
"_$PnFLog@0":
	ftst
	fnstsw %ax
	sahf
	jbe 1f
	fldln2
	fxch
	fyl2x
	ret
1:	FAIL RT_E_ILLEGAL, 0

	.globl "_$PnFAtn@0"
"_$PnFAtn@0":
	fld1
	fpatan
	ret

	.globl "_$PnFTan@0"
"_$PnFTan@0":
	fptan
	fstp %st(0)
	ret

/* Rounds ST0 with the rounding-control bits \rc. */
.macro ROUND_WITH rc
	subl $4, %esp
	fnstcw (%esp)
	movw (%esp), %ax
	movw %ax, 2(%esp)
	andw $0xF3FF, %ax
	orw $\rc, %ax
	movw %ax, (%esp)
	fldcw (%esp)
	frndint
	fldcw 2(%esp)
	addl $4, %esp
	ret
.endm

	.globl "_$PnFInt@0", "_$PnFFix@0"
"_$PnFInt@0":
	ROUND_WITH 0x0400
"_$PnFFix@0":
	ROUND_WITH 0x0C00

	.globl "_$PnFSgn@0"
"_$PnFSgn@0":
	ftst
	fnstsw %ax
	fstp %st(0)
	sahf
	jz 1f
	jb 2f
	fld1
	ret
1:	fldz
	ret
2:	fld1
	fchs
	ret

	.globl "_$PfCSNG@0", "_$PfCDBL@0"
"_$PfCSNG@0":
	subl $4, %esp
	fstps (%esp)
	flds (%esp)
	addl $4, %esp
	ret
"_$PfCDBL@0":
	subl $8, %esp
	fstpl (%esp)
	fldl (%esp)
	addl $8, %esp
	ret

/* RND: a 24-bit congruential sequence, as a single in [0, 1). */
	.globl "_$PaRnd@0", "_$PaRandomize@4"
"_$PaRnd@0":
	movl rnd_seed, %eax
	imull $16598013, %eax, %eax
	addl $12820163, %eax
	andl $0xFFFFFF, %eax
	movl %eax, rnd_seed
	pushl %eax
	fildl (%esp)
	fmuls rnd_scale
	addl $4, %esp
	ret
"_$PaRandomize@4":
	movl 4(%esp), %eax
	andl $0xFFFFFF, %eax
	movl %eax, rnd_seed
	ret $4

/* ---- C routines behind an x87 argument or result ---------------------- */
	.globl "_$PbTmpAdr8@0"
"_$PbTmpAdr8@0":
	pushl (%esp)
	subl $8, %esp
	fstpl (%esp)
	call _rt_tmp_adr8
	addl $12, %esp
	ret

/* (sep) with the value in ST0 */
	.globl "_$PsPRINT8@4"
"_$PsPRINT8@4":
	subl $8, %esp
	fstpl (%esp)
	subl $108, %esp
	fnsave (%esp)
	pushl 112(%esp)
	pushl 112(%esp)
	pushl 128(%esp)
	call _rt_print8
	addl $12, %esp
	frstor (%esp)
	addl $116, %esp
	ret $4

	.globl "_$PfSTR248@0"
"_$PfSTR248@0":
	subl $8, %esp
	fstpl (%esp)
	subl $108, %esp
	fnsave (%esp)
	pushl 112(%esp)
	pushl 112(%esp)
	call _rt_str8
	addl $8, %esp
	frstor (%esp)
	addl $116, %esp
	ret

	.globl "_$PfVAL@0"
"_$PfVAL@0":
	subl $108, %esp
	fnsave (%esp)
	call _rt_val
	subl $8, %esp
	fstpl (%esp)
	frstor 8(%esp)
	fldl (%esp)
	addl $116, %esp
	ret

	FPU_SAFE "_$PsPRINT4@8", "_rt_print4@8", 2
	FPU_SAFE "_$PfSTR244@4", "_rt_str4@4", 1
	FPU_SAFE "_$PsREAD@4", "_rt_read@4", 1

/* MKD$: the eight bytes of ST0. */
	.globl "_$PfMKD24@0"
"_$PfMKD24@0":
	subl $8, %esp
	fstpl (%esp)
	pushl %esp
	call _rt_mkd
	addl $12, %esp
	ret

/* CVS, CVD: the first 4 or 8 bytes of the top string onto ST0. */
	.globl "_$PfCVS@0", "_$PfCVD@0"
"_$PfCVS@0":
	subl $8, %esp
	movl %esp, %eax
	pushl 8(%esp)
	pushl $4
	pushl %eax
	call _rt_cv_bytes
	addl $12, %esp
	flds (%esp)
	addl $8, %esp
	ret
"_$PfCVD@0":
	subl $8, %esp
	movl %esp, %eax
	pushl 8(%esp)
	pushl $8
	pushl %eax
	call _rt_cv_bytes
	addl $12, %esp
	fldl (%esp)
	addl $8, %esp
	ret

/* ---- console, PRINT USING, WRITE, FORMAT$ and SEARCH (rt_console.c) ---- */
	FPU_SAFE "_$PsINPUT@4", "_rt_input@4", 1
	FPU_SAFE "_$PsPRINT_USING1@8", "_rt_print_using1@8", 2
	FPU_SAFE "_$PsPRINT_USING2@8", "_rt_print_using2@8", 2
	FPU_SAFE "_$PsPRINT_USING6@8", "_rt_print_using6@8", 2
	FPU_SAFE "_$PsPRINT_USING4@8", "_rt_print_using4@8", 2
	FPU_SAFE "_$PsWRITE4@8", "_rt_write4@8", 2
	FPU_SAFE "_$PfFORMAT241@4", "_rt_format1@4", 1
	FPU_SAFE "_$PfFORMAT242@4", "_rt_format2@4", 1
	FPU_SAFE "_$PfFORMAT246@4", "_rt_format6@4", 1
	FPU_SAFE "_$PfFORMAT244@4", "_rt_format4@4", 1

/* (sep) with the value in ST0, as _$PsPRINT8@4 */
.macro SEP_ST0 name, cfunc
	.globl "\name"
"\name":
	subl $8, %esp
	fstpl (%esp)
	subl $108, %esp
	fnsave (%esp)
	pushl 112(%esp)
	pushl 112(%esp)
	pushl 128(%esp)
	call \cfunc
	addl $12, %esp
	frstor (%esp)
	addl $116, %esp
	ret $4
.endm
	SEP_ST0 "_$PsPRINT_USING8@4", _rt_print_using8
	SEP_ST0 "_$PsWRITE8@4", _rt_write8

	.globl "_$PfFORMAT248@0"
"_$PfFORMAT248@0":
	subl $8, %esp
	fstpl (%esp)
	subl $108, %esp
	fnsave (%esp)
	pushl 112(%esp)
	pushl 112(%esp)
	call _rt_format8
	addl $8, %esp
	frstor (%esp)
	addl $116, %esp
	ret

/* (control record, start, end); the value in ST0 for a numeric array, on
   the string stack for a string array. */
	.globl "_$PfSEARCH@12"
"_$PfSEARCH@12":
	subl $8, %esp
	movl 12(%esp), %eax
	cmpb $16, 1(%eax)
	jae 1f
	fstpl (%esp)
	jmp 2f
1:	fldz
	fstpl (%esp)
2:	subl $108, %esp
	fnsave (%esp)
	pushl 112(%esp)
	pushl 112(%esp)
	pushl 136(%esp)
	pushl 136(%esp)
	pushl 136(%esp)
	call _rt_search
	addl $20, %esp
	frstor (%esp)
	addl $116, %esp
	ret $12
