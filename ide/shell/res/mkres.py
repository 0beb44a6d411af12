#!/usr/bin/env python3
"""Draws the IDE's plain pictures: the 576 x 432 product picture (8 bits per
pixel with its own colour table), the tool bars' and the tool box's
pictures at both sizes, the document icons and the designer's cursors. Usage: mkres.py OUTDIR"""
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


# ---- tool-bar pictures ---------------------------------------------------
# Each picture is a list of shapes on a 16 x 16 design grid (x right, y
# down), drawn in order and rasterised with 3 x 3 samples a pixel so that
# the 16-pixel and the 24-pixel images come from one drawing.

MASK = (192, 192, 192)  # the bars' transparent colour; never drawn on purpose
K = (0, 0, 0)
W = (255, 255, 255)
DG = (96, 96, 96)
LG = (224, 224, 224)
MG = (160, 160, 160)
YEL = (240, 200, 40)
DYEL = (160, 120, 0)
BLU = (30, 80, 200)
DBLU = (0, 40, 120)
GRN = (0, 150, 40)
DGRN = (0, 90, 20)
RED = (210, 30, 30)
BRN = (150, 90, 40)
NAVY = (0, 0, 128)


def _seg_dist2(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
    ex, ey = x0 + t * dx - px, y0 + t * dy - py
    return ex * ex + ey * ey


def _in_poly(px, py, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# Shape makers: each returns (bounding box, test(x, y), colour).
def box(x0, y0, x1, y1, c):
    return ((x0, y0, x1, y1), lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, c)


def line(pts, c, w=1.0):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    r = w / 2
    segs = list(zip(pts, pts[1:]))
    return ((min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r),
            lambda x, y: any(_seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= r * r for a, b in segs), c)


def poly(pts, c):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return ((min(xs), min(ys), max(xs), max(ys)), lambda x, y: _in_poly(x, y, pts), c)


def disc(cx, cy, r, c):
    return ((cx - r, cy - r, cx + r, cy + r), lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, c)


def ring(cx, cy, r, c, w=1.0, fill=None):
    out = [disc(cx, cy, r, c)]
    out.append(disc(cx, cy, r - w, fill if fill else None))
    return out


def arc(cx, cy, r, a0, a1, c, w=1.2, n=14):
    pts = [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
            cy - r * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]
    return line(pts, c, w)


def flat(*items):
    out = []
    for it in items:
        if isinstance(it, list):
            out += flat(*it)
        else:
            out.append(it)
    return out


# ---- the pieces pictures share ------------------------------------------
def page(x0, y0, x1, y1, fold=3.0):
    return [poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], K),
            poly([(x0 + 1, y0 + 1), (x1 - fold - 0.2, y0 + 1), (x1 - 1, y0 + fold + 0.2), (x1 - 1, y1 - 1),
                  (x0 + 1, y1 - 1)], W),
            line([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], K, 0.9)]


def text_lines(x0, x1, ys, c=DG):
    return [line([(x0, y), (x1, y)], c, 0.9) for y in ys]


def magnifier(cx, cy, r):
    return [ring(cx, cy, r, K, 1.2, (170, 220, 255)),
            line([(cx + r * 0.7, cy + r * 0.7), (cx + r * 1.9, cy + r * 1.9)], BRN, 2.0)]


def arrow_v(x, y0, y1, c, head=2.5):
    d = 1 if y1 > y0 else -1
    return [line([(x, y0), (x, y1 - d * head * 0.6)], c, 1.6),
            poly([(x - head, y1 - d * head), (x + head, y1 - d * head), (x, y1 + d * 0.3)], c)]


def play(x0, y0, x1, y1, c):
    return poly([(x0, y0), (x1, (y0 + y1) / 2), (x0, y1)], c)


def bug():
    return [line([(4, 5), (2, 3)], K, 0.9), line([(12, 5), (14, 3)], K, 0.9),
            line([(3.5, 8.5), (1, 8)], K, 0.9), line([(12.5, 8.5), (15, 8)], K, 0.9),
            line([(4, 12), (2, 14.5)], K, 0.9), line([(12, 12), (14, 14.5)], K, 0.9),
            line([(6.5, 3.5), (5, 1)], K, 0.9), line([(9.5, 3.5), (11, 1)], K, 0.9),
            disc(8, 4.5, 2.3, K),
            disc(8, 9.5, 4.6, K), disc(8, 9.5, 3.7, RED), line([(8, 6), (8, 14)], K, 0.9),
            disc(6.3, 8.5, 0.8, K), disc(9.7, 8.5, 0.8, K), disc(6.6, 11.5, 0.7, K), disc(9.4, 11.5, 0.7, K)]


