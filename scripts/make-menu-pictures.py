#!/usr/bin/env python3
"""Draws resources/true.gif and resources/false.gif, the pictures beside a topic of a
generated script menu: a box with a minus while its sub-points show (true), with a plus while
they are hidden (false). The encoder is gif_writer.py beside this script."""
import os
import sys

from gif_writer import encode_gif

SIZE = 16
CLEAR, EDGE, FILL, SIGN = 0, 1, 2, 3
palette = [(0xff, 0xff, 0xff), (0x1d, 0x35, 0x57), (0xf1, 0xfa, 0xee), (0x45, 0x7b, 0x9d)]


def picture(plus):
    px = [[CLEAR] * SIZE for _ in range(SIZE)]
    for y in range(2, 14):
        for x in range(2, 14):
            edge = x in (2, 13) or y in (2, 13)
            corner = x in (2, 13) and y in (2, 13)
            px[y][x] = CLEAR if corner else EDGE if edge else FILL
    for x in range(5, 11):
        px[7][x] = px[8][x] = SIGN
    if plus:
        for y in range(5, 11):
            px[y][7] = px[y][8] = SIGN
    return px


folder = sys.argv[1] if len(sys.argv) > 1 else "resources"
for name, plus in (("true.gif", False), ("false.gif", True)):
    with open(os.path.join(folder, name), "wb") as out:
        out.write(encode_gif(picture(plus), palette, transparent=CLEAR))
