#!/usr/bin/env python3
"""Draws resources/Pagewick_Logo.gif: angle brackets around a quill-like stroke.

The encoder is gif_writer.py beside this script."""
import sys

from gif_writer import encode_gif

W, H = 240, 96
BG, FG, ACCENT, SHADE = 0, 1, 2, 3
palette = [(0x1d, 0x35, 0x57), (0xf1, 0xfa, 0xee), (0xe6, 0x39, 0x46), (0xa8, 0xda, 0xdc)]
px = [[BG] * W for _ in range(H)]

def rect(x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(H, y1)):
        for x in range(max(0, x0), min(W, x1)):
            px[y][x] = c

def line(x0, y0, x1, y1, c, t=5):
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i // steps
        y = y0 + (y1 - y0) * i // steps
        rect(x - t // 2, y - t // 2, x + t - t // 2, y + t - t // 2, c)

line(70, 18, 30, 48, FG, 7); line(30, 48, 70, 78, FG, 7)        # <
line(170, 18, 210, 48, FG, 7); line(210, 48, 170, 78, FG, 7)    # >
line(140, 14, 100, 82, ACCENT, 7)                               # /
rect(96, 84, 150, 88, SHADE)
rect(0, H - 4, W, H, SHADE)

gif = encode_gif(px, palette, table_bits=8)
open(sys.argv[1] if len(sys.argv) > 1 else "resources/Pagewick_Logo.gif", "wb").write(gif)
