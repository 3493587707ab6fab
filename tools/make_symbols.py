#!/usr/bin/env python3
"""Draws the message symbols (heart, happy face, peace sign, star, Christmas tree) as
1-bit bitmaps in resources/bitmaps/. Each shape is computed geometrically and sampled
8 x 8 times per pixel, so the edges fall where the true outline runs.

The heart, face and peace pictures are scanned one pixel short of their right and
bottom edges when they become messages, so those shapes stay inside that area.

    tools/make_symbols.py [--preview FOLDER]   (PNG previews, enlarged, for looking)
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib  # noqa: E402

SAMPLES = 8


def heart(width=66, height=56):
    # The implicit heart (x^2 + y^2 - 1)^3 - x^2 y^3 <= 0, y pointing up.
    def curve(u, v):
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0

    # Its extent, measured rather than remembered.
    xs = [i / 400.0 for i in range(-600, 601)]
    lit = [(u, v) for u in xs[::4] for v in xs[::4] if curve(u, v)]
    umax = max(abs(u) for u, _ in lit) + 0.01
    vmin = min(v for _, v in lit) - 0.01
    vmax = max(v for _, v in lit) + 0.01
    cx, cy = (width - 1) / 2, (height - 1) / 2  # centre of the scanned area
    half_w, half_h = cx - 1.5, cy - 1.5
    vmid = (vmax + vmin) / 2

    def inside(x, y):
        u = (x - cx) / half_w * umax
        v = -(y - cy) / half_h * (vmax - vmin) / 2 + vmid
        return curve(u, v)

    return width, height, inside


def happy_face(width=36, height=41):
    cx, cy = (width - 1) / 2, (height - 1) / 2
    rx, ry = cx - 2.5, cy - 2.5
    ring = 3.0

    def inside(x, y):
        dx, dy = x - cx, y - cy
        # Distance to the face's oval outline, close enough for a near-circle.
        r = math.hypot(dx / rx, dy / ry)
        scale = (rx + ry) / 2
        if abs(r - 1) * scale <= ring / 2:
            return True
        for side in (-1, 1):
            if ((dx - side * 5.5) / 2.3) ** 2 + ((dy + 5.5) / 3.6) ** 2 <= 1:
                return True
        # The smile: an arc of the lower half with round ends.
        mx, my, mr = 0.0, -1.0, 10.0
        ax, ay = dx - mx, dy - my
        angle = math.degrees(math.atan2(ay, ax))
        if 25 <= angle <= 155 and abs(math.hypot(ax, ay) - mr) <= 1.6:
            return True
        for a in (25, 155):
            ex = mx + mr * math.cos(math.radians(a))
            ey = my + mr * math.sin(math.radians(a))
            if math.hypot(dx - ex, dy - ey) <= 1.6:
                return True
        return False

    return width, height, inside


def peace(width=42, height=32):
    cx, cy = (width - 1) / 2, (height - 1) / 2
    r = cy - 2.5  # centre line of the ring
    stroke = 3.0

    def inside(x, y):
        dx, dy = x - cx, y - cy
        if abs(math.hypot(dx, dy) - r) <= stroke / 2:
            return True
        if math.hypot(dx, dy) > r:
            return False
        d = min(
            drawlib.segment_distance(dx, dy, 0, -r, 0, r),
            drawlib.segment_distance(dx, dy, 0, 0, -r * math.sin(math.radians(45)), r * math.cos(math.radians(45))),
            drawlib.segment_distance(dx, dy, 0, 0, r * math.sin(math.radians(45)), r * math.cos(math.radians(45))),
        )
        return d <= stroke / 2

    return width, height, inside


def star_points(cx, cy, outer, inner):
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.radians(-90 + 36 * i)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def star(width=55, height=55):
    outer = 27.5
    # A five-pointed star reaches cos 36 deg below its centre but a full radius above;
    # move it down so it sits in the middle.
    cy = height / 2 + outer * (1 - math.cos(math.radians(36))) / 2
    points = star_points(width / 2, cy, outer, outer * 0.40)
    return width, height, lambda x, y: drawlib.in_polygon(x, y, points)


def christmas_tree(width=55, height=55):
    cx = width / 2
    top_star = star_points(cx, 6.2, 5.8, 2.4)
    tiers = [(10.0, 23.0, 10.5), (16.0, 35.0, 17.0), (24.0, 47.0, 24.5)]  # apex, base, half width

    def inside(x, y):
        if drawlib.in_polygon(x, y, top_star):
            return True
        for apex, base, half in tiers:
            if apex <= y <= base:
                t = (y - apex) / (base - apex)
                if abs(x - cx) <= half * t:
                    return True
        return abs(x - cx) <= 3.5 and 47.0 <= y <= 53.0

    return width, height, inside


SYMBOLS = [
    (131, "heart", heart),
    (132, "happy-face", happy_face),
    (190, "peace", peace),
    (179, "star", star),
    (178, "christmas-tree", christmas_tree),
]


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = os.path.join(root, "resources", "bitmaps")
    preview = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    os.makedirs(out_dir, exist_ok=True)
    for number, name, shape in SYMBOLS:
        width, height, inside = shape()
        bits = drawlib.threshold(drawlib.coverage(width, height, inside, SAMPLES))
        with open(os.path.join(out_dir, "%d-%s.bmp" % (number, name)), "wb") as f:
            f.write(drawlib.bmp_1bit(bits))
        if preview:
            os.makedirs(preview, exist_ok=True)
            with open(os.path.join(preview, "%d-%s.png" % (number, name)), "wb") as f:
                f.write(drawlib.png_rgba(drawlib.bits_to_rgba(bits), 6))
        print("%d-%s.bmp: %d x %d, %d lit" % (number, name, width, height, sum(map(sum, bits))))


if __name__ == "__main__":
    main(sys.argv[1:])
