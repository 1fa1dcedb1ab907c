#!/usr/bin/env python3
"""Draws the skin pictures: the window frame pieces (program resources), the button skins, the
glyph strip, the main window's background, pictures and statistics bars, and the about box's picture. Run by hand after changing the art; its output is committed, so the build needs
no Python. Usage: scripts/make-skin.py REPO_ROOT"""
import math
import os
import struct
import sys

KEY = (255, 0, 255)  # cut out of a skinned button's window region
WHITE = (255, 255, 255)
NAVY = (2, 76, 150)  # the frame's colour


def save_bmp(path, pixels):
    """pixels: rows of (r, g, b), top row first; written as a 24-bit bottom-up BMP."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(body), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(header + info + body)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def canvas(w, h, colour=WHITE):
    return [[colour] * w for _ in range(h)]


def vertical_gradient(w, h, top, bottom):
    return [[mix(top, bottom, y / max(1, h - 1))] * w for y in range(h)]


# ------------------------------------------------------------------ frame

def frame(out):
    band_top, band_bottom = (38, 118, 196), NAVY
    edge_light = (180, 202, 220)
    band = lambda w: vertical_gradient(w, 25, band_top, band_bottom)
    top = band(794)
    for x in range(794):
        top[0][x] = (96, 156, 214)  # a highlight along the upper edge
    save_bmp(f'{out}/Top.bmp', top)
    for name, outer_x in (('TopLeft', 0), ('TopRight', 5)):
        piece = band(6)
        for y in range(25):
            piece[y][outer_x] = (1, 46, 96)
        for x in range(6):
            piece[0][x] = (1, 46, 96)
        save_bmp(f'{out}/{name}.bmp', piece)
        save_bmp(f'{out}/{name}Mask.bmp', canvas(6, 25))
    for name, outer_x, inner_x in (('Left', 0, 5), ('Right', 5, 0)):
        piece = canvas(6, 500, NAVY)
        for y in range(500):
            piece[y][outer_x] = (1, 46, 96)
            piece[y][inner_x] = edge_light
        save_bmp(f'{out}/{name}.bmp', piece)
    bottom = canvas(800, 6, NAVY)
    for x in range(800):
        bottom[0][x] = edge_light
        bottom[5][x] = (1, 46, 96)
    save_bmp(f'{out}/Bottom.bmp', bottom)
    for name, outer_x in (('BottomLeft', 0), ('BottomRight', 5)):
        piece = canvas(6, 6, NAVY)
        for i in range(6):
            piece[5][i] = (1, 46, 96)
            piece[i][outer_x] = (1, 46, 96)
        save_bmp(f'{out}/{name}.bmp', piece)


# ---------------------------------------------------------------- buttons

def button_set(folder, prefix, height, face, hover, border, cap=5):
    """Writes prefix.{l,m,r}.bmp (normal) and prefix.o.{l,m,r}.bmp (hover): rounded caps with
    key-coloured corners, a one-pixel border and a glossy face."""
    for tag, (top, bottom) in (('', face), ('o.', hover)):
        def column(y):
            t = y / (height - 1)
            c = mix(top, bottom, t)
            return mix(c, WHITE, 0.35) if y < height // 2 else c
        middle = [[column(y)] * 8 for y in range(height)]
        for x in range(8):
            middle[0][x] = border
            middle[height - 1][x] = border
        save_bmp(f'{folder}/{prefix}.{tag}m.bmp', middle)
        for side in ('l', 'r'):
            piece = [[column(y)] * cap for y in range(height)]
            for y in range(height):
                for x in range(cap):
                    dx = cap - x - 0.5 if side == 'l' else x + 0.5
                    # distance from the rounding's centre: corners outside are cut away
                    for cy in (cap - 0.5, height - cap + 0.5):
                        if (y < cap and cy == cap - 0.5) or (y >= height - cap and cy != cap - 0.5):
                            d = math.hypot(dx, y + 0.5 - cy)
                            if d > cap:
                                piece[y][x] = KEY
                            elif d > cap - 1:
                                piece[y][x] = border
                    if piece[y][x] != KEY and (y == 0 or y == height - 1):
                        piece[y][x] = border
                edge = 0 if side == 'l' else cap - 1
                if cap <= y < height - cap:
                    piece[y][edge] = border
            save_bmp(f'{folder}/{prefix}.{tag}{side}.bmp', piece)


def title_button(folder, name, mark, face, hover):
    for suffix, colour in (('', face), ('.over', hover)):
        pic = vertical_gradient(19, 17, mix(colour, WHITE, 0.3), colour)
        for y in range(17):
            pic[y][0] = pic[y][18] = (1, 46, 96)
        for x in range(19):
            pic[0][x] = pic[16][x] = (1, 46, 96)
        for x, y in mark:
            pic[y][x] = WHITE
        save_bmp(f'{folder}/{name}{suffix}.bmp', pic)


def cross_mark():
    pts = set()
    for i in range(7):
        for t in (0, 1):
            pts.add((6 + i + t, 5 + i))
            pts.add((12 - i + t, 5 + i))
    return pts


def bar_mark():
    return {(x, y) for x in range(6, 13) for y in (10, 11)}


# ----------------------------------------------------------------- glyphs

GREEN, RED, BLUE, AMBER, GREY = (34, 139, 34), (200, 40, 40), (30, 90, 170), (220, 160, 30), (90, 90, 90)


def glyph_strip(path):
    w, h = 21, 17
    strip = canvas(w * 22, h)

    def put(i, x, y, c):
        if 0 <= x < w and 0 <= y < h:
            strip[y][i * w + x] = c

    def rect(i, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    put(i, x, y, c)
                elif fill:
                    put(i, x, y, fill)

    def line(i, x0, y0, x1, y1, c, thick=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for k in range(n + 1):
            x = round(x0 + (x1 - x0) * k / n)
            y = round(y0 + (y1 - y0) * k / n)
            for t in range(thick):
                put(i, x + t, y, c)

    def plus(i, c, cx=10, cy=8):
        for d in range(-4, 5):
            for t in (0, 1):
                put(i, cx + d, cy + t - 0, c)
                put(i, cx + t, cy + d, c)

    def minus(i, c):
        for d in range(-4, 5):
            put(i, 10 + d, 8, c)
            put(i, 10 + d, 9, c)

    def cross(i, c):
        line(i, 6, 4, 14, 12, c, 2)
        line(i, 14, 4, 6, 12, c, 2)

    def folder(i):
        rect(i, 3, 5, 17, 14, (150, 110, 20), (240, 200, 90))
        rect(i, 3, 3, 8, 5, (150, 110, 20), (240, 200, 90))

    def page(i):
        rect(i, 5, 2, 15, 15, GREY, WHITE)
        for y in (5, 8, 11):
            line(i, 7, y, 13, y, (140, 140, 140))

    def tick(i, c):
        line(i, 4, 8, 8, 12, c, 2)
        line(i, 8, 12, 16, 4, c, 2)

    def arrows(i, c):
        line(i, 5, 6, 15, 6, c)
        line(i, 12, 3, 15, 6, c)
        line(i, 15, 10, 5, 10, c)
        line(i, 8, 13, 5, 10, c)

    def disk(i):
        rect(i, 4, 3, 16, 14, BLUE, (120, 160, 220))
        rect(i, 7, 3, 13, 7, BLUE, WHITE)

    def magnifier(i, c):
        for a in range(0, 360, 10):
            put(i, round(9 + 4 * math.cos(math.radians(a))), round(7 + 4 * math.sin(math.radians(a))), c)
        line(i, 12, 10, 16, 14, c, 2)

    def box(i):
        rect(i, 4, 6, 16, 14, (120, 80, 30), (200, 150, 80))
        line(i, 4, 6, 8, 2, (120, 80, 30))
        line(i, 16, 6, 12, 2, (120, 80, 30))
        line(i, 8, 2, 12, 2, (120, 80, 30))

    def triangle(i, c):
        for y in range(3, 14):
            for x in range(7, 7 + 2 * (5 - abs(y - 8)) + 1):
                put(i, x, y, c)

    def funnel(i, c):
        for y in range(3, 9):
            line(i, 3 + (y - 3), y, 17 - (y - 3), y, c)
        rect(i, 9, 9, 11, 14, c, c)

    plus(0, GREEN)                                           # add an entry
    magnifier(1, BLUE)                                       # details, add a file
    folder(2); plus(2, GREEN, 14, 10)                        # add a folder or an item
    disk(3)                                                  # back up
    folder(4)                                                # browse, explore
    page(5); cross(5, RED)                                   # clean
    minus(6, RED)                                            # delete an entry
    cross(7, RED)                                            # remove from a list
    rect(8, 3, 4, 17, 12, GREY, (200, 200, 200)); line(8, 5, 14, 15, 14, GREY)  # all drives
    page(9); line(9, 8, 12, 14, 6, BLUE, 2)                  # edit
    funnel(10, GREY); cross(10, RED)                         # clear the filter
    funnel(11, BLUE)                                         # filter
    folder(12); arrows(12, BLUE)                             # organise
    cross(13, (170, 20, 20)); rect(13, 3, 2, 17, 15, (170, 20, 20))  # remove, empty
    disk(14); line(14, 10, 9, 10, 15, GREEN, 2)              # restore
    triangle(15, GREEN)                                      # run now
    tick(16, GREEN)                                          # select all
    rect(17, 5, 4, 15, 13, GREY, WHITE)                      # select none
    box(18)                                                  # pack into a zip
    arrows(19, GREEN)                                        # scan again
    arrows(20, BLUE)                                         # refresh
    page(21); line(21, 3, 9, 9, 9, GREEN, 2)                 # stored files
    save_bmp(path, strip)


def spin_arrows(folder):
    """The 5 x 5 arrows of the spin buttons: a black triangle on white, whose bottom-left pixel
    (the colour a flat button leaves out) is background."""
    up = ["     ", "  X  ", " XXX ", "XXXXX", "     "]
    for name, rows in (('FlatUp', up), ('FlatDown', [up[0]] + up[3:0:-1] + [up[4]])):
        save_bmp(f'{folder}/{name}.bmp', [[(0, 0, 0) if c == 'X' else WHITE for c in row]
                                          for row in rows])


# ------------------------------------------------------------ main window

# A 5 x 7 pixel font for the product name on the background.
FONT = {
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'Y': ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'C': ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    '2': ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    ' ': ["00000"] * 7,
}


def draw_text(pic, x, y, text, colour, scale=2):
    for ch in text:
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            pic[y + row * scale + dy][x + col * scale + dx] = colour
        x += 6 * scale


def fill(pic, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(pic), y1)):
        for x in range(max(0, x0), min(len(pic[0]), x1)):
            pic[y][x] = colour


def band(pic, x0, y0, x1, y1, top, bottom):
    """Fills the box with a colour that runs from top on its first row to bottom on its last."""
    for y in range(y0, y1):
        fill(pic, x0, y, x1, y + 1, mix(top, bottom, (y - y0) / (y1 - y0 - 1)))


def emblem(pic, left, top, size, ring, short_stroke, long_stroke):
    """The product's emblem in the size-pixel square at left, top: a white ring between the two
    radii of ring, and a green tick of two strokes, each given as its first pixel and length."""
    cx, cy = left + size / 2 - 0.5, top + size / 2 - 0.5
    for y in range(top, top + size):
        for x in range(left, left + size):
            if ring[0] <= math.hypot(x - cx, y - cy) <= ring[1]:
                pic[y][x] = WHITE
    x0, y0, n = short_stroke
    for k in range(n):
        for t in range(3):
            pic[y0 + k // 2 + t][x0 + k // 2] = (120, 220, 120)
    x0, y0, n = long_stroke
    for k in range(n):
        for t in range(3):
            pic[y0 - k + t][x0 + k - k // 2] = (120, 220, 120)


def background(path):
    """721 x 535: the header with the product name, the page-title band, the dark left column
    of the areas, the light page area and the strip that holds Back and Next."""
    w, h = 721, 535
    pic = canvas(w, h)
    band(pic, 0, 0, w, 55, (38, 118, 196), NAVY)
    fill(pic, 0, 0, w, 1, (96, 156, 214))
    emblem(pic, 14, 8, 40, (15, 19), (24, 27, 12), (30, 33, 16))
    draw_text(pic, 66, 20, 'SYSTEM CORVANTA 2', WHITE)
    band(pic, 174, 55, w, 89, (70, 140, 210), (30, 96, 170))
    band(pic, 0, 55, 174, h, (24, 92, 164), (4, 46, 100))
    fill(pic, 173, 55, 174, h, (1, 46, 96))
    fill(pic, 174, 89, w, 502, (247, 250, 253))
    fill(pic, 174, 89, w, 90, (180, 202, 220))
    band(pic, 174, 502, w, h, (226, 236, 246), (196, 214, 232))
    fill(pic, 174, 502, w, 503, (180, 202, 220))
    save_bmp(path, pic)


def about(path):
    """450 x 310: the about box. A navy band with the product's web address (drawn by the box
    over the picture), the emblem and the name, then a light area for the box's text lines."""
    w, h = 450, 310
    pic = canvas(w, h, (247, 250, 253))
    band(pic, 0, 0, w, 130, (38, 118, 196), NAVY)
    fill(pic, 0, 130, w, 132, (180, 202, 220))
    emblem(pic, 24, 56, 48, (18, 23), (37, 80, 14), (44, 87, 20))
    draw_text(pic, 88, 72, 'SYSTEM CORVANTA 2', WHITE)
    band(pic, 0, h - 24, w, h, (226, 236, 246), (196, 214, 232))
    save_bmp(path, pic)


