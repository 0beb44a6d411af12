// Ids of the framework's own texts and of its standard commands. Plain
// defines: a program's resource script reads them too (it includes
// fwres.rc for the texts), so a menu item and its handler share one name.
#pragma once

// Standard commands.
#define FW_ID_FILE_NEW 57600
#define FW_ID_FILE_OPEN 57601
#define FW_ID_FILE_CLOSE 57602
#define FW_ID_FILE_SAVE 57603
#define FW_ID_FILE_SAVE_AS 57604
#define FW_ID_FILE_PAGE_SETUP 57605
#define FW_ID_FILE_PRINT_SETUP 57606
#define FW_ID_FILE_PRINT 57607
#define FW_ID_FILE_PRINT_DIRECT 57608
#define FW_ID_FILE_MRU_FIRST 57616
#define FW_ID_FILE_MRU_LAST 57631
#define FW_ID_EDIT_CLEAR 57632
#define FW_ID_EDIT_COPY 57634
#define FW_ID_EDIT_CUT 57635
#define FW_ID_EDIT_FIND 57636
#define FW_ID_EDIT_PASTE 57637
#define FW_ID_EDIT_REPLACE 57641
#define FW_ID_EDIT_SELECT_ALL 57642
#define FW_ID_EDIT_UNDO 57643
#define FW_ID_WINDOW_ARRANGE 57649
#define FW_ID_WINDOW_CASCADE 57650
#define FW_ID_WINDOW_TILE_HORZ 57651
#define FW_ID_WINDOW_TILE_VERT 57652
#define FW_ID_APP_ABOUT 57664
#define FW_ID_APP_EXIT 57665
#define FW_ID_HELP_FINDER 57667
#define FW_ID_CONTEXT_HELP 57669
#define FW_ID_HELP_INDEX 57670
#define FW_ID_HELP 57671
#define FW_ID_NEXT_PANE 57680
#define FW_ID_PREV_PANE 57681
#define FW_ID_VIEW_TOOLBAR 59392
#define FW_ID_VIEW_STATUS_BAR 59393
#define FW_ID_MDI_FIRST_CHILD 65280

#define FW_IDP_ASK_TO_SAVE 62464     /* "%s" is the document's title */
#define FW_IDP_FAILED_TO_OPEN 62465  /* "%s" is the path */
#define FW_IDP_FAILED_TO_SAVE 62466
#define FW_IDS_RECENT_EMPTY 62467
#define FW_IDS_UNTITLED 62468
#define FW_IDP_FAILED_TO_START_PRINT 62469
