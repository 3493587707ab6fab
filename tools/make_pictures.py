#!/usr/bin/env python3
"""Draws the flying pictures, the category pictures and the settings pages' pictures as
24-bit bitmaps in resources/bitmaps/, and a contact sheet of them all in docs/pictures.png.

Every picture is built from shapes given by signed distances (tools/drawlib.py): each
shape gets an outline in a darker tone of its colour, a soft light from the top left and
anti-aliased edges that fade into the black of the night sky, which is what they are
copied onto. Flying pictures face left, the way they fly.

    tools/make_pictures.py [--only 118,121] [--sheet-only]
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib as d  # noqa: E402

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


# --- Flying pictures -----------------------------------------------------------------

def witch():
    p = d.Painter(130, 100)
    # Broom: the handle points the way she flies (left), the bristles trail behind.
    p.fill(d.capsule(6, 70, 100, 58, 2.6), WOOD, OL)
    bristles = d.polygon([(96, 54), (126, 42), (128, 62), (124, 82), (97, 64)])
    p.fill(bristles, (236, 196, 96), OL, shade=0.35)
    for k in range(6):
        p.flat(d.capsule(100, 58 + k * 0.4, 125, 46 + k * 6.5, 0.6), (176, 130, 50))
    p.fill(d.box(98, 59, 3, 7, 1.2, angle=-8), RED, 1.0)
    # Cloak flowing back.
    p.fill(d.polygon([(66, 30), (100, 30), (112, 40), (98, 40), (104, 50), (80, 48)]), VIOLET, OL)
    # Robe, sitting on the broom.
    p.fill(d.polygon([(52, 68), (56, 34), (70, 30), (80, 46), (86, 64)]), PURPLE, OL)
    # Boots forward under the robe.
    p.fill(d.ellipse(46, 68, 8, 4, angle=-10), (210, 70, 60), OL)
    # Arm reaching to the handle, hand round it.
    p.fill(d.capsule(62, 40, 44, 62, 4.2, 3.6), PURPLE, OL)
    p.fill(d.circle(42, 63, 4.2), (140, 210, 100), OL)
    # Hair streaming behind the head.
    hair = d.union(d.capsule(64, 18, 90, 26, 4, 1.5), d.capsule(64, 24, 92, 34, 4, 1.5),
                   d.capsule(62, 28, 84, 40, 3.5, 1.2))
    p.fill(hair, ORANGE, OL)
    # Head, long nose, chin, eye and grin.
    head = d.smooth_union(d.circle(58, 25, 9.5), d.polygon([(50, 24), (38, 30), (51, 31)]), 3)
    p.fill(head, (140, 210, 100), OL)
    p.fill(d.circle(41, 30, 1.6), (110, 180, 80), 0.6)
    eye(p, 54, 21, 3.2)
    p.flat(d.ring(56, 27, 4.5, 1.3, 100, 170), (60, 90, 50))
    # Pointed hat, its tip bent back by the wind.
    p.fill(d.polygon([(47, 15), (71, 12), (70, 3), (88, 0.5), (68, -1), (57, 2)]).grow(0.5), VIOLET, OL)
    p.fill(d.ellipse(59, 14.5, 17, 3.6, angle=-6), VIOLET, OL)
    p.flat(d.polygon([(53, 11.5), (68, 9.5), (68.5, 12), (52.5, 14)]), YELLOW)
    return p


def ghost():
    p = d.Painter(104, 112)
    body = d.smooth_union(d.circle(52, 40, 30), d.box(52, 72, 30, 30, 4), 6)
    # A wavy hem: bites out of the bottom edge.
    for k in range(4):
        body = body - d.circle(30 + k * 15, 104, 7.5)
    body = body | d.polygon([(80, 70), (101, 92), (78, 96)])  # a wisp trailing behind
    arms = d.capsule(24, 58, 8, 36, 6, 4.5) | d.capsule(80, 58, 96, 36, 6, 4.5)
    glow = (200, 225, 255)
    p.glow(52, 56, 60, glow, 0.18)
    p.fill(arms, (232, 238, 252), OL, outline_colour=(110, 130, 170))
    p.fill(body, (238, 242, 255), OL, outline_colour=(110, 130, 170), shade=0.22)
    # Wide eyes, looking back over its shoulder at what scared it.
    for ex in (40, 62):
        p.fill(d.ellipse(ex, 38, 7, 9.5), WHITE, 1.2, outline_colour=INK, shade=0.05, rim=0)
        p.flat(d.circle(ex + 2.5, 37, 3.4), INK)
        p.flat(d.circle(ex + 1.4, 35.6, 1.1), (255, 255, 255))
    p.flat(d.capsule(33, 25, 44, 27, 1.2), (90, 100, 130))
    p.flat(d.capsule(59, 27, 70, 25, 1.2), (90, 100, 130))
    p.fill(d.ellipse(51, 58, 6.5, 8.5), (60, 40, 60), 0, shade=0.1)
    p.flat(d.ellipse(51, 62, 4, 3), (220, 90, 110))
    # A drop of fright.
    p.fill(d.smooth_union(d.circle(84, 26, 4), d.polygon([(84, 17), (80.5, 24), (87.5, 24)]), 2), SKY, 1.0)
    return p


def stork():
    p = d.Painter(130, 112)
    # Legs trailing back.
    p.fill(d.capsule(86, 54, 124, 62, 1.6) | d.capsule(86, 58, 122, 70, 1.6), ORANGE, 1.0)
    # Far wing, body, near wing with dark tips.
    p.fill(d.polygon([(60, 40), (88, 6), (104, 10), (84, 44)]), (160, 170, 190), OL)
    p.fill(d.ellipse(74, 52, 22, 12, angle=-8), WHITE, OL, outline_colour=(100, 110, 140))
    p.fill(d.polygon([(96, 52), (116, 50), (100, 60)]), WHITE, OL, outline_colour=(100, 110, 140))
    # The near wing raised: dark flight feathers fanned behind a white shoulder.
    for tx, ty in ((96, 3), (105, 4), (112, 8), (118, 13), (121, 20)):
        p.fill(d.capsule(82, 30, tx, ty, 4.0, 2.4), (80, 90, 120), 0.9, outline_colour=(40, 45, 60))
    wing = d.smooth_union(d.ellipse(76, 32, 22, 10, angle=-48), d.ellipse(84, 26, 14, 8, angle=-30), 5)
    p.fill(wing, WHITE, OL, outline_colour=(100, 110, 140))
    for k in range(3):
        p.flat(d.ring(70 + k * 7, 40 - k * 8, 5, 0.9, 20, 150), (190, 195, 215))
    # Neck, head and long beak reaching forward.
    p.fill(d.capsule(56, 48, 34, 34, 5, 4), WHITE, OL, outline_colour=(100, 110, 140))
    p.fill(d.circle(30, 31, 7.5), WHITE, OL, outline_colour=(100, 110, 140))
    p.fill(d.polygon([(25, 30), (2, 40), (24, 35)]), ORANGE, 1.0)
    eye(p, 29, 28, 2.0, glint=False)
    # The bundle hangs from the beak by its knot.
    p.fill(d.capsule(12, 38, 12, 50, 1.1), (200, 200, 210), 0.6)
    bundle = d.smooth_union(d.ellipse(14, 74, 13, 17), d.polygon([(8, 52), (20, 52), (14, 60)]), 3)
    p.fill(bundle, (150, 200, 250), OL)
    p.fill(d.ellipse(14, 51, 5, 3), (150, 200, 250), 1.0)
    p.fill(d.circle(12, 72, 7.5), SKIN, 1.0)
    p.flat(d.ring(12, 72, 3.2, 1.0, 30, 150), (200, 110, 100))
    p.flat(d.circle(9.5, 70, 1.0), INK)
    p.flat(d.circle(14.5, 70, 1.0), INK)
    p.flat(d.circle(12, 66, 2.2) - d.circle(13, 67, 1.6), (170, 120, 80))
    return p


def ufo():
    p = d.Painter(120, 112)
    # The beam: bands of light that fade as they spread down.
    for k in range(12):
        top, bottom = 50 + k * 5, 55 + k * 5
        band = d.polygon([(46, 50), (74, 50), (104, 112), (16, 112)]) & d.box(60, (top + bottom) / 2, 60, 2.5)
        p.fill(band, (255, 246, 150), 0, shade=0, rim=0, alpha=0.42 - k * 0.028)
        core = d.polygon([(53, 50), (67, 50), (86, 112), (34, 112)]) & d.box(60, (top + bottom) / 2, 60, 2.5)
        p.fill(core, (255, 255, 220), 0, shade=0, rim=0, alpha=0.25 - k * 0.016)
    # Sparkles in the beam.
    for sx, sy in ((44, 80), (66, 94), (58, 70), (76, 104)):
        p.flat(d.star_shape(sx, sy, 2.6, 1.0, 4), (255, 255, 220))
    p.fill(d.ellipse(60, 28, 20, 19) & d.box(60, 20, 22, 18), CYAN, OL, gloss=1.6, shade=0.35)
    p.fill(d.ellipse(60, 40, 56, 12), SILVER, OL, gloss=1.2)
    p.fill(d.ellipse(60, 46, 34, 7), GREY, OL)
    p.fill(d.ellipse(60, 36, 38, 4), (235, 240, 250), 0, shade=0.1, rim=0)
    for k, colour in enumerate((RED, YELLOW, GREEN, YELLOW, RED)):
        lx = 22 + k * 19
        p.glow(lx, 42, 7, colour, 0.6)
        p.fill(d.circle(lx, 42, 3), colour, 0.8, gloss=1.5)
    # A small friendly pilot under the dome.
    p.fill(d.circle(60, 23, 7), (140, 220, 120), 1.0)
    p.flat(d.circle(57.5, 22, 1.3), INK)
    p.flat(d.circle(62.5, 22, 1.3), INK)
    p.fill(d.capsule(56, 15, 52, 8, 0.8) | d.capsule(64, 15, 68, 8, 0.8), (140, 220, 120), 0.6)
    p.flat(d.circle(52, 8, 1.6) | d.circle(68, 8, 1.6), YELLOW)
    return p


def warning_sign():
    p = d.Painter(104, 94)
    tri = d.polygon([(52, 10), (94, 82), (10, 82)]).grow(6)
    p.fill(tri, RED, OL, gloss=0.6)
    p.fill(d.polygon([(52, 20), (84, 76), (20, 76)]).grow(3), YELLOW, 0.8, outline_colour=(160, 40, 40), rim=0.1)
    p.fill(d.capsule(52, 36, 52, 58, 4.5, 3.2), INK, 0, shade=0.0, rim=0)
    p.fill(d.circle(52, 68, 4.2), INK, 0, shade=0.0, rim=0)
    return p


def heart_arrow():
    p = d.Painter(124, 100)
    # The arrow runs from the feathers (top right) down through the heart to its head.
    ax, ay, bx, by = 114, 14, 12, 84
    p.fill(d.capsule(ax, ay, 60, 50, 2.0), GOLD, 1.0)
    for k in range(3):
        t = k * 6
        p.fill(d.polygon([(ax - t, ay + t * 0.69), (ax - t + 4, ay + t * 0.69 - 12), (ax - t - 6, ay + t * 0.69 - 2)]),
               PINK, 0.8)
        p.fill(d.polygon([(ax - t, ay + t * 0.69), (ax - t + 12, ay + t * 0.69 - 1), (ax - t + 4, ay + t * 0.69 + 9)]),
               PINK, 0.8)
    heart = heart_shape(62, 52, 84)
    p.fill(heart, RED, OL, gloss=1.0)
    p.fill(d.ellipse(44, 34, 8, 5, angle=-35), (255, 170, 170), 0, shade=0, rim=0, alpha=0.7)
    p.fill(d.capsule(40, 66, 22, 78, 2.0), GOLD, 1.0)
    p.fill(d.polygon([(bx, by), (24, 71), (28, 80)]).grow(1.0), SILVER, 1.0)
    return p


def cupid():
    p = d.Painter(122, 112)
    # Two feathered wings behind the shoulders, the far one paler.
    for sx, sy, colour in ((80, 46, (205, 215, 240)), (70, 50, WHITE)):
        feathers = [d.ellipse(sx + 16 * math.cos(math.radians(a)), sy + 16 * math.sin(math.radians(a)), length, 5.5,
                              angle=a) for a, length in ((-80, 15), (-55, 18), (-30, 19), (-5, 16))]
        wing = d.smooth_union(d.union(*feathers), d.circle(sx + 4, sy - 6, 9), 5)
        p.fill(wing, colour, OL, outline_colour=(110, 120, 160))
        for a in (-67, -42, -17):
            p.flat(d.capsule(sx + 6 * math.cos(math.radians(a)), sy + 6 * math.sin(math.radians(a)),
                             sx + 26 * math.cos(math.radians(a)), sy + 26 * math.sin(math.radians(a)), 0.5),
                   (170, 180, 215))
    # Body, legs and the little sash.
    p.fill(d.ellipse(64, 64, 15, 17), SKIN, OL)
    p.fill(d.capsule(66, 78, 82, 92, 5.5, 4.5), SKIN, OL)
    p.fill(d.capsule(58, 78, 52, 96, 5.5, 4.5), SKIN, OL)
    p.fill(d.polygon([(50, 66), (78, 56), (80, 64), (54, 76)]), PINK, 1.0)
    # Bow held out in front, string drawn back, arrow pointing the way he flies.
    p.fill(d.ring(34, 60, 26, 3.0, 110, 250), WOOD, 1.0)
    p.flat(d.capsule(25, 36, 46, 60, 0.6) | d.capsule(46, 60, 25, 84, 0.6), (230, 230, 230))
    p.fill(d.capsule(6, 60, 50, 60, 1.4), GOLD, 0.8)
    p.fill(d.polygon([(0.5, 60), (9, 55), (9, 65)]), SILVER, 0.8)
    p.fill(d.polygon([(48, 60), (56, 54), (58, 60)]) | d.polygon([(48, 60), (56, 66), (58, 60)]), PINK, 0.8)
    p.fill(d.capsule(56, 56, 46, 60, 4, 3.4), SKIN, OL)
    p.fill(d.capsule(54, 62, 12, 60, 3.5, 3.0), SKIN, OL)
    # Head with golden curls, rosy cheek.
    p.fill(d.circle(58, 36, 15), SKIN, OL)
    curls = d.union(*[d.circle(58 + 13 * math.cos(math.radians(a)), 34 + 12 * math.sin(math.radians(a)), 5)
                      for a in range(170, 380, 30)])
    p.fill(curls - d.circle(54, 40, 12), YELLOW, OL)
    eye(p, 51, 35, 3.0)
    p.flat(d.circle(54, 43, 3.2), (250, 150, 150), alpha=0.6)
    p.flat(d.ring(49, 41, 3.5, 1.2, 40, 140), (190, 90, 90))
    return p


def owl():
    p = d.Painter(104, 112)
    p.fill(d.capsule(8, 102, 96, 98, 4), WOOD, OL)
    body = d.smooth_union(d.ellipse(52, 66, 34, 38), d.circle(52, 40, 30), 8)
    tufts = d.polygon([(24, 22), (22, 2), (40, 16)]) | d.polygon([(80, 22), (82, 2), (64, 16)])
    p.fill(tufts, BROWN, OL)
    p.fill(body, (176, 120, 70), OL)
    p.fill(d.ellipse(52, 76, 22, 24), (236, 206, 160), 1.0, shade=0.15)
    for row in range(3):
        for k in range(3 - row % 2):
            cx = 40 + k * 12 + (row % 2) * 6
            p.flat(d.ring(cx, 68 + row * 9, 4, 1.2, 20, 160), (190, 150, 100))
    wings = d.ellipse(20, 70, 9, 24, angle=12) | d.ellipse(84, 70, 9, 24, angle=-12)
    p.fill(wings, BROWN, OL)
    # Big eyes behind round glasses.
    for ex in (37, 67):
        p.fill(d.circle(ex, 42, 12), WHITE, 0.8, outline_colour=(120, 90, 60), shade=0.1, rim=0)
        p.flat(d.circle(ex - 2, 43, 6), (60, 40, 30))
        p.flat(d.circle(ex - 3.5, 41, 2), (255, 255, 255))
        p.fill(d.ring(ex, 42, 13.5, 3.0), GOLD, 0.8, gloss=1.0)
    p.fill(d.ring(52, 40, 5, 2.2, 200, 340), GOLD, 0.6)
    p.fill(d.polygon([(47, 52), (57, 52), (52, 62)]), ORANGE, 1.0)
    for fx in (40, 64):
        for k in (-4, 0, 4):
            p.fill(d.capsule(fx + k, 98, fx + k * 1.3, 104, 2.2), ORANGE, 0.8)
    return p


def quill_scroll():
    p = d.Painter(124, 100)
    paper = (246, 230, 190)
    p.fill(d.box(54, 52, 36, 34, 2), paper, OL, outline_colour=(150, 120, 70))
    for k in range(6):
        length = 44 if k % 3 != 2 else 28
        p.flat(d.capsule(32, 34 + k * 7, 32 + length, 34 + k * 7, 1.1), (150, 110, 80))
    for cy in (18, 86):
        p.fill(d.capsule(14, cy, 94, cy, 6), (230, 205, 150), OL, outline_colour=(150, 120, 70))
        p.fill(d.circle(14, cy, 3.2) | d.circle(94, cy, 3.2), RED, 0.8)
    # The quill, its nib on the last line.
    feather = d.ellipse(96, 32, 30, 8, angle=-52)
    p.fill(feather, (120, 200, 240), OL, gloss=0.8)
    for k in range(-3, 4):
        p.flat(d.capsule(96 + k * 5, 32 - k * 6.4, 96 + k * 5 + 7, 32 - k * 6.4 + 5, 0.5) & feather,
               (80, 150, 200))
    p.fill(d.capsule(80, 56, 114, 12, 1.4), (250, 250, 250), 0.8)
    p.fill(d.polygon([(72, 70), (82, 52), (86, 56)]), GREY, 1.0)
    p.flat(d.circle(70, 72, 2), (40, 50, 120))
    return p


def speech_bubble():
    p = d.Painter(124, 96)
    bubble = d.smooth_union(d.ellipse(64, 42, 56, 36), d.polygon([(24, 62), (8, 92), (48, 72)]), 6)
    p.fill(bubble, (245, 248, 255), OL, outline_colour=(90, 120, 190), gloss=0.4)
    # Opening and closing quotation marks.
    for qx, flip in ((38, 1), (80, 1)):
        for off in (0, 12):
            cx = qx + off
            p.fill(d.circle(cx, 34, 5) | d.capsule(cx + 3 * flip, 36, cx - 2 * flip, 46, 2.0), BLUE, 0, rim=0)
    p.flat(d.capsule(40, 56, 88, 56, 1.6), (150, 170, 220))
    return p


def no_smoking():
    p = d.Painter(104, 104)
    p.fill(d.circle(52, 52, 46), (40, 20, 24), 0, shade=0.1, rim=0)
    # Smoke curling up from the glowing tip.
    smoke = d.polyline(d.bezier((84, 49), (92, 40), (72, 38), (78, 30)), 2.0)
    p.fill(smoke, (170, 170, 180), 0.8)
    p.fill(d.box(52, 56, 34, 7, 2), WHITE, OL, outline_colour=(120, 120, 130))
    p.fill(d.box(24, 56, 8, 7, 2), ORANGE, 1.0)
    p.glow(86, 56, 10, (255, 120, 40), 0.8)
    p.fill(d.box(84, 56, 3, 7, 1.5), RED, 0.8, gloss=1.0)
    p.fill(d.ring(52, 52, 42, 9), RED, OL, gloss=0.7)
    p.fill(d.capsule(22, 22, 82, 82, 4.5) & d.circle(52, 52, 44), RED, OL, gloss=0.7)
    return p


def balloon():
    p = d.Painter(104, 126)
    envelope = d.smooth_union(d.circle(52, 44, 40), d.polygon([(22, 70), (82, 70), (60, 96), (44, 96)]), 10)
    p.fill(envelope, RED, OL)
    # Coloured gores: bands of the envelope between curved seams.
    for k, colour in enumerate((YELLOW, BLUE, YELLOW)):
        band = d.ellipse(52, 56, 26 - k * 9, 60) - d.ellipse(52, 56, 18 - k * 9, 60) if k < 2 else d.ellipse(52, 56, 6, 60)
        p.fill(envelope.grow(-1) & band, colour, 0, light_box=envelope.bbox)
    p.fill(d.ellipse(36, 26, 8, 12, angle=30), (255, 255, 255), 0, shade=0, rim=0, alpha=0.35)
    for sx, ex in ((44, 42), (60, 62)):
        p.flat(d.capsule(sx, 94, ex, 108, 0.7), (200, 180, 150))
    p.fill(d.box(52, 100, 9, 3, 1), (200, 60, 60), 0.8)
    p.fill(d.box(52, 114, 12, 9, 2), WOOD, OL)
    for k in range(3):
        p.flat(d.capsule(41, 110 + k * 4, 63, 110 + k * 4, 0.5), BROWN)
    return p


def flower():
    p = d.Painter(96, 124)
    p.fill(d.polyline(d.bezier((48, 120), (44, 100), (54, 80), (48, 56)), 2.6), LEAF, OL)
    p.fill(d.ellipse(34, 96, 13, 5.5, angle=-30), GREEN, OL)
    p.fill(d.ellipse(62, 86, 13, 5.5, angle=25), GREEN, OL)
    for k in range(8):
        a = math.radians(k * 45 + 10)
        p.fill(d.ellipse(48 + 21 * math.cos(a), 38 + 21 * math.sin(a), 13, 8.5, angle=k * 45 + 10), PINK, OL,
               gloss=0.5)
    p.fill(d.circle(48, 38, 13), YELLOW, OL)
    p.flat(d.circle(43.5, 35, 1.8) | d.circle(52.5, 35, 1.8), (110, 70, 20))
    p.flat(d.ring(48, 39, 6, 1.4, 30, 150), (170, 90, 20))
    return p


def cake():
    p = d.Painter(112, 112)
    p.fill(d.ellipse(56, 100, 52, 8), SILVER, OL)
    p.fill(d.box(56, 80, 44, 18, 4), PINK, OL)
    p.fill(d.box(56, 52, 30, 14, 4), (250, 170, 200), OL)
    icing = (255, 250, 245)
    for top, half in ((64, 44), (40, 30)):
        drip = d.box(56, top, half, 4, 3)
        for k in range(-half + 7, half - 3, 10):
            drip = drip | d.capsule(56 + k, top, 56 + k, top + 6 + (k * 7) % 5, 3)
        p.fill(drip, icing, 1.0, outline_colour=(200, 150, 170))
    for k in range(-36, 40, 12):
        p.fill(d.circle(56 + k, 86, 2.4), (RED, YELLOW, BLUE, GREEN)[(k // 12) % 4], 0.6, gloss=1)
    for k, colour in zip((-18, 0, 18), (SKY, YELLOW, GREEN)):
        cx = 56 + k
        p.fill(d.box(cx, 28, 3, 10, 1), colour, 1.0)
        p.flat(d.capsule(cx - 3, 24, cx + 3, 28, 0.8) | d.capsule(cx - 3, 31, cx + 3, 35, 0.8), WHITE)
        p.glow(cx, 13, 11, (255, 190, 80), 0.7)
        p.fill(d.smooth_union(d.circle(cx, 14, 3.2), d.polygon([(cx - 2.5, 13), (cx, 5), (cx + 2.5, 13)]), 2),
               (255, 200, 60), 0.6, outline_colour=(230, 100, 30), gloss=1.5)
    return p


def dove():
    p = d.Painter(124, 104)
    wing_back = d.polygon([(62, 46), (82, 8), (96, 4), (92, 22), (84, 44)])
    p.fill(wing_back, (200, 210, 230), OL, outline_colour=(100, 110, 150))
    body = d.smooth_union(d.ellipse(62, 56, 30, 16, angle=-6), d.circle(32, 42, 12), 10)
    tail = d.polygon([(84, 52), (120, 60), (118, 72), (88, 66)])
    p.fill(tail, WHITE, OL, outline_colour=(100, 110, 150))
    p.fill(body, WHITE, OL, outline_colour=(100, 110, 150))
    wing = d.polygon([(46, 50), (56, 20), (70, 4), (88, 0.5), (80, 18), (72, 40), (64, 56)])
    p.fill(wing, WHITE, OL, outline_colour=(100, 110, 150))
    for k in range(3):
        p.flat(d.capsule(60 + k * 6, 44 - k * 10, 74 + k * 4, 14 - k * 6, 0.6), (180, 190, 215))
    p.fill(d.polygon([(22, 40), (12, 45), (22, 46)]), ORANGE, 0.8)
    eye(p, 29, 39, 2.0, glint=False)
    # Olive branch in the beak.
    p.fill(d.polyline(d.bezier((16, 45), (10, 56), (12, 66), (4, 76)), 1.1), BROWN, 0.6)
    for lx, ly, a in ((12, 53, 60), (8, 61, -40), (11, 69, 70), (4, 72, -20)):
        p.fill(d.ellipse(lx, ly, 6, 2.6, angle=a), GREEN, 0.8)
    p.fill(d.circle(14, 62, 2.4), (90, 120, 60), 0.6)
    return p


def peace_stars():
    p = d.Painter(112, 112)
    cx, cy, r = 56, 56, 46
    spots = []
    for k in range(20):
        a = math.radians(k * 18)
        spots.append((cx + r * math.cos(a), cy + r * math.sin(a), 5.0))
    for k in range(1, 8):
        spots.append((cx, cy - r + k * 11.5, 4.4))
    for k in range(1, 4):
        for side in (-1, 1):
            a = math.radians(45)
            spots.append((cx + side * k * 11.5 * math.sin(a), cy + k * 11.5 * math.cos(a), 4.4))
    for k, (x, y, s) in enumerate(spots):
        colour = (YELLOW, (255, 250, 220), (255, 230, 140))[k % 3]
        twinkle(p, x, y, s + (k % 2) * 0.8, colour)
    return p


def globe():
    p = d.Painter(112, 112)
    cx, cy, r = 56, 56, 50
    p.glow(cx, cy, 60, (80, 140, 255), 0.3)
    sphere = d.circle(cx, cy, r)
    p.fill(sphere, (50, 120, 220), OL, shade=0.45, gloss=0.8)
    land = d.union(
        d.smooth_union(d.ellipse(34, 36, 16, 12, angle=20), d.ellipse(42, 58, 8, 16, angle=-20), 8),
        d.smooth_union(d.ellipse(50, 84, 8, 13, angle=15), d.ellipse(44, 72, 6, 8), 6),
        d.smooth_union(d.ellipse(74, 40, 14, 9, angle=-10), d.ellipse(84, 56, 9, 12, angle=-10), 8),
        d.ellipse(80, 84, 8, 5),
    )
    p.fill(land & sphere.grow(-1), (90, 190, 90), 0.8, outline_colour=(40, 100, 50), light_box=sphere.bbox,
           shade=0.45)
    p.fill(d.ring(cx, cy, r - 0.5, 1.2) & sphere, (170, 210, 255), 0, shade=0.4, rim=0, alpha=0.5)
    for lat in (-0.5, 0, 0.5):
        p.fill(d.ellipse(cx, cy + lat * r, math.sqrt(1 - lat * lat) * r, 4 + abs(lat) * 2) -
               d.ellipse(cx, cy + lat * r, math.sqrt(1 - lat * lat) * r - 1, 3 + abs(lat) * 2),
               (160, 200, 255), 0, shade=0.3, rim=0, alpha=0.35)
    p.fill(d.ellipse(38, 30, 12, 7, angle=-35), (255, 255, 255), 0, shade=0, rim=0, alpha=0.35)
    return p


FLYING = [
    (118, "witch", witch),
    (121, "ghost", ghost),
    (122, "stork", stork),
    (123, "ufo", ufo),
    (127, "keep-away", warning_sign),
    (128, "heart-arrow", heart_arrow),
    (164, "cupid", cupid),
    (139, "owl", owl),
    (141, "quill-scroll", quill_scroll),
    (142, "speech-bubble", speech_bubble),
    (153, "no-smoking", no_smoking),
    (155, "balloon", balloon),
    (157, "flower", flower),
    (160, "birthday-cake", cake),
    (113, "dove", dove),
    (189, "peace-stars", peace_stars),
    (195, "globe", globe),
]


# --- Category and page pictures --------------------------------------------------------

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
    for k in range(4):
        for cx, cy in ((8, 8), (96, 8), (8, 84), (96, 84)):
            pass
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

PICTURES = FLYING + PAGES


# --- Contact sheet ----------------------------------------------------------------------

DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


def contact_sheet(pictures, columns=6, cell=(150, 156), zoom=1):
    cw, ch = cell
    rows_needed = (len(pictures) + columns - 1) // columns
    width, height = cw * columns, ch * rows_needed
    sheet = [[(0, 0, 0, 255)] * width for _ in range(height)]
    for i, (number, rows) in enumerate(pictures):
        ox, oy = (i % columns) * cw, (i // columns) * ch
        for x in range(cw):
            sheet[oy][ox + x] = sheet[oy + ch - 1][ox + x] = (40, 40, 60, 255)
        for y in range(ch):
            sheet[oy + y][ox] = sheet[oy + y][ox + cw - 1] = (40, 40, 60, 255)
        h, w = len(rows), len(rows[0])
        px, py = ox + (cw - w) // 2, oy + 4 + (ch - 24 - h) // 2
        for y in range(h):
            for x in range(w):
                r, g, b = rows[y][x]
                sheet[py + y][px + x] = (r, g, b, 255)
        text = str(number)
        tx = ox + (cw - (len(text) * 4 - 1) * 2) // 2
        for k, ch_ in enumerate(text):
            for gy, line in enumerate(DIGITS[ch_]):
                for gx, bit in enumerate(line):
                    if bit == "1":
                        for sy in range(2):
                            for sx in range(2):
                                sheet[oy + ch - 16 + gy * 2 + sy][tx + (k * 4 + gx) * 2 + sx] = (200, 200, 220, 255)
    return sheet


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = os.path.join(root, "resources", "bitmaps")
    only = None
    if "--only" in argv:
        only = {int(n) for n in argv[argv.index("--only") + 1].split(",")}
    done = []
    for number, name, draw in PICTURES:
        path = os.path.join(out_dir, "%d-%s.bmp" % (number, name))
        if only is not None and number not in only:
            if os.path.exists(path):
                continue
        if "--sheet-only" in argv and os.path.exists(path):
            continue
        rows = draw().rows()
        assert 60 <= max(len(rows), len(rows[0])) <= 130, name
        with open(path, "wb") as f:
            f.write(d.bmp_24bit(rows))
        done.append(number)
        print("%d-%s.bmp: %d x %d" % (number, name, len(rows[0]), len(rows)))
    sheet_input = []
    for number, name, _ in PICTURES:
        with open(os.path.join(out_dir, "%d-%s.bmp" % (number, name)), "rb") as f:
            sheet_input.append((number, read_bmp24(f.read())))
    os.makedirs(os.path.join(root, "docs"), exist_ok=True)
    with open(os.path.join(root, "docs", "pictures.png"), "wb") as f:
        f.write(d.png_rgba(contact_sheet(sheet_input)))


def read_bmp24(data):
    """Rows of (r, g, b) from a bottom-up 24-bit file as bmp_24bit writes it."""
    import struct
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height):
        base = offset + (height - 1 - y) * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x]) for x in range(width)])
    return rows


if __name__ == "__main__":
    main(sys.argv[1:])
