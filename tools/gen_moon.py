#!/usr/bin/env python3
"""Renders the full moon picture, resources/bitmaps/116-moon.bmp: a 100 x 100, 24-bit
bitmap with the lit disc centred on pixel (50, 50), where the saver shades it for the
phase and turns it about.

The near side is modelled on a sphere seen face on (north up, the east limb with Mare
Crisium on the right): dark seas placed at their real latitudes and longitudes with
ragged edges, bright highlands with crater speckle, the ray systems of Tycho,
Copernicus and Kepler, and a gentle darkening towards the limb. Every pixel averages
several samples, so the rim and the small features are smooth rather than jagged.
Standard library only, and fully deterministic (fixed seeds).

    tools/gen_moon.py [--size N] [--preview FILE.png] [--out FILE.bmp]

--size draws a larger picture for looking at detail; the resource is always 100 x 100.
"""

import math
import os
import random
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib  # noqa: E402

SIZE = 100

# Dark seas as overlapping blobs: (name, latitude, longitude, angular radius, darkness
# 0..1). East longitudes positive. Neighbouring blobs merge into one sea, so the large
# irregular ones (Procellarum, Frigoris, Tranquillitatis) are chains of blobs.
MARIA = [
    ("Imbrium", 33.0, -17.0, 14.5, 1.00),
    ("Imbrium east", 29.0, -7.0, 6.0, 0.95),
    ("Imbrium west", 38.0, -30.0, 8.0, 0.95),
    ("Serenitatis", 28.0, 17.5, 10.0, 0.85),
    ("Tranquillitatis", 8.5, 31.0, 10.0, 1.00),
    ("Tranquillitatis north", 16.0, 26.0, 6.5, 0.95),
    ("Tranquillitatis west", 3.0, 22.0, 6.0, 0.95),
    ("Tranquillitatis east", 5.0, 40.0, 5.0, 0.90),
    ("Crisium", 17.0, 59.0, 8.0, 1.00),
    ("Fecunditatis", -4.0, 51.0, 7.5, 0.85),
    ("Fecunditatis south", -13.0, 52.0, 6.0, 0.80),
    ("Nectaris", -15.2, 35.0, 5.0, 0.85),
    ("Nubium", -20.0, -15.0, 9.0, 0.75),
    ("Nubium west", -17.0, -25.0, 6.0, 0.72),
    ("Cognitum", -10.0, -23.0, 5.5, 0.75),
    ("Humorum", -24.4, -38.6, 5.5, 0.95),
    ("Procellarum north", 40.0, -50.0, 8.0, 0.85),
    ("Procellarum", 27.0, -57.0, 11.0, 0.95),
    ("Procellarum middle", 12.0, -57.0, 11.0, 0.92),
    ("Procellarum south", -2.0, -50.0, 9.0, 0.88),
    ("Procellarum far south", -12.0, -46.0, 5.5, 0.80),
    ("Procellarum east", 18.0, -42.0, 8.0, 0.85),
    ("Insularum", 8.0, -30.0, 6.5, 0.70),
    ("Vaporum", 13.3, 3.6, 4.0, 0.85),
    ("Sinus Medii", 2.4, 1.7, 3.0, 0.60),
    ("Sinus Aestuum", 11.0, -8.0, 3.5, 0.70),
    ("Sinus Iridum", 45.0, -31.5, 4.0, 0.90),
    ("Lacus Somniorum", 37.0, 30.0, 4.5, 0.65),
    ("Mare Spumans", 1.0, 65.0, 2.5, 0.70),
    ("Mare Undarum", 7.0, 69.0, 2.5, 0.70),
    ("Mare Marginis", 13.0, 86.0, 4.0, 0.65),
    ("Mare Smythii", -2.0, 87.0, 4.5, 0.65),
] + [("Frigoris", 57.0 + 3.0 * math.sin(lon / 12.0), lon, 3.0 + 0.8 * math.cos(lon / 9.0), 0.65)
      for lon in range(-36, 41, 6)]

