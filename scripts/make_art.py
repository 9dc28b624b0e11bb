#!/usr/bin/env python3
"""Generate the program's bitmap resources (standard library only).

Writes, relative to the repository root:
  res/toolbar.bmp   - 4 bpp strip of the toolbar's 16x15 button pictures
  res/toolbar20.bmp - the same pictures at 20x19, for 125 % display scale
  res/toolbar24.bmp - at 24x23, for 150 %
  res/toolbar32.bmp - at 32x30, for 200 %
  res/Tessilor.ico  - one 32x32, 8 bpp application icon

The strip holds one picture for each button of the toolbar resource
(IDR_MAINFRAME 241 in res/Tessilor.rc), in the order of that resource, which
is the order in which the toolbar hands the pictures out; BUTTON_PICTURES
gives each command its picture.

Every picture is a list of strings, one character per pixel, mapped to
palette indices through COLOUR_KEY.  Edit the strings and re-run:

    python3 scripts/make_art.py

To look at the toolbar strips, `python3 scripts/make_art.py --png DIR` writes
them as DIR/art-16.png ... DIR/art-32.png, and eight times enlarged as
DIR/art-16-x8.png ...

The build runs `python3 scripts/make_art.py --check`, which writes nothing and
fails when a file differs from what this script draws, so that a toolbar
resource changed without its pictures cannot be built.
"""

import math
import os
import re
import struct
import sys
import zlib

