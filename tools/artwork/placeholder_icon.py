#!/usr/bin/env python3
"""Writes resources/skyfold.ico: a plain green banknote at 16, 32 and 48 pixels, drawn from code.

A stand-in until the full artwork is generated; run from the repository root.
"""
import struct

SIZES = (16, 32, 48)
PAPER = (0x4C, 0x9A, 0x5A, 0xFF)   # RGBA: note green
INK = (0x1E, 0x4D, 0x2A, 0xFF)     # border and centre medallion
CLEAR = (0, 0, 0, 0)


def pixel(size, x, y):
    top, bottom = size // 4, size - size // 4 - 1
    if y < top or y > bottom:
        return CLEAR
    if x in (0, size - 1) or y in (top, bottom):
        return INK
    cx, cy, r = size / 2 - 0.5, (top + bottom) / 2, size / 8
    return INK if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else PAPER


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):  # bottom-up DIB
        rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in
                             (pixel(size, x, y) for x in range(size))))
    mask_row = b"\0" * (((size + 31) // 32) * 4)  # alpha carries the shape; AND mask all clear
    return header + b"".join(rows) + mask_row * size


def main():
    images = [image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open("resources/skyfold.ico", "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
