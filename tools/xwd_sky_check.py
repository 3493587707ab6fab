#!/usr/bin/env python3
"""Reads an X window dump (xwd, 24/32-bit ZPixmap) and checks that it shows the sky:
a mostly black screen with many small lit points (stars) and one large disc that is
not black (the moon, whose unlit part still glows faintly). Prints what it found; exits 1 when the screen is not a night sky.

    tools/xwd_sky_check.py screen.xwd [--png screen.png]
"""
import struct
import sys


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    bits_per_pixel, bytes_per_line, ncolors = fields[11], fields[12], fields[19]
    byte_order = fields[7]
    if bits_per_pixel != 32:
        sys.exit("xwd_sky_check: %d bits a pixel; expected 32" % bits_per_pixel)
    offset = header_size + ncolors * 12
    endian = "<" if byte_order == 0 else ">"
    rows = []
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * 4]
        rows.append(struct.unpack(endian + "%dI" % width, line))
    return width, height, rows


def regions(mask, width, height):
    """Sizes of the 4-connected regions of set cells."""
    seen = [[False] * width for _ in range(height)]
    sizes = []
    for y in range(height):
        for x in range(width):
            if not mask[y][x] or seen[y][x]:
                continue
            stack, size = [(x, y)], 0
            seen[y][x] = True
            while stack:
                cx, cy = stack.pop()
                size += 1
                for nx, ny in ((cx + 1, cy), (cx - 1, cy), (cx, cy + 1), (cx, cy - 1)):
                    if 0 <= nx < width and 0 <= ny < height and mask[ny][nx] and not seen[ny][nx]:
                        seen[ny][nx] = True
                        stack.append((nx, ny))
            sizes.append(size)
    return sizes


def main(path, png=None):
    width, height, rows = read_xwd(path)
    if png:
        sys.path.insert(0, __import__("os").path.dirname(__file__))
        import drawlib
        pixels = [[(p >> 16 & 255, p >> 8 & 255, p & 255, 255) for p in row] for row in rows]
        with open(png, "wb") as f:
            f.write(drawlib.png_rgba(pixels))
    brightness = [[(p >> 16 & 255) + (p >> 8 & 255) + (p & 255) for p in row] for row in rows]
    lit = [[b > 150 for b in row] for row in brightness]
    glowing = [[b > 24 for b in row] for row in brightness]
    dark = sum(1 for row in glowing for v in row if not v)
    points = sum(1 for size in regions(lit, width, height) if size <= 49)
    largest = max(regions(glowing, width, height), default=0)
    print("   %dx%d: %.1f%% dark, %d small lit points, largest glowing area %d pixels"
          % (width, height, 100.0 * dark / (width * height), points, largest))
    ok = dark > 0.8 * width * height and points >= 100 and largest >= 2000
    return 0 if ok else 1


if __name__ == "__main__":
    args = sys.argv[1:]
    png = args[args.index("--png") + 1] if "--png" in args else None
    sys.exit(main(args[0], png))