# Standard Windows 16-colour VGA palette, in index order, as RGB.
VGA_PALETTE = [
    (0x00, 0x00, 0x00),  # 0  black
    (0x80, 0x00, 0x00),  # 1  dark red
    (0x00, 0x80, 0x00),  # 2  dark green
    (0x80, 0x80, 0x00),  # 3  olive
    (0x00, 0x00, 0x80),  # 4  navy
    (0x80, 0x00, 0x80),  # 5  purple
    (0x00, 0x80, 0x80),  # 6  teal
    (0xC0, 0xC0, 0xC0),  # 7  light grey (button face)
    (0x80, 0x80, 0x80),  # 8  dark grey
    (0xFF, 0x00, 0x00),  # 9  red
    (0x00, 0xFF, 0x00),  # 10 green
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 magenta
    (0x00, 0xFF, 0xFF),  # 14 cyan
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# Character -> palette index.
COLOUR_KEY = {
    'K': 0,   # black
    'r': 1,   # dark red
    'g': 2,   # dark green
    'o': 3,   # olive
    'n': 4,   # navy
    'p': 5,   # purple
    't': 6,   # teal
    '.': 7,   # light grey (toolbar background)
    'd': 8,   # dark grey
    'R': 9,   # red
    'G': 10,  # green
    'Y': 11,  # yellow
    'B': 12,  # blue
    'M': 13,  # magenta
    'C': 14,  # cyan
    'W': 15,  # white
}

# Icon-only character: fully transparent pixel (AND mask 1, colour 0).
TRANSPARENT = ' '

BUTTON_W, BUTTON_H = 16, 15

# ---------------------------------------------------------------------------
# Toolbar buttons, left to right.  Each is 15 rows of 16 characters, top row
# first.
# ---------------------------------------------------------------------------

REFRESH = [  # camera
    '................',
    '................',
    '................',
    '....KKKKKK......',
    '...KdWWWWdK.....',
    '.KKKKKKKKKKKKKK.',
    '.KWWWWKKKKWWRWK.',
    '.KdddKdddWKdddK.',
    '.KddKddKKdWKddK.',
    '.KddKdKKKKdKddK.',
    '.KddKdKKKKdKddK.',
    '.KddKddKKddKddK.',
    '.KdddKddddKdddK.',
    '.KddddKKKKddddK.',
    '.KKKKKKKKKKKKKK.',
]

CUT = [  # scissors
    '................',
    '.K...........K..',
    '.KK.........KK..',
    '..KK.......KK...',
    '...KK.....KK....',
    '....KK...KK.....',
    '.....KK.KK......',
    '......KdK.......',
    '......n.n.......',
    '.....n...n......',
    '..nnn.....nnn...',
    '.n...n...n...n..',
    '.n...n...n...n..',
    '.n...n...n...n..',
    '..nnn.....nnn...',
]

COPY = [  # two overlapping pages
    'KKKKKK..........',
    'KWWWWKK.........',
    'KWddWKWK........',
    'KWWWWKKKK.......',
    'KWddddKKKKKK....',
    'KWWWWWKWWWWKK...',
    'KWddddKWddWKWK..',
    'KWWWWWKWWWWKKKK.',
    'KWddddKWdddddWK.',
    'KWWWWWKWWWWWWWK.',
    'KKKKKKKWdddddWK.',
    '......KWWWWWWWK.',
    '......KWdddddWK.',
    '......KWWWWWWWK.',
    '......KKKKKKKKK.',
]

PASTE = [  # clipboard with a page on it
    '....KKKKK.......',
    '.KKKKdWdKKKK....',
    '.KooKdddKooK....',
    '.KooKKKKKooK....',
    '.KoooooooooK....',
    '.KoooooooooK....',
    '.KooooKKKKKKKKK.',
    '.KooooKWWWWWWWK.',
    '.KooooKWdddddWK.',
    '.KooooKWWWWWWWK.',
    '.KooooKWdddddWK.',
    '.KooooKWWWWWWWK.',
    '.KooooKWddddWWK.',
    '.KKKKKKWWWWWWWK.',
    '......KKKKKKKKK.',
]

PRINT = [  # printer
    '................',
    '....KKKKKKKK....',
    '....KWWWWWWK....',
    '....KWddddWK....',
    '....KWWWWWWK....',
    '..KKKKKKKKKKKK..',
    '.KWWWWWWWWWWWWK.',
    '.KddddddddddGdK.',
    '.KddddddddddddK.',
    '.KddKKKKKKKKddK.',
    '.KddKWWWWWWKddK.',
    '.KKKKWddddWKKKK.',
    '....KWWWWWWK....',
    '....KWddddWK....',
    '....KKKKKKKK....',
]

STOP = [  # red disc with a white bar
    '......rrrr......',
    '....rrRRRRrr....',
    '...rRRRRRRRRr...',
    '..rRRRRRRRRRRr..',
    '.rRRRRRRRRRRRRr.',
    '.rRRRRRRRRRRRRr.',
    '.rRWWWWWWWWWWRr.',
    '.rRWWWWWWWWWWRr.',
    '.rRWWWWWWWWWWRr.',
    '.rRRRRRRRRRRRRr.',
    '.rRRRRRRRRRRRRr.',
    '..rRRRRRRRRRRr..',
    '...rRRRRRRRRr...',
    '....rrRRRRrr....',
    '......rrrr......',
]

ABOUT = [  # yellow question mark with a dark outline
    '.....KKKKKK.....',
    '....KYYYYYYK....',
    '...KYYKKKKYYK...',
    '...KYYK..KYYK...',
    '....KK..KYYK....',
    '.......KYYK.....',
    '......KYYK......',
    '......KYYK......',
    '......KYYK......',
    '.......KK.......',
    '................',
    '......KKKK......',
    '......KYYK......',
    '......KYYK......',
    '......KKKK......',
]

# ---------------------------------------------------------------------------
# The same pictures for larger display scales: 20x19 (125 %), 24x23 (150 %)
# and 32x30 (200 %).  They are drawn from simple shapes at each size rather
# than enlarged from the strings above, so that every edge falls on a whole
# pixel and outlines stay one pixel wide; where proportions alone would not
# sit well on the pixels, a table gives the measure for each width.
#
# A shape is a set of (x, y) pixels; a pixel belongs to a shape given by
# coordinates when its centre (x + 0.5, y + 0.5) does.
# ---------------------------------------------------------------------------

def rect(x0, y0, x1, y1):
    """Pixels x0..x1, y0..y1 inclusive."""
    return {(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


def ellipse(x0, y0, x1, y1):
    """The ellipse filling the pixels x0..x1, y0..y1 inclusive."""
    cx, cy = (x0 + x1 + 1) / 2, (y0 + y1 + 1) / 2
    rx, ry = (x1 - x0 + 1) / 2, (y1 - y0 + 1) / 2
    return {(x, y) for (x, y) in rect(x0, y0, x1, y1)
            if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1}


def stroke(points, width):
    """Pixels whose centres lie within width / 2 of the polyline."""
    r = width / 2
    shape = set()
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1
        box = rect(math.floor(min(ax, bx) - r), math.floor(min(ay, by) - r),
                   math.ceil(max(ax, bx) + r), math.ceil(max(ay, by) + r))
        for (x, y) in box:
            px, py = x + 0.5, y + 0.5
            t = max(0, min(1, ((px - ax) * dx + (py - ay) * dy) / length2))
            if (px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2 <= r * r:
                shape.add((x, y))
    return shape


def _neighbours(x, y):
    return ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))


def border(shape):
    """The shape's own pixels that touch the outside: a one-pixel outline."""
    return {p for p in shape if any(n not in shape for n in _neighbours(*p))}


def around(shape):
    """The pixels just outside the shape: an outline drawn round it."""
    return {n for p in shape for n in _neighbours(*p) if n not in shape}


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [['.'] * width for _ in range(height)]

    def paint(self, shape, colour):
        for x, y in shape:
            if 0 <= x < self.width and 0 <= y < self.height:
                self.pixels[y][x] = colour

    def solid(self, shape, fill, edge='K'):
        """The shape in one colour with a one-pixel outline of another."""
        self.paint(shape, fill)
        self.paint(border(shape), edge)

    def rows(self):
        return [''.join(row) for row in self.pixels]


def _scale(width, height):
    """Edge coordinates of the 16x15 pictures to whole pixels of this size."""
    return (lambda v: int(v * width / 16 + 0.5),
            lambda v: int(v * height / 15 + 0.5))


def _text_lines(c, x0, x1, y0, y1, gap):
    """Dark grey lines of writing in x0..x1, from row y0 down to row y1."""
    for y in range(y0, y1 + 1, gap):
        c.paint(rect(x0, y, x1, y), 'd')


def _page(c, x0, y0, x1, y1, ear, gap):
    """A white page with its top right corner folded over, and writing."""
    page = {(x, y) for (x, y) in rect(x0, y0, x1, y1)
            if x - (x1 - ear) <= y - y0}
    c.solid(page, 'W')
    c.paint(rect(x1 - ear, y0, x1 - ear, y0 + ear), 'K')
    c.paint(rect(x1 - ear, y0 + ear, x1, y0 + ear), 'K')
    top = y0 + 2
    _text_lines(c, x0 + 2, x1 - ear - 2, top, y0 + ear, gap)
    first_full = top + gap * ((y0 + ear - top) // gap + 1)
    _text_lines(c, x0 + 2, x1 - 2, first_full, y1 - 2, gap)


def draw_camera(w, h):
    c = Canvas(w, h)
    # lens diameter, hump height, rows of the white band, red light's width
    lens, hump, band, light = {20: (10, 3, 1, 2), 24: (14, 3, 1, 2),
                               32: (18, 4, 2, 2)}[w]
    pupil = {20: 6, 24: 8, 32: 10}[w]
    top = h - 2 - lens                  # the body's top edge
    # the viewfinder's hump, its top corners cut, then the body
    hx0, hx1 = int(3 * w / 16 + 0.5), int(11 * w / 16 + 0.5) - 1
    c.solid(rect(hx0, top - hump, hx1, top)
            - {(hx0, top - hump), (hx1, top - hump)}, 'd')
    c.paint(rect(hx0 + 2, top - hump + 1, hx1 - 2, top - 1), 'W')
    c.solid(rect(1, top, w - 2, h - 1), 'd')
    c.paint(rect(2, top + 1, w - 3, top + band), 'W')
    c.paint(rect(w - 3 - light, top + 1, w - 4, top + band), 'R')
    # the lens: a ring of glass round a black pupil, with a glint up and
    # to the right
    x0 = (w - lens) // 2
    glass = ellipse(x0, top + 1, x0 + lens - 1, top + lens)
    c.solid(glass, 'd')
    cx, cy = x0 + lens / 2, top + 1 + lens / 2
    reach = max(lens / 2 - 1.5, pupil / 2 + 1)

    def glint(x, y):
        dx, dy = x + 0.5 - cx, cy - y - 0.5
        return (25 <= math.degrees(math.atan2(dy, dx)) <= 65
                and math.hypot(dx, dy) <= reach)

    c.paint({p for p in glass - border(glass) if glint(*p)}, 'W')
    q = (lens - pupil) // 2
    c.paint(ellipse(x0 + q, top + 1 + q,
                    x0 + q + pupil - 1, top + q + pupil), 'K')
    return c.rows()


def draw_scissors(w, h):
    c = Canvas(w, h)
    # The pivot's column and row: the picture spans x 1 to 2 * cx - 1, and
    # the blades run at 45 degrees from the top corners.
    cx = py = w // 2 - 1
    ring, thick, blade = {20: (7, 1, 3), 24: (9, 2, 3), 32: (12, 2, 4)}[w]
    rings_top = h - ring
    for side in (-1, 1):
        # each blade runs on through the pivot into the other side's handle
        rx0 = 1 if side > 0 else 2 * cx - ring
        rx1 = rx0 + ring - 1
        c.paint(stroke([(cx + 0.5, py + 0.5),
                        (rx0 + ring / 2, rings_top + ring / 2)], thick), 'n')
        c.paint(ellipse(rx0, rings_top, rx1, h - 1), 'n')
        c.paint(ellipse(rx0 + thick, rings_top + thick,
                        rx1 - thick, h - 1 - thick), '.')
    for y in range(1, py + 1):
        # a blade widens from its point at the top corner to the pivot
        width = 1 if y == 1 else min(blade,
                                     2 + (y - 2) * (blade - 1) // (py - 2))
        for x in range(y - (width - 1) // 2, y - (width - 1) // 2 + width):
            c.paint({(x, y), (2 * cx - x, y)}, 'K')
    c.paint({(cx, py)}, 'd')
    return c.rows()


def draw_copy(w, h):
    c = Canvas(w, h)
    X, Y = _scale(w, h)
    gap = 2 if w < 32 else 3
    _page(c, 0, 0, X(9) - 1, Y(11) - 1, X(3), gap)
    _page(c, X(6), Y(4), X(15) - 1, Y(15) - 1, X(3), gap)
    return c.rows()


def draw_paste(w, h):
    c = Canvas(w, h)
    X, Y = _scale(w, h)
    gap = 2 if w < 32 else 3
    c.solid(rect(X(1), Y(1), X(12) - 1, Y(14) - 1), 'o')
    # the clip, with a hole in the middle of its top
    c.solid(rect(X(4), 0, X(9) - 1, Y(4) - 1), 'd')
    inside = X(9) - X(4) - 2
    hole_w, hole_h = 2 - inside % 2, max(1, (Y(4) - 2) // 3)
    hx = X(4) + 1 + (inside - hole_w) // 2
    c.paint(rect(hx, 1, hx + hole_w - 1, hole_h), 'W')
    # the page on the board, its last line short
    px0, py0, px1, py1 = X(6), Y(6), X(15) - 1, Y(15) - 1
    c.solid(rect(px0, py0, px1, py1), 'W')
    _text_lines(c, px0 + 2, px1 - 2, py0 + 2, py1 - 4, gap)
    last = py0 + 2 + gap * ((py1 - 2 - py0 - 2) // gap)
    c.paint(rect(px0 + 2, last, px1 - 3, last), 'd')
    return c.rows()


def draw_print(w, h):
    c = Canvas(w, h)
    X, Y = _scale(w, h)
    gap = 2 if w < 32 else 3
    band = 1 if w < 32 else 2
    light_w, light_h = {20: (2, 1), 24: (2, 1), 32: (2, 2)}[w]
    px0, px1 = X(4), X(12) - 1          # the paper's sides
    x0, x1 = X(1), X(15) - 1            # the body's sides
    top, bottom, slot = Y(5), Y(12) - 1, Y(9)
    # paper going in at the top, under the body's top edge
    c.solid(rect(px0, Y(1), px1, top), 'W')
    _text_lines(c, px0 + 2, px1 - 2, Y(1) + 2, top - 2, gap)
    # the body, its top corners cut, a white top and a green light
    c.solid(rect(x0, top, x1, bottom) - {(x0, top), (x1, top)}, 'd')
    c.paint(rect(x0 + 1, top + 1, x1 - 1, top + band), 'W')
    c.paint(rect(x1 - 1 - light_w, top + band + 1,
                 x1 - 2, top + band + light_h), 'G')
    # the printed page coming out of the slot
    c.paint(rect(px0, slot, px1, slot), 'K')
    c.solid(rect(px0, slot, px1, h - 1), 'W')
    _text_lines(c, px0 + 2, px1 - 2, slot + 2, h - 3, gap)
    return c.rows()


def draw_stop(w, h):
    c = Canvas(w, h)
    c.solid(ellipse(1, 0, w - 2, h - 1), 'R', 'r')
    # about a fifth of the height and three quarters of the width, centred
    bar_w, bar_h = {20: (12, 3), 24: (16, 5), 32: (22, 6)}[w]
    x0, y0 = (w - bar_w) // 2, (h - bar_h) // 2
    c.paint(rect(x0, y0, x0 + bar_w - 1, y0 + bar_h - 1), 'W')
    return c.rows()


def draw_question(w, h):
    c = Canvas(w, h)
    # the stroke's width, and the rows left empty over the dot
    sw, gap = {20: (2, 1), 24: (3, 1), 32: (4, 2)}[w]
    # an even stroke is centred on a pixel edge, an odd one on a pixel centre
    sx = w / 2 if sw % 2 == 0 else w / 2 - 0.5
    sx0, sx1 = int(sx - sw / 2 + 0.5), int(sx + sw / 2 - 0.5)
    # the hook: the top of an ellipse, to the middle of the stroke, that
    # turns down into the stem
    rx = (w / 2 - sw) / 2
    ry = rx * 0.8
    ay = 1 + sw / 2 + ry
    hook = [(sx + rx * math.cos(math.radians(a)),
             ay - ry * math.sin(math.radians(a))) for a in range(180, -21, -5)]
    dot_top = h - 1 - sw
    stem_top, stem_last = int(ay + rx), dot_top - 3 - gap
    mark = stroke(hook + [(sx, stem_top + sw / 2)], sw)
    mark |= rect(sx0, stem_top, sx1, stem_last)
    dot = rect(sx0, dot_top, sx1, h - 2)
    for shape in (mark, dot):
        c.paint(around(shape), 'K')
        c.paint(shape, 'Y')
    return c.rows()


# Each button's picture, by the name of its command in the resource script:
# the hand-drawn 16x15 one and the drawing for the larger sizes.
BUTTON_PICTURES = {
    'ID_REFRESH': (REFRESH, draw_camera),
    'ID_EDIT_CUT': (CUT, draw_scissors),
    'ID_EDIT_COPY': (COPY, draw_copy),
    'ID_EDIT_PASTE': (PASTE, draw_paste),
    'ID_FILE_PRINT': (PRINT, draw_print),
    'ID_STOP_PROCESS': (STOP, draw_stop),
    'ID_APP_ABOUT': (ABOUT, draw_question),
}

# The toolbar's strips, one for each display scale the program draws its
# toolbar at (100, 125, 150 and 200 %): picture size, file, and the bitmap
# resource in res/Tessilor.rc that holds it.
TOOLBAR_BITMAPS = [
    (16, 15, 'res/toolbar.bmp', 'IDR_MAINFRAME'),
    (20, 19, 'res/toolbar20.bmp', 'IDB_TOOLBAR_20'),
    (24, 23, 'res/toolbar24.bmp', 'IDB_TOOLBAR_24'),
    (32, 30, 'res/toolbar32.bmp', 'IDB_TOOLBAR_32'),
]


def button_picture(command, width, height):
    rows, draw = BUTTON_PICTURES[command]
    if (width, height) == (BUTTON_W, BUTTON_H):
        return rows
    return draw(width, height)

# ---------------------------------------------------------------------------
# Application icon: 32 rows of 32 characters, top row first.  ' ' is
# transparent; the other characters use COLOUR_KEY.  A window with a blue
# title bar and a three-row process tree, casting a dark grey shadow.
# ---------------------------------------------------------------------------

ICON = [
    '                                ',
    '                                ',
    ' KKKKKKKKKKKKKKKKKKKKKKKKKKKK   ',
    ' KWWWWWWWWWWWWWWWWWWWWWWWWWdK   ',
    ' KWnnnnnnBBBBBBBBBBBBBBBBBBdKdd ',
    ' KWnYYYnnBBBBBBB..KB..KWRWBdKdd ',
    ' KWnYYonnBBBBBBB..KB..KRWRBdKdd ',
    ' KWnYoonnBBBBBBBddKBddKWRWBdKdd ',
    ' KWnnnnnnBBBBBBBBBBBBBBBBBBdKdd ',
    ' KW........................dKdd ',
    ' KWdddddddddddddddddddddddWdKdd ',
    ' KWdWWWWWWWWWWWWWWWWWWWWWWWdKdd ',
    ' KWdWrrrrWWWWWWWWWWWWWWWWWWdKdd ',
    ' KWdWrRRrWnnnnnnnnnnnnWWWWWdKdd ',
    ' KWdWrRRrWnnnnnnnnnnnnWWWWWdKdd ',
    ' KWdWrrrrWWWWWWWWWWWWWWWWWWdKdd ',
    ' KWdWWdWWWWWWWWWWWWWWWWWWWWdKdd ',
    ' KWdWWdWWggggWWWWWWWWWWWWWWdKdd ',
    ' KWdWWdWWgGGgWnnnnnnnnnnWWWdKdd ',
    ' KWdWWdddgGGgWnnnnnnnnnnWWWdKdd ',
    ' KWdWWdWWggggWWWWWWWWWWWWWWdKdd ',
    ' KWdWWdWWWWWWWWWWWWWWWWWWWWdKdd ',
    ' KWdWWdWWttttWWWWWWWWWWWWWWdKdd ',
    ' KWdWWdWWtCCtWnnnnnnnnnnnWWdKdd ',
    ' KWdWWdddtCCtWnnnnnnnnnnnWWdKdd ',
    ' KWdWWWWWttttWWWWWWWWWWWWWWdKdd ',
    ' KWWWWWWWWWWWWWWWWWWWWWWWWWdKdd ',
    ' KddddddddddddddddddddddddddKdd ',
    ' KKKKKKKKKKKKKKKKKKKKKKKKKKKKdd ',
    '   dddddddddddddddddddddddddddd ',
    '   dddddddddddddddddddddddddddd ',
    '                                ',
]


# ---------------------------------------------------------------------------
# The toolbar resource
# ---------------------------------------------------------------------------

RC_FILE = 'res/Tessilor.rc'


class ArtError(Exception):
    pass


def toolbar_commands(rc_text):
    """The toolbar resource's commands, in order, gaps left out.

    The resource is `IDR_MAINFRAME 241 BEGIN version, width, height, count,
    command... END`; a command of 0 (or ID_SEPARATOR) is a gap and takes no
    picture.
    """
    block = re.search(r'^[ \t]*IDR_MAINFRAME[ \t]+241[ \t]*\n'
                      r'\s*BEGIN\b(.*?)^[ \t]*END\b', rc_text, re.M | re.S)
    if not block:
        raise ArtError('%s has no toolbar resource (IDR_MAINFRAME 241)'
                       % RC_FILE)
    items = [item.strip() for item in
             re.sub(r'//[^\n]*', '', block.group(1)).split(',')]
    if len(items) < 4 or not all(items):
        raise ArtError('%s: cannot read the toolbar resource: %s'
                       % (RC_FILE, ', '.join(items)))
    width, height, count = items[1:4]
    commands = items[4:]
    if (width, height) != (str(BUTTON_W), str(BUTTON_H)):
        raise ArtError('%s: the toolbar resource is for %sx%s pictures, '
                       'these are %dx%d' % (RC_FILE, width, height,
                                            BUTTON_W, BUTTON_H))
    if count != str(len(commands)):
        raise ArtError('%s: the toolbar resource counts %s items but lists %d'
                       % (RC_FILE, count, len(commands)))
    return [c for c in commands if c not in ('0', 'ID_SEPARATOR')]


def check_bitmaps(rc_text):
    """Each strip must be the bitmap resource the program will load."""
    named = dict(re.findall(r'^[ \t]*(\w+)[ \t]+BITMAP[ \t]+"([^"]*)"',
                            rc_text, re.M))
    for (_, _, name, rc_id) in TOOLBAR_BITMAPS:
        if named.get(rc_id) != os.path.basename(name):
            raise ArtError('%s: bitmap %s is not "%s"'
                           % (RC_FILE, rc_id, os.path.basename(name)))


def check_pictures(commands):
    for command in commands:
        if command not in BUTTON_PICTURES:
            raise ArtError('%s: toolbar button %s has no picture: draw one in '
                           'scripts/make_art.py (BUTTON_PICTURES)'
                           % (RC_FILE, command))


# ---------------------------------------------------------------------------
# Encoding
# ---------------------------------------------------------------------------

def _check_picture(name, rows, width, height, allow_transparent=False):
    if len(rows) != height:
        raise ValueError('%s: %d rows, expected %d' % (name, len(rows), height))
    for y, row in enumerate(rows):
        if len(row) != width:
            raise ValueError('%s row %d: %d characters, expected %d'
                             % (name, y, len(row), width))
        for ch in row:
            if ch in COLOUR_KEY or (allow_transparent and ch == TRANSPARENT):
                continue
            raise ValueError('%s row %d: unknown colour character %r'
                             % (name, y, ch))


def _row_stride(width, bits):
    """Bytes per bitmap row, padded to a 4-byte boundary."""
    return ((width * bits + 31) // 32) * 4


def _info_header(width, height, bits, image_size, ppm):
    return struct.pack('<IiiHHIIiiII',
                       40,          # biSize
                       width,
                       height,
                       1,           # biPlanes
                       bits,        # biBitCount
                       0,           # biCompression = BI_RGB
                       image_size,
                       ppm, ppm,    # pixels per metre
                       0,           # biClrUsed (0 = full palette)
                       0)           # biClrImportant


def _palette_bytes(colours):
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colours)


def _pack_4bpp(indices, stride):
    out = bytearray(stride)
    for x, idx in enumerate(indices):
        if x % 2 == 0:
            out[x // 2] |= idx << 4
        else:
            out[x // 2] |= idx
    return bytes(out)


def _pack_1bpp(bits, stride):
    out = bytearray(stride)
    for x, bit in enumerate(bits):
        if bit:
            out[x // 8] |= 0x80 >> (x % 8)
    return bytes(out)


def make_toolbar_bmp(buttons, button_w=BUTTON_W, button_h=BUTTON_H):
    width = button_w * len(buttons)
    height = button_h
    for n, rows in enumerate(buttons):
        _check_picture('%dx%d button %d' % (button_w, button_h, n + 1), rows,
                       button_w, button_h)

    stride = _row_stride(width, 4)
    pixel_rows = []
    for y in range(height):
        line = ''.join(rows[y] for rows in buttons)
        pixel_rows.append(_pack_4bpp([COLOUR_KEY[c] for c in line], stride))
    pixels = b''.join(reversed(pixel_rows))  # BMP rows are bottom-up

    palette = _palette_bytes(VGA_PALETTE)
    info = _info_header(width, height, 4, len(pixels), 2835)
    offset = 14 + len(info) + len(palette)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0,
                              offset)
    return file_header + info + palette + pixels


def make_icon(rows):
    size = 32
    _check_picture('icon', rows, size, size, allow_transparent=True)

    xor_stride = _row_stride(size, 8)
    and_stride = _row_stride(size, 1)
    xor_rows, and_rows = [], []
    for row in rows:
        xor_line = bytearray(xor_stride)
        for x, ch in enumerate(row):
            if ch != TRANSPARENT:
                xor_line[x] = COLOUR_KEY[ch]
        xor_rows.append(bytes(xor_line))
        and_rows.append(_pack_1bpp([ch == TRANSPARENT for ch in row],
                                   and_stride))
    xor_data = b''.join(reversed(xor_rows))
    and_data = b''.join(reversed(and_rows))

    # 256 entries: the 16 VGA colours, then a grey ramp.
    colours = list(VGA_PALETTE)
    for i in range(16, 256):
        level = (i - 16) * 255 // 239
        colours.append((level, level, level))
    palette = _palette_bytes(colours)

    info = _info_header(size, size * 2, 8, len(xor_data) + len(and_data), 0)
    image = info + palette + xor_data + and_data

    icon_dir = struct.pack('<HHH', 0, 1, 1)  # reserved, type = icon, count
    entry = struct.pack('<BBBBHHII',
                        size, size,
                        0,         # bColorCount (0 for 256 colours)
                        0,         # bReserved
                        1,         # wPlanes
                        8,         # wBitCount
                        len(image),
                        6 + 16)    # offset of the image data
    return icon_dir + entry + image


def make_png(rows, zoom=1):
    """A picture as an RGB PNG, each pixel zoom x zoom, for looking at."""
    raw = bytearray()
    for row in rows:
        line = b''.join(bytes(VGA_PALETTE[COLOUR_KEY[ch]]) * zoom
                        for ch in row)
        raw += (b'\0' + line) * zoom

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data)))

    header = struct.pack('>IIBBBBB', len(rows[0]) * zoom, len(rows) * zoom,
                         8, 2, 0, 0, 0)  # 8 bits, RGB
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(bytes(raw))) + chunk(b'IEND', b''))


def draw_strips(root):
    """Each toolbar strip: (width, height, file, pictures in button order)."""
    with open(os.path.join(root, RC_FILE), encoding='utf-8') as f:
        rc_text = f.read()
    check_bitmaps(rc_text)
    commands = toolbar_commands(rc_text)
    check_pictures(commands)
    return [(w, h, name, [button_picture(c, w, h) for c in commands])
            for (w, h, name, _) in TOOLBAR_BITMAPS]


def draw_all(root):
    """Every output file (relative path, bytes, what it must match)."""
    outputs = [(name, make_toolbar_bmp(pictures, w, h),
                "the toolbar resource's buttons")
               for (w, h, name, pictures) in draw_strips(root)]
    outputs.append(('res/Tessilor.ico', make_icon(ICON),
                    'the icon drawn in scripts/make_art.py'))
    return outputs


def check(root, outputs):
    """Names of the files that differ from what is drawn (or are missing)."""
    stale = []
    for name, data, what in outputs:
        try:
            with open(os.path.join(root, name), 'rb') as f:
                same = f.read() == data
        except FileNotFoundError:
            same = False
        if not same:
            stale.append('%s does not match %s: '
                         'run python3 scripts/make_art.py' % (name, what))
    return stale


def write_pngs(root, directory):
    for (w, h, _, pictures) in draw_strips(root):
        rows = [''.join(p[y] for p in pictures) for y in range(h)]
        for zoom, name in ((1, 'art-%d.png' % w), (8, 'art-%d-x8.png' % w)):
            path = os.path.join(directory, name)
            with open(path, 'wb') as f:
                f.write(make_png(rows, zoom))
            print('wrote %s' % path)


def main(argv):
    if argv not in ([], ['--check']) and not (len(argv) == 2
                                              and argv[0] == '--png'):
        sys.stderr.write('usage: make_art.py [--check | --png DIR]\n')
        return 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    try:
        if argv[:1] == ['--png']:
            write_pngs(root, argv[1])
            return 0
        outputs = draw_all(root)
    except ArtError as e:
        sys.stderr.write('make_art.py: %s\n' % e)
        return 1
    if argv == ['--check']:
        stale = check(root, outputs)
        for line in stale:
            sys.stderr.write(line + '\n')
        return 1 if stale else 0
    os.makedirs(os.path.join(root, 'res'), exist_ok=True)
    for name, data, _ in outputs:
        path = os.path.join(root, name)
        with open(path, 'wb') as f:
            f.write(data)
        print('wrote %s (%d bytes)' % (path, len(data)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