# Dark-floored craters: (latitude, longitude, angular radius, darkness).
DARK_CRATERS = [
    (51.6, -9.3, 1.8, 0.90),    # Plato
    (-5.2, -68.6, 3.0, 0.95),   # Grimaldi
    (-2.5, -74.0, 1.2, 0.6),    # Riccioli
    (-43.0, -66.0, 2.2, 0.40),  # Schickard
]

# Bright craters: (name, latitude, longitude, spot radius, spot brightness, ray count,
# ray length, ray width, ray strength). Angles in degrees.
BRIGHT_CRATERS = [
    ("Tycho", -43.3, -11.2, 0.9, 0.40, 34, 40.0, 0.4, 0.11),
    ("Copernicus", 9.6, -20.1, 1.1, 0.40, 30, 12.0, 0.9, 0.13),
    ("Kepler", 8.1, -38.0, 0.8, 0.40, 18, 8.0, 0.7, 0.12),
    ("Aristarchus", 23.7, -47.4, 0.7, 0.65, 6, 5.0, 0.5, 0.06),
    ("Proclus", 16.1, 46.8, 0.6, 0.40, 7, 10.0, 0.6, 0.07),
    ("Anaxagoras", 73.4, -10.1, 0.8, 0.25, 10, 10.0, 0.6, 0.06),
    ("Menelaus", 16.3, 16.0, 0.5, 0.30, 0, 0.0, 0.0, 0.0),
    ("Censorinus", -0.4, 32.7, 0.4, 0.30, 0, 0.0, 0.0, 0.0),
    ("Stevinus", -32.5, 54.2, 0.6, 0.25, 6, 7.0, 0.5, 0.05),
    ("Langrenus", -8.9, 61.0, 1.2, 0.15, 0, 0.0, 0.0, 0.0),
]


def unit(lat, lon):
    la, lo = math.radians(lat), math.radians(lon)
    return (math.cos(la) * math.sin(lo), math.sin(la), math.cos(la) * math.cos(lo))


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def smoothstep(e0, e1, x):
    t = max(0.0, min(1.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)


class Noise:
    """Value noise in three dimensions, summed over octaves."""

    def __init__(self, seed):
        rng = random.Random(seed)
        self.perm = list(range(256))
        rng.shuffle(self.perm)
        self.perm += self.perm
        self.values = [rng.random() for _ in range(256)]

    def _lattice(self, x, y, z):
        p = self.perm
        return self.values[p[p[p[x & 255] + (y & 255)] + (z & 255)]]

    def value(self, x, y, z):
        xi, yi, zi = math.floor(x), math.floor(y), math.floor(z)
        fx, fy, fz = x - xi, y - yi, z - zi
        ux, uy, uz = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy), fz * fz * (3 - 2 * fz)
        c = self._lattice
        x00 = c(xi, yi, zi) + ux * (c(xi + 1, yi, zi) - c(xi, yi, zi))
        x10 = c(xi, yi + 1, zi) + ux * (c(xi + 1, yi + 1, zi) - c(xi, yi + 1, zi))
        x01 = c(xi, yi, zi + 1) + ux * (c(xi + 1, yi, zi + 1) - c(xi, yi, zi + 1))
        x11 = c(xi, yi + 1, zi + 1) + ux * (c(xi + 1, yi + 1, zi + 1) - c(xi, yi + 1, zi + 1))
        y0 = x00 + uy * (x10 - x00)
        y1 = x01 + uy * (x11 - x01)
        return y0 + uz * (y1 - y0)

    def fbm(self, p, scale, octaves):
        total, amplitude, norm = 0.0, 1.0, 0.0
        for _ in range(octaves):
            total += amplitude * self.value(p[0] * scale + 17.3, p[1] * scale + 5.1, p[2] * scale + 9.7)
            norm += amplitude
            amplitude *= 0.5
            scale *= 2.0
        return total / norm