TILE_COLOURS = {
    'clean': ((90, 170, 240), (20, 90, 180)),
    'system': ((150, 150, 170), (70, 80, 110)),
    'backup': ((110, 200, 120), (30, 130, 60)),
    'advanced': ((250, 190, 80), (210, 120, 20)),
    'restore': ((240, 120, 110), (180, 40, 40)),
    'privacy': ((170, 130, 230), (100, 60, 170)),
    'off': ((200, 200, 200), (120, 120, 120)),
}


def tile(size, colours, symbol):
    """A rounded tile with a glossy gradient and a white symbol; the corners are KEY, the
    colour a transparent picture leaves out."""
    top, bottom = colours
    pic = canvas(size, size, KEY)
    r = size // 6
    for y in range(size):
        c = mix(top, bottom, y / (size - 1))
        if y < size // 2:
            c = mix(c, WHITE, 0.25)
        for x in range(size):
            cx = min(max(x, r), size - 1 - r)
            cy = min(max(y, r), size - 1 - r)
            d = math.hypot(x - cx, y - cy)
            if d <= r:
                pic[y][x] = mix(c, (1, 46, 96), 0.6) if d > r - 1.2 else c
    symbol(Pen(pic, size / 64))
    return pic


class Pen:
    """Draws white shapes on a 64-unit grid scaled to the picture."""

    def __init__(self, pic, k):
        self.pic, self.k = pic, k

    def dot(self, x, y, c=WHITE):
        xi, yi = int(x * self.k), int(y * self.k)
        if 0 <= yi < len(self.pic) and 0 <= xi < len(self.pic[0]):
            self.pic[yi][xi] = c

    def rect(self, x0, y0, x1, y1, c=WHITE):
        for y in range(int(y0 * self.k), int(y1 * self.k)):
            for x in range(int(x0 * self.k), int(x1 * self.k)):
                self.pic[y][x] = c

    def frame(self, x0, y0, x1, y1, t=3, c=WHITE):
        self.rect(x0, y0, x1, y0 + t, c)
        self.rect(x0, y1 - t, x1, y1, c)
        self.rect(x0, y0, x0 + t, y1, c)
        self.rect(x1 - t, y0, x1, y1, c)

    def ring(self, cx, cy, r0, r1, c=WHITE, a0=0, a1=360):
        for y in range(int((cy - r1) * self.k), int((cy + r1) * self.k) + 1):
            for x in range(int((cx - r1) * self.k), int((cx + r1) * self.k) + 1):
                d = math.hypot(x / self.k - cx, y / self.k - cy)
                a = math.degrees(math.atan2(y / self.k - cy, x / self.k - cx)) % 360
                if r0 <= d <= r1 and (a0 <= a <= a1 or a1 - a0 >= 360):
                    if 0 <= y < len(self.pic) and 0 <= x < len(self.pic[0]):
                        self.pic[y][x] = c

    def line(self, x0, y0, x1, y1, t=3, c=WHITE):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * self.k * 2) + 1
        for i in range(n + 1):
            x = x0 + (x1 - x0) * i / n
            y = y0 + (y1 - y0) * i / n
            self.rect(x - t / 2, y - t / 2, x + t / 2, y + t / 2, c)


