#!/usr/bin/env python3
"""Draws the splash picture shown while the sky is built, resources/bitmaps/163-splash.bmp:
a 400 x 200, 24-bit night-sky card with a crescent, a few stars and the program's name.

The name is drawn with our own stroke letters (lines and arcs in a unit box), so the
picture needs no font file. Edges are smoothed by distance (strokes) or by sampling
(the crescent). Standard library only and fully deterministic.

    tools/make_splash.py [--preview FILE.png] [--out FILE.bmp]
"""

import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib  # noqa: E402

WIDTH, HEIGHT = 400, 200
NAME = "Lumivane"

# Letter geometry in em units: x to the right, y down, cap line 0, x-height line X, base 1.
X = 0.40
ADVANCE_GAP = 0.24


def arc(cx, cy, rx, ry, start, end, steps=18):
    """Points along an ellipse from angle start to end (degrees, 0 = right, 90 = down)."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]


def letters():
    """Each letter: (width, list of polylines)."""
    r = (1 - X) / 2  # radius of the round letters' bowls
    mid = 1 - r
    glyphs = {}
    glyphs["L"] = (0.48, [[(0, 0), (0, 1), (0.48, 1)]])
    # u: down the left stem, round the bottom to the right stem.
    glyphs["u"] = (0.5, [[(0, X), (0, mid)] + arc(0.25, mid, 0.25, r, 180, 0)[1:], [(0.5, X), (0.5, 1)]])
    glyphs["m"] = (0.84, [[(0, 1), (0, X + 0.02)],
                          [(0, X + 0.22)] + arc(0.21, X + 0.22, 0.21, 0.2, 180, 360)[1:] + [(0.42, 1)],
                          [(0.42, X + 0.22)] + arc(0.63, X + 0.22, 0.21, 0.2, 180, 360)[1:] + [(0.84, 1)]])
    glyphs["i"] = (0.0, [[(0, X), (0, 1)], [(0, 0.14), (0, 0.14)]])
    glyphs["v"] = (0.52, [[(0, X), (0.26, 1), (0.52, X)]])
    glyphs["a"] = (0.5, [arc(0.25, mid, 0.25, r, 0, 360, 32), [(0.5, X), (0.5, 1)]])
    glyphs["n"] = (0.5, [[(0, 1), (0, X + 0.02)],
                         [(0, mid)] + arc(0.25, mid, 0.25, r, 180, 360)[1:] + [(0.5, 1)]])
    # e: the bar, then round from its right end over the top and back under to the right.
    glyphs["e"] = (0.5, [[(0.02, mid), (0.5, mid)] + arc(0.25, mid, 0.25, r, 0, -320, 32)[1:]])
    return glyphs


def name_segments(text, em, left, baseline):
    """The segments of the text at em pixels per unit, its base line at `baseline`."""
    glyphs = letters()
    segments = []
    x = left
    top = baseline - em
    for ch in text:
        width, lines = glyphs[ch]
        for line in lines:
            points = [(x + px * em, top + py * em) for px, py in line]
            if len(points) == 1:
                points = points * 2
            segments += list(zip(points, points[1:]))
        x += (width + ADVANCE_GAP) * em
    return segments, x - ADVANCE_GAP * em - left


def crescent_inside(cx, cy, r, dx, dy, r2):
    def inside(x, y):
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and (x - cx - dx) ** 2 + (y - cy - dy) ** 2 > r2 * r2
    return inside


def render():
    rng = random.Random(163)
    # The sky: deep blue at the top fading to near black, a faint glow about the moon.
    moon_x, moon_y, moon_r = 78.0, 92.0, 40.0
    rows = []
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        row = []
        for x in range(WIDTH):
            glow = max(0.0, 1 - math.hypot(x - moon_x, y - moon_y) / 150) ** 2
            row.append([10 * (1 - t) + 2 + 18 * glow, 14 * (1 - t) + 3 + 22 * glow, 38 * (1 - t) + 10 + 34 * glow])
        rows.append(row)

    def blend(x, y, colour, alpha):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT and alpha > 0:
            p = rows[y][x]
            for i in range(3):
                p[i] = p[i] * (1 - alpha) + colour[i] * alpha

    # Stars, kept off the crescent and the name.
    def clear_of_art(x, y):
        return math.hypot(x - moon_x, y - moon_y) > moon_r + 14 and not (125 <= x <= 392 and 60 <= y <= 148)

    placed = 0
    while placed < 46:
        x, y = rng.randrange(8, WIDTH - 8), rng.randrange(8, HEIGHT - 8)
        if not clear_of_art(x, y):
            continue
        level = rng.random() ** 2.2
        colour = (200 + 55 * level, 205 + 50 * level, 255)
        blend(x, y, colour, 0.35 + 0.65 * level)
        if level > 0.45:
            for ddx, ddy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                blend(x + ddx, y + ddy, colour, 0.45 * level)
        if level > 0.8:
            for k in (2, 3):
                for ddx, ddy in ((k, 0), (-k, 0), (0, k), (0, -k)):
                    blend(x + ddx, y + ddy, colour, 0.3 * level / (k - 1))
        placed += 1

    # The crescent: a disc less a larger one set off to its upper right, lit pale gold.
    inside = crescent_inside(moon_x, moon_y, moon_r, 17.0, -9.0, 36.0)
    x0, y0 = int(moon_x - moon_r - 2), int(moon_y - moon_r - 2)
    size = int(2 * moon_r + 4)
    grid = drawlib.coverage(size, size, lambda u, v: inside(u + x0, v + y0), samples=6)
    for v, line in enumerate(grid):
        for u, cover in enumerate(line):
            # Brighter along the outer rim, as the lit limb is.
            rim = math.hypot(u + x0 - moon_x, v + y0 - moon_y) / moon_r
            shade = 0.82 + 0.18 * rim
            blend(u + x0, v + y0, (255 * shade, 236 * shade, 178 * shade), cover)

    # The name: a soft blue halo first, then the strokes.
    em = 42.0
    segments, width = name_segments(NAME, em, 0, 0)
    left = 138 + (250 - width) / 2
    baseline = 120.0
    segments, _ = name_segments(NAME, em, left, baseline)
    half = 2.1
    bx0, bx1 = int(left) - 12, int(left + width) + 12
    by0, by1 = int(baseline - em) - 12, int(baseline) + 12
    for y in range(by0, by1):
        for x in range(bx0, bx1):
            px, py = x + 0.5, y + 0.5
            d = min(drawlib.segment_distance(px, py, a[0], a[1], b[0], b[1]) for a, b in segments)
            halo = max(0.0, 1 - (d - half) / 9) ** 2 * 0.35
            blend(x, y, (70, 110, 230), halo)
            blend(x, y, (232, 238, 255), max(0.0, min(1.0, half + 0.5 - d)))

    # A fine line under the name, fading out at both ends.
    for x in range(int(left), int(left + width) + 1):
        f = (x - left) / width
        blend(x, int(baseline) + 16, (150, 170, 230), 0.55 * math.sin(math.pi * f))

    # A thin frame inside the edge, like a card's.
    for x in range(6, WIDTH - 6):
        blend(x, 6, (60, 80, 140), 0.6)
        blend(x, HEIGHT - 7, (60, 80, 140), 0.6)
    for y in range(6, HEIGHT - 6):
        blend(6, y, (60, 80, 140), 0.6)
        blend(WIDTH - 7, y, (60, 80, 140), 0.6)

    return [[tuple(max(0, min(255, int(round(c)))) for c in p) for p in row] for row in rows]


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[argv.index("--out") + 1] if "--out" in argv else os.path.join(
        root, "resources", "bitmaps", "163-splash.bmp")
    preview = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    rows = render()
    with open(out, "wb") as f:
        f.write(drawlib.bmp_24bit(rows))
    if preview:
        with open(preview, "wb") as f:
            f.write(drawlib.png_rgba([[(r, g, b, 255) for r, g, b in row] for row in rows], 2))


if __name__ == "__main__":
    main(sys.argv[1:])
