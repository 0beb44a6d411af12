// The debugger's command and dialog ids. Plain defines: the main menu and the debug
// bar read them as the C++ does.
#pragma once

#define ID_RUN_DEBUG 6003
#define ID_DEBUG_RESTART 6004
#define ID_DEBUG_BREAKPOINT 6007
#define ID_DEBUG_BREAKPOINT_LIST 6008
#define ID_DEBUG_WATCH_WINDOW 7001
#define ID_DEBUG_ADD_WATCH 7002
#define ID_DEBUG_DELETE_WATCH 7003
#define ID_DEBUG_QUICK_WATCH 7004
#define ID_DEBUG_TRACE 7101
#define ID_DEBUG_PASS_TRACE 7102
#define ID_DEBUG_RUN_TO_CURSOR 7103

/* Dialog templates */
#define IDD_DBG_BREAKPOINT 189
#define IDD_DBG_BREAKPOINT_LIST 190
#define IDD_DBG_ADD_EXPR 192
#define IDD_DBG_DELETE_EXPR 193
#define IDD_DBG_EXPR 194
#define IDD_DBG_QUICK_WATCH 195
#define IDD_DBG_ERROR 213
