# Procedures: a recursive FUNCTION, a SUB with by-reference parameters, a
# string FUNCTION with a by-value string, a double FUNCTION, GOSUB inside a
# recursive SUB, and a call inside an expression over a spilled value.
	.include "basic.inc"
	STRCONST s_hello, "Hello, "
	STRCONST s_bob, "Bob"
	STRCONST s_dot, "."
	DBLCONST d_125, 1.25
	.data
a_var:	.long 1
b_var:	.long 2

	MAIN_MODULE "PROCS.BAS"
	LINE 1			# PRINT FACT&(12)
	PRINT_START
	pushl $0
	pushl $12
	call fact
	pushl %eax
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 2			# CALL SWAPIT(A&, B&): PRINT A&; B&
	pushl $b_var
	pushl $a_var
	call swapit
	LINE 2
	PRINT_START
	pushl $2
	pushl a_var
	call "_$PsPRINT6@8"
	pushl $0
	pushl b_var
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 3			# PRINT GREET$("Bob")
	PRINT_START
	pushl $0
	pushl $s_bob
	call "_$PbFldConst@4"
	call "_$PbByvalStr@0"
	pushl %eax
	call greet
	pushl $1
	call "_$PbDelTmpAdr@4"
	call "_$PsPRINT5@4"
	PRINT_END
	LINE 4			# PRINT TWICE#(1.25)
	PRINT_START
	pushl $0
	fldl d_125
	call "$PbFstDbl"
	pushl %edx
	pushl %eax
	call twice
	call "_$PsPRINT8@4"
	PRINT_END
	LINE 5			# CALL COUNTDOWN(3): PRINT
	pushl $3
	call countdown
	LINE 6
	PRINT_START
	PRINT_END
	LINE 7			# PRINT 100 + FACT&(3)
	PRINT_START
	pushl $0
	movl $100, %eax
	pushl %eax
	pushl $3
	call fact
	movl %eax, %edx
	popl %eax
	addl %edx, %eax
	pushl %eax
	call "_$PsPRINT6@8"
	PRINT_END
	ret

# FUNCTION FACT&(BYVAL N AS LONG): N at [ebp+4], FACT& at [ebp-4]
fact:
	PROC_ENTER 4
	LINE 100		# IF N <= 1 THEN
	movl 4(%ebp), %eax
	cmpl $1, %eax
	jg 1f
	LINE 101		# FACT = 1
	movl $1, -4(%ebp)
	jmp 2f
1:	LINE 102		# ELSE FACT = N * FACT(N - 1)
	movl 4(%ebp), %eax
	decl %eax
	pushl %eax
	call fact
	imull 4(%ebp), %eax
	movl %eax, -4(%ebp)
2:	LINE 103		# END FUNCTION
	movl -4(%ebp), %eax
	call "$PbSUBLEAVE"
	ret $4

# SUB SWAPIT(A AS LONG, B AS LONG): addresses at [ebp+4], [ebp+8]; T at [ebp-4]
swapit:
	PROC_ENTER 4
	LINE 200
	movl 4(%ebp), %ebx
	movl (%ebx), %eax
	movl %eax, -4(%ebp)
	LINE 201
	movl 8(%ebp), %ebx
	movl (%ebx), %eax
	movl 4(%ebp), %ebx
	movl %eax, (%ebx)
	LINE 202
	movl -4(%ebp), %eax
	movl 8(%ebp), %ebx
	movl %eax, (%ebx)
	LINE 203
	call "$PbSUBLEAVE"
	ret $8

# FUNCTION GREET$(NAME$): descriptor address at [ebp+4]; GREET$ at [ebp-12]
greet:
	PROC_ENTER 12
	LINE 300		# GREET$ = "Hello, " + NAME$
	pushl $s_hello
	call "_$PbFldConst@4"
	pushl 4(%ebp)
	call "_$PbFldVar5@4"
	call "_$PbAdd5@0"
	leal -12(%ebp), %ebx
	pushl %ebx
	call "_$PbStVar5@4"
	LINE 301		# END FUNCTION
	leal -12(%ebp), %ebx
	pushl %ebx
	call "_$PbFldFunc5@4"
	call "$PbSUBLEAVE"
	ret $4

# FUNCTION TWICE#(BYVAL X AS DOUBLE): X at [ebp+4]; TWICE# at [ebp-8]
twice:
	PROC_ENTER 8
	LINE 400
	fldl 4(%ebp)
	fadd %st(0), %st
	fstpl -8(%ebp)
	LINE 401
	fldl -8(%ebp)
	call "$PbSUBLEAVE"
	ret $8

# SUB COUNTDOWN(BYVAL N AS LONG)
countdown:
	PROC_ENTER 0
	LINE 500		# IF N = 0 THEN EXIT SUB
	cmpl $0, 4(%ebp)
	je 9f
	LINE 501		# PRINT N;
	PRINT_START
	pushl $2
	pushl 4(%ebp)
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 502		# GOSUB *DOT
	pushl $cd_dot
	call "$PsGOSUB"
	LINE 503		# COUNTDOWN N - 1
	movl 4(%ebp), %eax
	decl %eax
	pushl %eax
	call countdown
	LINE 504
	jmp 9f
cd_dot:	LINE 505		# *DOT: PRINT ".";: RETURN
	PRINT_START
	PRINT_CONST s_dot, 2
	PRINT_END
	LINE 506
	call "$PsRETURN"
9:	LINE 507		# END SUB
	call "$PbSUBLEAVE"
	ret $4