def sym_page(p):
    p.frame(18, 12, 46, 52)
    for y in (22, 30, 38):
        p.rect(24, y, 40, y + 2)


def sym_trash(p):
    p.rect(16, 16, 48, 20)
    p.rect(27, 12, 37, 16)
    p.frame(20, 22, 44, 52)
    for x in (27, 31, 35):
        p.rect(x, 27, x + 2, 47)


def sym_folder(p):
    p.frame(12, 22, 52, 48)
    p.rect(12, 16, 28, 22)


def sym_clock(p):
    p.ring(32, 32, 16, 19)
    p.line(32, 32, 32, 20)
    p.line(32, 32, 41, 36)


def sym_magnifier(p):
    p.ring(28, 28, 10, 14)
    p.line(38, 38, 50, 50, 5)


def sym_big(p):
    sym_page(p)
    p.line(32, 46, 32, 30, 4)
    p.line(32, 28, 25, 36, 4)
    p.line(32, 28, 39, 36, 4)


def sym_chain(p):
    p.ring(22, 36, 6, 9)
    p.ring(42, 28, 6, 9)
    p.line(29, 24, 33, 18, 2)
    p.line(35, 42, 31, 48, 2)


def sym_globe(p):
    p.ring(32, 32, 16, 19)
    p.ring(32, 32, 0, 1.5)
    p.rect(13, 31, 51, 33)
    p.rect(31, 13, 33, 51)
    p.ring(32, 32, 7, 9, WHITE, 90, 270)


