/* Start-up, statement prologue, GOSUB/RETURN, ON ... GOTO/GOSUB, procedure
   entry and exit, and the other routines with a register interface.
   Register-interface routines remove the words pushed for them. */
#include "rt.h"

#define RT_GOSUB_MAX 4096

/* Raise a run-time error; the return address at \off(%esp) less 5 (the
   call) names the place. */
.macro FAIL code, off
	movl \off(%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl $\code
	call _rt_fail
.endm

	.bss
	.balign 4
rt_main_esp:	.space 4
rt_run_label:	.space 4
rt_main_ebp:	.space 4
rt_gosub_stack:	.space 4 * RT_GOSUB_MAX
	.globl _rt_resume_addr, _rt_stmt_addr, _rt_event_poll_fn
_rt_event_poll_fn:	.space 4	/* rt_events.c's poll, once a trap is set */
_rt_resume_addr:	.space 4
_rt_stmt_addr:	.space 4

	.text
/* A module built as a DLL links this file for its procedures but has no
   main module: there the reference stays empty. */
	.weak "$BAS_MAIN"
/* The image's entry point: runs the main module and ends the program. */
	.globl "$PbStartup"
"$PbStartup":
	fninit
	call _rt_init
	pushl $main_popped	/* where a main module that pops too much returns */
	leal -4(%esp), %eax
	pushl %eax
	call _rt_main_start
	addl $4, %esp
	movl %esp, rt_main_esp
	movl %ebp, rt_main_ebp
main_call:
	call "$BAS_MAIN"
main_returned:
	cmpl rt_main_esp, %esp
	jne 1f
	pushl $main_returned
	call _rt_main_end
1:	movl %esp, %eax
	pushl $main_returned
	pushl %eax
	pushl rt_main_esp
	call _rt_unbalanced
main_popped:
	movl %esp, %eax
	pushl $main_returned
	pushl %eax
	pushl rt_main_esp
	call _rt_unbalanced

/* RUN [label]: the program starts again, on the stack depth of the start,
   with its state cleared (rt_run_reset): from its first statement when
   the word pushed for it is 0, else at that label of the main module, as
   if the main module had jumped there. The routine never returns, so the
   word is never popped. */
	.globl "_$PsRUN@0"
"_$PsRUN@0":
	movl 4(%esp), %eax
	movl %eax, rt_run_label
	movl rt_main_esp, %esp
	fninit
	leal -4(%esp), %eax
	pushl %eax
	call _rt_run_reset
	addl $4, %esp
	movl rt_main_ebp, %ebp
	movl rt_run_label, %eax
	testl %eax, %eax
	jz main_call
	pushl $main_returned
	jmp *%eax

/* Bounds of the program's own data for RUN: the modules' variables are
   the plain .data ahead of every .data$ section (the runtime's C data has
   sections of its own), their fixed arrays are .data$al. */
	.section ".data$!", "w"
	.globl _rt_prog_data_end
_rt_prog_data_end:
	.section ".data$ak~", "w"
	.globl _rt_prog_arrays
_rt_prog_arrays:
	.section ".data$al!", "w"
	.globl _rt_prog_arrays_end
_rt_prog_arrays_end:
	.text

/* The line routine checks that each statement starts at its activation's
   stack depth, and shows the line while TRON is on. */
	.globl "_$PbSetCurLine@4", "_$PbSetCurLineDbg@4"
	.globl "_$PbSetCurLineSub@4", "_$PbSetCurLineSubDbg@4"
"_$PbSetCurLine@4":
"_$PbSetCurLineDbg@4":
"_$PbSetCurLineSub@4":
"_$PbSetCurLineSubDbg@4":
	cmpb $0, _rt_trace_on
	je 3f
	pushl %eax
	pushl %ecx
	pushl %edx
	pushl 16(%esp)
	call _rt_trace_line
	addl $4, %esp
	popl %edx
	popl %ecx
	popl %eax
3:	pushl %eax
	movl 8(%esp), %eax
	movl %eax, _rt_cur_line
	leal 12(%esp), %eax
	cmpl _rt_level_esp, %eax
	jne 1f
	popl %eax
	ret $4
1:	movl 4(%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl %eax
	pushl _rt_level_esp
	call _rt_unbalanced

/* Check routines between statements. There are no messages to poll; the
   trap forms poll the event traps (rt_events.c), and a trap that is due
   runs as a GOSUB whose RETURN comes back here. The resume forms take the
   pushed address of the next statement. */
	.globl "$PbCheckMsg", "$PbCheckTrapMsg"
"$PbCheckMsg":
	ret
"$PbCheckTrapMsg":
	cmpl $0, _rt_event_poll_fn
	jne 1f
	ret
1:	pushl %eax
	pushl %ecx
	pushl %edx
	call *_rt_event_poll_fn
	testl %eax, %eax
	jnz 2f
	popl %edx
	popl %ecx
	popl %eax
	ret
	/* Nothing lives in the registers between statements. */
2:	addl $12, %esp
	popl %ecx
	jmp event_gosub

	.globl "$PbCheckResume", "$PbCheckResumeMsg", "$PbCheckAll"
"$PbCheckResume":
"$PbCheckResumeMsg":
	pushl %eax
	call resume_points
	popl %eax
	ret $4
"$PbCheckAll":
	pushl %eax
	call resume_points
	cmpl $0, _rt_event_poll_fn
	jne 1f
	popl %eax
	ret $4
1:	pushl %ecx
	pushl %edx
	call *_rt_event_poll_fn
	testl %eax, %eax
	jnz 2f
	popl %edx
	popl %ecx
	popl %eax
	ret $4
2:	addl $12, %esp
	popl %ecx
	addl $4, %esp
	jmp event_gosub

/* [esp+4] the check's return address, [esp+8] the next statement's. */
resume_points:
	movl 12(%esp), %eax
	movl %eax, _rt_resume_addr
	/* the statement began with the 5-byte push of that address and this
	   5-byte call: RESUME runs it again from there */
	movl 8(%esp), %eax
	subl $10, %eax
	movl %eax, _rt_stmt_addr
	ret

/* A trap's GOSUB: EAX the label, ECX the return point. */
event_gosub:
	movl _rt_gosub_sp, %edx
	cmpl $RT_GOSUB_MAX, %edx
	jae 1f
	movl %ecx, rt_gosub_stack(,%edx,4)
	incl %edx
	movl %edx, _rt_gosub_sp
	jmp *%eax
1:	FAIL RT_E_STACK, 0

/* ON ERROR GOTO: [esp+4] the handler's label, 0 for none. */
	.globl "$PsON_ERROR_GOTO"
"$PsON_ERROR_GOTO":
	pushl %eax
	pushl %ecx
	pushl %edx
	movl 12(%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl %ebp
	pushl 24(%esp)
	call _rt_on_error
	addl $12, %esp
	popl %edx
	popl %ecx
	popl %eax
	ret $4

/* RESUME, RESUME NEXT, RESUME label ([esp+4]): they do not return. */
	.globl "$PsRESUME", "$PsRESUME_NEXT", "$PsRESUME_LABEL"
"$PsRESUME":
	movl (%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl $0
	pushl %ebp
	pushl $0
	call _rt_resume
"$PsRESUME_NEXT":
	movl (%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl $0
	pushl %ebp
	pushl $1
	call _rt_resume
"$PsRESUME_LABEL":
	movl (%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl 8(%esp)
	pushl %ebp
	pushl $2
	call _rt_resume

/* GOSUB: [esp+4] the label. The return point goes onto the runtime's own
   GOSUB stack, so the machine stack keeps its depth. */
	.globl "$PsGOSUB"
"$PsGOSUB":
	movl 4(%esp), %edx
	testl %edx, %edx
	jz 2f
	movl _rt_gosub_sp, %eax
	cmpl $RT_GOSUB_MAX, %eax
	jae 3f
	popl %ecx
	movl %ecx, rt_gosub_stack(,%eax,4)
	incl %eax
	movl %eax, _rt_gosub_sp
	addl $4, %esp
	jmp *%edx
2:	FAIL RT_E_LABEL, 0
3:	FAIL RT_E_STACK, 0

	.globl "$PsRETURN"
"$PsRETURN":
	movl _rt_gosub_sp, %eax
	cmpl _rt_gosub_base, %eax
	jbe 1f
	decl %eax
	movl %eax, _rt_gosub_sp
	addl $4, %esp
	jmp *rt_gosub_stack(,%eax,4)
1:	FAIL RT_E_RETURN, 0

/* RETURN label: [esp+4] the label; the open GOSUB is dropped. */
	.globl "$PsRETURN_LABEL"
"$PsRETURN_LABEL":
	movl _rt_gosub_sp, %eax
	cmpl _rt_gosub_base, %eax
	jbe 1f
	decl %eax
	movl %eax, _rt_gosub_sp
	movl 4(%esp), %edx
	addl $8, %esp
	jmp *%edx
1:	FAIL RT_E_RETURN, 0

/* ON n GOTO / GOSUB: [esp+4] n, [esp+8] the count, [esp+12] the first
   label and the others above it. n = 0 or beyond the count goes on with
   the next statement; a negative n is an error. */
	.globl "$PsON_GOTO"
"$PsON_GOTO":
	movl 4(%esp), %eax
	movl 8(%esp), %ecx
	testl %eax, %eax
	js 2f
	jz 1f
	cmpl %ecx, %eax
	ja 1f
	movl 8(%esp,%eax,4), %edx
	leal 12(%esp,%ecx,4), %esp
	jmp *%edx
1:	popl %edx
	leal 8(%esp,%ecx,4), %esp
	jmp *%edx
2:	FAIL RT_E_ILLEGAL, 0

	.globl "$PsON_GOSUB"
"$PsON_GOSUB":
	movl 4(%esp), %eax
	movl 8(%esp), %ecx
	testl %eax, %eax
	js 2b
	jz 1b
	cmpl %ecx, %eax
	ja 1b
	movl 8(%esp,%eax,4), %edx
	movl _rt_gosub_sp, %eax
	cmpl $RT_GOSUB_MAX, %eax
	jae 3f
	pushl %edx
	movl 4(%esp), %edx
	movl %edx, rt_gosub_stack(,%eax,4)
	incl %eax
	movl %eax, _rt_gosub_sp
	popl %edx
	leal 12(%esp,%ecx,4), %esp
	jmp *%edx
3:	FAIL RT_E_STACK, 0

/* Procedure entry, after the frame set-up
       mov eax,esp / sub esp,frame / push ebp / mov ebp,eax
   EBP is the entry ESP (it points at the return address), the locals lie
   in [EBP-frame, EBP) and the caller's EBP just below them. Clears the
   locals and opens an activation whose statements run at the ESP this
   routine returns with. */
	.globl "$PbSUBENTER", "$PbDLLENTER"
"$PbSUBENTER":
"$PbDLLENTER":
	pushl %edi
	leal 12(%esp), %edi
	movl %ebp, %ecx
	subl %edi, %ecx
	jb 1f
	xorl %eax, %eax
	cld
	rep stosb
	popl %edi
	leal 4(%esp), %eax
	movl (%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	pushl %eax
	call _rt_sub_enter
	addl $8, %esp
	ret
1:	popl %edi
	FAIL RT_E_ILLEGAL, 0

/* Procedure exit, followed in the generated code by ret n. Keeps EAX, EDX
   and the x87 stack (the function result); restores the caller's EBP and
   returns with ESP at the procedure's return address. */
	.globl "$PbSUBLEAVE", "$PbDLLLEAVE"
"$PbSUBLEAVE":
"$PbDLLLEAVE":
	pushl %eax
	pushl %edx
	movl 8(%esp), %ecx
	subl $5, %ecx
	pushl %ecx
	leal 16(%esp), %eax
	pushl %eax
	call _rt_sub_leave
	addl $8, %esp
	popl %edx
	popl %eax
	popl %ecx
	xchgl %ebp, (%esp)
	popl %esp
	jmp *%ecx

/* Integer division check of the divisor in EBX. */
	.globl "$PbChk0Div"
"$PbChk0Div":
	testl %ebx, %ebx
	jz 1f
	ret
1:	FAIL RT_E_DIVZERO, 0

/* String comparison: flags as FCOMPP and SAHF leave them, the top string
   taking the place of ST0: CF when it is less, ZF when equal. */
	.globl "_$PbCMP5@0"
"_$PbCMP5@0":
	call _rt_cmp5
	testl %eax, %eax
	js 1f
	jz 2f
	movb $0x00, %ah
	sahf
	ret
1:	movb $0x01, %ah
	sahf
	ret
2:	movb $0x40, %ah
	sahf
	ret
