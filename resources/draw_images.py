#!/usr/bin/env python3
"""Draws the program's own images: the "QZ" icon (16, 32, 48 px at 8 bpp, and
20 and 24 px, the tray's size at 125 and 150 %, at 4 bpp; each with a 1-bit
mask) and the eight 16x16 menu item bitmaps (16 bpp, 5-5-5, no
transparency). Run it from anywhere; it rewrites the files beside it, which
are committed so that the build needs no Python."""
import math
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
        elif bits == 4:
            data = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0) for i in range(0, len(row), 2))
        else:
            data = bytearray((len(row) + 7) // 8)
            for i, bit in enumerate(row):
                if bit:
                    data[i // 8] |= 0x80 >> (i % 8)
            data = bytes(data)
        out += data + b"\0" * (-len(data) % 4)
    return out


def icon_entry_data(size, bits):
    indices, mask = icon_image(size)
    colour_count = 1 << bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colour_count, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette()[:colour_count])
    return header + colours + pack_rows(indices, bits) + pack_rows(mask, 1)


# The 16 shades fit 4 bpp; the added tray sizes take it, which saves their
# 1 KB palettes (the first three frames keep their 256-colour form).
ICON_FRAMES = [(16, 8), (20, 4), (24, 4), (32, 8), (48, 8)]


def write_icon(path, frames):
    images = [icon_entry_data(size, bits) for size, bits in frames]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), data in zip(frames, images):
        colour_count = (1 << bits) % 256
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# Menu item bitmaps: each picture is a list of (shape, colour) layers painted
# in order over a background; a shape is a function of a point in pixel
# units that says whether the point is inside. Edges are antialiased by
# 4x4 supersampling.
ITEM_SIZE = 16
WHITE = (255, 255, 255)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: (r - width) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def box(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def bar(ax, ay, bx, by, width):
    return lambda x, y: on_segment(x, y, ax, ay, bx, by, width / 2)


def arc(cx, cy, r, width, half_angle):
    """The right-hand part of a ring, within half_angle degrees of the x axis."""
    limit = math.radians(half_angle)
    inside = ring(cx, cy, r, width)
    return lambda x, y: abs(math.atan2(y - cy, x - cx)) <= limit and inside(x, y)


def polygon(points):
    def inside(x, y):
        crossings = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                crossings = not crossings
        return crossings
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def render(background, layers):
    """Rows top-down of (r, g, b)."""
    rows = []
    for py in range(ITEM_SIZE):
        row = []
        for px in range(ITEM_SIZE):
            colour = background
            for shape, paint in layers:
                hits = sum(shape(px + (sx + 0.5) / 4, py + (sy + 0.5) / 4)
                           for sy in range(4) for sx in range(4))
                colour = tuple(c + (p - c) * hits / 16 for c, p in zip(colour, paint))
            row.append(colour)
        rows.append(row)
    return rows


def speaker(waves):
    blue = (40, 90, 210)
    body = union(box(1, 6, 4.5, 10), polygon([(4, 6), (8, 2.5), (8, 13.5), (4, 10)]))
    layers = [(body, blue)]
    for radius in waves:
        layers.append((arc(7, 8, radius, 1.1, 42), blue))
    return layers


def sun_rays():
    rays = []
    for step in range(8):
        angle = math.radians(step * 45)
        c, s = math.cos(angle), math.sin(angle)
        rays.append(bar(8 + 4.6 * c, 8 + 4.6 * s, 8 + 7 * c, 8 + 7 * s, 1.4))
    return union(*rays)


ALARM_CLOCK = [
    (disc(3.5, 3.5, 2.6), (250, 205, 20)),
    (disc(12.5, 3.5, 2.6), (250, 205, 20)),
    (bar(4, 14.5, 2.5, 15.5, 1.4), (40, 40, 40)),
    (bar(12, 14.5, 13.5, 15.5, 1.4), (40, 40, 40)),
    (disc(8, 9, 6.2), (30, 70, 190)),
    (disc(8, 9, 4.6), (120, 170, 250)),
    (bar(8, 9, 8, 5.6, 1.3), (10, 10, 60)),
    (bar(8, 9, 10.6, 10.4, 1.3), (10, 10, 60)),
]

BATTERY_AND_PLUG = [
    (box(1, 2, 12.5, 8.5), (20, 120, 30)),
    (box(12.5, 3.8, 14.5, 6.7), (20, 120, 30)),
    (box(2.5, 3.5, 11, 7), (80, 210, 80)),
    (bar(2.2, 14.3, 5, 12, 1.3), (0, 0, 0)),
    (box(5, 10, 10.5, 14), (0, 0, 0)),
    (box(10.5, 10.8, 14.5, 11.8), (0, 0, 0)),
    (box(10.5, 12.2, 14.5, 13.2), (0, 0, 0)),
]

BRIGHT_SUN = [
    (sun_rays(), (255, 200, 0)),
    (disc(8, 8, 3.8), (255, 225, 0)),
]

DIM_SUN = [
    (disc(8, 8, 5.5), (150, 105, 50)),
    (disc(7, 7, 3), (175, 130, 70)),
]

MONITOR = [
    (box(0, 0, 16, 16), (150, 150, 150)),
    (box(1.5, 1.5, 14.5, 11), (70, 70, 70)),
    (box(2.5, 2.5, 13.5, 10), (40, 90, 220)),
    (bar(10.6, 2.9, 5.8, 7.2, 1.8), (40, 220, 60)),
    (polygon([(3.3, 9.7), (4.0, 5.3), (7.7, 9.0)]), (40, 220, 60)),
    (box(6, 12, 10, 13), (90, 90, 90)),
    (box(3.5, 13.5, 12.5, 15), (90, 90, 90)),
]

NO_ENTRY = [
    (ring(8, 8, 7, 2.2), (0, 190, 210)),
    (bar(3.6, 3.6, 12.4, 12.4, 2.2), (0, 190, 210)),
]

ITEM_BITMAPS = {
    "time.bmp": (WHITE, ALARM_CLOCK),
    "power.bmp": (WHITE, BATTERY_AND_PLUG),
    "up.bmp": (WHITE, BRIGHT_SUN),
    "uper.bmp": (WHITE, speaker([3.5, 5.8, 8.1])),
    "down.bmp": (WHITE, speaker([3.8])),
    "low.bmp": (WHITE, DIM_SUN),
    "res.bmp": ((150, 150, 150), MONITOR),
    "exit.bmp": (WHITE, NO_ENTRY),
}


def pixel_555(colour):
    r, g, b = (min(31, round(c * 31 / 255)) for c in colour)
    return (r << 10) | (g << 5) | b


def write_item_bitmap(path, rows):
    """A 16 bpp BI_RGB bitmap file: 5 bits each of red, green and blue."""
    pixels = b"".join(struct.pack("<%dH" % ITEM_SIZE, *map(pixel_555, row)) for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, ITEM_SIZE, ITEM_SIZE, 1, 16, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "qz.ico"), ICON_FRAMES)
    for name, (background, layers) in ITEM_BITMAPS.items():
        write_item_bitmap(os.path.join(HERE, name), render(background, layers))
