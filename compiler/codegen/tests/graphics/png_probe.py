#!/usr/bin/env python3
# Reads an 8-bit indexed or RGB PNG with Python's own zlib and prints the
# colour at each probe "x,y" as "x,y RRGGBB", then "crc XXXXXXXX" of the
# image's RGB rows.
import struct, sys, zlib

def read(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
    pos, idat, plte = 8, b'', None
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        crc, = struct.unpack('>I', data[pos + 8 + n:pos + 12 + n])
        assert zlib.crc32(kind + body) == crc, 'bad CRC in ' + kind.decode()
        if kind == b'IHDR':
            w, h, depth, ctype = struct.unpack('>IIBB', body[:10])
        elif kind == b'PLTE':
            plte = [body[i:i + 3] for i in range(0, len(body), 3)]
        elif kind == b'IDAT':
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    assert depth == 8 and ctype in (2, 3)
    bpp = 3 if ctype == 2 else 1
    rows = []
    for y in range(h):
        line = raw[y * (w * bpp + 1):(y + 1) * (w * bpp + 1)]
        assert line[0] == 0, 'filtered row'
        line = line[1:]
        rows.append(line if ctype == 2 else b''.join(plte[i] for i in line))
    return w, h, rows

w, h, rows = read(sys.argv[1])
for p in sys.argv[2:]:
    x, y = map(int, p.split(','))
    print('%d,%d %s' % (x, y, rows[y][3 * x:3 * x + 3].hex().upper()))
print('crc %08X' % zlib.crc32(b''.join(rows)))
