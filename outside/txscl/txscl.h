// The line checker's entry point (C linkage, exported from TXSCL.DLL), our
// stand-in for the outside library the editor calls after PP_EdtChk.
#pragma once

#include "passes.h"

extern "C" {
// options: "/MW". text: the zero-terminated line in a buffer of its length
// + 16 bytes, which may be rewritten in place (15 bytes longer at most).
// tokens: the address of a pointer to PP_EdtChk's units (mode 1).
// Returns 0 for a correct line, else an error word (low byte the error
// number, high byte its detail) with *tokens left on a record
// {0xF0, number, column, length} (columns in bytes of the line).
TX_PASS_EXPORT int SC_EdtChk(const char *options, char *text, unsigned char **tokens);
// How many times SC_EdtChk ran in this process (the tests' count).
TX_PASS_EXPORT int SC_EdtChkCount(void);
}
