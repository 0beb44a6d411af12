# DATA, READ and RESTORE, with a procedure that reads DATA of its own.
	.include "basic.inc"
	.section .data$rd,"w"
rd0:	.byte 0
	.word 1
	.ascii "10"
rd1:	.byte 0
	.word 1
	.ascii "-3.5"
rd2:	.byte 0
	.word 1
	.ascii "\"hello, world\""
rd3:	.byte 0
	.word 2
	.ascii " abc "
rd4:	.byte 0
	.word 2
	.ascii "&H10"
rd5:	.byte 0
	.word 3
	.ascii "2.5E1"
	.byte 0, 0, 0
rdp:	.byte 0
	.word 20
	.ascii "7"
	.byte 0, 0, 0

	.data
	.balign 8
d_var:	.double 0
x_var:	.double 0
i_var:	.word 0
	.balign 4
h_var:	.long 0
s_var:	.long 0, 0, 0
t_var:	.long 0, 0, 0

	MAIN_MODULE "DATA.BAS"
	pushl $rd0
	call "_$PbSetReadPtr@4"
	LINE 10			# READ I%, D#, S$, T$, H&
	pushl $1
	pushl $h_var
	pushl $16
	pushl $t_var
	pushl $16
	pushl $s_var
	pushl $3
	pushl $d_var
	pushl $0
	pushl $i_var
	pushl $5
	pushl %esp
	call "_$PsREAD@4"
	addl $44, %esp
	LINE 11			# PRINT I%; D#; S$; T$; H&
	PRINT_START
	pushl $2
	movswl i_var, %eax
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $2
	fldl d_var
	call "_$PsPRINT8@4"
	PRINT_VAR5 s_var, 2
	PRINT_VAR5 t_var, 2
	pushl $0
	pushl h_var
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 12			# READ X#: PRINT X#
	pushl $3
	pushl $x_var
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	LINE 12
	PRINT_START
	pushl $0
	fldl x_var
	call "_$PsPRINT8@4"
	PRINT_END
	LINE 13			# RESTORE to the third item: READ S$: PRINT S$
	pushl $rd2
	call "_$PbSetRestore@4"
	LINE 13
	pushl $16
	pushl $s_var
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	LINE 13
	PRINT_START
	PRINT_VAR5 s_var
	PRINT_END
	LINE 14			# RESTORE: READ I%: PRINT I%
	pushl $rd0
	call "_$PbSetRestore@4"
	LINE 14
	pushl $0
	pushl $i_var
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	LINE 14
	PRINT_START
	pushl $0
	movswl i_var, %eax
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 15			# CALL P: READ D#: PRINT D#
	call readsub
	LINE 15
	pushl $3
	pushl $d_var
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	LINE 15
	PRINT_START
	pushl $0
	fldl d_var
	call "_$PsPRINT8@4"
	PRINT_END
	ret

# SUB P with DATA 7 of its own: READ L&: PRINT L&
readsub:
	PROC_ENTER 4
	pushl $rdp
	call "_$PbSetReadPtr@4"
	LINE 21
	pushl $1
	leal -4(%ebp), %ebx
	pushl %ebx
	pushl $1
	pushl %esp
	call "_$PsREAD@4"
	addl $12, %esp
	LINE 22
	PRINT_START
	pushl $0
	pushl -4(%ebp)
	call "_$PsPRINT6@8"
	PRINT_END
	LINE 23
	call "$PbSUBLEAVE"
	ret
