#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24/32-bit ZPixmap, as Xvfb gives) to a PNG file, with
nothing but the standard library, for the screenshots in docs/.

    tools/xwd_to_png.py window.xwd window.png
"""
import struct
import sys
import zlib


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    if bits_per_pixel not in (24, 32):
        sys.exit("xwd_to_png: %d bits a pixel; expected 24 or 32" % bits_per_pixel)
    # Some servers report depth 24 as 24 bits a pixel yet pad every pixel to 4 bytes.
    size = 4 if bytes_per_line >= width * 4 else bits_per_pixel // 8
    offset = header_size + ncolors * 12
    endian = "<" if byte_order == 0 else ">"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    rows = []
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * size]
        out = bytearray()
        for x in range(width):
            p = int.from_bytes(line[x * size: x * size + size], "little" if endian == "<" else "big")
            out += bytes(((p & red_mask) >> rs, (p & green_mask) >> gs, (p & blue_mask) >> bs))
        rows.append(bytes(out))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_png(sys.argv[2], *read_xwd(sys.argv[1]))