def code_lines():
    return text_lines(1.5, 7, [3, 6]) + text_lines(1.5, 7, [10, 13])


def letter_a_big(x0, y0, x1, y1, c, w=1.5):
    mx = (x0 + x1) / 2
    return [line([(x0, y1), (mx, y0), (x1, y1)], c, w),
            line([(x0 + (mx - x0) * 0.45, y0 + (y1 - y0) * 0.62), (x1 - (x1 - mx) * 0.45, y0 + (y1 - y0) * 0.62)], c, w * 0.8)]


def letter_a_small(cx, cy, r, c, w=1.2):
    return [arc(cx, cy, r, 0, 360, c, w), line([(cx + r, cy - r - 0.5), (cx + r, cy + r + 0.5)], c, w)]


def letter_b_small(cx, cy, r, c, w=1.2):
    return [arc(cx, cy, r, 0, 360, c, w), line([(cx - r, cy - r - 3), (cx - r, cy + r + 0.5)], c, w)]


def raised(x0, y0, x1, y1):
    return [box(x0, y0, x1, y1, K), box(x0, y0, x1 - 1, y1 - 1, W), box(x0 + 1, y0 + 1, x1 - 1, y1 - 1, DG),
            box(x0 + 1, y0 + 1, x1 - 2, y1 - 2, LG)]


def sunscape(x0, y0, x1, y1):
    return [box(x0, y0, x1, y1, (150, 200, 255)), disc(x0 + (x1 - x0) * 0.3, y0 + (y1 - y0) * 0.3, (y1 - y0) * 0.18, YEL),
            poly([(x0, y1), (x0 + (x1 - x0) * 0.45, y0 + (y1 - y0) * 0.4), (x0 + (x1 - x0) * 0.75, y1)], GRN),
            poly([(x0 + (x1 - x0) * 0.45, y1), (x0 + (x1 - x0) * 0.75, y0 + (y1 - y0) * 0.55), (x1, y1)], DGRN)]


def scroll_arrow(cx, cy, d, c=K, s=1.6):
    # d: 'l', 'r', 'u', 'd'
    pts = {"l": [(cx + s * 0.6, cy - s), (cx + s * 0.6, cy + s), (cx - s * 0.6, cy)],
           "r": [(cx - s * 0.6, cy - s), (cx - s * 0.6, cy + s), (cx + s * 0.6, cy)],
           "u": [(cx - s, cy + s * 0.6), (cx + s, cy + s * 0.6), (cx, cy - s * 0.6)],
           "d": [(cx - s, cy - s * 0.6), (cx + s, cy - s * 0.6), (cx, cy + s * 0.6)]}[d]
    return poly(pts, c)


# ---- the pictures ----------------------------------------------------------
def g_new():
    return page(3, 1, 13, 15) + [disc(12.5, 3.5, 2.2, YEL), line([(12.5, 0.5), (12.5, 6.5)], DYEL, 0.7),
                                  line([(9.5, 3.5), (15.5, 3.5)], DYEL, 0.7)]


def g_open():
    return [poly([(1, 4), (5, 4), (6, 5.5), (12, 5.5), (12, 14), (1, 14)], DYEL),
            poly([(1.8, 4.8), (4.6, 4.8), (5.6, 6.3), (11.2, 6.3), (11.2, 13.2), (1.8, 13.2)], YEL),
            poly([(3.5, 8), (15.5, 8), (12.5, 14), (1, 14)], DYEL),
            poly([(4.1, 8.8), (14.3, 8.8), (12, 13.2), (2.2, 13.2)], (255, 225, 110)),
            line([(9, 1.5), (12, 1), (14, 3.5)], K, 0.9), poly([(13, 4.5), (15.5, 4.5), (14.5, 2.2)], K)]


def g_save():
    return [box(1.5, 1.5, 14.5, 14.5, K), box(2.5, 2.5, 13.5, 13.5, BLU),
            box(4, 2.5, 12, 7.5, W), line([(5, 4.5), (11, 4.5)], MG, 0.8), line([(5, 6), (11, 6)], MG, 0.8),
            box(5, 10, 11, 14.5, DBLU), box(8.6, 11, 10, 13.5, LG)]


