#!/usr/bin/env python3
"""Draws the program's own shutdown screen, resources/bitmaps/211-shutdown.bmp: a 320 x 240,
24-bit picture of a power symbol above a ring of fading dots (a system busy shutting
down) on a deep blue gradient. The closing joke shows it, stretched over the screen, where
the system has no shutdown picture of its own. Standard library only, deterministic.

    tools/make_shutdown.py [--preview FILE.png] [--out FILE.bmp]
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib  # noqa: E402

WIDTH, HEIGHT = 320, 240
CX, CY = WIDTH / 2, 96  # the power symbol's centre
RING_R, RING_W = 34, 7  # its ring: radius to the stroke's middle, stroke width
GAP = math.radians(40)  # half the opening at the top of the ring
BAR_TOP, BAR_BOTTOM = CY - 46, CY - 4
DOTS_Y, DOTS_R, DOT_SIZE = 188, 16, 3.2


def power_inside(x, y):
    dx, dy = x - CX, y - CY
    r = math.hypot(dx, dy)
    angle = abs(math.atan2(dx, -dy))  # 0 straight up
    if abs(r - RING_R) <= RING_W / 2 and angle >= GAP:
        return True
    # The bar, with round ends.
    return drawlib.segment_distance(x, y, CX, BAR_TOP, CX, BAR_BOTTOM) <= RING_W / 2


def render():
    rows = []
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        # Deep blue at the top to a darker navy below, with a faint light behind the symbol.
        base = (int(18 + 10 * (1 - t)), int(46 + 30 * (1 - t)), int(110 + 40 * (1 - t)))
        rows.append([base] * WIDTH)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            glow = math.exp(-((x - CX) ** 2 + (y - CY) ** 2) / (2 * 70.0 ** 2))
            r, g, b = rows[y][x]
            rows[y][x] = (min(255, int(r + 40 * glow)), min(255, int(g + 60 * glow)), min(255, int(b + 70 * glow)))

    def blend(x, y, colour, alpha):
        r, g, b = rows[y][x]
        rows[y][x] = tuple(int(round(c0 + (c1 - c0) * alpha)) for c0, c1 in zip((r, g, b), colour))

    grid = drawlib.coverage(WIDTH, HEIGHT, power_inside, samples=4)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if grid[y][x] > 0:
                blend(x, y, (236, 244, 255), grid[y][x])

    # Eight dots on a small circle, brightest at the top and fading round: a busy wheel.
    for k in range(8):
        a = 2 * math.pi * k / 8
        px, py = CX + DOTS_R * math.sin(a), DOTS_Y - DOTS_R * math.cos(a)
        bright = 1.0 - k * 0.11
        x0, y0 = int(px - DOT_SIZE - 1), int(py - DOT_SIZE - 1)
        size = int(2 * DOT_SIZE + 3)
        cover = drawlib.coverage(size, size, lambda u, v: math.hypot(u + x0 - px, v + y0 - py) <= DOT_SIZE, samples=6)
        for v in range(size):
            for u in range(size):
                if cover[v][u] > 0:
                    blend(x0 + u, y0 + v, (220, 232, 255), cover[v][u] * bright)
    return rows


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "resources", "bitmaps", "211-shutdown.bmp")
    preview = None
    args = list(argv)
    while args:
        flag = args.pop(0)
        if flag == "--out" and args:
            out = args.pop(0)
        elif flag == "--preview" and args:
            preview = args.pop(0)
        else:
            print(__doc__)
            return 2
    rows = render()
    with open(out, "wb") as f:
        f.write(drawlib.bmp_24bit(rows))
    if preview:
        with open(preview, "wb") as f:
            f.write(drawlib.png_rgba([[(r, g, b, 255) for r, g, b in row] for row in rows]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
