"""Fixtures of the resource compiler's tests, made from the file layouts:
an icon, a cursor and a bitmap file, and a resource script in the form the
designer writes it (rows without commas between them, a 0x1A at the end)
in three copies: with Shift-JIS texts, with ASCII texts, and the ASCII one
with the commas that a comma-separated reader needs between rows."""
import os
import struct
import sys


def dib(w, h, bpp, fill):
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bpp, 0, 0, 0, 0, 0, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0]) if bpp == 1 else b''
    xor_row = ((w * bpp + 31) // 32) * 4
    and_row = ((w + 31) // 32) * 4
    return header + palette + bytes([fill]) * xor_row * h + b'\0' * and_row * h


def icon_file(kind, images, dir_fields):
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for (w, h, data), (f1, f2) in zip(images, dir_fields):
        out += struct.pack('<BBBBHHII', w, h, 2, 0, f1, f2, len(data), offset + len(body))
        body += data
    return out + body


def bitmap_file():
    info = struct.pack('<IiiHHIIiiII', 40, 2, 2, 1, 24, 0, 0, 0, 0, 0, 0)
    pixels = bytes([1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0])
    return b'BM' + struct.pack('<IHHI', 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels


SCRIPT = r'''#include "tq70form.h"

// version info ===
TX$VersionInfo RCDATA
BEGIN
	// RCDATAITEMHEADER
	"TX", 0
	0x6, 0x10
END

// 'FORM1' form data ===
FORM1 RCDATA
BEGIN
	// RCDATAITEMHEADER
	"TX", 1
	__BEGIN
	__CLASS, "FORM1\0", "APP\0"
	__CREATE3, XWT_FORM, 0x10cf0000L, 0x0L
	__ATTRDATA3, 0x0L
	__3DFORM3, 0x0L
	__REDRAWMODE, RDRW_BITMAP
	__AXIS3, 0x0L
	__WINDOWTITLE, "{TITLE}\0"
	__CONTROLNAME, "FORM1\0"
	__TEXTCOLOR, 0
	__FORECOLOR, 0
	__BACKCOLOR, 15
	__GRID2, 1, 1, 8, 8
	__CLIPBOARD, 0
	__FONTSIZE, 12
	__FONTNAME2, "{FONT}\0", 128, 49
	__SENDMESSAGE, 0x32L, 0x0L, 0x0L //WM_SETHOTKEY
	__WINDOWSIZE3, 0x0L, 0x10L, 0x20L, 0x140L, 0xf0L
	__BEGIN
	__CREATE3, XWT_PUSHBUTTON, 0x50010000L, 0x0L
	__ATTRDATA3, 0x0L
	__WINDOWTITLE, "O""K\0"
	__CONTROLNAME, "PUSH1\0"
	__CTRLTEXTCOLOR, 0x0L
	__CTRLBACKCOLOR, 0xc0c0c0L
	__WINDOWSIZE3, 0x0L, 0x8L, 0x8L, 0x40L, 0x18L
	__EVENT
	__BEGIN
		__EV_CLICK, "DOCLICK\0"
	__END
	__CREATE3, XWT_EDIT, 0x50810080L, 0x200L
	__ATTRDATA3, 0x80000000L
	__WINDOWTITLE, "line1\r\nline2	tab\0"
	__CONTROLNAME, "EDIT1\0"
	__LIMITTEXT3, 0x0L
	__IMEMODE3, 0x0L
	__CREATE3, XWT_HSCROLLBAR, 0x50000000L, 0x0L
	__CONTROLNAME, "HSCROLL1\0"
	__SCROLLRANGE, 0, 65535
	__CREATE3, XWT_TIMER, 0x46800000L, 0x0L
	__CONTROLNAME, "TIMER1\0"
	__TIMER, 65535, 100L
	__END
	__SHOWWINDOW3, XSW3_SHOWNORMAL
	__ENABLEWINDOW, 1
	__END
END

// 'MAINMENU' menu template ===
MAINMENU MENU
BEGIN
	POPUP "{MENU1}"
	BEGIN
		MENUITEM "Open",	0x1, CHECKED
		MENUITEM SEPARATOR
		MENUITEM "{ITEM}",	0x2, GRAYED
	END
	MENUITEM "Help",	0x3
END

// 'MAINMENU' Accelerator template ===
MAINMENU ACCELERATORS
BEGIN
	"O",	0x1,	VIRTKEY, CONTROL
	
	0x70,	0x2,	VIRTKEY, CONTROL, SHIFT
	0x71,	0x3,	VIRTKEY
END

// 'MAINMENU' Menu control name ==========
MAINMENU RCDATA
BEGIN
	// RCDATAITEMHEADER
	"TX", 2
	__BEGIN
		__MENUCTRLNAME, 0x1,	"MNUOPEN\0"
		__EVENT, __BEGIN
			__EV_CLICK, "OpenIt\0"
		__END

		__MENUCTRLNAME, 0x0,	"SEP1\0"
		__MENUCTRLNAME, 0x2,	"MNUEXIT\0"

	__END
END

// Icon ===
APP	ICON	"app.ico"
SUBICON	ICON	"sub\\app2.ico"

// Bitmap ===
PICT	BITMAP	"pict.bmp"

// Cursor ===
HAND	CURSOR	"hand.cur"

// Icon file list ===
TQ70IconList RCDATA
BEGIN
	// RCDATAITEMHEADER
	"TX", 3
	"app.ico\0"
	"sub\\app2.ico\0"
END

// Bitmap file list ===
TQ70BitmapList RCDATA
BEGIN
	// RCDATAITEMHEADER
	"TX", 4
	"pict.bmp\0"
END

// Cursor file list ===
TQ70CursorList RCDATA
BEGIN
	// RCDATAITEMHEADER
	"TX", 5
	"hand.cur\0"
END

'''

SJIS = {'TITLE': 'ソ表フォーム', 'FONT': 'ＭＳ ゴシック', 'MENU1': '\\036F\\037ﾌ)ファイル', 'ITEM': '終了表'}
ASCII = {'TITLE': 'Form one', 'FONT': 'Terminal', 'MENU1': '\\036F\\037f)File', 'ITEM': 'Exit'}


def fill(values):
    text = SCRIPT
    for k, v in values.items():
        text = text.replace('{' + k + '}', v)
    return text


def with_commas(text):
    """Puts a comma after every item row of an RCDATA block but its last."""
    out, rows, in_rcdata = [], [], False
    lines = text.split('\n')
    for i, line in enumerate(lines):
        if line.endswith(' RCDATA'):
            in_rcdata = True
        if in_rcdata and line == 'END':
            items = [j for j in rows if lines[j].strip() and not lines[j].strip().startswith('//')]
            for j in items[:-1]:
                body, sep, comment = lines[j].partition(' //')
                out[j] = body.rstrip() + ',' + (' //' + comment if sep else '')
            rows, in_rcdata = [], False
        elif in_rcdata and line != 'BEGIN' and not line.endswith(' RCDATA'):
            rows.append(i)
        out.append(line)
    return '\n'.join(out)


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def main():
    out = sys.argv[1]
    os.makedirs(os.path.join(out, 'sub'), exist_ok=True)
    write(os.path.join(out, 'app.ico'),
          icon_file(1, [(16, 16, dib(16, 16, 1, 0x55)), (32, 32, dib(32, 32, 1, 0xAA))], [(1, 8), (0, 0)]))
    write(os.path.join(out, 'sub', 'app2.ico'), icon_file(1, [(16, 16, dib(16, 16, 1, 0x33))], [(1, 1)]))
    write(os.path.join(out, 'hand.cur'), icon_file(2, [(16, 16, dib(16, 16, 1, 0x0F))], [(3, 5)]))
    write(os.path.join(out, 'pict.bmp'), bitmap_file())
    crlf = lambda t: t.replace('\n', '\r\n')
    write(os.path.join(out, 'designer_sjis.rc'), crlf(fill(SJIS)).encode('cp932') + b'\x1a')
    write(os.path.join(out, 'designer_sjis_commas.rc'), crlf(with_commas(fill(SJIS))).encode('cp932') + b'\x1a')
    write(os.path.join(out, 'designer_ascii.rc'), crlf(fill(ASCII)).encode('ascii') + b'\x1a')
    commas = with_commas(fill(ASCII))
    write(os.path.join(out, 'designer_ascii_commas.rc'), crlf(commas).encode('ascii'))
    # The Linux build of the comma-separated reader wants '/' in file names.
    write(os.path.join(out, 'designer_windres.rc'),
          crlf(commas.replace('sub\\\\app2.ico', 'sub/app2.ico')).encode('ascii'))


main()
