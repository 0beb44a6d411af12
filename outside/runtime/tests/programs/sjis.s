# Shift-JIS text through PRINT and the string functions, the double-byte
# aware K functions, numbers as bytes (MKx$/CVx), POS and ERROR.
	.include "basic.inc"
	STRCONST s_kana, "\266\305\212\277"
	STRCONST s_trail, "\203aa"
	STRCONST s_kab, "\212\277ab"
	STRCONST s_two, "\212\277\216\232"
	STRCONST s_mid, "a\212\277b"
	STRCONST s_abc, "abc"
	STRCONST s_bar, "|"
	DBLCONST d_2p5, 2.5

.macro ITEM sep=2
	pushl $\sep
	call "_$PsPRINT5@4"
.endm

	MAIN_MODULE "SJIS.BAS"
	LINE 1			# PRINT "ｶﾅ漢"; UCASE$(x); LEFT$("漢ab", 1); "|"
	PRINT_START
	PRINT_CONST s_kana, 2
	pushl $s_trail
	call "_$PbFldConst@4"
	call "_$PfUCASE24@0"
	ITEM
	pushl $1
	pushl $s_kab
	call "_$PbFldConst@4"
	call "_$PfLEFT24@4"
	ITEM
	PRINT_CONST s_bar
	PRINT_END
	LINE 2			# PRINT KLEFT$("漢ab", 1); KRIGHT$("漢字", 1); KMID$("a漢b", 2, 1); KMID$("a漢b", 2); "|"
	PRINT_START
	pushl $1
	pushl $s_kab
	call "_$PbFldConst@4"
	call "_$PfKLEFT24@4"
	ITEM
	pushl $1
	pushl $s_two
	call "_$PbFldConst@4"
	call "_$PfKRIGHT24@4"
	ITEM
	pushl $1
	pushl $2
	pushl $s_mid
	call "_$PbFldConst@4"
	call "_$PfKMID24@8"
	ITEM
	pushl $2147483647
	pushl $2
	pushl $s_mid
	call "_$PbFldConst@4"
	call "_$PfKMID24@8"
	ITEM
	PRINT_CONST s_bar
	PRINT_END
	LINE 3			# PRINT CVI(MKI$(-2)); CVL(MKL$(123456)); CVD(MKD$(2.5)); CVS(MKS$(.5!)); LEN(MKD$(2.5))
	PRINT_START
	pushl $2
	pushl $-2
	call "_$PfMKI24@4"
	call "_$PfCVI@0"
	pushl %eax
	call "_$PsPRINT2@8"
	pushl $2
	pushl $123456
	call "_$PfMKL24@4"
	call "_$PfCVL@0"
	pushl %eax
	call "_$PsPRINT6@8"
	pushl $2
	fldl d_2p5
	call "_$PfMKD24@0"
	call "_$PfCVD@0"
	call "_$PsPRINT8@4"
	pushl $2
	pushl $0x3f000000
	call "_$PfMKS24@4"
	call "_$PfCVS@0"
	call "_$PsPRINT8@4"
	pushl $0
	fldl d_2p5
	call "_$PfMKD24@0"
	call "_$PfLEN@0"
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 4			# PRINT "abc"; POS(0)
	PRINT_START
	PRINT_CONST s_abc, 2
	pushl $0
	pushl $0
	pushl $0
	call "_$PfPOS@8"
	pushl %eax
	call "_$PsPRINT2@8"
	PRINT_END
	LINE 5			# ERROR 200
	pushl $200
	call "_$PsERROR@4"
	ret
