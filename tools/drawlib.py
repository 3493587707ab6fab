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


# --- Shaded, outlined pictures from signed distances -------------------------------
#
# A shape is a signed distance function in pixels (negative inside) with a bounding box.
# Coverage of a pixel is clamp(0.5 - d) at its centre, which gives anti-aliased edges
# without supersampling; an outline is the same shape grown by its width.

import math as _math


class Shape:
    def __init__(self, dist, bbox):
        self.dist = dist
        self.bbox = bbox  # x0, y0, x1, y1

    def __or__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: min(a(x, y), b(x, y)), _bbox_union(self.bbox, other.bbox))

    def __and__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: max(a(x, y), b(x, y)), _bbox_inter(self.bbox, other.bbox))

    def __sub__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bbox)

    def grow(self, r):
        a = self.dist
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: a(x, y) - r, (x0 - r, y0 - r, x1 + r, y1 + r))

    def rotate(self, degrees, cx, cy):
        """The shape turned clockwise (y points down) about (cx, cy)."""
        a = self.dist
        c, s = _math.cos(_math.radians(degrees)), _math.sin(_math.radians(degrees))

        def dist(x, y):
            dx, dy = x - cx, y - cy
            return a(cx + c * dx + s * dy, cy - s * dx + c * dy)

        x0, y0, x1, y1 = self.bbox
        corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
        pts = [(cx + c * (px - cx) - s * (py - cy), cy + s * (px - cx) + c * (py - cy)) for px, py in corners]
        return Shape(dist, (min(p[0] for p in pts), min(p[1] for p in pts),
                            max(p[0] for p in pts), max(p[1] for p in pts)))

    def mirror_x(self, axis):
        a = self.dist
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: a(2 * axis - x, y), (2 * axis - x1, y0, 2 * axis - x0, y1))


def smooth_union(a, b, k=4.0):
    """Union with a rounded seam of about k pixels, for organic shapes."""
    da, db = a.dist, b.dist

    def dist(x, y):
        p, q = da(x, y), db(x, y)
        h = max(k - abs(p - q), 0.0) / k
        return min(p, q) - h * h * k * 0.25

    return Shape(dist, _bbox_union(a.bbox, b.bbox))


def union(*shapes):
    out = shapes[0]
    for s in shapes[1:]:
        out = out | s
    return out


