#!/usr/bin/env python3
"""Draws the drag cursors the class library's resources carry: 20001 (drop refused), 20002 (move)
and 20003 (copy), as 32x32 monochrome .cur files. Run by hand after changing the art; its output
is committed, so the build needs no Python. Usage: scripts/make-cursors.py REPO_ROOT"""
import os
import struct
import sys

SIZE = 32
# The pointer: 'X' black outline, '.' white inside; the hot spot is its tip at (0, 0).
ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.....XXXXX",
    "X..X..X",
    "X.X X..X",
    "XX  X..X",
    "X    X..X",
    "     X..X",
    "      XX",
]
BLACK, WHITE, CLEAR = 'X', '.', ' '


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def stamp(picture, rows, left, top):
    for y, row in enumerate(rows):
        for x, cell in enumerate(row):
            if cell != CLEAR:
                picture[top + y][left + x] = cell


def box(picture, left, top, right, bottom):
    """A white box with a black frame, right and bottom included."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            picture[y][x] = BLACK if edge else WHITE


def refused(picture):
    """A ring with a bar across it, beside the pointer: nothing can be dropped here."""
    cx, cy, outer, inner = 17.5, 20.5, 8.0, 5.5
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x - cx, y - cy
            distance = (dx * dx + dy * dy) ** 0.5
            ring = inner <= distance <= outer
            bar = distance < inner and abs(dx - dy) <= 1.5  # from top-left to bottom-right
            if ring or bar:
                picture[y][x] = BLACK
            elif distance < inner and picture[y][x] == CLEAR:
                picture[y][x] = WHITE


def move(picture):
    box(picture, 12, 19, 25, 28)


def copy(picture):
    """The moved box with a small box holding a plus sign over its corner."""
    move(picture)
    box(picture, 21, 22, 29, 30)
    for i in range(23, 28):
        picture[26][i] = BLACK
        picture[i + 1][25] = BLACK


def save_cur(path, picture, hot_x=0, hot_y=0):
    """A one-image cursor file: 1 bit a pixel, the XOR image then the AND mask, bottom-up."""
    def rows(bit_of):
        data = bytearray()
        for row in reversed(picture):
            bits = 0
            for cell in row:
                bits = (bits << 1) | bit_of(cell)
            data += bits.to_bytes(SIZE // 8, 'big')
        return data
    xor = rows(lambda c: 1 if c == WHITE else 0)  # colour 1 (white) where filled white
    mask = rows(lambda c: 1 if c == CLEAR else 0)  # the screen stays where the mask is set
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0,
                         2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + xor + mask
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    for name, extra in (('DragRefused', refused), ('DragMove', move), ('DragCopy', copy)):
        picture = blank()
        extra(picture)
        stamp(picture, ARROW, 0, 0)
        save_cur(os.path.join(root, 'resources', 'cursors', name + '.cur'), picture)


if __name__ == '__main__':
    main()
