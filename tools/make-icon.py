#!/usr/bin/env python3
"""Draws Morvi's icon (a sheet of paper with a name line and a caret, on a blue tile) and writes
res/Morvi.ico with 16, 24, 32, 48 and 64 pixel images (32-bit, with alpha). Run it again after
changing the drawing; the .ico is committed."""
import struct
import sys


def inside_round_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(u, v):
    """Colour (r, g, b, a) at the unit-square point u, v (0..1, v downwards)."""
    if not inside_round_rect(u, v, 0.03, 0.03, 0.97, 0.97, 0.18):
        return (0, 0, 0, 0)
    # The paper, with its top-right corner folded.
    if 0.22 <= u <= 0.78 and 0.14 <= v <= 0.86 and not (u - 0.62 > v - 0.14 + 0.0 and u > 0.62):
        if u > 0.62 and v < 0.30 and (u - 0.62) + (0.30 - v) < 0.16:
            return (200, 214, 232, 255)  # the fold
        # The name line and the caret after it.
        if 0.30 <= u <= 0.58 and 0.48 <= v <= 0.56:
            return (32, 84, 160, 255)
        if 0.61 <= u <= 0.655 and 0.40 <= v <= 0.64:
            return (230, 120, 20, 255)
        if 0.30 <= u <= 0.70 and 0.68 <= v <= 0.72:
            return (150, 170, 200, 255)
        return (252, 252, 250, 255)
    top = (58, 124, 214)
    bottom = (28, 78, 160)
    t = v
    return tuple(int(top[i] * (1 - t) + bottom[i] * t) for i in range(3)) + (255,)


def render(size):
    n = 4  # samples per axis, for smooth edges
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    r, g, b, a = pixel((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3] / (n * n)
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], int(a)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(
        bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return header + pixels + mask


def main(out):
    sizes = [16, 24, 32, 48, 64]
    images = [dib(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/Morvi.ico")
