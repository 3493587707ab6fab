#!/usr/bin/env python3
"""Renders the full moon picture, resources/bitmaps/116-moon.bmp, from a real lunar map:
the near side of an equirectangular albedo map seen face on (orthographic, longitude 0
at the centre, north up, east to the right), on a 100 x 100, 24-bit bitmap with the
disc centred on pixel (50, 50), where the saver shades it for the phase and turns it.

Run by hand, once; its output is committed, so neither the build nor CI needs the map.
The map is the public-domain lunar texture of Debian's stellarium-data package
(apt-get install --no-install-recommends stellarium-data; see resources/CREDITS):

    tools/gen_moon_from_map.py [--map FILE.png] [--size N] [--preview FILE.png] [--out FILE.bmp]

--size draws a larger picture for looking at detail; the resource is always 100 x 100.
Standard library only: the PNG is decoded here (8-bit, non-interlaced), and the output
is fully determined by the map.
"""

import math
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib  # noqa: E402

SIZE = 100
DEFAULT_MAP = "/usr/share/stellarium/textures/moon.png"

# Sub-samples per pixel each way: enough for a smooth rim and to average the map's
# detail, which is about five map pixels to one picture pixel near the centre.
SAMPLES = 4


class MapError(Exception):
    pass


def decode_png(data):
    """(width, height, rows of grey levels 0..1) of an 8-bit, non-interlaced PNG in grey,
    grey + alpha, RGB or RGBA; colour is folded to luminance, alpha is ignored."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise MapError("not a PNG file")
    pos = 8
    header = None
    idat = bytearray()
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length:
            raise MapError("truncated chunk")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise MapError("no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace != 0 or width == 0 or height == 0:
        raise MapError("only 8-bit, non-interlaced grey, RGB or RGBA maps are read "
                       "(depth %d, colour type %d, interlace %d)" % (depth, colour, interlace))
    raw = zlib.decompress(bytes(idat))
    stride = width * channels
    if len(raw) < height * (stride + 1):
        raise MapError("image data shorter than %d x %d" % (width, height))

    rows = []
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        unfilter(kind, line, previous, channels)
        previous = line
        if channels == 1:
            rows.append([v / 255.0 for v in line])
        elif channels == 2:
            rows.append([line[i] / 255.0 for i in range(0, stride, 2)])
        else:
            # Rec. 709 weights on the stored values: the map is a brightness map, and
            # the picture's own colour comes from the tint below.
            rows.append([(0.2126 * line[i] + 0.7152 * line[i + 1] + 0.0722 * line[i + 2]) / 255.0
                         for i in range(0, stride, channels)])
    return width, height, rows


def unfilter(kind, line, previous, bpp):
    """Undoes one scanline's PNG filter in place."""
    n = len(line)
    if kind == 0:
        return
    if kind == 1:
        for i in range(bpp, n):
            line[i] = (line[i] + line[i - bpp]) & 255
    elif kind == 2:
        for i in range(n):
            line[i] = (line[i] + previous[i]) & 255
    elif kind == 3:
        for i in range(n):
            left = line[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + ((left + previous[i]) >> 1)) & 255
    elif kind == 4:
        for i in range(n):
            a = line[i - bpp] if i >= bpp else 0
            b = previous[i]
            c = previous[i - bpp] if i >= bpp else 0
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            line[i] = (line[i] + pred) & 255
    else:
        raise MapError("unknown PNG filter %d" % kind)


class LunarMap:
    """Bilinear look-up in an equirectangular map whose left edge is longitude -180°,
    its top edge latitude +90°; longitude wraps, latitude stops at the poles."""

    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows

    def sample(self, lat, lon):
        u = (lon + 180.0) / 360.0 * self.width - 0.5
        v = (90.0 - lat) / 180.0 * self.height - 0.5
        v = max(0.0, min(self.height - 1.0, v))
        x0, y0 = math.floor(u), math.floor(v)
        fx, fy = u - x0, v - y0
        x0 %= self.width
        x1 = (x0 + 1) % self.width
        y1 = min(y0 + 1, self.height - 1)
        top, bottom = self.rows[y0], self.rows[y1]
        upper = top[x0] + (top[x1] - top[x0]) * fx
        lower = bottom[x0] + (bottom[x1] - bottom[x0]) * fx
        return upper + (lower - upper) * fy


