"""The house style of the pictures: one friendly palette bright enough to read on black,
the outline width, and small parts several pictures share (a heart, an eye, a twinkling
star)."""

import math

import drawlib as d


OL = 1.5  # outline width in pixels

# A friendly palette, bright enough to read on black.
WHITE = (240, 240, 246)
CREAM = (250, 236, 200)
SKIN = (250, 205, 170)
YELLOW = (255, 214, 60)
GOLD = (232, 178, 58)
ORANGE = (250, 140, 40)
RED = (226, 52, 60)
PINK = (246, 130, 170)
PURPLE = (150, 84, 200)
VIOLET = (110, 70, 170)
BLUE = (70, 130, 230)
SKY = (120, 190, 250)
CYAN = (110, 225, 235)
GREEN = (90, 190, 80)
LEAF = (70, 160, 70)
BROWN = (150, 96, 52)
WOOD = (190, 130, 70)
GREY = (170, 176, 190)
SILVER = (205, 212, 225)
INK = (30, 30, 40)
NIGHT = (30, 44, 100)


def heart_shape(cx, cy, size):
    """The classic heart curve, size pixels wide."""
    pts = []
    for i in range(96):
        t = 2 * math.pi * i / 96
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        pts.append((cx + x * size / 34, cy + (y + 2) * size / 34))
    return d.polygon(pts)


def eye(p, cx, cy, r, look=(-0.35, 0.0), glint=True):
    p.fill(d.circle(cx, cy, r), WHITE, outline=1.0, outline_colour=INK, shade=0.1, rim=0)
    p.flat(d.circle(cx + look[0] * r, cy + look[1] * r, r * 0.55), INK)
    if glint:
        p.flat(d.circle(cx + look[0] * r - r * 0.2, cy + look[1] * r - r * 0.25, r * 0.2), (255, 255, 255))


def twinkle(p, cx, cy, r, colour=YELLOW):
    p.glow(cx, cy, r * 2.2, colour, 0.35)
    p.fill(d.star_shape(cx, cy, r, r * 0.45), colour, shade=0.2, rim=0, gloss=1.0)
