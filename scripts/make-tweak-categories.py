#!/usr/bin/env python3
"""Writes the stored category list of the system-tweak page: the tree-list item stream (version
-13) of a hidden root and seven top-level rows, each row's tag the notebook page it shows. qrv
carries it as a resource and reads it into lvSystemTweakSelector. Run by hand after changing the
rows; its output is committed, so the build needs no Python.
Usage: scripts/make-tweak-categories.py REPO_ROOT"""
import struct
import sys

VERSION = -13
ROOT_FLAGS = 0x128783  # the flags every stored item carries
EXPANDED = 0x0080
CATEGORIES = [('Explorer', 0), ('Interface', 1), ('Mouse', 3), ('Start Menu', 4), ('System', 5),
              ('Boot Menu (Win9x)', 7), ('Win NT/2000/XP', 8)]


def i32(value):
    return struct.pack('<i', value)


def record(state, flags, tag):
    """The 128-byte record: state, four image indices of -1, flags, tag and three overlay
    bytes; the rest is zero."""
    out = bytes([state & 0xFF, state >> 8, 0, 0]) + i32(-1) * 4
    out += struct.pack('<I', flags) + bytes(4)
    out += bytes(12 + 4 + 4 + 4 + 4 + 4) + i32(tag)
    out += bytes([0xFF, 0, 0xFF]) + bytes(61)
    assert len(out) == 128
    return out


def item(text, state, tag, children):
    """One item: version, text, record, an empty hint, no column texts, no styles, then the
    number of children whose items follow."""
    raw = text.encode('ascii')
    return (i32(VERSION) + i32(len(raw)) + raw + record(state, ROOT_FLAGS, tag) + i32(-1) +
            i32(0) + i32(0) + bytes(1) + i32(children))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    stream = item('', EXPANDED, 0, len(CATEGORIES))
    for text, tag in CATEGORIES:
        stream += item(text, 0, tag, 0)
    assert len(stream) == 1293
    with open(f'{root}/resources/main/TweakCategories.bin', 'wb') as out:
        out.write(stream)


if __name__ == '__main__':
    main()