def g_compile():
    gear = [disc(10.5, 10.5, 3.8, DG), disc(10.5, 10.5, 2.6, MG), disc(10.5, 10.5, 1.1, W)]
    teeth = [line([(10.5 + 3.2 * math.cos(a), 10.5 + 3.2 * math.sin(a)),
                   (10.5 + 5.0 * math.cos(a), 10.5 + 5.0 * math.sin(a))], DG, 1.6)
             for a in [i * math.pi / 4 for i in range(8)]]
    return page(1, 0.5, 10, 12.5, 2.5) + text_lines(2.8, 7.5, [4, 6.5, 9]) + teeth + gear


def g_cut():
    return [line([(5.5, 1), (10.5, 10)], DG, 1.4), line([(10.5, 1), (5.5, 10)], DG, 1.4),
            disc(8, 5.6, 0.7, K),
            ring(4.5, 12, 2.6, RED, 1.3), ring(11.5, 12, 2.6, RED, 1.3)]


def g_copy():
    return page(1, 1, 10, 11, 2.5) + text_lines(2.8, 7, [4.5, 7]) + page(6, 5, 15, 15, 2.5) + \
        text_lines(7.8, 12.5, [8.5, 11, 13])


def g_paste():
    return [box(2, 2.5, 12, 15, DYEL), box(3, 3.5, 11, 14, BRN),
            box(5, 1, 9, 4.5, K), box(5.8, 1.8, 8.2, 3.8, MG)] + page(7, 6.5, 15, 15.5, 2.2) + \
        text_lines(8.6, 12.5, [9.5, 11.5, 13.5])


def g_case():
    return letter_a_big(0.8, 2.5, 8, 13.5, NAVY, 1.7) + letter_a_small(11.5, 10.5, 2.5, RED, 1.4)


def g_find(up):
    return magnifier(6, 6, 4.2) + (arrow_v(13, 13.5, 2.5, BLU) if up else arrow_v(13, 2.5, 13.5, BLU))


def g_replace():
    return [box(0.5, 1, 7, 8, K), box(1.5, 2, 6, 7, W)] + letter_a_small(3.6, 4.6, 1.6, NAVY, 1.1) + \
        [box(9, 8, 15.5, 15, K), box(10, 9, 14.5, 14, (255, 230, 150))] + letter_b_small(12.2, 12, 1.6, RED, 1.1) + \
        [line([(4, 10), (4, 12.5), (6.5, 12.5)], DGRN, 1.4), poly([(6, 10.5), (8.8, 12.5), (6, 14.5)], DGRN),
         line([(9.5, 2.5), (12.5, 2.5), (12.5, 5)], DGRN, 1.4), poly([(10.5, 4.8), (12.5, 7.5), (14.5, 4.8)], DGRN)]


def g_debug():
    return bug()


def g_run():
    return [play(3, 1.5, 14, 14.5, DGRN), play(4.3, 3.7, 12, 12.3, GRN)]


def g_restart():
    return [arc(8, 8.5, 5.2, 110, 400, BLU, 2.0), poly([(2.0, 2.0), (7.5, 2.4), (4.0, 7.0)], BLU),
            play(6.5, 6, 11, 11, GRN)]


def g_trace():
    # One step into: the arrow turns down into the indented lines.
    return text_lines(1, 6, [2, 5]) + text_lines(5.5, 12, [9, 11.5, 14]) + \
        [line([(8, 1.5), (8, 6)], BLU, 1.6), poly([(5.2, 5.5), (10.8, 5.5), (8, 8.5)], BLU)]


def g_pass_trace():
    # One step over: the arrow jumps over the procedure's line.
    return text_lines(1, 15, [14]) + [box(4, 9.5, 12, 11.5, DG),
                                      arc(8, 10, 5.5, 180, 0, BLU, 1.6)] + \
        [poly([(11, 7.5), (15.5, 7.5), (13.5, 11)], BLU)]


def g_watch():
    return [poly([(1, 8), (4, 4), (8, 3), (12, 4), (15, 8), (12, 12), (8, 13), (4, 12)], K),
            poly([(2.3, 8), (4.7, 5), (8, 4.2), (11.3, 5), (13.7, 8), (11.3, 11), (8, 11.8), (4.7, 11)], W),
            disc(8, 8, 3.2, BLU), disc(8, 8, 1.5, K), disc(7, 7, 0.6, W)]


