#!/usr/bin/env python3
"""Writes resources/sky.bmp, the simulation's background: an uncompressed 24-bit BMP of a clear
sky, deep blue at the top to a pale haze at the horizon, with a few soft clouds."""
import math
import struct
import sys

W, H = 256, 128
out = sys.argv[1] if len(sys.argv) > 1 else "resources/sky.bmp"
row = (W * 3 + 3) // 4 * 4
pixels = bytearray()
clouds = [(0.18, 0.70, 0.10), (0.55, 0.80, 0.13), (0.83, 0.62, 0.08)]
for y in range(H):  # bottom-up rows
    t = y / (H - 1)  # 0 at the horizon, 1 at the top
    r = 0.80 - 0.55 * t
    g = 0.88 - 0.40 * t
    b = 0.97 - 0.12 * t
    line = bytearray()
    for x in range(W):
        u = x / (W - 1)
        c = 0.0
        for cx, cy, s in clouds:
            d = ((u - cx) / (2.2 * s)) ** 2 + ((t - cy) / s) ** 2
            c = max(c, math.exp(-3.0 * d))
        rr, gg, bb = (v + (0.97 - v) * 0.75 * c for v in (r, g, b))
        line += bytes((int(bb * 255), int(gg * 255), int(rr * 255)))
    line += b"\0" * (row - len(line))
    pixels += line
header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
with open(out, "wb") as f:
    f.write(header + info + pixels)