def _bbox_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _bbox_inter(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def circle(cx, cy, r):
    return Shape(lambda x, y: _math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry, angle=0.0):
    """An ellipse, turned clockwise by angle degrees (a close approximation of distance)."""
    def dist(x, y):
        px, py = x - cx, y - cy
        k0 = _math.hypot(px / rx, py / ry)
        k1 = _math.hypot(px / (rx * rx), py / (ry * ry))
        if k1 == 0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1

    shape = Shape(dist, (cx - rx, cy - ry, cx + rx, cy + ry))
    return shape.rotate(angle, cx, cy) if angle else shape


def box(cx, cy, hw, hh, radius=0.0, angle=0.0):
    """A rectangle of half sizes hw, hh with rounded corners, turned by angle degrees."""
    def dist(x, y):
        qx = abs(x - cx) - hw + radius
        qy = abs(y - cy) - hh + radius
        outside = _math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    shape = Shape(dist, (cx - hw, cy - hh, cx + hw, cy + hh))
    return shape.rotate(angle, cx, cy) if angle else shape


def capsule(ax, ay, bx, by, ra, rb=None):
    """A stroke from a to b with round ends, radius ra at a tapering to rb at b."""
    rb = ra if rb is None else rb
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def dist(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        qx, qy = ax + t * dx, ay + t * dy
        return _math.hypot(x - qx, y - qy) - (ra + (rb - ra) * t)

    r = max(ra, rb)
    return Shape(dist, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polyline(points, r):
    """A stroke along the points with round joins."""
    out = capsule(points[0][0], points[0][1], points[1][0], points[1][1], r)
    for (ax, ay), (bx, by) in zip(points[1:], points[2:]):
        out = out | capsule(ax, ay, bx, by, r)
    return out


def bezier(p0, p1, p2, p3, steps=16):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


def polygon(points):
    pts = list(points)

    def dist(x, y):
        best = min(segment_distance(x, y, pts[i][0], pts[i][1], pts[(i + 1) % len(pts)][0],
                                    pts[(i + 1) % len(pts)][1]) for i in range(len(pts)))
        return -best if in_polygon(x, y, pts) else best

    return Shape(dist, (min(p[0] for p in pts), min(p[1] for p in pts),
                        max(p[0] for p in pts), max(p[1] for p in pts)))


def ring(cx, cy, r, width, a0=None, a1=None):
    """A circular band of the given width; with a0, a1 (degrees, clockwise from the
    right, y down) only that arc, with round ends."""
    def dist(x, y):
        return abs(_math.hypot(x - cx, y - cy) - r) - width / 2

    shape = Shape(dist, (cx - r - width, cy - r - width, cx + r + width, cy + r + width))
    if a0 is None:
        return shape
    steps = max(4, int(abs(a1 - a0) / 6))
    pts = [(cx + r * _math.cos(_math.radians(a0 + (a1 - a0) * i / steps)),
            cy + r * _math.sin(_math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]
    return polyline(pts, width / 2)


def star_shape(cx, cy, outer, inner, points=5, turn=0.0):
    pts = []
    for i in range(points * 2):
        radius = outer if i % 2 == 0 else inner
        a = _math.radians(-90 + turn + 180.0 / points * i)
        pts.append((cx + radius * _math.cos(a), cy + radius * _math.sin(a)))
    return polygon(pts)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def scale(c, f):
    return tuple(v * f for v in c)


class Painter:
    """A picture on black. fill() paints a shape with its outline (a darker tone of its
    colour, so the outer edge fades into the night) and a soft light from the top left."""

    LIGHT = (-0.55, -0.83)

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.px = [[(0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def fill(self, shape, colour, outline=0.0, outline_colour=None, shade=0.30, rim=0.18, gloss=0.0,
             light_box=None, alpha=1.0):
        x0, y0, x1, y1 = shape.bbox
        grow = outline + 1.0
        ix0 = max(0, int(_math.floor(x0 - grow)))
        iy0 = max(0, int(_math.floor(y0 - grow)))
        ix1 = min(self.width, int(_math.ceil(x1 + grow)) + 1)
        iy1 = min(self.height, int(_math.ceil(y1 + grow)) + 1)
        lx0, ly0, lx1, ly1 = light_box or shape.bbox
        cx, cy = (lx0 + lx1) / 2, (ly0 + ly1) / 2
        sx, sy = max(1.0, (lx1 - lx0) / 2), max(1.0, (ly1 - ly0) / 2)
        if outline and outline_colour is None:
            outline_colour = scale(colour, 0.38)
        dist = shape.dist
        for py in range(iy0, iy1):
            row = self.px[py]
            for px in range(ix0, ix1):
                x, y = px + 0.5, py + 0.5
                d = dist(x, y)
                if d - outline > 0.5:
                    continue
                cur = row[px]
                if outline:
                    cov = min(1.0, max(0.0, 0.5 - (d - outline))) * alpha
                    cur = mix(cur, outline_colour, cov)
                cov = min(1.0, max(0.0, 0.5 - d)) * alpha
                if cov > 0:
                    t = ((x - cx) / sx) * -self.LIGHT[0] + ((y - cy) / sy) * -self.LIGHT[1]
                    f = 1.0 - shade * t
                    if rim:
                        f *= 1.0 - rim * max(0.0, 1.0 - (-d) / 3.5)
                    c = scale(colour, f)
                    if gloss:
                        c = mix(c, (255, 255, 255), max(0.0, min(1.0, (-t - 0.45) * gloss)))
                    cur = mix(cur, c, cov)
                row[px] = cur

    def flat(self, shape, colour, alpha=1.0):
        self.fill(shape, colour, shade=0.0, rim=0.0, alpha=alpha)

    def rows(self):
        return [[tuple(int(max(0, min(255, round(v)))) for v in p) for p in row] for row in self.px]

    def glow(self, cx, cy, r, colour, strength=0.5):
        """A soft light that fades to nothing at radius r (for lamps, beams and stars)."""
        for py in range(max(0, int(cy - r)), min(self.height, int(cy + r) + 1)):
            for px in range(max(0, int(cx - r)), min(self.width, int(cx + r) + 1)):
                d = _math.hypot(px + 0.5 - cx, py + 0.5 - cy) / r
                if d < 1:
                    a = strength * (1 - d) ** 2
                    cur = self.px[py][px]
                    self.px[py][px] = tuple(min(255.0, cur[i] + colour[i] * a) for i in range(3))