def render_albedo(lunar, size):
    """Rows of (albedo, coverage) per pixel: the mean map value over the pixel's samples
    that fall on the disc, and the fraction of samples that do."""
    scale = size / SIZE
    centre = 50.5 * scale  # the centre of pixel (50, 50), about which the saver turns it
    radius = 49.5 * scale  # the widest disc that keeps clear of the picture's edges
    step = 1.0 / SAMPLES
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total, hits = 0.0, 0
            for sy in range(SAMPLES):
                fy = (centre - (py + (sy + 0.5) * step)) / radius
                for sx in range(SAMPLES):
                    fx = (px + (sx + 0.5) * step - centre) / radius
                    rr = fx * fx + fy * fy
                    if rr >= 1.0:
                        continue
                    z = math.sqrt(1.0 - rr)
                    lat = math.degrees(math.asin(fy))
                    lon = math.degrees(math.atan2(fx, z))
                    total += lunar.sample(lat, lon)
                    hits += 1
            row.append((total / hits if hits else 0.0, hits / (SAMPLES * SAMPLES)))
        rows.append(row)
    return rows


def sharpen(albedo_rows, sigma=3.0, amount=0.6):
    """Unsharp mask at the scale of the larger craters: the bright young craters and the
    nearer rays stand out of the highlands again after sampling down averaged them away.
    The blur is weighted by coverage, so the black outside does not darken the rim."""
    n = len(albedo_rows)
    reach = int(3 * sigma) + 1
    kernel = [math.exp(-(d * d) / (2 * sigma * sigma)) for d in range(-reach, reach + 1)]

    def blur_once(values, weights, across):
        out_v = [[0.0] * n for _ in range(n)]
        out_w = [[0.0] * n for _ in range(n)]
        for y in range(n):
            for x in range(n):
                sv = sw = 0.0
                for i, k in enumerate(kernel):
                    xx, yy = (x + i - reach, y) if across else (x, y + i - reach)
                    if 0 <= xx < n and 0 <= yy < n:
                        sv += k * values[yy][xx]
                        sw += k * weights[yy][xx]
                out_v[y][x], out_w[y][x] = sv, sw
        return out_v, out_w

    values = [[a * c for a, c in row] for row in albedo_rows]
    weights = [[c for _, c in row] for row in albedo_rows]
    values, weights = blur_once(*blur_once(values, weights, True), False)
    out = []
    for y, row in enumerate(albedo_rows):
        line = []
        for x, (albedo, cover) in enumerate(row):
            mean = values[y][x] / weights[y][x] if weights[y][x] > 1e-9 else albedo
            line.append((albedo + amount * (albedo - mean), cover))
        out.append(line)
    return out


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def tone(albedo_rows):
    """Rows of (r, g, b): the disc's albedo stretched so the darkest seas and the brightest
    rays span most of the range, then lifted a little, so seas and highlands part clearly
    at 100 pixels. Faintly warm, as the full moon looks; the rim fades with coverage."""
    on_disc = [a for row in albedo_rows for a, cover in row if cover >= 1.0]
    low = percentile(on_disc, 0.01)
    span = max(1e-6, percentile(on_disc, 0.995) - low)  # a featureless map stays grey
    warm = (1.0, 0.975, 0.94)
    out = []
    for row in albedo_rows:
        line = []
        for albedo, cover in row:
            if cover == 0.0:
                line.append((0, 0, 0))
                continue
            t = max(0.0, min(1.0, (albedo - low) / span))
            value = 0.16 + 0.84 * t ** 0.85
            line.append(tuple(max(0, min(255, int(round(255 * value * w * cover)))) for w in warm))
        out.append(line)
    return out


def option(argv, name, default):
    if name not in argv:
        return default
    i = argv.index(name)
    if i + 1 >= len(argv):
        sys.exit("%s needs a value" % name)
    return argv[i + 1]


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    map_path = option(argv, "--map", DEFAULT_MAP)
    try:
        size = int(option(argv, "--size", SIZE))
    except ValueError:
        size = 0
    # Below this the disc has no whole pixels to stretch the tones over.
    if not 16 <= size <= 4000:
        sys.exit("--size takes a whole number from 16 to 4000")
    out = option(argv, "--out", None)
    preview = option(argv, "--preview", None)
    if out is None and size == SIZE:
        out = os.path.join(root, "resources", "bitmaps", "116-moon.bmp")
    try:
        with open(map_path, "rb") as f:
            lunar = LunarMap(*decode_png(f.read()))
    except (OSError, MapError, zlib.error) as e:
        sys.exit("cannot read the lunar map %s: %s" % (map_path, e))
    rows = tone(sharpen(render_albedo(lunar, size), 3.0 * size / SIZE))
    if out:
        with open(out, "wb") as f:
            f.write(drawlib.bmp_24bit(rows))
    if preview:
        zoom = max(1, 400 // size)
        with open(preview, "wb") as f:
            f.write(drawlib.png_rgba([[(r, g, b, 255) for r, g, b in row] for row in rows], zoom))


if __name__ == "__main__":
    main(sys.argv[1:])
