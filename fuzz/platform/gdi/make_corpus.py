#!/usr/bin/env python3
"""Writes the tiny BMP files of the fuzz corpus: one per depth and header kind."""
import os
import struct

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def bmp(width, height, bpp, rows, palette=b"", header=40, compression=0, masks=b""):
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height & 0xFFFF, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bpp, compression,
                           len(rows), 3780, 3780, len(palette) // (3 if header == 12 else 4), 0)
        if header > 40:
            info += masks + b"\0" * (header - 40 - len(masks))
        elif masks:
            info += masks
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows


def write(name, data):
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)


pal4 = bytes([0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 255, 0])
write("8bit_bottom_up.bmp", bmp(2, 2, 8, bytes([0, 1, 0, 0, 2, 3, 0, 0]), pal4))
write("8bit_core_header.bmp", bmp(2, 1, 8, bytes([1, 2, 0, 0]), pal4[:3] + pal4[4:7] + pal4[8:11],
                                  header=12))
write("24bit_bottom_up.bmp", bmp(3, 2, 24, bytes(range(9)) + b"\0\0\0" + bytes(range(9, 18)) +
                                 b"\0\0\0"))
write("32bit_top_down.bmp", bmp(2, -2, 32, bytes([255, 0, 255, 0, 1, 2, 3, 0]) * 2))
write("4bit.bmp", bmp(3, 1, 4, bytes([0x12, 0x30, 0, 0]), pal4))
write("1bit.bmp", bmp(3, 1, 1, bytes([0xA0, 0, 0, 0]), pal4[:8]))
write("16bit_bitfields.bmp", bmp(2, 1, 16, bytes([0x1F, 0xF8, 0xE0, 0x07]), compression=3,
                                 masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)))
write("32bit_v4_bitfields.bmp", bmp(1, 1, 32, bytes([1, 2, 3, 4]), header=108, compression=3,
                                    masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)))
# Run-length codes: runs, a literal run with its pad byte, end of line, a move, end of bitmap.
write("8bit_rle.bmp", bmp(4, 3, 8, bytes([3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3,
                                          6, 1, 0, 1]), pal4, compression=1))
write("4bit_rle.bmp", bmp(5, 2, 4, bytes([5, 0x12, 0, 0, 0, 5, 0x30, 0x12, 0x30, 0, 0, 2, 1, 0,
                                          0, 1]), pal4, compression=2))
