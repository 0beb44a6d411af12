# String variables, joins, comparisons and string functions.
	.include "basic.inc"
	STRCONST s_abc, "abc"
	STRCONST s_def, "def"
	STRCONST s_abd, "abd"
	STRCONST s_b, "b"
	STRCONST s_x, "x"
	STRCONST s_ab, "ab"
	STRCONST s_a, "a"
	STRCONST s_hw, "hello world"
	STRCONST s_o, "o"
	STRCONST s_mixed, "MiXed"
	STRCONST s_pad, "  x  "
	STRCONST s_lb, "["
	STRCONST s_rb, "]"
	STRCONST s_num, "3.25"
	STRCONST s_hex, "&H1F"
	STRCONST s_neg, " -12abc"
	STRCONST s_star, "*"
	STRCONST s_empty, ""

	.data
a_str:	.long 0, 0, 0
b_str:	.long 0, 0, 0
c_str:	.long 0, 0, 0
fixed:	.ascii "######"

# PRINT "[" + <string> + "]": BR_OPEN, code that pushes the string, BR_CLOSE.
.macro BR_OPEN sep=0
	pushl $\sep
	pushl $s_lb
	call "_$PbFldConst@4"
.endm
.macro BR_CLOSE
	call "_$PbAdd5@0"
	pushl $s_rb
	call "_$PbFldConst@4"
	call "_$PbAdd5@0"
	call "_$PsPRINT5@4"
.endm
# Compare the constants \l and \r with the jump that skips on false;
# print the result (-1 or 0).
.macro COMPARE l, r, jfalse
	pushl $2
	pushl $\l
	call "_$PbFldConst@4"
	pushl $\r
	call "_$PbFldConst@4"
	call "_$PbCMP5@0"
	movl $0, %eax
	\jfalse 1f
	decl %eax
1:	pushl %eax
	call "_$PsPRINT2@8"
