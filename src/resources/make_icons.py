#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files.

remote_control.ico (resource 50): a dark remote control with a light rim, a
red power button and a keypad, used for the window class and the tray; images
of 16, 20, 24, 32 and 48 pixels, each laid out for its size.
shut_down.ico (resource 110): a red disc with the power symbol, shown in the
Shut Down dialog; images of 16 and 32 pixels. Every image has 32 bits per
pixel with an alpha channel, plus the 1-bit AND mask that older systems use.
"""
import math
import struct
import sys
from pathlib import Path


def disc(x, y, cx, cy, r):
    return max(0.0, min(1.0, r - math.hypot(x - cx, y - cy) + 0.5))


# The remote control is laid out anew for each size, in whole pixels, so that
# its straight edges fall on pixel boundaries and stay sharp; only the rounded
# corners and the round power button are antialiased. The light rim keeps the
# dark body visible on a dark taskbar; on a light one the body itself shows.
#   outline: the rim's outer rounded rectangle (left, top, right, bottom, radius)
#   rim: the rim's width; the dark body is the outline inset by it
#   power: the red button (centre x, centre y, radius)
#   key: the width and height of a key, the keys' left edges and top edges
#   glyph: whether the power button is large enough to carry the power symbol
# The 32 px image is the 16 px one at twice the scale, every straight edge on an
# even pixel. The program takes its icon with LoadIcon, which gives the large
# (32 px) image, and the shell shrinks that to 16 px for the tray and the
# caption; halving it, by averaging or by dropping pixels, gives the 16 px design.
REMOTE_LAYOUTS = {
    16: dict(outline=(3, 0, 12, 16, 2), rim=1, power=(7.5, 4.5, 2.3),
             key=(1, 1, (5, 7, 9), (9, 11, 13)), glyph=False),
    20: dict(outline=(4, 0, 15, 20, 2.5), rim=1, power=(9.5, 5.5, 2.8),
             key=(1, 1, (6, 9, 12), (11, 13, 15, 17)), glyph=False),
    24: dict(outline=(6, 0, 18, 24, 3), rim=1, power=(12, 6, 3.3),
             key=(2, 2, (8, 11, 14), (12, 15, 18)), glyph=False),
    32: dict(outline=(6, 0, 24, 32, 4), rim=2, power=(15, 9, 4.6),
             key=(2, 2, (10, 14, 18), (18, 22, 26)), glyph=False),
    48: dict(outline=(12, 1, 36, 47, 6), rim=2, power=(24, 11, 6.5),
             key=(4, 3, (16, 22, 28), (22, 28, 34, 40)), glyph=True),
}
RIM = (225, 230, 236)
BODY = (40, 44, 52)
POWER = (225, 35, 35)
KEY = (200, 210, 220)
WHITE = (255, 255, 255)
SUBSAMPLES = 8


def inside_rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return left <= x < right and top <= y < bottom and math.hypot(x - cx, y - cy) <= radius


def power_symbol(x, y, cx, cy, r):
    """The power symbol in a button of radius r: an open ring and a stem."""
    d = math.hypot(x - cx, y - cy)
    angle = math.degrees(math.atan2(x - cx, -(y - cy)))
    ring = abs(d - 0.5 * r) < 0.1 * r and abs(angle) > 45
    stem = abs(x - cx) < 0.1 * r and cy - 0.7 * r < y < cy - 0.1 * r
    return ring or stem


def remote_colour(x, y, layout):
    """The colour at the point (x, y), or None outside the remote."""
    left, top, right, bottom, radius = layout["outline"]
    if not inside_rounded_rect(x, y, left, top, right, bottom, radius):
        return None
    w = layout["rim"]
    if not inside_rounded_rect(x, y, left + w, top + w, right - w, bottom - w, radius - w):
        return RIM
    cx, cy, r = layout["power"]
    if math.hypot(x - cx, y - cy) <= r:
        return WHITE if layout["glyph"] and power_symbol(x, y, cx, cy, r) else POWER
    key_w, key_h, lefts, tops = layout["key"]
    if any(k <= x < k + key_w for k in lefts) and any(t <= y < t + key_h for t in tops):
        return KEY
    return BODY


def remote_pixel(x, y, size):
    """The pixel centred on (x, y): the average of its subsamples."""
    layout = REMOTE_LAYOUTS[size]
    total = [0.0, 0.0, 0.0]
    covered = 0
    for i in range(SUBSAMPLES):
        for j in range(SUBSAMPLES):
            colour = remote_colour(x - 0.5 + (i + 0.5) / SUBSAMPLES, y - 0.5 + (j + 0.5) / SUBSAMPLES, layout)
            if colour is not None:
                covered += 1
                total = [t + c for t, c in zip(total, colour)]
    if covered == 0:
        return (0, 0, 0, 0)
    rgb = tuple(round(t / covered) for t in total)
    return rgb + (round(255 * covered / SUBSAMPLES**2),)


def shut_down_pixel(x, y, size):
    s = size / 32.0
    cover = disc(x, y, 16 * s, 16 * s, 15 * s)
    if cover == 0:
        return (0, 0, 0, 0)
    colour = (200, 30, 30)
    d = math.hypot(x - 16 * s, y - 16 * s)
    angle = math.degrees(math.atan2(x - 16 * s, -(y - 16 * s)))
    ring = abs(d - 8 * s) < 1.6 * s and abs(angle) > 35
    stem = abs(x - 16 * s) < 1.6 * s and 5 * s < y < 16 * s
    if ring or stem:
        colour = (255, 255, 255)
    return colour + (int(255 * cover),)


def icon_image(draw, size):
    """One DIB entry: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in range(size - 1, -1, -1):
        mask_row = bytearray(mask_stride)
        for col in range(size):
            r, g, b, a = draw(col + 0.5, row + 0.5, size)
            pixels += bytes((b, g, r, a))
            if a < 128:
                mask_row[col // 8] |= 0x80 >> (col % 8)
        mask += mask_row
    return header + bytes(pixels) + bytes(mask)


def write_icon(path, draw, sizes):
    """An .ico file with one image per size, smallest first."""
    images = [icon_image(draw, size) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    Path(path).write_bytes(out)


if __name__ == "__main__":
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    write_icon(folder / "remote_control.ico", remote_pixel, sorted(REMOTE_LAYOUTS))
    write_icon(folder / "shut_down.ico", shut_down_pixel, (16, 32))
