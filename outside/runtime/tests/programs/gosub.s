# GOSUB/RETURN, RETURN to a label, ON ... GOSUB and ON ... GOTO.
	.include "basic.inc"
	STRCONST s_start, "start"
	STRCONST s_back, "back"
	STRCONST s_skip, "skipped"
	STRCONST s_c, "at C"
	STRCONST s_e, "at E"
	STRCONST s_a, "in A"
	STRCONST s_b, "in B"
	STRCONST s_done, "done"

.macro SAY str
	PRINT_START
	PRINT_CONST \str
	PRINT_END
.endm

	MAIN_MODULE "GOSUB.BAS"
	LINE 10
	SAY s_start
	LINE 20			# GOSUB *A
	pushl $lab_a
	call "$PsGOSUB"
	LINE 30
	SAY s_back
	LINE 40			# ON 2 GOSUB *A, *B
	pushl $lab_b
	pushl $lab_a
	pushl $2
	pushl $2
	call "$PsON_GOSUB"
	LINE 50			# ON 3 GOTO *A, *B (beyond the list: goes on)
	pushl $lab_b
	pushl $lab_a
	pushl $2
	pushl $3
	call "$PsON_GOTO"
	LINE 55			# ON 0 GOSUB *A
	pushl $lab_a
	pushl $1
	pushl $0
	call "$PsON_GOSUB"
	LINE 60			# ON 1 GOTO *C
	pushl $lab_c
	pushl $1
	pushl $1
	call "$PsON_GOTO"
	LINE 70
	SAY s_skip
lab_c:	LINE 80
	SAY s_c
	LINE 85			# GOSUB *D, which returns to *E
	pushl $lab_d
	call "$PsGOSUB"
	LINE 86
	SAY s_skip
lab_e:	LINE 87
	SAY s_e
	movl $10000, %esi	# FOR I = 1 TO 10000: GOSUB *F: NEXT
1:	LINE 88
	pushl $lab_f
	call "$PsGOSUB"
	decl %esi
	jnz 1b
	LINE 89
	SAY s_done
	LINE 90
	END_PROGRAM
lab_a:	LINE 100
	SAY s_a
	LINE 101
	pushl $lab_b
	call "$PsGOSUB"
	LINE 102
	call "$PsRETURN"
lab_b:	LINE 110
	SAY s_b
	LINE 111
	call "$PsRETURN"
lab_d:	LINE 120		# RETURN *E
	pushl $lab_e
	call "$PsRETURN_LABEL"
lab_f:	LINE 130
	call "$PsRETURN"