.endm

	MAIN_MODULE "STRINGS.BAS"
	LINE 1			# A$ = "abc" + "def": B$ = A$ + A$: PRINT A$; B$
	pushl $s_abc
	call "_$PbFldConst@4"
	pushl $s_def
	call "_$PbFldConst@4"
	call "_$PbAdd5@0"
	pushl $a_str
	call "_$PbStVar5@4"
	LINE 1
	pushl $a_str
	call "_$PbFldVar5@4"
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PbAdd5@0"
	pushl $b_str
	call "_$PbStVar5@4"
	LINE 1
	PRINT_START
	PRINT_VAR5 a_str, 2
	PRINT_VAR5 b_str
	PRINT_END
	LINE 2			# PRINT LEFT$(A$,2); RIGHT$(A$,3); MID$(A$,2,3); MID$(A$,4); LEN(A$)
	PRINT_START
	pushl $2
	pushl $2
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PfLEFT24@4"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $3
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PfRIGHT24@4"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $3
	pushl $2
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PfMID24@8"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $2147483647
	pushl $4
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PfMID24@8"
	call "_$PsPRINT5@4"
	pushl $0
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PfLEN@0"
	cwtl
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 3			# PRINT CHR$(72, 105); ASC("abc"); INSTR(1, "hello world", "o"); INSTR(6, ...); INSTR(1, ..., "x")
	PRINT_START
	pushl $2
	pushl $72
	pushl $105
	pushl $2
	pushl %esp
	call "_$PfCHR24@4"
	addl $12, %esp
	call "_$PsPRINT5@4"
	pushl $2
	pushl $s_abc
	call "_$PbFldConst@4"
	call "_$PfASC@0"
	pushl %eax
	call "_$PsPRINT2@8"
	.irp start, 1, 6		# the sought string first: the searched one ends on top
	pushl $2
	pushl $\start
	pushl $s_o
	call "_$PbFldConst@4"
	pushl $s_hw
	call "_$PbFldConst@4"
	call "_$PfINSTR@4"
	pushl %eax
	call "_$PsPRINT2@8"
	.endr
	pushl $0
	pushl $1
	pushl $s_x
	call "_$PbFldConst@4"
	pushl $s_hw
	call "_$PbFldConst@4"
	call "_$PfINSTR@4"
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 4			# PRINT UCASE$("MiXed"); LCASE$("MiXed"); "[" + TRIM$("  x  ") + "]"; "[" + LTRIM$ + "]"; "[" + RTRIM$ + "]"
	PRINT_START
	pushl $2
	pushl $s_mixed
	call "_$PbFldConst@4"
	call "_$PfUCASE24@0"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $s_mixed
	call "_$PbFldConst@4"
	call "_$PfLCASE24@0"
	call "_$PsPRINT5@4"
	.irp fn, "_$PfTRIM24@0", "_$PfLTRIM24@0"
	BR_OPEN 2
	pushl $s_pad
	call "_$PbFldConst@4"
	call "\fn"
	BR_CLOSE
	.endr
	BR_OPEN 0
	pushl $s_pad
	call "_$PbFldConst@4"
	call "_$PfRTRIM24@0"
	BR_CLOSE
	PRINT_END
	LINE 5			# comparisons: "abc"<"abd"; "b">"abc"; "x"="x"; "ab"<"a"; "ab"<>"a"; "a"<="ab"
	PRINT_START
	COMPARE s_abc, s_abd, jbe
	COMPARE s_b, s_abc, jae
	COMPARE s_x, s_x, jne
	COMPARE s_ab, s_a, jbe
	COMPARE s_ab, s_a, je
	COMPARE s_a, s_ab, jb
	PRINT_CONST s_empty
	PRINT_END
	LINE 6			# PRINT STR$(42); VAL("3.25"); VAL("&H1F"); VAL(" -12abc")
	PRINT_START
	BR_OPEN 2
	pushl $42
	call "_$PfSTR242@4"
	BR_CLOSE
	.irp s, s_num, s_hex, s_neg
	pushl $2
	pushl $\s
	call "_$PbFldConst@4"
	call "_$PfVAL@0"
	call "_$PsPRINT8@4"
	.endr
	PRINT_CONST s_empty
	PRINT_END
	LINE 7			# PRINT "[" + SPACE$(3) + "]"; STRING$(3, "*"); STRING$(2, 65); HEX$(255); OCT$(8); HEX$(-1)
	PRINT_START
	BR_OPEN 2
	pushl $3
	call "_$PfSPACE24@4"
	BR_CLOSE
	pushl $2
	pushl $3
	pushl $s_star
	call "_$PbFldConst@4"
	call "_$PfSTRING24@4"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $65
	pushl $2
	call "_$PfSTRING24C@8"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $255
	call "_$PfHEX24@4"
	call "_$PsPRINT5@4"
	pushl $2
	pushl $8
	call "_$PfOCT24@4"
	call "_$PsPRINT5@4"
	pushl $0
	pushl $-1
	call "_$PfHEX24@4"
	call "_$PsPRINT5@4"
	PRINT_END
	LINE 8			# C$ = "abc": A$ = C$: C$ = "": PRINT A$; "[" + C$ + "]"
	pushl $s_abc
	pushl $c_str
	call "_$PbSetVar5@8"
	pushl $c_str
	pushl $a_str
	call "_$PbMovVar5@8"
	pushl $c_str
	call "_$PbSetVarNull@4"
	LINE 8
	PRINT_START
	PRINT_VAR5 a_str, 2
	BR_OPEN 0
	pushl $c_str
	call "_$PbFldVar5@4"
	BR_CLOSE
	PRINT_END
	LINE 9			# fixed-length F$ (6): LSET F$ = "ab": RSET: PRINT "[" + F$ + "]" twice
	pushl $s_ab
	call "_$PbFldConst@4"
	pushl $6
	pushl $fixed
	call "_$PbStVarStr@8"
	PRINT_START
	BR_OPEN 2
	pushl $6
	pushl $fixed
	call "_$PbFldVarStr@8"
	BR_CLOSE
	pushl $s_ab
	call "_$PbFldConst@4"
	pushl $6
	pushl $fixed
	call "_$PbStVarStrR@8"
	BR_OPEN 0
	pushl $6
	pushl $fixed
	call "_$PbFldVarStr@8"
	BR_CLOSE
	PRINT_END
	LINE 10			# a long join in a loop: A$ = "": FOR I = 1 TO 1000: A$ = A$ + "x": NEXT: PRINT LEN(A$)
	pushl $a_str
	call "_$PbSetVarNull@4"
	movl $1000, %esi
2:	LINE 10
	pushl $a_str
	call "_$PbFldVar5@4"
	pushl $s_x
	call "_$PbFldConst@4"
	call "_$PbAdd5@0"
	pushl $a_str
	call "_$PbStVar5@4"
	decl %esi
	jnz 2b
	LINE 11
	PRINT_START
	pushl $0
	pushl $a_str
	call "_$PbFldVar5@4"
	call "_$PfLEN@0"
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	ret