class Crater:
    def __init__(self, spec, rng):
        (self.name, lat, lon, self.radius, self.spot, rays, length, width, self.strength) = spec
        self.centre = unit(lat, lon)
        la, lo = math.radians(lat), math.radians(lon)
        self.east = (math.cos(lo), 0.0, -math.sin(lo))
        self.north = (-math.sin(la) * math.sin(lo), math.cos(la), -math.sin(la) * math.cos(lo))
        self.radius = math.radians(self.radius)
        # Rays at irregular bearings, each with its own length, width and brightness,
        # so the system looks splashed rather than drawn with a compass.
        self.rays = []
        for i in range(rays):
            bearing = (i + rng.uniform(-0.4, 0.4)) * 2 * math.pi / rays
            self.rays.append((bearing,
                              math.radians(length) * rng.uniform(0.4, 1.3),
                              math.radians(width) * rng.uniform(0.6, 1.5),
                              rng.uniform(0.5, 1.0)))

    def brightening(self, p, streak):
        """Extra albedo at point p; streak (0..1) breaks the rays into patches."""
        c = dot(p, self.centre)
        d = math.acos(max(-1.0, min(1.0, c)))
        if d > math.radians(70):
            return 0.0
        extra = 0.0
        # A bright floor and rim with a soft halo.
        extra += self.spot * math.exp(-(d / self.radius) ** 2)
        extra += 0.35 * self.spot * math.exp(-(d / (2.6 * self.radius)) ** 2)
        if not self.rays or d < 1e-6:
            return extra
        v = (p[0] - c * self.centre[0], p[1] - c * self.centre[1], p[2] - c * self.centre[2])
        bearing = math.atan2(dot(v, self.east), dot(v, self.north))
        start = smoothstep(self.radius * 1.2, self.radius * 3.0, d)
        for ray_bearing, length, width, weight in self.rays:
            delta = (bearing - ray_bearing + math.pi) % (2 * math.pi) - math.pi
            if abs(delta) > math.pi / 2:
                continue
            across = d * math.sin(abs(delta))
            w = width * (1 + 1.5 * d / length)
            along = math.exp(-(d / length) ** 1.5)
            extra += self.strength * weight * start * along * math.exp(-(across / w) ** 2) * (0.5 + streak)
        return extra


def render(size):
    rng = random.Random(116)
    noises = (Noise(1), Noise(2), Noise(3))
    maria = [(unit(lat, lon), math.radians(radius), depth) for _, lat, lon, radius, depth in MARIA]
    dark = [(unit(lat, lon), math.radians(radius), depth) for lat, lon, radius, depth in DARK_CRATERS]
    craters = [Crater(spec, rng) for spec in BRIGHT_CRATERS]

    # Small craters scattered over the whole face: a bright rim round a shaded floor.
    small = []
    for _ in range(220):
        z = rng.uniform(-1, 1)
        a = rng.uniform(0, 2 * math.pi)
        r = math.sqrt(1 - z * z)
        small.append(((r * math.cos(a), z, abs(r * math.sin(a))), math.radians(rng.uniform(0.5, 1.4)),
                      rng.uniform(0.03, 0.08)))
    features = (noises, maria, dark, craters, small)

    scale = size / SIZE
    centre = 50.5 * scale  # the centre of pixel (50, 50), about which the saver turns it
    radius = 49.3 * scale
    # The colour is sampled 2 x 2 per pixel; the rim's coverage, which is only geometry
    # and cheap, 8 x 8, so the edge is smooth without shading every sub-sample.
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = 0
            for sy in range(8):
                for sx in range(8):
                    fx = (px + (sx + 0.5) / 8 - centre) / radius
                    fy = (centre - (py + (sy + 0.5) / 8)) / radius
                    covered += fx * fx + fy * fy < 1.0
            if covered == 0:
                row.append((0, 0, 0))
                continue
            acc = [0.0, 0.0, 0.0]
            for sy in (0.25, 0.75):
                for sx in (0.25, 0.75):
                    fx = (px + sx - centre) / radius
                    fy = (centre - (py + sy)) / radius
                    rr = fx * fx + fy * fy
                    if rr > 0.999:  # a sample past the rim takes the rim's colour
                        k = math.sqrt(0.999 / rr)
                        fx, fy, rr = fx * k, fy * k, 0.999
                    colour = shade((fx, fy, math.sqrt(1.0 - rr)), features)
                    for i in range(3):
                        acc[i] += colour[i]
            cover = covered / 64.0
            row.append(tuple(max(0, min(255, int(round(255 * cover * a / 4)))) for a in acc))
        rows.append(row)
    return rows


