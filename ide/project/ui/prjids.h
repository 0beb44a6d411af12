// The project windows' command and menu ids. Plain defines: project.rc
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
