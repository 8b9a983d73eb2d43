#!/usr/bin/env python3
"""Draws the program's own images: the "QZ" icon (16, 32, 48 px, 8 bpp with a
1-bit mask). Run it from anywhere; it rewrites the files beside it, which are
committed so that the build needs no Python."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BLACK = (0, 0, 0)
PURPLE = (160, 64, 224)
SHADES = 16  # blends from black to purple, for smooth letter edges


def inside_rounded_square(x, y, size):
    radius = size * 0.22
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def on_segment(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    qx, qy = ax + t * dx, ay + t * dy
    return (px - qx) ** 2 + (py - qy) ** 2 <= half_width ** 2


def in_letter_q(u, v, stroke):
    """u, v in 0..1 over the letter's box."""
    rx, ry = 0.5, 0.5
    d = ((u - 0.5) / rx) ** 2 + ((v - 0.5) / ry) ** 2
    inner = ((u - 0.5) / (rx - stroke)) ** 2 + ((v - 0.5) / (ry - stroke)) ** 2
    ring = d <= 1.0 and inner >= 1.0
    tail = on_segment(u, v, 0.58, 0.62, 0.98, 1.0, stroke * 0.55)
    return ring or tail


def in_letter_z(u, v, stroke):
    top = v <= stroke and 0.0 <= u <= 1.0
    bottom = v >= 1.0 - stroke and 0.0 <= u <= 1.0
    diagonal = on_segment(u, v, 0.95, stroke * 0.5, 0.05, 1.0 - stroke * 0.5, stroke * 0.6)
    return top or bottom or diagonal


def letter_coverage(x, y, size):
    """Share of the pixel (x, y) covered by the letters, by 4x4 supersampling."""
    margin = size * 0.14
    gap = size * 0.06
    letter_width = (size - 2 * margin - gap) / 2
    top, height = size * 0.27, size * 0.46
    stroke = 0.2 if size > 16 else 0.26
    hits = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            v = (py - top) / height
            uq = (px - margin) / letter_width
            uz = (px - margin - letter_width - gap) / letter_width
            if 0 <= v <= 1 and ((0 <= uq <= 1 and in_letter_q(uq, v, stroke)) or
                                (0 <= uz <= 1 and in_letter_z(uz, v, stroke))):
                hits += 1
    return hits / 16


def palette():
    colours = []
    for level in range(SHADES):
        share = level / (SHADES - 1)
        colours.append(tuple(round(b + (p - b) * share) for b, p in zip(BLACK, PURPLE)))
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


def icon_image(size):
    """Returns (palette indices bottom-up rows, mask rows bottom-up)."""
    indices, mask = [], []
    for y in reversed(range(size)):
        row, mask_row = [], []
        for x in range(size):
            if inside_rounded_square(x + 0.5, y + 0.5, size):
                row.append(round(letter_coverage(x, y, size) * (SHADES - 1)))
                mask_row.append(0)
            else:
                row.append(0)
                mask_row.append(1)
        indices.append(row)
        mask.append(mask_row)
    return indices, mask


def pack_rows(rows, bits):
    out = b""
    for row in rows:
        if bits == 8:
            data = bytes(row)
        else:
            data = bytearray((len(row) + 7) // 8)
            for i, bit in enumerate(row):
                if bit:
                    data[i // 8] |= 0x80 >> (i % 8)
            data = bytes(data)
        out += data + b"\0" * (-len(data) % 4)
    return out


def icon_entry_data(size):
    indices, mask = icon_image(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette())
    return header + colours + pack_rows(indices, 8) + pack_rows(mask, 1)


def write_icon(path, sizes):
    images = [icon_entry_data(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "qz.ico"), [16, 32, 48])
