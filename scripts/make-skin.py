#!/usr/bin/env python3
"""Draws the skin pictures: the window frame pieces (program resources), the button skins and
the glyph strip. Run by hand after changing the art; its output is committed, so the build needs
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


if __name__ == '__main__':
    main()
