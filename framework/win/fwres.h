// String ids of the framework's own texts; a program's resource script
// includes fwres.rc to carry them.
#pragma once

#define FW_IDP_ASK_TO_SAVE 62464     /* "%s" is the document's title */
#define FW_IDP_FAILED_TO_OPEN 62465  /* "%s" is the path */
#define FW_IDP_FAILED_TO_SAVE 62466
#define FW_IDS_RECENT_EMPTY 62467
#define FW_IDS_UNTITLED 62468
#define FW_IDP_FAILED_TO_START_PRINT 62469
