#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24 or 32 bits a pixel, ZPixmap) to a PNG, with the
standard library only, for screenshots that tests take of a virtual display.

    tools/xwd_to_png.py dump.xwd picture.png
"""
import struct
import sys
import zlib


def convert(data):
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, stride, ncolors = fields[7], fields[11], fields[12], fields[19]
    masks = fields[14:17]
    if bits_per_pixel not in (24, 32):
        sys.exit("xwd_to_png: %d bits a pixel; expected 24 or 32" % bits_per_pixel)
    step = bits_per_pixel // 8
    endian = "little" if byte_order == 0 else "big"
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    pixels = data[header_size + 12 * ncolors:]
    rows = []
    for y in range(height):
        row = bytearray([0])  # PNG filter: none
        base = y * stride
        for x in range(width):
            value = int.from_bytes(pixels[base + step * x:base + step * (x + 1)], endian)
            row += bytes((value & m) >> s for m, s in zip(masks, shifts))
        rows.append(bytes(row))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as source:
        png = convert(source.read())
    with open(sys.argv[2], "wb") as target:
        target.write(png)
