#!/usr/bin/env python3
"""Draws cursor 130 of Upvane, the links' pointing hand, as hand.cur: one 32x32 image in
16 colours (black outline, white fill, index finger up), hot spot at x 8, y 3.
The output is committed; the build does not run this. Usage: python3 make-hand-cursor.py"""

import os
import struct

SIZE = 32
HOT_SPOT = (8, 3)

# X black, . white, anything else transparent. The fingertip's inside is the hot spot.
ART = [
    "",
    "",
    "       XXX",
    "      X...X",
    "      X...X",
    "      X...X",
    "      X...X",
    "      X...XXX",
    "      X...X..XXX",
    "      X...X..X..XXX",
    "      X...X..X..X..X",
    "  XX  X...X..X..X..X",
    "  X.X X...X..X..X..X",
    "  X..XX............X",
    "   X...............X",
    "   X...............X",
    "    X..............X",
    "    X..............X",
    "     X............X",
    "     X............X",
    "      X...........X",
    "      X..........X",
    "       X.........X",
    "       XXXXXXXXXXX",
]

# The standard 16-colour palette; index 0 black, 15 white.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, WHITE = 0, 15


def pixel(x, y):
    row = ART[y] if y < len(ART) else ""
    return row[x] if x < len(row) else " "


def image_bytes():
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):        # bottom-up rows
        nibbles = []
        bits = 0
        for x in range(SIZE):
            p = pixel(x, y)
            nibbles.append(BLACK if p == "X" else WHITE if p == "." else BLACK)
            bits = (bits << 1) | (0 if p in "X." else 1)   # 1 = transparent
        colour += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        mask += struct.pack(">I", bits)
    return header + palette + bytes(colour) + bytes(mask)


def main():
    image = image_bytes()
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "hand.cur")
    with open(out, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main()
