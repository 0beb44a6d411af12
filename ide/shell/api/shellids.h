// The shell's resource, command and message ids. Plain defines: the
// resource script includes them too (through resource.h). The framework's
// standard commands are FW_ID_* (fwres.h).
#pragma once

#include "fwres.h"

#define IDR_MAINFRAME 128      /* menu, accelerators, icon; string "Tambrix" */
#define IDR_BASTYPE 129
#define IDR_PRJTYPE 130
#define IDR_PRJFRAME 131
#define IDR_RCTYPE 132
#define IDR_SUBTYPE 133
#define IDR_BETTYPE 134
#define IDR_LIBTYPE 135
#define IDR_OBJTYPE 136
#define IDR_DBGTYPE 137
#define IDR_OTHERTYPE 138
#define IDD_ABOUTBOX 175
#define IDB_PICTURE 183
#define IDS_ERRTEXT_DLL 219
#define IDS_VERSION_TEXT 176
#define IDS_NOTICE_1 177
#define IDS_NOTICE_2 178
#define IDS_UNKNOWN_MESSAGE 179  /* a message id without a text: "%s" is the id */

#define IDS_EDIT_MODE 57345
#define IDS_DEBUG_MODE 59151
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
#define ID_INDICATOR_OVR 59140
#define ID_INDICATOR_POS 59150
#define IDS_INSERT 59141          /* pane 2; 59140 is the overwrite text */

#define IDS_NOT_FOUND 20008
#define IDS_ONE_RC_ONLY 20018
#define IDS_WRITE_FAILED 20005
#define IDS_LINE_TOO_LONG 20012
#define IDS_OTHER_PROJECT_OPEN 20025
#define IDS_MODULE_IN_PROJECT 20041
#define IDS_EXIT_CONFIRM 20042
#define IDS_REGISTRY_BROKEN 20049
#define IDS_NO_PROJECT_WHILE_DEBUG 22012
#define IDS_EXIT_TITLE 23000
#define IDS_OPEN_FILTER 200
#define IDS_PROGRAM_MISSING 20044
#define IDS_MODULES_UPDATED 20045
#define IDS_FIND_DONE 20059
/* The checker's and run time's detail texts: detail code n is string
   IDS_ERROR_DETAIL + n - 1, as the detail table says. */
#define IDS_ERROR_DETAIL 10000

/* Dialog templates */
#define IDD_LINE_JUMP 154
#define IDD_MARK 157
#define IDD_OPT_EDIT 160
#define IDD_OPT_DIR 173
#define IDD_NEW_FILE 171
#define IDD_FOLDER_ADD 182
#define IDD_RUN_ARGS 184
#define IDD_HOT_KEY 248
#define IDD_FOLDER_PICK 1536      /* the older file dialog: folders and drives only */
#define IDD_PAGE_SETUP 1546

/* The editor's popup menus, editing and while debugging */
#define IDR_EDIT_POPUP 101
#define IDR_DEBUG_POPUP 201

/* Commands */
#define ID_LINE_JUMP 300
#define ID_FIND_DOWN 312
#define ID_FIND_UP 313
#define ID_REPLACE_ONE 314
#define ID_TAG_JUMP 315
#define ID_FILE_CLOSE_ALL 1006
/* The bar id the standard bar and the tool box both carry; as a command
   it shows or hides the first bar found with it. */
#define ID_VIEW_STANDARD_BAR 102
/* No menu item carries it; it is kept enabled. */
#define ID_ALWAYS_ENABLED 3004
#define ID_VIEW_SAVE_ON_EXIT 3007
#define ID_VIEW_PROPERTIES 3008
#define ID_VIEW_TOOLBOX 3009
#define ID_VIEW_GRID 3010
#define ID_RUN_RUN 6001
#define ID_RUN_ARGS 6002
#define ID_RUN_CONTINUE 6005
#define ID_MARK 32778
#define ID_VIEW_OPTIONS 32779
#define ID_RECENT_PRJ_FIRST 32797
#define ID_RECENT_PRJ_LAST 32812

/* Bars */
#define IDB_STANDARD 130
#define IDB_DEBUGBAR 132
#define IDB_TOOLBOX 166
#define IDB_TOOLBOX_SMALL 103
#define IDB_STANDARD_SMALL 203
#define ID_CASE_SENSITIVE 1103
