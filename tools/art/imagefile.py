"""PNG, BMP and ICO encoders for the artwork scripts.

Every encoder is a pure function of its pixels, so the same drawing always
gives the same bytes (given zlib's deflate at a fixed level).
"""

import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, rows, channels=4):
    """rows: `height` byte strings of width * channels bytes (RGBA or RGB)."""
    colour_type = {4: 6, 3: 2}[channels]
    raw = b"".join(b"\0" + row for row in rows)
    return (
        b"\x89PNG\r\n\x1a\n"
        + _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
        + _chunk(b"IDAT", zlib.compress(raw, 9))
        + _chunk(b"IEND", b"")
    )


def bmp24(width, height, rows):
    """A bottom-up BI_RGB bitmap of 24 bits per pixel; rows: RGB, top first."""
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(width):
            r, g, b = row[3 * x : 3 * x + 3]
            line += bytes((b, g, r))
        pixels += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def _icon_dib(size, rows):
    """An icon image as a 32-bit DIB with its AND mask (transparent where alpha is 0)."""
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[4 * x : 4 * x + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(images):
    """images: [(size, rgba_rows)], smallest first; 256 is stored as PNG."""
    entries = b""
    blobs = b""
    offset = 6 + 16 * len(images)
    for size, rows in images:
        blob = png(size, size, rows) if size >= 256 else _icon_dib(size, rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs
