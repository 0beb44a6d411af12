// The project windows' command, menu, dialog and string ids. Plain defines: project.rc
// and the main menu read them as the C++ does.
#pragma once

/* The Project menu */
#define ID_PROJECT_NEW 4001
#define ID_PROJECT_OPEN 4002
#define ID_PROJECT_SAVE 4003
#define ID_PROJECT_SAVE_AS 4004
#define ID_PROJECT_CLOSE 4005
#define ID_PROJECT_ENV 4006
#define ID_PROJECT_LIBRARIES 4008
#define ID_PROJECT_MODULES 32772
#define ID_PROJECT_WIZARD 32785
/* The Compile menu */
#define ID_BUILD_COMPILE 5001
#define ID_BUILD_ALL 32773
#define ID_BUILD_OPTIONS 5003
#define ID_RESULT_WINDOW 5004
/* The project tree's popup */
#define IDR_PRJ_TREE_POPUP 170
#define ID_PRJ_MODULE_OPTIONS 5005
#define ID_PRJ_DEPENDENCIES 32775
#define ID_PRJ_REMOVE 32777
/* The Edit menu's migration commands */
#define ID_MIGRATE_CONVERT 32792
#define ID_MIGRATE_DELETE_MESSAGES 32793

/* Dialog templates */
#define IDD_BET_VIEW 101
#define IDD_PRJ_LIST_PAGE 143      /* the module and library pages */
#define IDD_PROJECT_ENV 145
#define IDD_BET_MODE 146
#define IDD_BET_LINE 147
#define IDD_BET_PRINTER 148
#define IDD_COMPILE_OPTIONS 149
#define IDD_DEPENDENCIES 150
#define IDD_BET_PORT 151
#define IDD_BUILD 170
#define IDD_WIZARD 172

/* Strings: page captions and messages (the cores' message enums read these) */
#define IDS_SOURCE_PAGE 140
#define IDS_LIBRARY_PAGE 141
#define IDS_BET_PORT0 142          /* .. IDS_BET_PORT4: one per port, in order */
#define IDS_BET_PORT1 143
#define IDS_BET_PORT2 144
#define IDS_BET_PORT3 145
#define IDS_BET_PORT4 146
#define IDS_NO_MESSAGE_NUMBER 3073
#define IDS_BAD_PROJECT_FILE 20000
#define IDS_OLD_PROJECT_FILE 20001
#define IDS_CLOSE_ALL_TOO 20002
#define IDS_READ_FAILED 20004
#define IDS_NOT_FOUND 20008
#define IDS_REBUILD_ALL 20027
#define IDS_NO_MAIN_MODULE 20039
#define IDS_FILL_ALL_FIELDS 20046
#define IDS_SAME_MODULE_NAMES 20047
#define IDS_SAME_OBJECT_NAME 20048
#define IDS_PROGRAM_RUNNING 22016
#define IDS_CANNOT_START 20061
