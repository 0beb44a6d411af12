/* Symbolic names of the designer's resource scripts: item codes (16-bit
 * words), control kinds and show states (32-bit), map and redraw modes and
 * event codes (16-bit), as the form-description reader takes them. */
#ifndef TQ70FORM_H
#define TQ70FORM_H

#define __BEGIN              1
#define __END                2
#define __CLASS              9
#define __CREATE             10
#define __CREATE3            112
#define __3DFORM3            211
#define __ATTRDATA3          212
#define __WINDOWTITLE        11
#define __VALUE3             173
#define __LISTITEM3          172
#define __WINDOWSIZE         12
#define __WINDOWSIZE3        159
#define __SHOWWINDOW         13
#define __SHOWWINDOW3        201
#define __ENABLEWINDOW       14
#define __SHOWMINIMIZED      15
#define __SHOWMAXIMIZED      16
#define __STYLE              17
#define __CONTROLNAME        21
#define __MENU               22
#define __BITMAP             23
#define __CURSORID           24
#define __CURSOR             25
#define __AXIS3              124
#define __TEXTCOLOR          30
#define __FORECOLOR          31
#define __BACKCOLOR          32
#define __ATTRIBUTE          33
#define __LIMITTEXT3         156
#define __CTRLTEXTCOLOR      34
#define __CTRLBACKCOLOR      35
#define __TEXTBUFFER         36
#define __MAPMODE            37
#define __MAXCLIENT          38
#define __REDRAWMODE         39
#define __IMEMODE3           186
#define __SCROLLRANGE        50
#define __SCROLLSTEP         51
#define __TIMER              52
#define __BUTTONSTYLE        53
#define __BUTTONFRAME        54
#define __FRAMESIZE          55
#define __DRAWINTERVAL       56
#define __BUTTONSTATE        57
#define __TOOLTIP            58
#define __GRID               60
#define __CLIPBOARD          61
#define __GRID2              62
#define __FONTSIZE           70
#define __FONTBOLD           71
#define __FONTITALIC         72
#define __FONTUNDERLINE      73
#define __FONTSTRIKEOUT      74
#define __FONTNAME           75
#define __FONTNAME2          76
#define __EVENT              80
#define __MENUCTRLNAME       90
#define __SENDMESSAGE        300

#define XWT_FORM             0L
#define XWT_MDIFRAME         1L
#define XWT_MDICHILD         2L
#define XWT_PUSHBUTTON       3L
#define XWT_RADIOBUTTON      4L
#define XWT_CHECKBOX         5L
#define XWT_GROUPBOX         6L
#define XWT_EDIT             7L
#define XWT_TEXT             8L
#define XWT_LISTBOX          9L
#define XWT_HSCROLLBAR       10L
#define XWT_VSCROLLBAR       11L
#define XWT_COMBOBOX         12L
#define XWT_PICTUREBOX       13L
#define XWT_OLECLIENT        14L
#define XWT_BMPBUTTON        15L
#define XWT_TIMER            16L
#define XWT_MCI              17L
#define XWT_PRINTER          18L

#define XSW3_HIDE            0L
#define XSW3_SHOWNORMAL      1L
#define XSW3_SHOWMINIMIZED   2L
#define XSW3_SHOWMAXIMIZED   3L

#define MAP_TEXT             0
#define MAP_PIXEL            1
#define MAP_LOMETRIC         2
#define MAP_HIMETRIC         3
#define MAP_LOENGLISH        4
#define MAP_HIENGLISH        5
#define MAP_TWIPS            6
#define RDRW_META            0
#define RDRW_BITMAP          1

#define __EV_INITMENU        100
#define __EV_ON              101
#define __EV_CHANGE          102
#define __EV_START           103
#define __EV_END             104
#define __EV_SETFOCUS        105
#define __EV_KILLFOCUS       106
#define __EV_RESIZE          107
#define __EV_CLICK           108
#define __EV_DBLCLICK        109
#define __EV_MOUSEDOWN       110
#define __EV_MOUSEUP         111
#define __EV_MOUSEMOVE       112
#define __EV_UPDATED         113
#define __EV_DONE            114
#define __EV_TIMER           115
#define __EV_ABORTDOC        116
#define __EV_QUERYCLOSE      117
#define __EV_NOTIFYICON      118
#define __EV_DROPFILES       119
#define __EV_MOUSEWHEEL      120

#endif