def sym_gear(p):
    p.ring(32, 32, 9, 16)
    for a in range(0, 360, 45):
        x = 32 + 19 * math.cos(math.radians(a))
        y = 32 + 19 * math.sin(math.radians(a))
        p.rect(x - 3, y - 3, x + 3, y + 3)


def sym_disk(p):
    p.frame(14, 14, 50, 50)
    p.rect(22, 14, 42, 26)
    p.rect(20, 34, 44, 46)


def sym_star(p):
    pts = []
    for i in range(10):
        r = 20 if i % 2 == 0 else 8
        a = math.radians(-90 + 36 * i)
        pts.append((32 + r * math.cos(a), 33 + r * math.sin(a)))
    for i in range(10):
        p.line(*pts[i], *pts[(i + 1) % 10], 3)


def sym_two_pages(p):
    p.frame(12, 10, 36, 42)
    p.frame(26, 22, 50, 54)


def sym_grid(p):
    for y in (14, 28, 42):
        for x in (14, 28, 42):
            p.rect(x, y, x + 9, y + 9)


def sym_scissors(p):
    sym_page(p)
    for x in range(8, 56, 8):
        p.rect(x, 31, x + 4, 34, (255, 230, 120))


def sym_arrows(p):
    p.line(14, 24, 50, 24, 4)
    p.line(50, 24, 42, 16, 4)
    p.line(50, 40, 14, 40, 4)
    p.line(14, 40, 22, 48, 4)


