#!/usr/bin/env python3
"""Draws icon 110 of the mode-switch window: a 32x32 true-colour icon of a
straight morse key on the window's light yellow, written as velkaro.ico.

Run from anywhere: python3 resources/make_icon.py (writes beside itself).
"""

import os
import struct

SIZE = 32
YELLOW = (255, 250, 198)
BLACK = (0, 0, 0)
BRASS = (196, 150, 40)
WOOD = (120, 70, 30)
RED = (200, 30, 30)


def draw():
    """Returns SIZE rows of SIZE (r, g, b, a) pixels, top row first."""
    px = [[YELLOW + (255,) for _ in range(SIZE)] for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(SIZE, y1 + 1)):
            for x in range(max(0, x0), min(SIZE, x1 + 1)):
                px[y][x] = colour + (255,)

    def disc(cx, cy, r, colour):
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    px[y][x] = colour + (255,)

    rect(0, 0, SIZE - 1, 0, BLACK)            # frame
    rect(0, SIZE - 1, SIZE - 1, SIZE - 1, BLACK)
    rect(0, 0, 0, SIZE - 1, BLACK)
    rect(SIZE - 1, 0, SIZE - 1, SIZE - 1, BLACK)
    rect(3, 24, 28, 28, WOOD)                 # base
    rect(6, 19, 9, 23, BRASS)                 # pivot post
    for i in range(20):                       # lever, rising to the knob
        x = 5 + i
        y = 19 - i // 4
        rect(x, y, x, y + 1, BRASS)
    rect(22, 19, 23, 23, BRASS)               # contact
    disc(25, 13, 3, BLACK)                    # knob
    # Three dots and a dash: the sound of the key.
    for x in (4, 8, 12):
        disc(x, 6, 1, RED)
    rect(16, 5, 24, 7, RED)
    return px


def ico_bytes(px):
    rows = b"".join(
        bytes(c for (r, g, b, a) in row for c in (b, g, r, a))
        for row in reversed(px)
    )
    mask_row = (SIZE + 31) // 32 * 4
    mask = bytes(mask_row * SIZE)  # all opaque; alpha carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(rows) + len(mask), 0, 0, 0, 0)
    image = header + rows + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image),
                        6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                       "velkaro.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
