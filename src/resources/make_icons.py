#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files.

remote_control.ico (resource 50): a dark remote control with a red power
button and a keypad, used for the window class and the tray.
shut_down.ico (resource 110): a red disc with the power symbol, shown in the
Shut Down dialog. Each file holds 16x16 and 32x32 images, 32 bits per pixel
with an alpha channel, plus the 1-bit AND mask that older systems use.
"""
import math
import struct
import sys
from pathlib import Path


def rounded_rect(x, y, left, top, right, bottom, radius):
    """Coverage (0..1) of the pixel centre (x, y) by a rounded rectangle."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    distance = math.hypot(x - cx, y - cy)
    return max(0.0, min(1.0, radius - distance + 0.5))


def disc(x, y, cx, cy, r):
    return max(0.0, min(1.0, r - math.hypot(x - cx, y - cy) + 0.5))


def remote_pixel(x, y, size):
    s = size / 32.0
    body = rounded_rect(x, y, 9 * s, 1 * s, 23 * s, 31 * s, 3 * s)
    if body == 0:
        return (0, 0, 0, 0)
    colour = (40, 44, 52)
    if disc(x, y, 16 * s, 6 * s, 2.5 * s) > 0.5:
        colour = (220, 40, 40)  # power
    else:
        for row in range(3):
            for col in range(3):
                if disc(x, y, (12.5 + col * 3.5) * s, (12 + row * 4) * s, 1.3 * s) > 0.5:
                    colour = (200, 210, 220)
        if disc(x, y, 16 * s, 26 * s, 2 * s) > 0.5:
            colour = (70, 160, 90)  # the arrow pad
    return colour + (int(255 * body),)


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


def write_icon(path, draw):
    images = [icon_image(draw, size) for size in (16, 32)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    Path(path).write_bytes(out)


if __name__ == "__main__":
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    write_icon(folder / "remote_control.ico", remote_pixel)
    write_icon(folder / "shut_down.ico", shut_down_pixel)
