# TEXTR.DLL: machine-code routines for CALLM, which hands a string over as
# the address of its text. Exported by name; the entry only says yes.
	.text
	.globl _TextrEntry@12
_TextrEntry@12:
	movl $1, %eax
	ret $12

# SUMTEXT(text, n): the sum of the n bytes at text.
	.globl SUMTEXT
SUMTEXT:
	pushl %esi
	movl 8(%esp), %esi
	movl 12(%esp), %ecx
	xorl %eax, %eax
	xorl %edx, %edx
1:	testl %ecx, %ecx
	jz 2f
	movb (%esi), %dl
	addl %edx, %eax
	incl %esi
	decl %ecx
	jmp 1b
2:	popl %esi
	ret

# UPCASE(text, n): the small letters among the n bytes at text made
# capitals, in place; returns how many it changed.
	.globl UPCASE
UPCASE:
	pushl %esi
	movl 8(%esp), %esi
	movl 12(%esp), %ecx
	xorl %eax, %eax
1:	testl %ecx, %ecx
	jz 3f
	movb (%esi), %dl
	cmpb $'a', %dl
	jb 2f
	cmpb $'z', %dl
	ja 2f
	subb $32, %dl
	movb %dl, (%esi)
	incl %eax
2:	incl %esi
	decl %ecx
	jmp 1b
3:	popl %esi
	ret

	.section .drectve
	.ascii " -export:SUMTEXT -export:UPCASE"
