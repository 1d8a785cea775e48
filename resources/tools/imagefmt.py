"""Small writers for the picture formats the resources use (PNG, BMP, ICO).

Only the standard library: pictures are drawn by the callers as rows of
pixels, (r, g, b) or (r, g, b, a) tuples, top row first.
"""
import struct
import zlib


def png_bytes(rows):
    """32-bit RGBA PNG of the given rows."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw.extend(px if len(px) == 4 else (*px, 255))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def dib_bytes(rows, bits):
    """BITMAPINFOHEADER + pixels, bottom-up, 24 or 32 bits per pixel."""
    height, width = len(rows), len(rows[0])
    stride = (width * bits // 8 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for px in row:
            r, g, b = px[0], px[1], px[2]
            line.extend((b, g, r) if bits == 24 else (b, g, r, px[3] if len(px) == 4 else 255))
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    return header + bytes(pixels)


def bmp_bytes(rows):
    """A 24-bit BMP file."""
    dib = dib_bytes(rows, 24)
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 54) + dib


def ico_bytes(images):
    """An icon file; images is a list of row lists, each square.
    The 256-pixel image is stored as PNG, the others as 32-bit DIBs."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        if size >= 256:
            blob = png_bytes(rows)
        else:
            dib = bytearray(dib_bytes(rows, 32))
            struct.pack_into("<i", dib, 8, size * 2)  # XOR and AND masks together
            mask_stride = ((size + 31) // 32) * 4
            blob = bytes(dib) + b"\0" * (mask_stride * size)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)
