/* The register-interface halves of the module calls (rt_module.c): a DLL
   routine by name, CALLM, CALLS, a module routine's checked entry and its
   RETURNS. Each removes the words pushed for it. */
#include "rt.h"

#define RT_PARAM_ROOM (4 * 64)

	.text

/* $PbCallDll: [esp+4] the routine's name record, [esp+8] the DLL's, then
   the routine's arguments. The routine runs as if called directly: it
   returns to our caller with the arguments as its convention leaves them. */
	.globl "$PbCallDll"
"$PbCallDll":
	movl (%esp), %eax
	subl $5, %eax
	pushl %eax
	pushl 8(%esp)		/* the routine's record */
	pushl 16(%esp)		/* the DLL's record */
	call _rt_dll_resolve
	addl $12, %esp
	popl %ecx
	addl $8, %esp
	pushl %ecx
	jmp *%eax

/* $PsCALLM: [esp+4] the argument bytes n, then the arguments; the module
   and routine names on the string stack. The routine gets a copy of the
   arguments, so whether it removes them does not matter; EAX is its
   result. */
	.globl "$PsCALLM"
"$PsCALLM":
	movl (%esp), %eax
	subl $5, %eax
	pushl %eax
	call _rt_callm_resolve
	addl $4, %esp
	pushl %ebp
	movl %esp, %ebp
	pushl %esi
	pushl %edi
	movl 8(%ebp), %ecx
	subl %ecx, %esp
	leal 12(%ebp), %esi
	movl %esp, %edi
	cld
	rep movsb
	call *%eax
	leal -8(%ebp), %esp
	popl %edi
	popl %esi
	popl %ebp
	popl %ecx
	popl %edx
	addl %edx, %esp
	jmp *%ecx

/* _$PsCALLS@0: [esp+4] the item count m, then the typed reference list;
   the target's name on the string stack. The module routine is called
   with room for its parameters, the list in EDX and the magic in ECX for
   its $PbTypeCheck; its RETURNS value becomes RTN. The list is removed;
   its temporaries go with _$PbDelTmpAdrPcb@0. */
	.globl "_$PsCALLS@0"
"_$PsCALLS@0":
	pushl %ebp
	movl %esp, %ebp
	pushl %ebx
	pushl %esi
	pushl %edi
	subl $4, %esp		/* the count of the list's temporaries */
	movl %esp, %eax
	pushl %eax
	movl 4(%ebp), %eax
	subl $5, %eax
	pushl %eax
	leal 8(%ebp), %eax
	pushl %eax
	call _rt_calls_resolve
	addl $12, %esp
	subl $RT_PARAM_ROOM, %esp
	leal 8(%ebp), %edx
	movl $RT_CALLS_MAGIC, %ecx
	call *%eax
	leal -16(%ebp), %esp
	pushl %eax
	pushl -16(%ebp)
	call _rt_calls_done
	addl $4, %esp
	call "_$PbSetRtn@4"
	addl $4, %esp
	popl %edi
	popl %esi
	popl %ebx
	popl %ebp
	popl %ecx
	popl %edx
	leal (%esp,%edx,8), %esp
	jmp *%ecx

/* $PbTypeCheck, called by a checked entry after it pushed, per parameter
   first to last, its word and its default, then the count and ESP:
   [esp+4] points at the count. Returns with those words removed. */
	.globl "$PbTypeCheck"
"$PbTypeCheck":
	movl (%esp), %eax
	subl $5, %eax
	pushl %eax
	pushl %edx
	pushl %ecx
	pushl 16(%esp)
	call _rt_type_check
	addl $16, %esp
	popl %ecx
	popl %eax
	movl (%eax), %edx
	leal 4(%eax,%edx,8), %esp
	jmp *%ecx

/* $PsRETURNS: [esp+4] the entry's argument bytes, [esp+8] the value. Ends
   the module routine as its procedure exit would, with the value in EAX. */
	.globl "$PsRETURNS"
"$PsRETURNS":
	call _rt_returns_release
	popl %ecx
	popl %edx
	popl %eax
	call "$PbSUBLEAVE"
	popl %ecx
	addl %edx, %esp
	jmp *%ecx

/* CALLS with a parameter block: $PbDEF_PARM_INI ([esp+4] the code DEF PARM
   made) runs that code, which pushes the typed reference list and ends in
   $PbDEF_PARM; that goes back to the CALLS with the list left pushed. */
#define RT_BLOCK_DEPTH 64
	.bss
	.balign 4
rt_block_ret:	.space 4 * RT_BLOCK_DEPTH
rt_block_top:	.space 4
	.text
	.globl "$PbDEF_PARM_INI"
"$PbDEF_PARM_INI":
	movl rt_block_top, %eax
	cmpl $RT_BLOCK_DEPTH, %eax
	jae 1f
	popl %ecx
	movl %ecx, rt_block_ret(,%eax,4)
	incl %eax
	movl %eax, rt_block_top
	popl %eax
	jmp *%eax
1:	movl (%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl $RT_E_STACK
	call _rt_fail

	.globl "$PbDEF_PARM"
"$PbDEF_PARM":
	movl rt_block_top, %eax
	testl %eax, %eax
	jz 1f
	decl %eax
	movl %eax, rt_block_top
	addl $4, %esp
	jmp *rt_block_ret(,%eax,4)
1:	movl (%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl $RT_E_ILLEGAL
	call _rt_fail
