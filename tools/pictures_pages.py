"""The pictures of the quote categories and of the settings pages. Drawn by
tools/make_pictures.py with the house style of tools/picture_style.py."""

import math

import drawlib as d
from picture_style import *  # noqa: F401,F403


def dice():
    p = d.Painter(112, 92)
    pips = {1: [(0, 0)], 2: [(-1, -1), (1, 1)], 3: [(-1, -1), (0, 0), (1, 1)],
            4: [(-1, -1), (1, -1), (-1, 1), (1, 1)], 5: [(-1, -1), (1, -1), (0, 0), (-1, 1), (1, 1)],
            6: [(-1, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (1, 1)]}
    for cx, cy, half, turn, n, pip in ((36, 52, 24, -14, 5, INK), (80, 40, 22, 18, 3, RED)):
        p.fill(d.box(cx, cy, half, half, 7, angle=turn), WHITE, OL, outline_colour=(110, 110, 140), gloss=0.5)
        c, s = math.cos(math.radians(turn)), math.sin(math.radians(turn))
        for gx, gy in pips[n]:
            ox, oy = gx * half * 0.52, gy * half * 0.52
            p.fill(d.circle(cx + c * ox - s * oy, cy + s * ox + c * oy, half * 0.17), pip, 0, shade=0.3, rim=0)
    return p


def just_sky():
    p = d.Painter(100, 92)
    p.glow(44, 36, 40, (255, 230, 150), 0.25)
    moon = d.circle(44, 36, 28) - d.circle(58, 28, 24)
    p.fill(moon, (255, 226, 120), OL, gloss=0.6)
    for x, y, s in ((78, 58, 6), (60, 76, 4.5), (86, 30, 4), (26, 78, 5), (82, 84, 3.5), (14, 50, 3)):
        twinkle(p, x, y, s, (255, 245, 200))
    return p


def your_quotes():
    p = d.Painter(104, 92)
    # An open book with a quotation mark over it.
    for side in (-1, 1):
        cover = d.polygon([(52, 84), (52 + side * 48, 78), (52 + side * 48, 36), (52, 42)])
        p.fill(cover, RED, OL)
        page = d.polygon([(52, 80), (52 + side * 44, 74), (52 + side * 44, 34), (52, 40)])
        p.fill(page, CREAM, 0.8, outline_colour=(170, 140, 100), shade=0.15)
        for k in range(4):
            p.flat(d.capsule(52 + side * 8, 50 + k * 7, 52 + side * 38, 46 + k * 7, 0.9), (170, 150, 120))
    for qx in (40, 58):
        p.fill(d.circle(qx, 16, 6.5) | d.capsule(qx + 4, 18, qx - 2, 30, 2.6), BLUE, 1.0)
    return p


def picture_frame():
    p = d.Painter(104, 92)
    p.fill(d.box(52, 46, 48, 42, 3), GOLD, OL, gloss=0.8)
    inner = d.box(52, 46, 38, 32, 1)
    p.fill(inner, (90, 150, 230), 1.0, outline_colour=(150, 100, 30), shade=0.35, rim=0)
    p.fill(d.circle(72, 28, 6) & inner, (255, 230, 110), 0, rim=0)
    p.fill(d.polygon([(14, 78), (40, 38), (60, 78)]) & inner, (120, 130, 150), 0, light_box=inner.bbox)
    p.fill(d.polygon([(34, 78), (66, 46), (92, 78)]) & inner, (150, 160, 180), 0, light_box=inner.bbox)
    p.fill(d.ellipse(52, 84, 50, 12) & inner, GREEN, 0, light_box=inner.bbox)
    p.fill(d.circle(8, 8, 3) | d.circle(96, 8, 3) | d.circle(8, 84, 3) | d.circle(96, 84, 3), (255, 220, 120), 0,
           gloss=1.5)
    return p


def winged_envelope():
    p = d.Painter(124, 84)
    # A feathered wing on each side, fanned up and out from behind the envelope.
    for side in (-1, 1):
        sx, sy = 62 + side * 31, 42
        feathers = []
        for a, length in ((-5, 24), (-27, 26), (-49, 23), (-70, 17)):
            rad = math.radians(a)
            ex, ey = sx + side * length * math.cos(rad), sy + length * math.sin(rad)
            feathers.append(d.capsule(sx, sy, ex, ey, 4.5, 3.0))
        wing = d.smooth_union(d.union(*feathers), d.circle(sx + side * 6, sy - 6, 9), 4)
        p.fill(wing, WHITE, OL, outline_colour=(100, 120, 170))
        for a in (-19, -41, -62):
            rad = math.radians(a)
            p.flat(d.capsule(sx + side * 9 * math.cos(rad), sy + 9 * math.sin(rad),
                             sx + side * 23 * math.cos(rad), sy + 23 * math.sin(rad), 0.5), (170, 180, 215))
    env = d.box(62, 52, 34, 24, 3)
    p.fill(env, (250, 246, 236), OL, outline_colour=(140, 130, 110), shade=0.2)
    p.flat(d.polyline([(30, 30), (62, 56), (94, 30)], 1.0), (170, 160, 140))
    p.flat(d.capsule(31, 75, 52, 58, 0.9) | d.capsule(93, 75, 72, 58, 0.9), (200, 190, 170))
    p.fill(heart_shape(62, 55, 15), RED, 0.8, gloss=1.0)
    return p


def night_emblem():
    """The built-in picture of the main settings page: a house under the night sky."""
    p = d.Painter(120, 100)
    p.fill(d.box(60, 50, 58, 48, 12), (26, 36, 86), OL, outline_colour=(90, 110, 190), shade=0.4, rim=0)
    frame = d.box(60, 50, 57, 47, 11)
    p.fill(d.circle(86, 28, 13) - d.circle(93, 23, 11), (255, 226, 120), 0.8, gloss=0.6)
    for x, y, s in ((20, 20, 3.5), (40, 12, 2.5), (56, 30, 3), (104, 52, 2.5), (30, 42, 2.2), (70, 12, 2)):
        twinkle(p, x, y, s, (255, 245, 200))
    p.fill(d.ellipse(40, 118, 80, 40) & frame, (40, 110, 60), 0, light_box=(0, 70, 120, 100))
    p.fill(d.ellipse(100, 120, 50, 36) & frame, (50, 130, 70), 0, light_box=(0, 70, 120, 100))
    house = d.box(48, 76, 16, 12, 1)
    p.fill(house, (230, 200, 160), 1.0)
    p.fill(d.polygon([(28, 66), (48, 50), (68, 66)]), (190, 70, 60), 1.0)
    p.glow(42, 76, 12, (255, 200, 80), 0.6)
    p.fill(d.box(42, 76, 4, 4, 0.5), (255, 220, 90), 0.6, gloss=1)
    p.fill(d.box(56, 80, 4, 8, 0.5), BROWN, 0.6)
    return p


def telescope():
    p = d.Painter(88, 88)
    for ex in (26, 44, 62):
        p.fill(d.capsule(44, 50, ex, 84, 1.8), WOOD, 1.0)
    tube = d.capsule(18, 62, 70, 22, 7, 9)
    p.fill(tube, BLUE, OL, gloss=0.8)
    p.fill(d.capsule(60, 30, 74, 19, 10.5), (80, 150, 240), OL, gloss=0.8)
    p.fill(d.capsule(14, 65, 22, 59, 4), SILVER, 1.0)
    p.fill(d.circle(44, 46, 4), GOLD, 1.0)
    twinkle(p, 80, 6, 4.5, YELLOW)
    return p


def shooting_star():
    p = d.Painter(88, 88)
    for k, colour in enumerate(((255, 120, 180), (120, 200, 255), (255, 230, 120))):
        off = (k - 1) * 7
        p.fill(d.capsule(8 + off * 0.3, 78 - off * 0.7 + off, 54 + off * 0.3, 36 + off * 0.3, 0.8, 3.2), colour, 0,
               shade=0, rim=0, alpha=0.75)
    p.glow(62, 28, 26, (255, 230, 140), 0.45)
    p.fill(d.star_shape(62, 28, 20, 9, turn=12), YELLOW, OL, gloss=1.0)
    p.flat(d.circle(57, 28, 1.8) | d.circle(67, 26, 1.8), (120, 80, 20))
    p.flat(d.ring(62, 30, 5, 1.4, 20, 160), (180, 100, 30))
    return p


def saver_screen():
    p = d.Painter(88, 84)
    p.fill(d.box(44, 76, 18, 4, 2), GREY, OL)
    p.fill(d.box(44, 68, 5, 6), (150, 156, 170), 1.0)
    p.fill(d.box(44, 34, 40, 30, 4), SILVER, OL, gloss=0.5)
    screen = d.box(44, 33, 34, 24, 1)
    p.fill(screen, (14, 20, 54), 0.8, outline_colour=(80, 90, 120), shade=0.3, rim=0)
    p.fill(d.circle(66, 20, 6) - d.circle(69, 17, 5), (255, 226, 120), 0, shade=0.1, rim=0)
    for x, y in ((20, 16), (30, 40), (46, 22), (56, 46), (24, 50), (70, 40), (38, 12)):
        p.flat(d.star_shape(x, y, 2.6, 1.0, 4), (255, 250, 220))
    return p


def sleeping_moon():
    p = d.Painter(90, 90)
    moon = d.circle(42, 50, 34) - d.circle(60, 40, 30)
    p.glow(40, 52, 44, (255, 230, 150), 0.2)
    p.fill(moon, (255, 226, 120), OL, gloss=0.6)
    p.flat(d.ring(24, 50, 4, 1.4, 20, 160), (150, 110, 40))
    # A nightcap on the upper horn, drooping behind with its pompom.
    cap = d.smooth_union(d.polygon([(30, 22), (54, 12), (68, 22), (74, 34)]), d.circle(40, 20, 9), 4)
    p.fill(cap, (80, 120, 230), OL)
    p.fill(d.capsule(28, 26, 52, 14, 3.4), WHITE, 1.0)
    p.fill(d.circle(74, 36, 5), WHITE, 1.0)
    for k, (zx, zy, s) in enumerate(((67, 68, 5), (76, 58, 6), (85, 46, 7))):
        pts = [(zx - s / 2, zy - s / 2), (zx + s / 2, zy - s / 2), (zx - s / 2, zy + s / 2), (zx + s / 2, zy + s / 2)]
        p.fill(d.polyline(pts, 1.1), (200, 220, 255), 0.6)
    return p


PAGES = [
    (192, "dice", dice),
    (120, "just-the-sky", just_sky),
    (138, "your-quotes", your_quotes),
    (149, "picture-frame", picture_frame),
    (143, "winged-envelope", winged_envelope),
    (206, "night-house", night_emblem),
    (145, "telescope", telescope),
    (154, "shooting-star", shooting_star),
    (156, "saver-screen", saver_screen),
    (158, "sleeping-moon", sleeping_moon),
]
