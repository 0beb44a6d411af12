#!/usr/bin/env python3
"""Draws the IDE's plain pictures: the 576 x 432 product picture (8 bits per
pixel with its own colour table), the document icons and the designer's
cursors. Usage: mkres.py OUTDIR"""
import math
import os
import struct
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def picture():
    w, h = 576, 432
    # Palette: a blue ramp, a gold ramp, greys.
    pal = []
    for i in range(128):
        pal.append((10 + i // 2, 20 + i // 2, 60 + i))
    for i in range(64):
        pal.append((120 + 2 * i, 90 + 2 * i, 20 + i // 2))
    for i in range(64):
        pal.append((4 * i, 4 * i, 4 * i))
    stride = (w + 3) & ~3
    rows = []
    for y in range(h):  # bottom-up
        yy = h - 1 - y
        row = bytearray(stride)
        for x in range(w):
            v = int(127 * (1 - yy / h) * (0.6 + 0.4 * x / w))
            # Gold rings around a centre above the text lines.
            d = math.hypot(x - 420, yy - 150)
            if 60 < d < 66 or 90 < d < 94 or 120 < d < 122:
                v = 128 + min(63, int(d / 2))
            # A band behind the version text.
            if 350 <= yy <= 425 and x < 330:
                v = 192 + 8
            row[x] = v
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in pal)
    off = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    with open(os.path.join(out, "picture.bmp"), "wb") as f:
        f.write(head + info + table + bits)


def icon(name, rgb):
    # 32 x 32, 4 bits per pixel: a framed page in the document's colour.
    w = h = 32
    pal = [(0, 0, 0), rgb, (255, 255, 255), (128, 128, 128)] + [(0, 0, 0)] * 12
    xor = bytearray()
    for y in range(h):
        yy = h - 1 - y
        row = []
        for x in range(w):
            if 4 <= x <= 27 and 2 <= yy <= 29:
                edge = x in (4, 27) or yy in (2, 29)
                c = 0 if edge else (1 if yy < 10 else 2)
                if not edge and yy >= 13 and yy % 4 == 1 and 8 <= x <= 23:
                    c = 3
            else:
                c = 0
            row.append(c)
        for i in range(0, w, 2):
            xor.append((row[i] << 4) | row[i + 1])
    andm = bytearray()
    for y in range(h):
        yy = h - 1 - y
        bits = 0
        for x in range(w):
            transparent = not (4 <= x <= 27 and 2 <= yy <= 29)
            bits = (bits << 1) | transparent
        andm += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, len(xor) + len(andm), 0, 0, 16, 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in pal)
    img = info + table + bytes(xor) + bytes(andm)
    head = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(img), 22)
    with open(os.path.join(out, name + ".ico"), "wb") as f:
        f.write(head + img)


def cursor(name, shape):
    # 32 x 32 monochrome; shape(x, y) gives 'b' black, 'w' white or None.
    w = h = 32
    xor = bytearray()
    andm = bytearray()
    for y in range(h):
        yy = h - 1 - y
        xb = ab = 0
        for x in range(w):
            c = shape(x, yy)
            xb = (xb << 1) | (c == "w")
            ab = (ab << 1) | (c is None)
        xor += struct.pack(">I", xb)
        andm += struct.pack(">I", ab)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    table = struct.pack("BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    img = info + table + bytes(xor) + bytes(andm)
    head = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 0, 0, len(img), 22)
    with open(os.path.join(out, name + ".cur"), "wb") as f:
        f.write(head + img)


def arrow(x, y):
    if x <= y < 20 and x < 12:
        return "b" if x == 0 or x == y or y == 19 else "w"
    return None


def cross(x, y):
    if (x == 15 and 2 <= y <= 28) or (y == 15 and 2 <= x <= 28):
        return "b"
    return None


def frame(x, y):
    if (x in (4, 27) and 4 <= y <= 27) or (y in (4, 27) and 4 <= x <= 27):
        return "b"
    return cross(x, y)


def plus(x, y):
    a = arrow(x, y)
    if a:
        return a
    if (x == 22 and 18 <= y <= 26) or (y == 22 and 18 <= x <= 26):
        return "b"
    return None


def strip(name, count, iw, ih):
    """A tool-bar image strip: count glyphs of iw x ih on the mask grey,
    24 bits per pixel, each a framed square in a colour of its own."""
    w = iw * count
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(ih):  # bottom-up
        yy = ih - 1 - y
        row = bytearray(stride)
        for x in range(w):
            i, xx = divmod(x, iw)
            r, g, b = 192, 192, 192
            m = max(2, iw // 6)
            if m <= xx < iw - m and m <= yy < ih - m:
                edge = xx in (m, iw - m - 1) or yy in (m, ih - m - 1)
                hue = (i * 67) % 360
                r = int(128 + 127 * math.cos(math.radians(hue)))
                g = int(128 + 127 * math.cos(math.radians(hue - 120)))
                b = int(128 + 127 * math.cos(math.radians(hue + 120)))
                if edge:
                    r, g, b = 0, 0, 0
            row[3 * x:3 * x + 3] = bytes((b, g, r))
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, ih, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    off = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    with open(os.path.join(out, name + ".bmp"), "wb") as f:
        f.write(head + info + bits)


picture()
strip("stdbar", 18, 21, 21)
strip("stdbar_s", 18, 16, 15)
strip("toolbox", 16, 24, 22)
strip("toolbox_s", 16, 16, 15)
strip("debugbar", 5, 21, 21)
for name, rgb in [("main", (0, 64, 160)), ("prjframe", (0, 128, 128)), ("bas", (0, 0, 255)),
                  ("prj", (0, 128, 0)), ("rc", (128, 0, 128)), ("sub", (0, 128, 255)),
                  ("bet", (128, 128, 0)), ("lib", (128, 0, 0)), ("obj", (255, 128, 0)),
                  ("dbg", (255, 0, 0)), ("other", (128, 128, 128))]:
    icon(name, rgb)
cursor("select", arrow)
cursor("move", cross)
cursor("layout", frame)
cursor("copypaste", plus)
