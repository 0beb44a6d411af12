#!/usr/bin/env python3
"""Turns the frame buffer Xvfb keeps in a file (XWD, 24 or 32 bits per pixel)
into a PNG. Usage: xwd2png.py Xvfb_screen0 out.png"""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
(header_size, _version, _format, depth, width, height, _xoff, byte_order, _unit, _bit_order,
 _pad, bpp, line, _visual, rmask, gmask, bmask, _bits, _entries, ncolors) = struct.unpack(
    ">20I", data[:80])
pixels = data[header_size + 12 * ncolors:]
order = "<" if byte_order == 0 else ">"
step = bpp // 8


def shift(mask):
    s = 0
    while mask and not mask & 1:
        mask >>= 1
        s += 1
    return s


rs, gs, bs = shift(rmask), shift(gmask), shift(bmask)
rows = []
for y in range(height):
    row = bytearray(b"\0")
    base = y * line
    for x in range(width):
        chunk = pixels[base + x * step: base + x * step + step]
        v = int.from_bytes(chunk, "little" if order == "<" else "big")
        row += bytes(((v & rmask) >> rs, (v & gmask) >> gs, (v & bmask) >> bs))
    rows.append(bytes(row))


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
