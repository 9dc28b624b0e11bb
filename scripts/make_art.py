#!/usr/bin/env python3
"""Generate the program's bitmap resources (standard library only).

Writes, relative to the repository root:
  res/toolbar.bmp   - 4 bpp strip of the toolbar's 16x15 button pictures
  res/Tessilor.ico  - one 32x32, 8 bpp application icon

The strip holds one picture for each button of the toolbar resource
(IDR_MAINFRAME 241 in res/Tessilor.rc), in the order of that resource, which
is the order in which the toolbar hands the pictures out; BUTTON_PICTURES
gives each command its picture.

Every picture is a list of strings, one character per pixel, mapped to
palette indices through COLOUR_KEY.  Edit the strings and re-run:

    python3 scripts/make_art.py

The build runs `python3 scripts/make_art.py --check`, which writes nothing and
fails when a file differs from what this script draws, so that a toolbar
resource changed without its pictures cannot be built.
"""

import os
import re
import struct
import sys

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

# Each button's picture, by the name of its command in the resource script.
BUTTON_PICTURES = {
    'ID_REFRESH': REFRESH,
    'ID_EDIT_CUT': CUT,
    'ID_EDIT_COPY': COPY,
    'ID_EDIT_PASTE': PASTE,
    'ID_FILE_PRINT': PRINT,
    'ID_STOP_PROCESS': STOP,
    'ID_APP_ABOUT': ABOUT,
}

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
    """Command names of the toolbar resource's buttons, in order, gaps left out.

    The resource is `IDR_MAINFRAME 241 BEGIN version, width, height, count,
    command... END`; a command of 0 (or ID_SEPARATOR) is a gap and takes no
    picture.
    """
    block = re.search(r'^[ \t]*IDR_MAINFRAME[ \t]+241[ \t]*\n\s*BEGIN\b(.*?)^[ \t]*END\b',
                      rc_text, re.M | re.S)
    if not block:
        raise ArtError('%s has no toolbar resource (IDR_MAINFRAME 241)' % RC_FILE)
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


def toolbar_pictures(commands):
    pictures = []
    for command in commands:
        if command not in BUTTON_PICTURES:
            raise ArtError('%s: toolbar button %s has no picture: draw one in '
                           'scripts/make_art.py (BUTTON_PICTURES)'
                           % (RC_FILE, command))
        pictures.append(BUTTON_PICTURES[command])
    return pictures


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


def make_toolbar_bmp(buttons):
    width = BUTTON_W * len(buttons)
    height = BUTTON_H
    for n, rows in enumerate(buttons):
        _check_picture('button %d' % (n + 1), rows, BUTTON_W, BUTTON_H)

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


def draw_all(root):
    """Every output file (relative path, bytes, what it must match)."""
    with open(os.path.join(root, RC_FILE), encoding='utf-8') as f:
        pictures = toolbar_pictures(toolbar_commands(f.read()))
    return [
        ('res/toolbar.bmp', make_toolbar_bmp(pictures),
         "the toolbar resource's buttons"),
        ('res/Tessilor.ico', make_icon(ICON), 'the icon drawn here'),
    ]


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
            stale.append('%s does not match %s: run python3 scripts/make_art.py'
                         % (name, what))
    return stale


def main(argv):
    if argv not in ([], ['--check']):
        sys.stderr.write('usage: make_art.py [--check]\n')
        return 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    try:
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
