// The designer's command and menu ids. Plain defines: designer.rc and the
// main menu read them as the C++ does.
#pragma once

/* The Control menu */
#define ID_DSG_ARRANGE 2019
#define ID_DSG_GROUP 2118
#define ID_DSG_LOCK 2119
#define ID_DSG_TEST_MODE 2121
#define ID_DSG_ALIGN_LEFT 2200
#define ID_DSG_ALIGN_HCENTER 2201
#define ID_DSG_ALIGN_RIGHT 2202
#define ID_DSG_ALIGN_TOP 2203
#define ID_DSG_ALIGN_VCENTER 2204
#define ID_DSG_ALIGN_BOTTOM 2205
#define ID_DSG_SAME_WIDTH 2206
#define ID_DSG_SAME_HEIGHT 2207
#define ID_DSG_SPACE_ACROSS 2208
#define ID_DSG_SPACE_DOWN 2209
#define ID_DSG_ALIGN_FIRST ID_DSG_ALIGN_LEFT
#define ID_DSG_ALIGN_LAST ID_DSG_SPACE_DOWN
#define ID_DSG_TAB_ORDER 32787
/* The form popup: the property window and the control's code */
#define ID_DSG_PROPERTIES 32790
#define ID_DSG_CODE 32791

/* The Resource menu and the tree's popup */
#define ID_RES_NEW 9001
#define ID_RES_IMPORT 9002
#define ID_RES_EDIT 9003
#define ID_RES_CLOSE 9004
#define ID_RES_DELETE 9005
#define ID_RES_FIRST ID_RES_NEW
#define ID_RES_LAST ID_RES_DELETE

/* The tool box's buttons, one per tool */
#define ID_TOOLBOX_FIRST 9500
#define ID_TOOLBOX_LAST 9515

/* Popup menus */
#define IDR_DSG_FORM_POPUP 225
#define IDR_RES_TREE_POPUP 219
