#!/usr/bin/env python3
"""Draws the program icon, a crescent moon and stars on a night-blue tile, at 16, 32
and 48 pixels into resources/icon/100-lumivane.ico. The shapes are described once in
unit coordinates and sampled per size, so every size is sharp; the smallest keeps
only the moon and one star, as more would blur together.

It also draws the desktop icons of the Linux install, 16 to 256 pixels, into
resources/linux/icons/hicolor/<size>x<size>/apps/lumivane.png (the freedesktop icon theme's
layout).

    tools/make_icon.py [--preview FOLDER]   (PNG previews, enlarged)
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib  # noqa: E402

SKY_TOP = (12, 24, 62)
SKY_BOTTOM = (32, 52, 104)
MOON = (250, 236, 170)
STAR = (255, 255, 240)


def tile(u, v):
    """A rounded square filling the icon."""
    r = 0.2
    dx = max(abs(u - 0.5) - (0.5 - r), 0.0)
    dy = max(abs(v - 0.5) - (0.5 - r), 0.0)
    return dx * dx + dy * dy <= r * r


def crescent(u, v):
    lit = (u - 0.43) ** 2 + (v - 0.55) ** 2 <= 0.30 ** 2
    shadow = (u - 0.57) ** 2 + (v - 0.44) ** 2 <= 0.255 ** 2
    return lit and not shadow


def star_shape(cx, cy, outer):
    inner = outer * 0.42
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.radians(-90 + 36 * i)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return lambda u, v: drawlib.in_polygon(u, v, points)


def draw(size):
    stars = [star_shape(0.76, 0.26, 0.13)]
    if size >= 32:
        stars += [star_shape(0.83, 0.62, 0.075), star_shape(0.60, 0.13, 0.06)]

    def sample(shape):
        return drawlib.coverage(size, size, lambda x, y: shape(x / size, y / size), 6)

    back = sample(tile)
    moon = sample(crescent)
    twinkle = sample(lambda u, v: any(s(u, v) for s in stars))
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            t = y / max(size - 1, 1)
            colour = [SKY_TOP[i] * (1 - t) + SKY_BOTTOM[i] * t for i in range(3)]
            for cover, fg in ((moon[y][x], MOON), (twinkle[y][x], STAR)):
                colour = [colour[i] * (1 - cover) + fg[i] * cover for i in range(3)]
            alpha = round(back[y][x] * 255)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c)) for c in colour) + (alpha,))
        pixels.append(row)
    return pixels


HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = os.path.join(root, "resources", "icon")
    os.makedirs(out_dir, exist_ok=True)
    images = [draw(size) for size in (16, 32, 48)]
    with open(os.path.join(out_dir, "100-lumivane.ico"), "wb") as f:
        f.write(drawlib.ico(images))
    for size in HICOLOR_SIZES:
        folder = os.path.join(root, "resources", "linux", "icons", "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "lumivane.png"), "wb") as f:
            f.write(drawlib.png_rgba(draw(size)))
    if "--preview" in argv:
        folder = argv[argv.index("--preview") + 1]
        os.makedirs(folder, exist_ok=True)
        for image in images:
            with open(os.path.join(folder, "icon-%d.png" % len(image)), "wb") as f:
                f.write(drawlib.png_rgba(image, 96 // len(image) * 2))


if __name__ == "__main__":
    main(sys.argv[1:])
