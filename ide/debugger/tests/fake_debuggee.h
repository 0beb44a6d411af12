/* What the test debuggee and its tests agree on (C and C++). */
#ifndef FAKE_DEBUGGEE_H
#define FAKE_DEBUGGEE_H

#define FAKE_STR2(x) #x
#define FAKE_STR(x) FAKE_STR2(x)

#define FAKE_LOOPS 3 /* passes of the loop over lines 4-6; also the exit code */
#define FAKE_OUTPUT "fake output"
#define FAKE_INIT_ERROR 7          /* $BAS_DBGINIT's answer in mode initfail */
#define FAKE_END_EXIT 40           /* $BAS_DBGEND exits with this + its argument */
#define FAKE_RTERROR_LINE 11
#define FAKE_RTERROR_CODE 52
#define FAKE_RTERROR_EXIT 9
#define FAKE_RAISED_CODE 0xE0000001u /* raised in mode raise on line 11 */
#define FAKE_RAISE_HANDLED 10      /* added to the loop count by its handler */
#define FAKE_UNKNOWN_EXPRESSION 13 /* status of an expression without a canned answer */

/* Words the debuggee keeps in the shared block beyond the part the IDE clears. */
#define FAKE_AT_MAPPED 2048
#define FAKE_MAPPED_MARK 0x4D415050u
#define FAKE_AT_REDRAWS 2052
#define FAKE_AT_REDRAW_FLAG 2056

#endif
