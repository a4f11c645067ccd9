#!/usr/bin/env python3
"""Draws the program icon (32x32 and 16x16, 32-bit with alpha) into an .ico file.

Usage: make_icon.py OUTFILE

Standard library only; the build runs it into the build tree.
"""
import struct
import sys

GOLD = (92, 172, 214)  # stored as blue, green, red
SLATE = (104, 70, 52)
DARK = (52, 33, 24)


def pixel(size, x, y):
    """The icon: a rounded slate tile with a gold diamond."""
    r = size / 2.0
    cx, cy = x + 0.5 - r, y + 0.5 - r
    corner = size * 0.22
    ax, ay = abs(cx) - (r - corner), abs(cy) - (r - corner)
    if ax > 0 and ay > 0 and ax * ax + ay * ay > corner * corner:
        return (0, 0, 0, 0)
    if abs(cx) + abs(cy) < r * 0.62:
        return GOLD + (255,)
    edge = max(abs(cx), abs(cy)) > r - max(1.0, size / 16.0)
    return (DARK if edge else SLATE) + (255,)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTFILE")
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
