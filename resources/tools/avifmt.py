"""Writer for an uncompressed AVI: one video stream of 24-bit frames, no
sound, with an index. Only the standard library.

Frames are rows of (r, g, b) tuples, top row first, all of the same size.
"""
import struct

AVIF_HASINDEX = 0x10
AVIIF_KEYFRAME = 0x10


def _chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def _list(kind, body):
    return _chunk(b"LIST", kind + body)


def _frame_bits(rows):
    """Bottom-up BGR rows, each padded to a multiple of four bytes."""
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line.extend((b, g, r))
        line.extend(b"\0" * (stride - len(line)))
        out.extend(line)
    return bytes(out)


def avi_bytes(frames, usec_per_frame):
    height, width = len(frames[0]), len(frames[0][0])
    bits = [_frame_bits(f) for f in frames]
    frame_size = len(bits[0])
    count = len(frames)

    avih = struct.pack("<14I",
                       usec_per_frame,
                       (frame_size * 1000000 + usec_per_frame - 1) // usec_per_frame,
                       0, AVIF_HASINDEX, count, 0, 1, frame_size, width, height, 0, 0, 0, 0)
    # Rate over scale gives frames per second exactly: 1,000,000 / usec.
    strh = struct.pack("<4s4sIHHIIIIIIII4h",
                       b"vids", b"DIB ", 0, 0, 0, 0, usec_per_frame, 1000000, 0, count,
                       frame_size, 0xFFFFFFFF, 0, 0, 0, width, height)
    strf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, frame_size, 0, 0, 0, 0)
    hdrl = _list(b"hdrl", _chunk(b"avih", avih)
                 + _list(b"strl", _chunk(b"strh", strh) + _chunk(b"strf", strf)))

    movi_body = bytearray()
    index = bytearray()
    for data in bits:
        # Offsets in the index count from the 'movi' type code.
        index += struct.pack("<4sIII", b"00db", AVIIF_KEYFRAME, 4 + len(movi_body), len(data))
        movi_body += _chunk(b"00db", data)
    movi = _list(b"movi", bytes(movi_body))
    idx1 = _chunk(b"idx1", bytes(index))
    return _chunk(b"RIFF", b"AVI " + hdrl + movi + idx1)
