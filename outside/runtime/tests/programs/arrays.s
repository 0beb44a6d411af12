# Arrays: a module array laid out by the compiler, a two-dimensional one,
# a string array dimensioned at run time, ERASE, and a procedure's local array.
	.include "basic.inc"
	STRCONST s_one, "one"
	STRCONST s_bang, "!"
	STRCONST s_bar, "|"
	STRCONST s_x, "x"

	.section .data$ad,"w"
bounds_a:	.byte 1
	.long 10
bounds_b:	.byte 2
	.long 2, 3
bounds_s:	.byte 1
	.long 0
bounds_l:	.byte 1
	.long 0
	.section .data$al,"w"
store_a:	.space 22
store_b:	.space 48
	.section .data$ac,"w"
ctrl_a:	.byte 1, 0
	.long store_a, bounds_a
ctrl_b:	.byte 1, 1
	.long store_b, bounds_b
ctrl_s:	.byte 0, 0
	.long 0, 0
	.text

# Element address of a one-subscript array; the subscript is pushed.
.macro AREF1 ctrl, bounds, size, type
	pushl $\bounds
	pushl $\ctrl
	pushl $\size
	pushl $(0x100 + \type)
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $20, %esp
.endm
# DIM of a one-bound array; the bound is pushed.
.macro DIM1 ctrl, bounds, size, type
	pushl $\bounds
	pushl $\ctrl
	pushl $\size
	pushl $(0x100 + \type)
	pushl %esp
	call "_$PsDIM@4"
	addl $20, %esp
.endm

	MAIN_MODULE "ARRAYS.BAS"
	LINE 1			# DIM A%(10)
	pushl $10
	DIM1 ctrl_a, bounds_a, 2, 0
	xorl %esi, %esi		# FOR I = 0 TO 10: A%(I) = I * I: NEXT
1:	LINE 2
	pushl %esi
	AREF1 ctrl_a, bounds_a, 2, 0
	pushl %eax
	movl %esi, %eax
	imull %esi, %eax
	popl %ebx
	movw %ax, (%ebx)
	incl %esi
	cmpl $10, %esi
	jle 1b
	LINE 3			# PRINT A%(3); A%(10)
	PRINT_START
	pushl $2
	pushl $3
	AREF1 ctrl_a, bounds_a, 2, 0
	movswl (%eax), %eax
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $0
	pushl $10
	AREF1 ctrl_a, bounds_a, 2, 0
	movswl (%eax), %eax
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 4			# DIM B&(2, 3): B&(I, J) = I * 10 + J for all
	pushl $3
	pushl $2
	pushl $bounds_b
	pushl $ctrl_b
	pushl $4
	pushl $0x201
	pushl %esp
	call "_$PsDIM@4"
	addl $24, %esp
	xorl %esi, %esi
2:	xorl %edi, %edi
3:	LINE 4
	pushl %edi
	pushl %esi
	pushl $bounds_b
	pushl $ctrl_b
	pushl $4
	pushl $0x201
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $24, %esp
	imull $10, %esi, %edx
	addl %edi, %edx
	movl %edx, (%eax)
	incl %edi
	cmpl $3, %edi
	jle 3b
	incl %esi
	cmpl $2, %esi
	jle 2b
	LINE 5			# PRINT B&(1, 2); B&(2, 3); and the second element in memory
	PRINT_START
	pushl $2
	pushl $2
	pushl $1
	pushl $bounds_b
	pushl $ctrl_b
	pushl $4
	pushl $0x201
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $24, %esp
	pushl (%eax)
	call "_$PsPRINT6@8"
	pushl $2
	pushl $3
	pushl $2
	pushl $bounds_b
	pushl $ctrl_b
	pushl $4
	pushl $0x201
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $24, %esp
	pushl (%eax)
	call "_$PsPRINT6@8"
	pushl $0
	pushl store_b + 4
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 6			# DIM S$(2): S$(1) = "one": S$(2) = S$(1) + "!"
	pushl $2
	DIM1 ctrl_s, bounds_s, 12, 16
	LINE 6
	pushl $1
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl $s_one
	pushl %eax
	call "_$PbSetVar5@8"
	LINE 6
	pushl $2
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl %eax
	pushl $1
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl %eax
	call "_$PbFldVar5@4"
	pushl $s_bang
	call "_$PbFldConst@4"
	call "_$PbAdd5@0"
	call "_$PbStVar5@4"
	LINE 7			# PRINT S$(2); S$(0); "|"
	PRINT_START
	pushl $2
	pushl $2
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl %eax
	call "_$PbFldVar5@4"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $0
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl %eax
	call "_$PbFldVar5@4"
	call "_$PsPRINT5@4"
	PRINT_CONST s_bar
	PRINT_END
	LINE 8			# CALL LOCALS: CALL LOCALS
	call locals
	LINE 8
	call locals
	LINE 9			# ERASE S$: DIM S$(3): S$(3) = "x": PRINT S$(3); S$(1); "|"
	pushl $ctrl_s
	pushl $1
	pushl %esp
	call "_$PsERASE@4"
	addl $8, %esp
	LINE 9
	pushl $3
	DIM1 ctrl_s, bounds_s, 12, 16
	LINE 9
	pushl $3
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl $s_x
	pushl %eax
	call "_$PbSetVar5@8"
	LINE 9
	PRINT_START
	pushl $2
	pushl $3
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl %eax
	call "_$PbFldVar5@4"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $1
	AREF1 ctrl_s, bounds_s, 12, 16
	pushl %eax
	call "_$PbFldVar5@4"
	call "_$PsPRINT5@4"
	PRINT_CONST s_bar
	PRINT_END
	LINE 10			# R.V%(2) = 7: R.V%(0) = 5: PRINT R.V%(2); R.V%(0); R.TAG%
	pushl $rec_r + 2	# the member array V%(2) lies at +2 of the record
	pushl $2
	pushl $bounds_m
	pushl $2
	pushl %esp
	call "_$PbAryMember@4"
	addl $16, %esp
	movw $7, (%eax)
	LINE 10
	pushl $rec_r + 2
	pushl $0
	pushl $bounds_m
	pushl $2
	pushl %esp
	call "_$PbAryMember@4"
	addl $16, %esp
	movw $5, (%eax)
	LINE 10
	PRINT_START
	pushl $2
	movswl rec_r + 6, %eax
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $2
	movswl rec_r + 2, %eax
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $0
	movswl rec_r, %eax
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	ret
	.section .data$ad,"w"
bounds_m:	.byte 1
	.long 2
	.data
rec_r:	.word 9			# TAG%, then V%(0 TO 2)
	.space 6
	.text

# SUB LOCALS: DIM L&(5): L&(5) = L&(5) + 55: PRINT L&(5)
# The control record lies at [ebp-12].
locals:
	PROC_ENTER 12
	LINE 200
	pushl $5
	pushl $bounds_l
	leal -12(%ebp), %ebx
	pushl %ebx
	pushl $4
	pushl $0x101
	pushl %esp
	call "_$PsDIM@4"
	addl $20, %esp
	LINE 201
	pushl $5
	pushl $bounds_l
	leal -12(%ebp), %ebx
	pushl %ebx
	pushl $4
	pushl $0x101
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $20, %esp
	addl $55, (%eax)
	LINE 202
	PRINT_START
	pushl $0
	pushl $5
	pushl $bounds_l
	leal -12(%ebp), %ebx
	pushl %ebx
	pushl $4
	pushl $0x101
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $20, %esp
	pushl (%eax)
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 203
	call "$PbSUBLEAVE"
	ret