def angle(p, centre):
    return math.acos(max(-1.0, min(1.0, dot(p, centre))))


def shade(p, features):
    (texture, edges, speckle), maria, dark, craters, small = features
    # Each blob adds to one field; the sea is where the field passes a ragged threshold,
    # so blobs close together flow into one another as the real seas do.
    # The seas are looked up at a warped position, which frays their round outlines.
    warp = (edges.fbm(p, 3.0, 3) - 0.5, edges.fbm((p[1], p[2], p[0]), 3.0, 3) - 0.5,
            edges.fbm((p[2], p[0], p[1]), 3.0, 3) - 0.5)
    q = (p[0] + 0.16 * warp[0], p[1] + 0.16 * warp[1], p[2] + 0.16 * warp[2])
    field = 0.0
    depth_sum = 0.0
    for centre, radius, depth in maria:
        c = dot(q, centre) / math.sqrt(dot(q, q))
        if c < math.cos(min(math.pi, radius * 1.8)):
            continue
        d = math.acos(min(1.0, c))
        w = math.exp(-0.69 * (d / radius) ** 3)
        field += w
        depth_sum += w * depth
    ragged = edges.fbm(p, 9.0, 3) - 0.5
    sea = smoothstep(0.36, 0.68, field + 0.40 * ragged) if field > 0.05 else 0.0
    darkness = depth_sum / field if field > 1e-9 else 0.0
    sea *= darkness
    for centre, radius, depth in dark:
        sea = max(sea, depth * smoothstep(1.15, 0.7, angle(p, centre) / radius))

    grain = texture.fbm(p, 8.0, 5)
    fine = speckle.fbm(p, 36.0, 2)
    highland = 0.81 + 0.26 * (grain - 0.5) + 0.16 * (fine - 0.5)
    # Older and younger lava: the seas are darker in places, lighter near their shores.
    mare = 0.36 + 0.26 * (grain - 0.5) + 0.06 * (fine - 0.5) - 0.05 * (ragged + 0.1)
    albedo = highland + (mare - highland) * sea

    for centre, radius, strength in small:
        c = dot(p, centre)
        if c < math.cos(radius * 2.5):
            continue
        d = math.acos(min(1.0, c))
        albedo += strength * (1 - 0.7 * sea) * (math.exp(-((d - radius) / (0.4 * radius)) ** 2)
                                                - 0.6 * math.exp(-(d / (0.6 * radius)) ** 2))

    streak = speckle.fbm(p, 12.0, 3)
    for crater in craters:
        albedo += crater.brightening(p, streak)

    # The full moon is almost evenly bright to its rim; a little darkening keeps it round.
    limb = 0.80 + 0.20 * math.sqrt(p[2])
    value = albedo * limb
    # Seas lean slightly blue-grey, highlands slightly warm.
    warm = (1.0, 0.975, 0.935)
    cool = (0.95, 0.95, 0.97)
    tint = [warm[i] + (cool[i] - warm[i]) * sea for i in range(3)]
    return [min(1.0, value * t) for t in tint]


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


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    size = int(argv[argv.index("--size") + 1]) if "--size" in argv else SIZE
    out = argv[argv.index("--out") + 1] if "--out" in argv else None
    preview = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    if out is None and size == SIZE:
        out = os.path.join(root, "resources", "bitmaps", "116-moon.bmp")
    rows = render(size)
    if out:
        with open(out, "wb") as f:
            f.write(bmp_24bit(rows))
    if preview:
        zoom = max(1, 400 // size)
        with open(preview, "wb") as f:
            f.write(drawlib.png_rgba([[(r, g, b, 255) for r, g, b in row] for row in rows], zoom))


if __name__ == "__main__":
    main(sys.argv[1:])