def sym_cookie(p):
    p.ring(32, 32, 0, 18)
    for x, y in ((25, 26), (38, 24), (30, 38), (40, 37)):
        p.ring(x, y, 0, 3, (120, 80, 40))


def sym_play(p):
    for y in range(16, 49):
        p.rect(22, y, 22 + (16 - abs(y - 32)) * 1.4, y + 1)


def sym_power(p):
    p.ring(32, 34, 14, 17, WHITE, 300, 600)
    p.ring(32, 34, 14, 17, WHITE, 0, 240)
    p.rect(30, 12, 34, 34)


def sym_box_cross(p):
    p.frame(14, 20, 50, 50)
    p.line(22, 28, 42, 44, 4)
    p.line(42, 28, 22, 44, 4)


def sym_monitor(p):
    p.frame(12, 14, 52, 42)
    p.rect(28, 42, 36, 48)
    p.rect(20, 48, 44, 51)
    p.line(20, 34, 30, 24, 3)
    p.line(30, 24, 44, 30, 3)


def sym_restore(p):
    sym_trash(p)
    p.line(46, 14, 56, 24, 3)


def combined(*parts):
    return lambda p: [part(p) for part in parts]


# name of the file, colour family, symbol
BIG = [
    ('clean my computer', 'clean', sym_monitor),
    ('system configuration', 'system', sym_gear),
    ('backup your data', 'backup', sym_disk),
    ('advanced features', 'advanced', sym_star),
    ('restore deleted', 'restore', sym_restore),
    ('junk files', 'clean', sym_trash),
    ('large files', 'clean', sym_big),
    ('old files', 'clean', sym_clock),
    ('empty folders', 'clean', sym_folder),
    ('broken links', 'clean', sym_chain),
    ('quickly temporary folder cleaner', 'clean', combined(sym_folder, sym_magnifier)),
    ('internet privacy', 'privacy', sym_globe),
    ('duplicate files', 'advanced', sym_two_pages),
    ('registry cleaner', 'advanced', sym_grid),
    ('defragment', 'advanced', sym_disk),
    ('split and combine', 'advanced', sym_scissors),
    ('cache', 'privacy', combined(sym_globe)),
    ('cookies', 'privacy', sym_cookie),
    ('url', 'privacy', sym_magnifier),
    ('history', 'privacy', sym_clock),
    ('document', 'privacy', sym_page),
    ('split', 'advanced', sym_scissors),
    ('combine', 'advanced', sym_two_pages),
    ('backup files', 'backup', sym_disk),
    ('restore backuped', 'backup', sym_arrows),
    ('backup local', 'backup', sym_folder),
    ('backup remote', 'backup', sym_globe),
    ('startup manager', 'system', sym_play),
    ('shutdown manager', 'system', sym_power),
    ('system tweak', 'system', sym_gear),
    ('uninstall bad programs', 'system', sym_box_cross),
]


