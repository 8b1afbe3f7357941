#!/usr/bin/env python3
"""xwd2png.py IN.xwd OUT.png: a 24/32-bit TrueColor X window dump as a PNG, cropped to the
part that is not the screen's black background (no image library needed)."""
import struct, sys, zlib

data = open(sys.argv[1], 'rb').read()
h = struct.unpack('>25I', data[:100])
header_size, fmt, depth, width, height = h[0], h[2], h[3], h[4], h[5]
byte_order, bpp, bpl, ncolors = h[7], h[11], h[12], h[19]
red_mask, green_mask, blue_mask = h[14], h[15], h[16]
if fmt != 2 or bpp not in (24, 32):
    sys.exit('xwd2png: only 24/32-bit ZPixmap dumps')
pixels = data[header_size + ncolors * 12:]
step = bpp // 8
endian = '<' if byte_order == 0 else '>'

def shift(mask):
    s = 0
    while mask and not mask & 1:
        mask >>= 1
        s += 1
    return s

rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
rows = []
for y in range(height):
    line = pixels[y * bpl:y * bpl + width * step]
    out = bytearray(width * 3)
    for x in range(width):
        v = int.from_bytes(line[x * step:x * step + step], 'little' if endian == '<' else 'big')
        out[x * 3] = (v & red_mask) >> rs
        out[x * 3 + 1] = (v & green_mask) >> gs
        out[x * 3 + 2] = (v & blue_mask) >> bs
    rows.append(bytes(out))
# Crop to what is drawn.
ys = [y for y, r in enumerate(rows) if r.strip(b'\0')]
if not ys:
    sys.exit('xwd2png: the screen is empty')
top, bottom = ys[0], ys[-1] + 1
left = min(len(r) - len(r.lstrip(b'\0')) for r in rows[top:bottom] if r.strip(b'\0')) // 3
right = max(len(r.rstrip(b'\0')) for r in rows[top:bottom]) // 3 + 1
right = min(right, width)
w, hgt = right - left, bottom - top
raw = b''.join(b'\0' + r[left * 3:right * 3] for r in rows[top:bottom])

def chunk(kind, body):
    c = kind + body
    return struct.pack('>I', len(body)) + c + struct.pack('>I', zlib.crc32(c) & 0xffffffff)

png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, hgt, 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
open(sys.argv[2], 'wb').write(png)
