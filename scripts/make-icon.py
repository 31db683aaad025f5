#!/usr/bin/env python3
"""Draws the program icon (a download arrow under a red no-entry sign) into an
.ico with 32x32 and 16x16 images, 32-bit with alpha. Usage: make-icon.py OUT"""
import math
import struct
import sys

def pixel(x, y):
    """Colour (r, g, b, a) at a point of the unit square, y downwards."""
    cx, cy = x - 0.5, y - 0.5
    r = math.hypot(cx, cy)
    # Red ring and bar (the bar runs top-left to bottom-right).
    if 0.37 <= r <= 0.48:
        return (205, 30, 30, 255)
    if r < 0.37 and abs(cx - cy) / math.sqrt(2) < 0.06:
        return (205, 30, 30, 255)
    # Green download arrow inside the ring.
    if r < 0.37:
        if abs(cx) < 0.08 and -0.26 < cy < 0.04:
            return (40, 150, 60, 255)
        if 0.0 <= cy < 0.24 and abs(cx) < (0.24 - cy) * 0.9:
            return (40, 150, 60, 255)
        return (255, 255, 255, 255)
    return (0, 0, 0, 0)

def render(size, samples=4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = pixel((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    a = c[3]
                    acc[0] += c[0] * a; acc[1] += c[1] * a; acc[2] += c[2] * a; acc[3] += a
            n = samples * samples
            a = acc[3] / n
            rgb = [int(acc[i] / acc[3]) if acc[3] else 0 for i in range(3)]
            row.append((rgb[0], rgb[1], rgb[2], int(round(a))))
        rows.append(row)
    return rows

def dib(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)

images = [(32, dib(32)), (16, dib(16))]
out = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, data in images:
    out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b''.join(data for _, data in images)
with open(sys.argv[1], 'wb') as f:
    f.write(out)