def main_window(data):
    background(f'{data}/bg.bmp')
    about(f'{data}/about.bmp')
    for name, family, symbol in BIG:
        save_bmp(f'{data}/Buttons/Big/{name}.bmp', tile(64, TILE_COLOURS[family], symbol))
    for name, family, symbol in BIG[:5]:
        save_bmp(f'{data}/Buttons/Small/{name}.bmp', tile(55, TILE_COLOURS[family], symbol))
    bar_back = vertical_gradient(100, 22, (236, 242, 248), (206, 218, 230))
    for x in range(100):
        bar_back[0][x] = bar_back[21][x] = (131, 150, 160)
    save_bmp(f'{data}/Buttons/Main/Progress0.bmp', bar_back)
    for i, colour in enumerate(((40, 110, 200), (40, 160, 70), (230, 160, 30), (200, 50, 40))):
        save_bmp(f'{data}/Buttons/Main/Progress{i + 1}.bmp',
                 vertical_gradient(100, 22, mix(colour, WHITE, 0.45), colour))


# ------------------------------------------------------------ scheduler

def sym_tick(p):
    p.line(16, 34, 28, 46, 8)
    p.line(28, 46, 50, 20, 8)


def sym_cross(p):
    p.line(18, 18, 46, 46, 8)
    p.line(46, 18, 18, 46, 8)