def g_field():
    return [box(0.5, 4, 15.5, 12, K), box(1.5, 5, 14.5, 11, W), line([(4, 5.8), (4, 10.2)], K, 1.0)]


def g_pointer():
    return [poly([(4, 1), (4, 13.5), (7, 10.5), (9.5, 15), (11.3, 14), (9, 9.5), (13, 9.5)], K),
            poly([(5, 3.3), (5, 11.2), (7.3, 8.9), (9.8, 13.6), (10.1, 13.4), (7.7, 8.6), (10.6, 8.6)], W)]


def g_button():
    return raised(0.5, 3.5, 15.5, 12.5) + [box(4.5, 7.5, 11.5, 8.6, K)]


def g_radio():
    return [ring(5.5, 8, 4.5, DG, 1.0, W), disc(5.5, 8, 2.0, K), line([(11, 8), (15.5, 8)], DG, 1.0)]


def g_check():
    return [box(1, 3.5, 10, 12.5, DG), box(2, 4.5, 9, 11.5, W),
            line([(3, 8), (5, 10.3), (8.3, 5.2)], K, 1.6), line([(12, 8), (15.5, 8)], DG, 1.0)]


def g_group():
    return [line([(3, 3.5), (1, 3.5), (1, 14.5), (15, 14.5), (15, 3.5), (10.5, 3.5)], DG, 1.0),
            line([(4, 3.5), (9.5, 3.5)], BLU, 2.0)]


def g_edit():
    return [box(0.5, 3, 15.5, 13, K), box(1.5, 4, 14.5, 12, W)] + letter_a_small(4.5, 9, 1.8, K, 1.1) + \
        letter_b_small(9.3, 9, 1.8, K, 1.1) + [line([(13, 5), (13, 11)], K, 0.9)]


def g_label():
    return letter_a_big(2, 1.5, 14, 14.5, K, 2.2)


def g_list():
    return [box(0.5, 0.5, 15.5, 15.5, K), box(1.5, 1.5, 14.5, 14.5, W),
            box(1.5, 5.5, 11, 8.5, NAVY), box(11, 1.5, 14.5, 14.5, LG), line([(11, 1.5), (11, 14.5)], DG, 0.8)] + \
        text_lines(2.5, 9.5, [3.5, 10.5, 13]) + [line([(2.5, 7), (9.5, 7)], W, 0.9)]


def g_combo():
    return [box(0.5, 1, 15.5, 7, K), box(1.5, 2, 10.5, 6, W), box(10.5, 2, 14.5, 6, LG),
            scroll_arrow(12.5, 4, "d", K, 1.4), box(0.5, 7, 11.5, 15.5, K), box(1.5, 7.5, 10.5, 14.5, W)] + \
        text_lines(2.5, 9.5, [9.5, 12])


def thumb(x0, y0, x1, y1):
    return [box(x0, y0, x1, y1, DG), box(x0, y0, x1 - 0.8, y1 - 0.8, W), box(x0 + 0.8, y0 + 0.8, x1 - 0.8, y1 - 0.8, LG)]


def g_hscroll():
    return [box(0.5, 4.5, 15.5, 11.5, DG), box(1.3, 5.3, 14.7, 10.7, (232, 232, 232))] + thumb(6, 5.3, 10, 10.7) + \
        [scroll_arrow(3, 8, "l", K, 2.0), scroll_arrow(13, 8, "r", K, 2.0)]


def g_vscroll():
    return [box(4.5, 0.5, 11.5, 15.5, DG), box(5.3, 1.3, 10.7, 14.7, (232, 232, 232))] + thumb(5.3, 6, 10.7, 10) + \
        [scroll_arrow(8, 3, "u", K, 2.0), scroll_arrow(8, 13, "d", K, 2.0)]


def g_picture():
    return [box(0.5, 1.5, 15.5, 14.5, K)] + sunscape(1.5, 2.5, 14.5, 13.5)


def g_ole():
    return [box(0.5, 0.5, 15.5, 15.5, DG), box(1.5, 1.5, 14.5, 14.5, W),
            disc(5.5, 5.5, 3.2, RED), box(8, 3, 13.5, 8.5, BLU),
            poly([(3, 13.5), (7, 7.5), (11, 13.5)], GRN)]


