"""Screenshots of windows under Xvfb, with the standard library only: Xvfb
started with -fbdir keeps its screen as an XWD file, read here and written
out as PNG, cropped to a rectangle."""
import struct
import zlib

_HEADER_FIELDS = 25  # CARD32s of XWDFileHeader, most significant byte first


def read_xwd(path):
    """(width, height, rows) of an XWD image of a 24- or 32-bit TrueColor
    screen; rows are bytes objects of packed RGB."""
    data = path.read_bytes()
    header = struct.unpack(">25I", data[:_HEADER_FIELDS * 4])
    (header_size, _version, _format, _depth, width, height, _xoffset, byte_order, _unit, _bit_order, _pad,
     bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask, blue_mask, _bits_per_rgb, _entries,
     colors) = header[:20]
    if bits_per_pixel != 32:
        raise ValueError(f"{path}: {bits_per_pixel} bits per pixel; only 32 are read")
    pixels = header_size + colors * 12
    order = "<" if byte_order == 0 else ">"  # LSBFirst is 0
    shifts = [(mask, (mask & -mask).bit_length() - 1) for mask in (red_mask, green_mask, blue_mask)]
    rows = []
    for y in range(height):
        start = pixels + y * bytes_per_line
        values = struct.unpack(f"{order}{width}I", data[start:start + width * 4])
        row = bytearray()
        for value in values:
            row += bytes((value & mask) >> shift for mask, shift in shifts)
        rows.append(bytes(row))
    return width, height, rows


def write_png(path, width, height, rows):
    """An 8-bit RGB PNG, no filtering."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    path.write_bytes(png)


def capture(framebuffer, rect, path, margin=0):
    """Saves the screen inside rect = (left, top, right, bottom), right and
    bottom excluded, widened by margin, as a PNG."""
    width, height, rows = read_xwd(framebuffer)
    left, top = max(rect[0] - margin, 0), max(rect[1] - margin, 0)
    right, bottom = min(rect[2] + margin, width), min(rect[3] + margin, height)
    cropped = [row[left * 3:right * 3] for row in rows[top:bottom]]
    path.parent.mkdir(parents=True, exist_ok=True)
    write_png(path, right - left, bottom - top, cropped)