def sym_empty(p):
    p.ring(32, 32, 12, 19)


def sym_wide_play(p):
    for y in range(14, 51):
        p.rect(20, y, 20 + (18 - abs(y - 32)) * 1.6, y + 1)


def sym_cog(p):
    p.ring(32, 32, 8, 18)
    for a in range(0, 360, 60):
        x = 32 + 20 * math.cos(math.radians(a))
        y = 32 + 20 * math.sin(math.radians(a))
        p.rect(x - 5, y - 5, x + 5, y + 5)


def sym_page_lines(p):
    p.rect(16, 10, 48, 54)
    for y in (20, 30, 40):
        p.rect(22, y, 42, y + 4, (90, 90, 90))


def sym_brush(p):
    p.line(20, 44, 44, 18, 8)
    p.rect(12, 42, 26, 54)


def sym_cube(p):
    p.frame(14, 22, 42, 50, 5)
    p.line(14, 22, 26, 12, 5)
    p.line(42, 22, 52, 12, 5)
    p.line(26, 12, 52, 12, 5)
    p.line(52, 12, 52, 40, 5)


# The function buttons of the scheduler window: file, colour family, symbol.
SCHEDULER_BUTTONS = [
    ('RegistryCleaner', 'advanced', sym_grid),
    ('InternetPrivacy', 'privacy', sym_globe),
    ('FolderCleaner', 'clean', combined(sym_folder, sym_magnifier)),
    ('AppLauncher', 'system', sym_play),
    ('StartupManager', 'clean', sym_trash),
]
# The privacy list's pictures, in image-index order: internet, recent documents, Wordpad, Paint,
# DirectX.
SCHEDULER_PRIVACY = [('privacy', sym_globe), ('backup', sym_page_lines), ('system', sym_page),
                     ('restore', sym_brush), ('advanced', sym_cube)]
# The tray menu's pictures: on, off, start the main program, open, turn off and close, close.
SCHEDULER_MENU = [('backup', sym_tick), ('off', sym_empty), ('clean', sym_wide_play),
                  ('system', sym_cog), ('advanced', sym_power), ('restore', sym_cross)]


def strip(size, tiles):
    pics = [tile(size, TILE_COLOURS[family], symbol) for family, symbol in tiles]
    return [sum((pic[y] for pic in pics), []) for y in range(size)]


def scheduler(data):
    folder = f'{data}/Buttons/Scheduler'
    for name, family, symbol in SCHEDULER_BUTTONS:
        save_bmp(f'{folder}/{name}.bmp', tile(32, TILE_COLOURS[family], symbol))
    save_bmp(f'{folder}/Privacy.bmp', strip(16, SCHEDULER_PRIVACY))
    save_bmp(f'{folder}/Menu.bmp', strip(16, SCHEDULER_MENU))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    frame(f'{root}/resources/skin')
    spin_arrows(f'{root}/resources/skin')
    glyph_strip(f'{root}/resources/skin/Glyphs.bmp')
    data = f'{root}/data/Data/Buttons'
    button_set(f'{data}/Inside', 'but', 23, ((246, 248, 250), (214, 226, 234)),
               ((255, 250, 226), (244, 222, 150)), (131, 150, 160))
    button_set(f'{data}/Main', 'big', 25, ((52, 128, 204), NAVY), ((82, 160, 232), (20, 104, 186)),
               (1, 46, 96))
    button_set(f'{data}/Main', 'top', 20, ((52, 128, 204), NAVY), ((82, 160, 232), (20, 104, 186)),
               (1, 46, 96), cap=4)
    title_button(f'{data}/Main', 'x', cross_mark(), (30, 100, 176), (200, 50, 40))
    title_button(f'{data}/Main', 'minimize', bar_mark(), (30, 100, 176), (60, 140, 220))
    main_window(f'{root}/data/Data')
    scheduler(f'{root}/data/Data')


if __name__ == '__main__':
    main()
