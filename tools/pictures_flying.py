"""The pictures that fly across the night sky with the quotes, facing left, the way they
fly. Drawn by tools/make_pictures.py with the house style of tools/picture_style.py."""

import math

import drawlib as d
from picture_style import *  # noqa: F401,F403


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
