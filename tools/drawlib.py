"""Shared helpers of the artwork generators: coverage sampling of shapes given as
inside-tests, and writers for 1-bit and 24-bit BMP, 32-bit icon images and preview PNGs.
Standard library only, so the artwork can be rebuilt on any machine."""

import struct
import zlib


def coverage(width, height, inside, samples=4):
    """Fraction (0..1) of each pixel covered by the shape; inside(x, y) takes pixel
    coordinates with (0, 0) at the top-left corner of the top-left pixel."""
    grid = []
    step = 1.0 / samples
    for py in range(height):
        row = []
        for px in range(width):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    if inside(px + (sx + 0.5) * step, py + (sy + 0.5) * step):
                        hits += 1
            row.append(hits / (samples * samples))
        grid.append(row)
    return grid


def threshold(grid, level=0.5):
    """One bit per pixel: lit where more than `level` of the pixel is covered, which
    keeps edges where the true outline runs instead of growing or eroding the shape.
    (A pixel cut exactly in half stays dark: otherwise lone pixels stick out where an
    outline runs vertically along a pixel's middle.)"""
    return [[1 if value > level else 0 for value in row] for row in grid]


def bmp_1bit(bits):
    """A bottom-up 1-bit BMP file, colour 0 black and colour 1 white."""
    height = len(bits)
    width = len(bits[0])
    stride = (width + 31) // 32 * 4
    rows = []
    for row in reversed(bits):
        packed = bytearray(stride)
        for x, bit in enumerate(row):
            if bit:
                packed[x >> 3] |= 0x80 >> (x & 7)
        rows.append(bytes(packed))
    pixels = b"".join(rows)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    offset = 14 + len(header) + len(palette)
    file_header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return file_header + header + palette + pixels


def bmp_24bit(rows):
    """A bottom-up 24-bit BMP file of rows of (r, g, b)."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes([b, g, r])
        line += bytes(stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + bytes(data)


def png_rgba(pixels, scale=1):
    """A PNG of rows of (r, g, b, a) tuples, each pixel repeated scale times each way."""
    raw = bytearray()
    for row in pixels:
        line = bytearray([0])
        for r, g, b, a in row:
            line += bytes([r, g, b, a]) * scale
        raw += bytes(line) * scale

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", len(pixels[0]) * scale, len(pixels) * scale, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def bits_to_rgba(bits):
    return [[(255, 255, 255, 255) if b else (0, 0, 0, 255) for b in row] for row in bits]


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from a point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx, ay + t * dy
    return ((px - qx) ** 2 + (py - qy) ** 2) ** 0.5


def in_polygon(px, py, points):
    """Even-odd rule."""
    inside = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > py) != (y2 > py):
            cross = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
            if px < cross:
                inside = not inside
    return inside


def ico(images):
    """An icon file of square RGBA images (rows of (r, g, b, a)), each stored as a
    32-bit bitmap with its transparency mask, as every version of the platform reads."""
    entries = []
    blobs = []
    for pixels in images:
        size = len(pixels)
        xor = bytearray()
        mask = bytearray()
        mask_stride = (size + 31) // 32 * 4
        for row in reversed(pixels):
            line = bytearray(mask_stride)
            for x, (r, g, b, a) in enumerate(row):
                xor += bytes([b, g, r, a])
                if a == 0:
                    line[x >> 3] |= 0x80 >> (x & 7)
            mask += line
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(header + bytes(xor) + bytes(mask))
        entries.append(size)
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)
