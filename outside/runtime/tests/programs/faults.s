# Programs that fail; the assembler's symbol MODE picks the failure.
	.include "basic.inc"
	.data
	.balign 8
d_40000:	.double 40000.0
	.text
	MAIN_MODULE "FAULTS.BAS"
	movl mode, %eax
	jmp *table(,%eax,4)
	.data
	.globl mode
mode:	.long MODE
table:	.long read_fault, runaway, extra_push, div_zero, overflow, bad_return, gosub_unbalanced
	.long subscript, out_of_data, mismatch, recursion, proc_push, halt, huge_string
	.long main_extra_push, main_extra_pop, far_register
	.long write_huge, write_empty
	.text
read_fault:
	LINE 11			# PRINT "before";: then a read of address 16
	STRCONST s_before, "before"
	PRINT_START
	PRINT_CONST s_before, 2
	PRINT_END
	movl $0x10, %eax
	movl (%eax), %eax
	ret
runaway:
	LINE 12
1:	jmp 1b
extra_push:
	LINE 13
	pushl $5
	LINE 14
	ret
div_zero:
	LINE 15
	xorl %ebx, %ebx
	call "$PbChk0Div"
	ret
overflow:
	LINE 16
	fldl d_40000
	call "$PbFstInt"
	ret
bad_return:
	LINE 17
	pushl $0x12345678
	ret
gosub_unbalanced:
	LINE 18
	call "$PsRETURN"
	ret

	.section .data$ad,"w"
bounds_a:	.byte 1
	.long 10
	.section .data$ac,"w"
ctrl_a:	.byte 1, 0
	.long store_a, bounds_a
	.section .data$rd,"w"
rd_text:	.byte 0
	.word 30
	.ascii "\"text\""
rd_end:	.byte 0, 0, 0
	.data
store_a:	.space 22
i_var:	.word 0
	.text
subscript:			# A%(11) with A%(10)
	LINE 19
	pushl $11
	pushl $bounds_a
	pushl $ctrl_a
	pushl $2
	pushl $0x100
	pushl %esp
	call "_$PbAryVarAdr@4"
	addl $20, %esp
	ret
out_of_data:
	pushl $rd_end
	call "_$PbSetReadPtr@4"
	LINE 20
	pushl $0
	pushl $i_var
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	ret
mismatch:			# READ I% from a quoted item
	pushl $rd_text
	call "_$PbSetReadPtr@4"
	LINE 21
	pushl $0
	pushl $i_var
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	ret
recursion:			# a SUB that calls itself for ever
	call forever
	ret
forever:
	PROC_ENTER 64
	LINE 22
	call forever
	LINE 23
	call "$PbSUBLEAVE"
	ret
proc_push:			# a SUB that leaves a word on the stack
	call pushes
	ret
pushes:
	PROC_ENTER 0
	LINE 24
	pushl %eax
	call "$PbSUBLEAVE"
	ret
halt:
	LINE 25
	hlt
	ret
huge_string:			# SPACE$(&H7FFFFFF0)
	LINE 26
	pushl $0x7FFFFFF0
	call "_$PfSPACE24@4"
	ret
main_extra_push:		# the last statement leaves a word behind
	LINE 27
	pushl $0x00000777
	ret
main_extra_pop:			# the last statement takes a word too many
	LINE 28
	popl %eax
	ret
far_register:			# ljmp with a register operand: undefined, #UD
	LINE 29
	movl $1, %eax
far_jump:
	.byte 0xFF, 0xEC
	ret
write_huge:			# WriteFile of 0xFFFFFFF0 bytes to the console
	LINE 30
	pushl $0xFFFFFFF5	# STD_OUTPUT_HANDLE
	call *__imp__GetStdHandle@4
	pushl $0
	pushl $written
	pushl $0xFFFFFFF0
	pushl $mode
	pushl %eax
	call *__imp__WriteFile@20
	ret
write_empty:			# WriteFile of nothing from address 0, then ends
	LINE 31
	pushl $0xFFFFFFF5
	call *__imp__GetStdHandle@4
	pushl $0
	pushl $written
	pushl $0
	pushl $0
	pushl %eax
	call *__imp__WriteFile@20
	xorl %eax, %eax
	ret
	.data
written: .long 0
	.text