def g_bmp_button():
    return raised(0.5, 1, 15.5, 15) + [box(3, 3.5, 12.5, 12, DG)] + sunscape(3.8, 4.3, 11.7, 11.2)


def g_timer():
    return [box(6.5, 0.3, 9.5, 2.2, DG), ring(8, 9, 6.2, K, 1.2, W), line([(8, 9), (8, 4.8)], K, 1.2),
            line([(8, 9), (11, 10.5)], RED, 1.2), disc(8, 9, 0.8, K)]


def g_mci():
    holes = [box(x, 2, x + 1.3, 3.3, W) for x in (1.5, 4.5, 7.5, 10.5, 13.3)] + \
        [box(x, 12.7, x + 1.3, 14, W) for x in (1.5, 4.5, 7.5, 10.5, 13.3)]
    return [box(0.5, 1, 15.5, 15, K)] + holes + [box(1.5, 4.5, 14.5, 11.5, (80, 80, 120)), play(6, 5.5, 10.5, 10.5, YEL)]


STANDARD = [g_new, g_open, g_save, g_compile, g_cut, g_copy, g_paste, g_case, lambda: g_find(False),
            lambda: g_find(True), g_replace, g_debug, g_run, g_restart, g_trace, g_pass_trace, g_watch, g_field]
DEBUG = [g_debug, g_run, g_restart, g_trace, g_pass_trace]
TOOLBOX = [g_pointer, g_button, g_radio, g_check, g_group, g_edit, g_label, g_list, g_combo, g_hscroll,
           g_vscroll, g_picture, g_ole, g_bmp_button, g_timer, g_mci]

N = 3  # samples a side


def render(drawing, iw, ih):
    """The picture as rows of (r, g, b), top row first."""
    shapes = flat(drawing())
    s = min(iw, ih) / 16.0
    ox = (iw - 16 * s) / 2
    oy = (ih - 16 * s) / 2
    out = []
    for py in range(ih):
        row = []
        for px in range(iw):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(N):
                for sx in range(N):
                    x = (px + (sx + 0.5) / N - ox) / s
                    y = (py + (sy + 0.5) / N - oy) / s
                    col = None
                    for (x0, y0, x1, y1), test, c in shapes:
                        if x0 <= x <= x1 and y0 <= y <= y1 and test(x, y):
                            col = c  # None punches a hole back to the background
                    if col is not None:
                        covered += 1
                        acc = [acc[i] + col[i] for i in range(3)]
            if covered == 0:
                row.append(MASK)
            else:
                # Edge pixels mix with a grey near the bar's face, never the mask itself.
                bg = (200, 200, 200)
                n = N * N
                c = tuple(int(round((acc[i] + bg[i] * (n - covered)) / n)) for i in range(3))
                row.append((193, 193, 193) if c == MASK else c)
        out.append(row)
    return out


def strip(name, drawings, iw, ih):
    """A tool-bar image strip: the pictures side by side, each iw x ih, on
    the mask grey, 24 bits per pixel."""
    pics = [render(d, iw, ih) for d in drawings]
    w = iw * len(pics)
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(ih - 1, -1, -1):  # bottom-up
        row = bytearray(stride)
        for i, p in enumerate(pics):
            for x, (r, g, b) in enumerate(p[y]):
                o = 3 * (i * iw + x)
                row[o:o + 3] = bytes((b, g, r))
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, ih, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    off = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    with open(os.path.join(out, name + ".bmp"), "wb") as f:
        f.write(head + info + bits)


picture()
strip("stdbar", STANDARD, 21, 21)
strip("stdbar_s", STANDARD, 16, 15)
strip("toolbox", TOOLBOX, 24, 22)
strip("toolbox_s", TOOLBOX, 16, 15)
strip("debugbar", DEBUG, 21, 21)
for name, rgb in [("main", (0, 64, 160)), ("prjframe", (0, 128, 128)), ("bas", (0, 0, 255)),
                  ("prj", (0, 128, 0)), ("rc", (128, 0, 128)), ("sub", (0, 128, 255)),
                  ("bet", (128, 128, 0)), ("lib", (128, 0, 0)), ("obj", (255, 128, 0)),
                  ("dbg", (255, 0, 0)), ("other", (128, 128, 128))]:
    icon(name, rgb)
cursor("select", arrow)
cursor("move", cross)
cursor("layout", frame)
cursor("copypaste", plus)
