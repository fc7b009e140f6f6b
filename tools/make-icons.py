#!/usr/bin/env python3
"""Draws the icons of the setup tools: regpick/Regpick.ico (a screen with a double arrow
across its width) and revivo/Revivo.ico (a circular arrow). Each icon holds a 16x16 and a
32x32 image in 32-bit colour with alpha. The outputs are committed; the build does not run
this. Usage: python3 make-icons.py"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

TRANSPARENT = (0, 0, 0, 0)


def regpick_pixel(x, y, size):
    """A monitor: grey frame, blue screen, white arrow across the screen, grey stand."""
    s = size / 32.0
    fx0, fx1, fy0, fy1 = 1 * s, 31 * s, 3 * s, 24 * s
    if fx0 <= x < fx1 and fy0 <= y < fy1:
        inner = 3 * s <= x < 29 * s and 5 * s <= y < 22 * s
        if not inner:
            return (96, 96, 96, 255)
        cy = 13.5 * s
        # The double arrow: a bar with a head at each end.
        if abs(y + 0.5 - cy) <= 1.0 * s and 7 * s <= x < 25 * s:
            return (255, 255, 255, 255)
        for tip, direction in ((4 * s, 1), (28 * s, -1)):
            d = (x + 0.5 - tip) * direction
            if 0 <= d <= 5 * s and abs(y + 0.5 - cy) <= d * 0.8:
                return (255, 255, 255, 255)
        return (32, 96, 200, 255)
    if 13 * s <= x < 19 * s and 24 * s <= y < 27 * s:
        return (96, 96, 96, 255)
    if 8 * s <= x < 24 * s and 27 * s <= y < 29 * s:
        return (64, 64, 64, 255)
    return TRANSPARENT


def revivo_pixel(x, y, size):
    """A green ring open at the top right, ending in an arrow head."""
    c = size / 2.0
    dx, dy = x + 0.5 - c, y + 0.5 - c
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(-dy, dx)) % 360  # 0 = right, counter-clockwise
    outer, inner = 0.44 * size, 0.28 * size
    if inner <= r <= outer and not (20 <= angle <= 75):
        return (40, 160, 60, 255)
    # Arrow head at the ring's upper end (angle 75), pointing clockwise.
    tip_angle = math.radians(75)
    mid = (inner + outer) / 2
    hx, hy = c + mid * math.cos(tip_angle), c - mid * math.sin(tip_angle)
    # Local frame: along = direction of travel (clockwise tangent), across = radial.
    tx, ty = math.sin(tip_angle), math.cos(tip_angle)
    px, py = x + 0.5 - hx, y + 0.5 - hy
    along = px * tx + py * ty
    across = px * math.cos(tip_angle) - py * math.sin(tip_angle)
    half = 0.16 * size
    if 0 <= along <= half * 1.4 and abs(across) <= half - along / 1.4:
        return (40, 160, 60, 255)
    return TRANSPARENT


def image(pixel, size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows, mask = [], []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask)


def write_icon(path, pixel):
    sizes = (16, 32)
    images = [image(pixel, s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "regpick", "Regpick.ico"), regpick_pixel)
    write_icon(os.path.join(HERE, "revivo", "Revivo.ico"), revivo_pixel)
