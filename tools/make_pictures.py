#!/usr/bin/env python3
"""Draws the flying pictures, the category pictures and the settings pages' pictures as
24-bit bitmaps in resources/bitmaps/, and a contact sheet of them all in docs/pictures.png.

Every picture is built from shapes given by signed distances (tools/drawlib.py): each
shape gets an outline in a darker tone of its colour, a soft light from the top left and
anti-aliased edges that fade into the black of the night sky, which is what they are
copied onto. Flying pictures face left, the way they fly.

    tools/make_pictures.py [--only 118,121] [--sheet-only]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawlib as d  # noqa: E402
from pictures_flying import FLYING  # noqa: E402
from pictures_pages import PAGES  # noqa: E402


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
