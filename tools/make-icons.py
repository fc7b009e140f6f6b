#!/usr/bin/env python3
"""Draws the suite's program icons: ../upvane/res/upvane.ico (an upward arrow on a blue disc),
regpick/Regpick.ico (a screen with a double arrow across its width) and revivo/Revivo.ico (a
circular arrow). Each picture is one drawing in proportions of its size, sampled 4 x 4 times
per pixel for smooth edges, at every size the shell asks for from 100 to 200 % display scale
(16 to 64 pixels) and 256 pixels for large views. The small images are 32-bit colour with alpha
and a mask; the 256-pixel image is PNG-compressed, as Windows expects it. The outputs are
committed; the build does not run this. Usage: python3 make-icons.py"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

TRANSPARENT = (0, 0, 0, 0)

# Small icon and large icon at 100, 125, 150 and 200 %, and the large views' size.
SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_SIZES = (256,)
SAMPLES = 4  # per pixel and axis


def upvane_pixel(x, y, size):
    """A white upward arrow (head and shaft) on a blue disc."""
    s = size / 32.0
    c = 15.5 * s
    if math.hypot(x + 0.5 - c - 0.5 * s, y + 0.5 - c - 0.5 * s) > 15.5 * s:
        return TRANSPARENT
    # Head: from the tip (16, 4) down to the base line y = 16 between x = 7 and x = 25.
    tip_y, base_y = 4 * s, 16 * s
    half = (y + 0.5 - tip_y) / (base_y - tip_y) * 9 * s
    if tip_y <= y + 0.5 <= base_y and abs(x + 0.5 - 16 * s) <= half:
        return (255, 255, 255, 255)
    if 12 * s <= x + 0.5 <= 20 * s and base_y <= y + 0.5 <= 26 * s:
        return (255, 255, 255, 255)
    return (47, 111, 192, 255)


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


def sampled(pixel, x, y, size):
    """The pixel's colour averaged over SAMPLES x SAMPLES points (alpha-weighted)."""
    n = SAMPLES * SAMPLES
    sr = sg = sb = sa = 0
    scale = SAMPLES
    for j in range(SAMPLES):
        for i in range(SAMPLES):
            # The drawing is given in pixels of `size`; sample it at a finer grid of the same size.
            r, g, b, a = pixel((x * scale + i) / scale - 0.5 + 0.5 / scale,
                               (y * scale + j) / scale - 0.5 + 0.5 / scale, size)
            sr += r * a
            sg += g * a
            sb += b * a
            sa += a
    if sa == 0:
        return TRANSPARENT
    return (round(sr / sa), round(sg / sa), round(sb / sa), round(sa / n))


def pixels(pixel, size):
    """Rows top to bottom of (r, g, b, a)."""
    return [[sampled(pixel, x, y, size) for x in range(size)] for y in range(size)]


def image(pixel, size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows, mask = [], []
    mask_stride = ((size + 31) // 32) * 4
    for line in reversed(pixels(pixel, size)):
        row = bytearray()
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(line):
            row += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask)


def png_image(pixel, size):
    """One icon image as a PNG file (8-bit RGBA)."""
    raw = b"".join(b"\0" + bytes(v for p in line for v in p) for line in pixels(pixel, size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_icon(path, pixel):
    images = [png_image(pixel, s) if s in PNG_SIZES else image(pixel, s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(SIZES, images):
        # A width or height of 256 is written as 0.
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "..", "upvane", "res", "upvane.ico"), upvane_pixel)
    write_icon(os.path.join(HERE, "regpick", "Regpick.ico"), regpick_pixel)
    write_icon(os.path.join(HERE, "revivo", "Revivo.ico"), revivo_pixel)
