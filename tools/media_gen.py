#!/usr/bin/python3
"""Draws the shipped media tree of the game: pixel art, bitmap fonts,
synthesized sounds, the configuration, the player and the levels.

Run with Debian's python3 (it has Pillow):

    /usr/bin/python3 tools/media_gen.py                 # rewrites media/ and docs/media-sheet.png
    /usr/bin/python3 tools/media_gen.py --out DIR --sheet PATH
    /usr/bin/python3 tools/media_gen.py --mock DIR      # also renders each level as a screenshot mock

Everything is drawn in code with fixed seeds, and the PNG files carry no
time or gamma chunks, so a second run reproduces the committed files byte
for byte.
"""
import argparse
import math
import os
import random
import shutil
import struct
import sys
import wave
import zlib

from PIL import Image

# ---------------------------------------------------------------------------
# One palette for the whole tree. Every pixel of every picture is one of these
# (plus alpha on the soft edges of figures, items and teleporter beams).
PAL = {
    "ink": (22, 17, 35),          # outlines
    "ink2": (46, 38, 66),
    "night0": (14, 16, 38),       # background sky, top
    "night1": (22, 25, 56),
    "night2": (32, 34, 74),
    "night3": (46, 42, 92),
    "night4": (64, 50, 104),      # sky near the horizon
    "hill0": (24, 28, 54),
    "hill1": (32, 38, 68),
    "hill2": (42, 50, 84),
    "white": (246, 244, 234),
    "grey1": (196, 198, 210),
    "grey2": (142, 146, 166),
    "grey3": (96, 100, 124),
    "grey4": (62, 64, 86),
    "red": (222, 58, 58),
    "red2": (150, 32, 50),
    "rust": (146, 74, 58),
    "rust2": (104, 50, 46),
    "rust3": (176, 100, 74),
    "orange": (244, 140, 48),
    "orange2": (184, 86, 36),
    "yellow": (255, 218, 72),
    "yellow2": (206, 150, 40),
    "yellow3": (255, 246, 170),
    "green": (98, 200, 78),
    "green2": (46, 128, 60),
    "green3": (170, 236, 120),
    "olive": (120, 116, 64),
    "olive2": (84, 80, 50),
    "teal": (48, 156, 150),
    "cyan": (110, 224, 240),
    "cyan2": (48, 138, 190),
    "cyan3": (200, 248, 255),
    "blue": (66, 104, 214),
    "blue2": (40, 60, 146),
    "slate": (74, 90, 130),
    "slate2": (50, 60, 96),
    "purple": (150, 78, 196),
    "purple2": (92, 46, 132),
    "pink": (248, 136, 176),
    "skin": (250, 200, 150),
    "skin2": (212, 140, 100),
    "brown": (138, 88, 54),
    "brown2": (88, 54, 38),
    "pale": (200, 226, 255),
    "pale2": (140, 172, 232),
    "cream": (252, 240, 206),
    "cream2": (218, 198, 150),
}
MAGENTA = (255, 0, 255, 0)   # the mask colour of masked pictures
CLEAR = (0, 0, 0, 0)         # empty pixel of alpha pictures


def col(name, alpha=255):
    r, g, b = PAL[name]
    return (r, g, b, alpha)


# ---------------------------------------------------------------------------
# A small pixel canvas: None is empty; colours are palette names or RGBA tuples.
class Pix:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.p = [[None] * w for _ in range(h)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.p[y][x]
        return None

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def hline(self, x0, x1, y, c):
        self.rect(x0, y, x1, y, c)

    def vline(self, x, y0, y1, c):
        self.rect(x, y0, x, y1, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(self.h):
            for x in range(self.w):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for t in range(thick):
                self.put(x + t, y, c)

    def ascii(self, x0, y0, rows, key):
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in key:
                    self.put(x0 + i, y0 + j, key[ch])

    def filled(self, x, y):
        return self.get(x, y) is not None

    def outline(self, c="ink", diagonal=False):
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.p[y][x] is not None:
                    continue
                near = [(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)]
                if diagonal:
                    near += [(x - 1, y - 1), (x + 1, y - 1), (x - 1, y + 1), (x + 1, y + 1)]
                if any(self.filled(a, b) for a, b in near):
                    marks.append((x, y))
        for x, y in marks:
            self.p[y][x] = c

    def soften(self, c="ink", alpha=96):
        """Gives the stair steps of a silhouette a half-transparent corner pixel."""
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.p[y][x] is not None:
                    continue
                n = sum(self.filled(a, b) for a, b in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
                if n >= 2:
                    marks.append((x, y))
        for x, y in marks:
            self.p[y][x] = col(c, alpha) if isinstance(c, str) else c

    def mirrored(self):
        m = Pix(self.w, self.h)
        for y in range(self.h):
            m.p[y] = list(reversed(self.p[y]))
        return m

    def copy(self):
        m = Pix(self.w, self.h)
        m.p = [list(r) for r in self.p]
        return m

    def recolour(self, mapping):
        m = self.copy()
        for y in range(self.h):
            for x in range(self.w):
                c = m.p[y][x]
                if isinstance(c, str) and c in mapping:
                    m.p[y][x] = mapping[c]
        return m

    def image(self, empty=CLEAR):
        img = Image.new("RGBA", (self.w, self.h))
        data = []
        for y in range(self.h):
            for x in range(self.w):
                c = self.p[y][x]
                if c is None:
                    data.append(empty)
                elif isinstance(c, str):
                    data.append(col(c))
                else:
                    data.append(c)
        img.putdata(data)
        return img


# ---------------------------------------------------------------------------
# The bitmap letters: 5 columns, 7 rows above the baseline, 2 below.
GLYPHS = {
    " ": "..... ..... ..... ..... ..... ..... .....",
    "!": "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..",
    '"': ".#.#. .#.#. ..... ..... ..... ..... .....",
    "#": ".#.#. ##### .#.#. .#.#. .#.#. ##### .#.#.",
    "$": "..#.. .#### #.#.. .###. ..#.# ####. ..#..",
    "%": "##... ##..# ...#. ..#.. .#... #..## ...##",
    "&": ".##.. #..#. #.#.. .#... #.#.# #..#. .##.#",
    "'": "..#.. ..#.. ..... ..... ..... ..... .....",
    "(": "...#. ..#.. .#... .#... .#... ..#.. ...#.",
    ")": ".#... ..#.. ...#. ...#. ...#. ..#.. .#...",
    "*": "..... ..#.. #.#.# .###. #.#.# ..#.. .....",
    "+": "..... ..#.. ..#.. ##### ..#.. ..#.. .....",
    ",": "..... ..... ..... ..... ..... .##.. ..#.. .#...",
    "-": "..... ..... ..... ##### ..... ..... .....",
    ".": "..... ..... ..... ..... ..... .##.. .##..",
    "/": "....# ....# ...#. ..#.. .#... #.... #....",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "##### ...#. ..#.. ...#. ....# #...# .###.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ...#. .##..",
    ":": "..... .##.. .##.. ..... .##.. .##.. .....",
    ";": "..... .##.. .##.. ..... .##.. ..#.. .#...",
    "<": "...#. ..#.. .#... #.... .#... ..#.. ...#.",
    "=": "..... ..... ##### ..... ##### ..... .....",
    ">": ".#... ..#.. ...#. ....# ...#. ..#.. .#...",
    "?": ".###. #...# ....# ...#. ..#.. ..... ..#..",
    "@": ".###. #...# #.### #.#.# #.### #.... .####",
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "###.. #..#. #...# #...# #...# #..#. ###..",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
    "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "[": ".###. .#... .#... .#... .#... .#... .###.",
    "\\": "#.... #.... .#... ..#.. ...#. ....# ....#",
    "]": ".###. ...#. ...#. ...#. ...#. ...#. .###.",
    "^": "..#.. .#.#. #...# ..... ..... ..... .....",
    "_": "..... ..... ..... ..... ..... ..... ..... #####",
    "`": ".#... ..#.. ..... ..... ..... ..... .....",
    "a": "..... ..... .###. ....# .#### #...# .####",
    "b": "#.... #.... ####. #...# #...# #...# ####.",
    "c": "..... ..... .###. #.... #.... #...# .###.",
    "d": "....# ....# .#### #...# #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.",
    "f": "..##. .#..# .#... ###.. .#... .#... .#...",
    "g": "..... ..... .#### #...# #...# #...# .#### ....# .###.",
    "h": "#.... #.... #.##. ##..# #...# #...# #...#",
    "i": "..#.. ..... .##.. ..#.. ..#.. ..#.. .###.",
    "j": "...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##..",
    "k": "#.... #.... #..#. #.#.. ##... #.#.. #..#.",
    "l": ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
    "m": "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#",
    "n": "..... ..... #.##. ##..# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.",
    "p": "..... ..... ####. #...# #...# #...# ####. #.... #....",
    "q": "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    "r": "..... ..... #.##. ##..# #.... #.... #....",
    "s": "..... ..... .#### #.... .###. ....# ####.",
    "t": ".#... .#... ###.. .#... .#... .#..# ..##.",
    "u": "..... ..... #...# #...# #...# #..## .##.#",
    "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "{": "...#. ..#.. ..#.. .#... ..#.. ..#.. ...#.",
    "|": "..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "}": ".#... ..#.. ..#.. ...#. ..#.. ..#.. .#...",
    "~": "..... ..... .#... #.#.# ...#. ..... .....",
}


def glyph_rows(ch):
    return GLYPHS[ch].split()


def glyph_bits(ch, scale=1, bold=False):
    """The set pixels of a letter as (x, y) pairs, y = 0 the top of a capital."""
    bits = set()
    for y, row in enumerate(glyph_rows(ch)):
        for x, c in enumerate(row):
            if c != "#":
                continue
            for sy in range(scale):
                for sx in range(scale + (1 if bold else 0)):
                    bits.add((x * scale + sx, y * scale + sy))
    return bits


def make_font(cell_w, cell_h, ox, oy, scale, bold):
    """A paletted font picture: 255 borders, 0 empty, 1 ink, 16 cells a row."""
    chars = [chr(c) for c in range(32, 127)]
    per_row = 16
    rows = (len(chars) + per_row - 1) // per_row
    w = 1 + per_row * (cell_w + 1)
    h = 1 + rows * (cell_h + 1)
    img = Image.new("P", (w, h), 255)
    pal = [0] * 768
    pal[0:3] = [0, 0, 0]
    pal[3:6] = [255, 255, 255]
    pal[255 * 3:255 * 3 + 3] = [255, 255, 0]
    img.putpalette(pal)
    px = img.load()
    for i, ch in enumerate(chars):
        cx = 1 + (i % per_row) * (cell_w + 1)
        cy = 1 + (i // per_row) * (cell_h + 1)
        for y in range(cell_h):
            for x in range(cell_w):
                px[cx + x, cy + y] = 0
        for x, y in glyph_bits(ch, scale, bold):
            assert ox + x < cell_w and oy + y < cell_h, ch
            px[cx + ox + x, cy + oy + y] = 1
    return img


def draw_text(img, x, y, text, rgba, scale=1, bold=False, advance=None):
    """Writes text onto an RGBA picture with the bitmap letters (sheet labels, mocks)."""
    adv = advance if advance is not None else 6 * scale + (1 if bold else 0)
    px = img.load()
    for i, ch in enumerate(text):
        if ch not in GLYPHS:
            ch = "?"
        for gx, gy in glyph_bits(ch, scale, bold):
            tx, ty = x + i * adv + gx, y + gy
            if 0 <= tx < img.width and 0 <= ty < img.height:
                px[tx, ty] = rgba
    return len(text) * adv


def bayer(x, y):
    m = ((0, 8, 2, 10), (12, 4, 14, 6), (3, 11, 1, 9), (15, 7, 13, 5))
    return (m[y % 4][x % 4] + 0.5) / 16.0


# ---------------------------------------------------------------------------
# Floor tiles: 16 x 8, fully opaque. A claimable look is dull until the player
# has walked on it and bright afterwards.
TILE_W, TILE_H = 16, 8


def tile_brick(base, light, dark, mortar):
    p = Pix(TILE_W, TILE_H)
    p.rect(0, 0, 15, 7, mortar)
    for band_top, joints in ((0, (7, 15)), (4, (3, 11))):
        for y in range(band_top, band_top + 3):
            for x in range(16):
                if x in joints:
                    continue
                c = base
                if y == band_top:
                    c = light
                elif y == band_top + 2:
                    c = dark
                p.put(x, y, c)
    p.hline(0, 15, 0, light)
    p.put(3, 1, light)
    p.put(12, 5, light)
    p.put(9, 2, dark)
    return p


def tile_girder(base, light, dark, hole):
    p = Pix(TILE_W, TILE_H)
    p.hline(0, 15, 0, light)
    p.hline(0, 15, 1, base)
    p.hline(0, 15, 6, base)
    p.hline(0, 15, 7, dark)
    for y in range(2, 6):
        for x in range(16):
            on_bar = (x - y) % 8 in (0, 1) or (x + y) % 8 in (0, 1)
            p.put(x, y, base if on_bar else hole)
    for x in (3, 11):
        p.put(x, 1, light)
        p.put(x, 6, dark)
    return p


def tile_stone(base, light, dark, gap):
    p = Pix(TILE_W, TILE_H)
    p.rect(0, 0, 15, 7, gap)
    for bx in (0, 8):
        p.rect(bx, 0, bx + 6, 6, base)
        p.hline(bx, bx + 6, 0, light)
        p.vline(bx, 0, 5, light)
        p.hline(bx + 1, bx + 6, 6, dark)
        p.vline(bx + 6, 1, 6, dark)
    p.put(3, 3, dark)
    p.put(4, 2, light)
    p.put(11, 4, dark)
    p.put(12, 2, light)
    return p


def tile_grass(top, top_light, soil, soil_dark, flowers=()):
    p = Pix(TILE_W, TILE_H)
    p.rect(0, 2, 15, 7, soil)
    for x in range(16):
        p.put(x, 0, top_light if x % 3 != 1 else top)
        p.put(x, 1, top)
        if x % 4 == 2:
            p.put(x, 2, top)
    for x, y in ((4, 4), (11, 5), (7, 6), (14, 3), (1, 6)):
        p.put(x, y, soil_dark)
    p.hline(0, 15, 7, soil_dark)
    for x, c in flowers:
        p.put(x, 0, c)
        p.put(x - 1, 1, top_light)
        p.put(x + 1, 1, top_light)
    return p


def tile_steel():
    p = Pix(TILE_W, TILE_H)
    p.rect(0, 0, 15, 7, "grey3")
    p.hline(0, 15, 0, "grey1")
    p.hline(0, 15, 1, "grey2")
    p.hline(0, 15, 7, "grey4")
    p.vline(15, 1, 7, "grey4")
    for x in (3, 11):
        p.put(x, 3, "grey1")
        p.put(x + 1, 4, "ink2")
        p.put(x, 4, "grey2")
        p.put(x + 1, 3, "grey2")
    return p


def floor_tiles():
    """name -> (normal look, cleared look)."""
    return {
        "brick": (tile_brick("rust", "rust3", "rust2", "ink2"),
                  tile_brick("yellow", "yellow3", "yellow2", "orange2")),
        "girder": (tile_girder("slate", "grey2", "slate2", "ink"),
                   tile_girder("cyan", "cyan3", "cyan2", "blue2")),
        "stone": (tile_stone("purple2", "purple", "ink2", "ink"),
                  tile_stone("green", "green3", "green2", "ink2")),
        "grass": (tile_grass("olive", "yellow2", "brown2", "ink2"),
                  tile_grass("green2", "green", "brown", "brown2",
                             flowers=((3, "pink"), (11, "yellow")))),
        "steel": (tile_steel(), tile_steel()),
    }


# ---------------------------------------------------------------------------
# Ladders: one 24 x 8 rung section, stacked by the game; masked.
def ladder_section(light, base, dark):
    p = Pix(24, 8)
    for x0 in (0, 20):
        p.vline(x0, 0, 7, "ink")
        p.vline(x0 + 1, 0, 7, light)
        p.vline(x0 + 2, 0, 7, base)
        p.vline(x0 + 3, 0, 7, "ink")
    p.hline(4, 19, 2, "ink")
    p.hline(4, 19, 3, light)
    p.hline(4, 19, 4, base)
    p.hline(4, 19, 5, "ink")
    p.put(2, 4, dark)
    p.put(22, 4, dark)
    return p


def ladders():
    return {
        "wood": ladder_section("orange2", "brown", "brown2"),
        "metal": ladder_section("grey1", "grey2", "grey3"),
    }


# ---------------------------------------------------------------------------
# Chutes: one 16 x 8 step of a 45 degree slide (the game shifts each step by
# 8 columns); one graphic for each running direction; masked.
def chute_step():
    p = Pix(16, 8)
    shades = {0: "ink", 1: "orange2", 2: "orange2", 3: "orange", 4: "orange",
              5: "orange", 6: "yellow", 7: "yellow3", 8: "ink"}
    for y in range(8):
        for x in range(16):
            d = x - y
            if 0 <= d <= 8:
                c = shades[d]
                if d == 4 and y % 4 == 1:
                    c = "orange2"
                p.put(x, y, c)
    return p


def chutes():
    right = chute_step()
    return {"slide_right": right, "slide_left": right.mirrored()}


# ---------------------------------------------------------------------------
# Items: 16 x 16 with a soft glow (alpha pictures).
def glow(p, colour, alphas=(88, 36)):
    for a in alphas:
        marks = []
        for y in range(p.h):
            for x in range(p.w):
                if p.p[y][x] is None and any(p.filled(u, v) for u, v in
                                             ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))):
                    marks.append((x, y))
        for x, y in marks:
            p.p[y][x] = col(colour, a)
    return p


def item_gem():
    p = Pix(16, 16)
    p.ascii(0, 0, [
        "................",
        "................",
        "................",
        ".....KKKKKK.....",
        "....KWWcWccK....",
        "...KWccWccCCK...",
        "..KKKKKKKKKKKK..",
        "..KWccWccCCCCK..",
        "...KWcWccCCCK...",
        "....KcWcCCCK....",
        ".....KWcCCK.....",
        "......KcCK......",
        ".......KK.......",
    ], {"K": "ink", "W": "cyan3", "c": "cyan", "C": "cyan2"})
    p.put(5, 5, "white")
    return glow(p, "cyan")


def item_coin():
    p = Pix(16, 16)
    p.ellipse(8, 8, 5.6, 5.6, "yellow2")
    p.ellipse(7.6, 7.6, 4.2, 4.2, "yellow")
    p.rect(7, 5, 8, 10, "yellow2")
    p.put(7, 5, "yellow3")
    p.put(5, 5, "yellow3")
    p.put(4, 6, "yellow3")
    p.put(4, 7, "yellow3")
    p.outline()
    return glow(p, "yellow")


def item_cherry():
    p = Pix(16, 16)
    p.ellipse(5.5, 11, 3.2, 3.2, "red")
    p.ellipse(11, 11.5, 3.2, 3.2, "red")
    p.put(4, 10, "pink")
    p.put(10, 10, "pink")
    p.put(6, 12, "red2")
    p.put(12, 13, "red2")
    p.line(5, 8, 9, 3, "green2")
    p.line(11, 8, 9, 3, "green2")
    p.rect(10, 2, 12, 3, "green")
    p.put(13, 2, "green")
    p.outline()
    return glow(p, "red")


def item_star():
    p = Pix(16, 16)
    pts = []
    for i in range(10):
        r = 6.6 if i % 2 == 0 else 2.9
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((8 + r * math.cos(a), 8.6 + r * math.sin(a)))
    for y in range(16):
        for x in range(16):
            if point_in_poly(x + 0.5, y + 0.5, pts):
                p.put(x, y, "yellow")
    for x, y in ((7, 5), (7, 6), (6, 7), (8, 4)):
        if p.filled(x, y):
            p.put(x, y, "yellow3")
    for x, y in ((9, 10), (10, 11), (11, 12), (5, 11)):
        if p.filled(x, y):
            p.put(x, y, "yellow2")
    p.outline()
    return glow(p, "yellow")


def point_in_poly(x, y, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def items():
    return {"gem": item_gem(), "coin": item_coin(), "cherry": item_cherry(), "star": item_star()}


# ---------------------------------------------------------------------------
# Teleporters: 28 x 40, the player (18 x 30) stands inside the beam.
TELE_W, TELE_H = 28, 40


def teleporter_pad(active):
    p = Pix(TELE_W, TELE_H)
    beam, beam_hi, lamp = ("cyan", "cyan3", "cyan") if active else ("red", "pink", "red2")
    rng = random.Random(41 if active else 42)
    for y in range(6, 34):
        for x in range(4, 24):
            t = (y - 6) / 27.0
            a = (150 - 90 * t) if active else 46
            if (x - 4) % 5 == 2:
                a += 40 if active else 10
            if x in (4, 23):
                a += 30
            p.put(x, y, col(beam, int(a)))
    if active:
        for _ in range(14):
            x, y = rng.randrange(5, 23), rng.randrange(8, 32)
            p.put(x, y, col(beam_hi, 230))
    # posts
    for x0 in (0, 24):
        p.rect(x0 + 1, 5, x0 + 2, 34, "grey2")
        p.vline(x0 + 1, 5, 34, "grey1")
        p.vline(x0, 5, 34, "ink")
        p.vline(x0 + 3, 5, 34, "ink")
    # emitter
    p.rect(1, 0, 26, 6, "grey3")
    p.hline(1, 26, 0, "ink")
    p.hline(1, 26, 1, "grey1")
    p.hline(1, 26, 6, "ink")
    p.vline(0, 1, 5, "ink")
    p.vline(27, 1, 5, "ink")
    p.rect(10, 2, 17, 4, lamp)
    p.hline(11, 16, 3, beam_hi if active else "red")
    p.rect(3, 3, 4, 4, "grey4")
    p.rect(23, 3, 24, 4, "grey4")
    # base
    p.rect(0, 34, 27, 39, "grey3")
    p.hline(0, 27, 34, "grey1")
    p.hline(1, 26, 35, "grey2")
    p.hline(0, 27, 39, "ink")
    p.vline(0, 34, 39, "ink")
    p.vline(27, 34, 39, "ink")
    for x in (4, 12, 20):
        p.rect(x, 36, x + 3, 37, lamp)
        p.put(x, 36, beam_hi if active else "red")
    return p


def teleporter_gate(active):
    p = Pix(TELE_W, TELE_H)
    # portal behind the arch
    for y in range(4, 37):
        for x in range(4, 24):
            dx, dy = (x + 0.5 - 14) / 10.0, (y + 0.5 - 20) / 17.0
            r = math.sqrt(dx * dx + dy * dy)
            if active:
                ring = int(r * 9 + (y % 3) * 0.2) % 3
                c = ("purple", "pink", "purple2")[ring]
                a = 200 - int(110 * min(r, 1.0))
            else:
                c, a = "ink2", 150
            p.put(x, y, col(c, a))
    stone, stone_hi, stone_lo = ("grey2", "grey1", "grey3") if active else ("grey3", "grey2", "grey4")
    for y in range(TELE_H):
        for x in range(TELE_W):
            ox, oy = (x + 0.5 - 14) / 14.0, (y + 0.5 - 14) / 14.0
            iy = (y + 0.5 - 14) / 10.0
            ix = (x + 0.5 - 14) / 10.0
            outer = y >= 14 or ox * ox + oy * oy <= 1.0
            inner = (y >= 14 and 4 <= x <= 23) or (y < 14 and ix * ix + iy * iy <= 1.0)
            if outer and not inner and y <= 36:
                c = stone
                if (x * 7 + (y // 5) * 3) % 9 == 0 or y % 5 == 0:
                    c = stone_lo
                if (x + y) % 11 == 0:
                    c = stone_hi
                p.put(x, y, c)
    p.rect(0, 37, 27, 39, stone_lo)
    p.hline(0, 27, 37, stone_hi)
    gem = "pink" if active else "red2"
    p.rect(13, 1, 14, 2, gem)
    p.outline()
    return p


def teleporters():
    return {"pad": (teleporter_pad(True), teleporter_pad(False)),
            "gate": (teleporter_gate(True), teleporter_gate(False))}


# ---------------------------------------------------------------------------
# Heads-up display: light panels (black numbers) with exact-magenta corners.
def panel(w, h, icon):
    p = Pix(w, h)
    p.rect(0, 0, w - 1, h - 1, "cream")
    p.hline(2, w - 3, 0, "ink")
    p.hline(2, w - 3, h - 1, "ink")
    p.vline(0, 2, h - 3, "ink")
    p.vline(w - 1, 2, h - 3, "ink")
    for x, y in ((1, 1), (w - 2, 1), (1, h - 2), (w - 2, h - 2)):
        p.put(x, y, "ink")
    p.hline(2, w - 3, 1, "white")
    p.vline(1, 2, h - 3, "white")
    p.hline(2, w - 3, h - 2, "cream2")
    p.vline(w - 2, 2, h - 3, "cream2")
    for x in (0, 1):
        p.p[0][x] = None
        p.p[0][w - 1 - x] = None
        p.p[h - 1][x] = None
        p.p[h - 1][w - 1 - x] = None
    p.p[1][0] = p.p[1][w - 1] = p.p[h - 2][0] = p.p[h - 2][w - 1] = None
    icon(p, 5, (h - 12) // 2)
    return p


def icon_hourglass(p, x, y):
    p.ascii(x, y, [
        "KKKKKKK.",
        ".KyyyK..",
        ".KyyyK..",
        "..KyK...",
        "...K....",
        "..KyK...",
        ".K.y.K..",
        ".KyyyK..",
        "KKKKKKK.",
    ], {"K": "ink", "y": "yellow2"})


def icon_star(p, x, y):
    p.ascii(x, y, [
        "....K....",
        "...KyK...",
        "KKKKyKKKK",
        ".KyyyyyK.",
        "..KyyyK..",
        ".KyyKyyK.",
        ".KyK.KyK.",
        ".KK...KK.",
    ], {"K": "ink", "y": "yellow2"})


def life_pip():
    p = Pix(12, 12)
    p.ascii(0, 0, [
        "............",
        "..KK....KK..",
        ".KrrK..KrrK.",
        "KrWrrKKrrrrK",
        "KrWrrrrrrrrK",
        "KrrrrrrrrrRK",
        ".KrrrrrrrRK.",
        "..KrrrrrRK..",
        "...KrrrRK...",
        "....KrRK....",
        ".....KK.....",
        "............",
    ], {"K": "ink", "r": "red", "R": "red2", "W": "white"})
    return p


# ---------------------------------------------------------------------------
# The background: a dim night sky over hills, kept dark and quiet so that
# floors, figures and items stand out.
def background():
    w, h = 640, 480
    img = Image.new("RGBA", (w, h))
    px = img.load()
    sky = ["night0", "night1", "night2", "night3", "night4"]
    for y in range(h):
        f = min(y / 400.0, 1.0) * (len(sky) - 1)
        lo = int(f)
        hi = min(lo + 1, len(sky) - 1)
        frac = f - lo
        for x in range(w):
            name = sky[hi] if bayer(x, y) < frac else sky[lo]
            px[x, y] = col(name)
    rng = random.Random(7)
    for _ in range(170):
        x, y = rng.randrange(w), rng.randrange(300)
        px[x, y] = col(rng.choice(["grey3", "grey3", "grey2", "slate"]))
    for _ in range(14):
        x, y = rng.randrange(2, w - 2), rng.randrange(2, 260)
        px[x, y] = col("grey1")
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            px[x + dx, y + dy] = col("grey3")
    # moon
    for y in range(40, 110):
        for x in range(440, 520):
            d = math.hypot(x + 0.5 - 480, y + 0.5 - 76)
            if d <= 24:
                shade = math.hypot(x + 0.5 - 492, y + 0.5 - 70)
                name = "grey4" if shade <= 22 else "slate2"
                if d > 22.5:
                    name = "slate2"
                if math.hypot(x - 471, y - 84) < 4 or math.hypot(x - 486, y - 65) < 3:
                    name = "slate2"
                px[x, y] = col(name)
    # three ridges of hills, the nearest darkest
    ridges = [(318, "hill2", (0.011, 0.027, 22, 9), 1.3),
              (372, "hill1", (0.017, 0.041, 18, 7), 4.1),
              (420, "hill0", (0.023, 0.009, 14, 12), 2.2)]
    for base, name, (f1, f2, a1, a2), phase in ridges:
        for x in range(w):
            top = int(base - a1 * math.sin(x * f1 + phase) - a2 * math.sin(x * f2 + phase * 2))
            for y in range(max(top, 0), h):
                px[x, y] = col(name)
    for i in range(9):
        x = 30 + i * 71 + rng.randrange(20)
        y = 432 + rng.randrange(30)
        for dx in range(2):
            px[x + dx, y] = col("yellow2")
            px[x + dx, y + 1] = col("olive2")
    return img


# ---------------------------------------------------------------------------
# The player: 18 x 30, facing right; the left-facing frames are mirrors.
PLAYER_W, PLAYER_H = 18, 30

HEAD = [
    "......RRRRR.......",
    ".....RRRRRRR......",
    "....RRRRRWWRR.....",
    "....RRRRRRRRRR....",
    "....HHrrrrrrrrrr..",
    "....HHSSSSSES.....",
    "....HSSSSSSESS....",
    "....HSSSSSSSSSS...",
    ".....SSSSSsss.....",
    "......sSSSs.......",
]
HEAD_BACK = [
    "......RRRRR.......",
    ".....RRRRRRR......",
    "....RRRRRRRRR.....",
    "....RRRRRRRRR.....",
    "....rrrrrrrrr.....",
    "....HHHHHHHHH.....",
    "....HHHHHHHHH.....",
    "....SHHHHHHHS.....",
    ".....HHHHHHH......",
    "......sSSSs.......",
]
HEAD_KEY = {"R": "red", "r": "red2", "W": "white", "H": "brown", "S": "skin",
            "s": "skin2", "E": "ink"}


def player_torso(p, y0=10):
    p.rect(5, y0 + 1, 11, y0 + 1, "green")
    p.rect(4, y0 + 2, 12, y0 + 8, "green")
    p.vline(4, y0 + 3, y0 + 8, "green2")
    p.hline(5, 12, y0 + 8, "green2")
    p.put(10, y0 + 2, "green3")
    p.put(11, y0 + 3, "green3")
    p.hline(4, 12, y0 + 9, "brown2")
    p.put(9, y0 + 9, "yellow")
    p.hline(4, 12, y0 + 10, "blue")


def player_leg(p, hip, knee, ankle, near):
    cloth = "blue" if near else "blue2"
    p.line(hip[0], hip[1], knee[0], knee[1], cloth, 3)
    p.line(knee[0], knee[1], ankle[0], ankle[1], cloth, 3)
    bx, by = ankle[0], ankle[1] + 1
    p.rect(bx, by, bx + 3, by + 1, "brown" if near else "brown2")
    p.hline(bx, bx + 3, by + 1, "brown2" if near else "ink2")


def player_arm(p, shoulder, hand, near):
    p.line(shoulder[0], shoulder[1], hand[0], hand[1], "green2" if near else "green2", 2)
    p.rect(hand[0], hand[1], hand[0] + 1, hand[1] + 1, "skin" if near else "skin2")


def player_frame(pose):
    p = Pix(PLAYER_W, PLAYER_H)
    bob = pose.get("bob", 0)
    far_leg, near_leg = pose["legs"]
    far_arm, near_arm = pose["arms"]
    player_arm(p, (8, 13 + bob), far_arm, False)
    player_leg(p, *far_leg, near=False)
    player_leg(p, *near_leg, near=True)
    player_torso(p, 10 + bob)
    p.ascii(0, 1 + bob, HEAD, HEAD_KEY)
    player_arm(p, (7, 13 + bob), near_arm, True)
    p.outline()
    p.soften()
    return p


# Right-facing poses: each leg is (hip, knee, ankle); ankles at row 27 stand on
# the floor (the boot fills rows 28 and 29); arms are hand positions.
WALK_POSES = [
    {"legs": [((5, 21), (4, 24), (3, 27)), ((8, 21), (10, 24), (11, 27))],
     "arms": [(12, 17), (4, 17)]},
    {"bob": -1, "legs": [((6, 20), (8, 23), (6, 25)), ((7, 20), (7, 23), (7, 27))],
     "arms": [(9, 18), (8, 18)]},
    {"legs": [((8, 21), (10, 24), (11, 27)), ((5, 21), (4, 24), (3, 27))],
     "arms": [(4, 17), (12, 17)]},
    {"bob": -1, "legs": [((7, 20), (7, 23), (7, 27)), ((6, 20), (8, 23), (6, 25))],
     "arms": [(8, 18), (9, 18)]},
]
JUMP_POSE = {"bob": -1,
             "legs": [((5, 20), (4, 24), (3, 27)), ((8, 20), (12, 21), (11, 25))],
             "arms": [(3, 14), (13, 8)]}


def player_climb(phase):
    p = Pix(PLAYER_W, PLAYER_H)
    left_up = phase == 0
    # arms reach for the rungs above, alternating
    for side, up in ((0, not left_up), (1, left_up)):
        hx = 5 if side == 0 else 9
        if up:
            player_leg(p, (hx, 21), (hx + (-1 if side == 0 else 1), 23), (hx, 25), True)
        else:
            player_leg(p, (hx, 21), (hx, 24), (hx, 27), True)
    player_torso(p, 10)
    p.hline(4, 12, 19, "brown2")
    p.ascii(0, 1, HEAD_BACK, HEAD_KEY)
    for side, up in ((0, left_up), (1, not left_up)):
        sx = 4 if side == 0 else 11
        hx = (2 if side == 0 else 13)
        hy = 3 if up else 13
        p.line(sx, 12, hx, hy, "green2", 2)
        p.rect(hx, hy, hx + 1, hy + 1, "skin")
    p.outline()
    p.soften()
    return p


def player_animations():
    """animation name -> (frames, durations)."""
    walk = [player_frame(pose) for pose in WALK_POSES]
    jump = player_frame(JUMP_POSE)
    climb = [player_climb(0), player_climb(1)]
    return {
        "walk_right": (walk, [6, 6, 6, 6]),
        "walk_left": ([f.mirrored() for f in walk], [6, 6, 6, 6]),
        "jump_right": ([jump], [10]),
        "jump_left": ([jump.mirrored()], [10]),
        "climb": (climb, [8, 8]),
    }


# ---------------------------------------------------------------------------
# Enemies: every kind has a dangerous look and a vulnerable (pale, frightened)
# one, facing right; the left-facing frames are mirrors.
def enemy_blob(frame, scared):
    p = Pix(20, 16)
    body, shade, sheen = ("pale", "pale2", "white") if scared else ("purple", "purple2", "pink")
    if frame == 0:
        p.ellipse(10, 10, 8.2, 7.6, body)
        p.rect(2, 10, 17, 15, body)
    else:
        p.ellipse(10, 11, 9.2, 6.4, body)
        p.rect(1, 11, 18, 15, body)
    for x in range(1, 19):
        if x % 4 == 0:
            p.put(x, 15, None)
    for y in range(p.h):
        for x in range(p.w):
            if p.get(x, y) == body and (not p.filled(x, y + 1) or y == 15) and y > 8:
                p.put(x, y, shade)
    top = 4 if frame == 0 else 6
    p.put(6, top + 1, sheen)
    p.put(5, top + 2, sheen)
    ey = top + 3
    if scared:
        for ex in (9, 13):
            p.rect(ex, ey, ex + 2, ey + 2, "white")
            p.put(ex + 1, ey + 1, "ink")
        for i, x in enumerate(range(8, 17)):
            p.put(x, ey + 5 + (i % 2), "ink")
    else:
        for ex in (10, 14):
            p.rect(ex, ey, ex + 2, ey + 2, "white")
            p.rect(ex + 1, ey + 1, ex + 2, ey + 2, "ink")
        p.line(9, ey - 2, 12, ey - 1, "ink")
        p.line(17, ey - 2, 14, ey - 1, "ink")
        p.hline(11, 16, ey + 5, "ink")
        p.put(12, ey + 6, "white")
        p.put(15, ey + 6, "white")
    p.outline()
    p.soften()
    return p


def enemy_robot(frame, scared):
    p = Pix(18, 24)
    metal, metal_lo, metal_hi = ("pale", "pale2", "white") if scared else ("grey2", "grey3", "grey1")
    # legs first, alternating
    for i, lx in enumerate((5, 10)):
        lift = 1 if (i + frame) % 2 == 0 else 0
        p.rect(lx, 18, lx + 2, 21 - lift, metal_lo)
        p.rect(lx - (0 if i == 0 else 0), 22 - lift, lx + 3, 23 - lift, "grey4")
    p.vline(8, 0, 2, "grey4")
    p.rect(8, 0, 9, 1, "yellow" if scared else "red")
    p.rect(3, 3, 14, 9, metal)
    p.hline(3, 14, 3, metal_hi)
    p.hline(3, 14, 9, metal_lo)
    p.rect(4, 11, 13, 17, metal)
    p.vline(13, 11, 17, metal_lo)
    p.hline(4, 13, 11, metal_hi)
    p.rect(6, 13, 9, 15, "ink2")
    p.put(7, 14, "cyan" if scared else "green")
    p.put(8, 14, "yellow")
    p.rect(14, 12, 15, 15, metal_lo)
    p.rect(2, 12, 3, 15, metal_lo)
    p.rect(8, 5, 14, 7, "ink2")
    if scared:
        p.rect(9, 5, 10, 7, "white")
        p.rect(12, 5, 13, 7, "white")
        p.put(9, 6, "ink")
        p.put(12, 6, "ink")
        p.put(5, 5, "cyan")
        p.put(5, 6, "cyan")
    else:
        p.rect(11, 5, 14, 6, "red")
        p.put(14, 5, "yellow")
    p.outline()
    p.soften()
    return p


def enemy_beetle(frame, scared):
    p = Pix(24, 14)
    shell, shell_lo, shell_hi, spot = (("pale", "pale2", "white", "pale2") if scared
                                       else ("orange", "orange2", "yellow", "red2"))
    for i, lx in enumerate((6, 11, 16)):
        off = 1 if (i + frame) % 2 == 0 else -1
        p.line(lx, 9, lx + off, 12, "grey4")
    p.ellipse(10.5, 6.6, 9.0, 4.9, shell)
    p.ellipse(19, 7, 4, 3.3, "ink2")
    for y in range(p.h):
        for x in range(p.w):
            if p.get(x, y) == shell and not p.filled(x, y + 1):
                p.put(x, y, shell_lo)
    p.line(4, 3, 8, 3, shell_hi)
    p.put(3, 4, shell_hi)
    for sx, sy in ((6, 5), (12, 4), (8, 8), (14, 7)):
        p.rect(sx, sy, sx + 1, sy, spot)
    p.vline(10, 2, 11, shell_lo)
    if scared:
        p.rect(19, 5, 21, 7, "white")
        p.put(20, 6, "ink")
        p.put(22, 9, "cyan")
    else:
        p.rect(20, 5, 21, 6, "white")
        p.put(21, 6, "red")
        p.line(21, 3, 23, 1, "grey4")
    p.outline()
    p.soften()
    return p


ENEMY_KINDS = {"blob": enemy_blob, "robot": enemy_robot, "beetle": enemy_beetle}
ENEMY_DURATIONS = [14, 14]   # an enemy advances its animation twice per tick while walking


def enemy_animations(kind):
    draw = ENEMY_KINDS[kind]
    anims = {}
    for scared, tag in ((False, ""), (True, "_scared")):
        right = [draw(f, scared) for f in range(2)]
        anims[kind + tag + "_left"] = ([f.mirrored() for f in right], ENEMY_DURATIONS)
        anims[kind + tag + "_right"] = (right, ENEMY_DURATIONS)
    nme = [kind + "_left", kind + "_right", kind + "_scared_left", kind + "_scared_right"]
    return anims, nme


# ---------------------------------------------------------------------------
# Sounds: 22050 Hz, 16-bit, mono.
RATE = 22050


def envelope(t, length, attack=0.004, release=0.02):
    a = min(1.0, t / attack) if attack > 0 else 1.0
    r = min(1.0, (length - t) / release) if release > 0 else 1.0
    return max(0.0, min(a, r))


def soft_square(phase, harmonics=5):
    return sum(math.sin(phase * k) / k for k in range(1, harmonics * 2, 2)) * (4 / math.pi) * 0.8


class Noise:
    """Low-passed white noise from a fixed seed."""

    def __init__(self, seed, smooth):
        self.rng = random.Random(seed)
        self.smooth = smooth
        self.v = 0.0

    def next(self):
        self.v += (self.rng.uniform(-1.0, 1.0) - self.v) * self.smooth
        return self.v


def render(length, voice):
    n = int(length * RATE)
    return [voice(i / RATE) for i in range(n)]


def snd_walk():
    noise = Noise(11, 0.35)
    length = 0.11

    def v(t):
        thump = math.sin(2 * math.pi * (150 - 500 * t) * t) * math.exp(-t * 45)
        scuff = noise.next() * math.exp(-t * 70) * 1.4
        return (0.45 * thump + 0.35 * scuff) * envelope(t, length, 0.002, 0.02)
    return render(length, v)


def snd_jump():
    length = 0.22
    phase = [0.0]

    def v(t):
        f = 260 * (2.9 ** (t / length))
        phase[0] += 2 * math.pi * f / RATE
        return 0.32 * soft_square(phase[0], 4) * envelope(t, length, 0.004, 0.06)
    return render(length, v)


def snd_item():
    notes = [(0.0, 0.09, 988.0), (0.07, 0.34, 1318.5)]
    length = 0.34

    def v(t):
        s = 0.0
        for start, end, f in notes:
            if start <= t < end:
                u = t - start
                s += (math.sin(2 * math.pi * f * u) + 0.3 * math.sin(4 * math.pi * f * u)) \
                    * math.exp(-u * 9) * envelope(u, end - start, 0.003, 0.02)
        return 0.42 * s
    return render(length, v)


def snd_enemy_death():
    noise = Noise(23, 0.6)
    length = 0.42
    phase = [0.0]

    def v(t):
        f = 900 * (0.14 ** (t / length)) * (1 + 0.06 * math.sin(2 * math.pi * 30 * t))
        phase[0] += 2 * math.pi * f / RATE
        crunch = noise.next() * math.exp(-t * 25)
        return (0.3 * soft_square(phase[0], 3) + 0.25 * crunch) * envelope(t, length, 0.003, 0.08)
    return render(length, v)


def snd_death_enemy():
    # three falling "wah" notes and a low buzz
    notes = [(0.0, 0.2, 392.0), (0.2, 0.4, 330.0), (0.4, 0.95, 262.0)]
    length = 0.95
    phase = [0.0]

    def v(t):
        for start, end, f in notes:
            if start <= t < end:
                u = t - start
                bend = 1.0 - (0.25 * (u / (end - start)) if end == 0.95 else 0.0)
                vib = 1 + 0.02 * math.sin(2 * math.pi * 7 * u)
                phase[0] += 2 * math.pi * f * bend * vib / RATE
                wah = 0.6 + 0.4 * math.sin(math.pi * min(u / 0.18, 1.0))
                return 0.34 * soft_square(phase[0], 4) * wah * envelope(u, end - start, 0.005, 0.03)
        return 0.0
    return render(length, v)


def snd_death_fall():
    noise = Noise(37, 0.25)
    length = 1.05
    phase = [0.0]

    def v(t):
        s = 0.0
        if t < 0.72:
            f = 1500 * (0.13 ** (t / 0.72))
            phase[0] += 2 * math.pi * f / RATE
            s += 0.3 * math.sin(phase[0]) * envelope(t, 0.72, 0.01, 0.02)
        if t >= 0.72:
            u = t - 0.72
            s += 0.6 * math.sin(2 * math.pi * (70 - 40 * u) * u) * math.exp(-u * 9)
            s += 0.45 * noise.next() * math.exp(-u * 14)
        return s * envelope(t, length, 0.002, 0.05)
    return render(length, v)


SOUNDS = {
    "walk.wav": snd_walk,
    "jump.wav": snd_jump,
    "player_death_fall.wav": snd_death_fall,
    "player_death_enemy.wav": snd_death_enemy,
    "item.wav": snd_item,
    "enemy_death.wav": snd_enemy_death,
}


def write_wav(path, samples):
    frames = bytearray()
    for s in samples:
        v = int(round(max(-1.0, min(1.0, s)) * 32767))
        frames += struct.pack("<h", v)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


# ---------------------------------------------------------------------------
# Text files.
PWE_CFG = """\
# Settings of the game. Every key holds its default value; a key that is
# removed, or a missing file, gives the same value.

[display]
# windowed opens a window; any other word uses the full screen
mode = windowed
# screen width in pixels (the levels are laid out for 640 x 480)
width = 640
# screen height in pixels
height = 480

[mechanics]
# game ticks per second; every speed and time in the data files counts in ticks
updates_per_second = 100
# ticks after a teleport before the next teleport is possible
teleport_cooldown = 200
# pixels left of a chute's top step within which the player's left foot enters it
chute_horiz_tol = 14
# pixels by which each ladder is narrowed on both sides for climbing
ladder_horiz_tol = 6
# rows above a ladder's top (plus one) that still count as at the ladder
ladder_vert_tol = 2

[keyboard]
# keys are Allegro scan codes: 82 left arrow, 83 right, 84 up, 85 down, 75 space
# walk left (with jump: jump to the left)
left = 82
# walk right (with jump: jump to the right)
right = 83
# climb up a ladder
up = 84
# climb down a ladder
down = 85
# jump
jump = 75
"""

# Motion at 100 ticks a second. The jump descends 2 pixels a tick, so its
# two-row landing window can never be stepped over; 44 pixels of height
# reach a ledge 32 pixels up; a drop of one floor (80 pixels), even at the
# end of a jump (44 + 80), is survived, two floors are not.
PLAYER = {
    "walk_speed": 1.5, "fall_speed": 3.0, "climb_speed": 1.5, "jump_speed": 2.0,
    "jump_stride": 1.0, "slide_factor": 0.5, "jump_height": 44.0, "max_drop": 128.0,
}


def player_inf():
    names = "walk_left walk_right climb jump_left jump_right"
    p = PLAYER
    return (f"{names}\n{PLAYER_W} {PLAYER_H}\n"
            f"{p['walk_speed']} {p['fall_speed']} {p['climb_speed']} {p['jump_speed']}\n"
            f"{p['jump_stride']} {p['slide_factor']} {p['jump_height']} {p['max_drop']}\n")


# ---------------------------------------------------------------------------
# Levels. Floors lie on a grid of rows 80 pixels apart; the figures stand with
# their feet one row above a tile's top row.
SCREEN_W, SCREEN_H = 640, 480
ROWS = [464, 384, 304, 224, 144, 64]   # tile top rows, ground first
COUNTDOWN_PANEL = (96, 28)
SCORE_PANEL = (208, 28)
LADDER_W = 24
ITEM_SIZE = 16


class Level:
    def __init__(self, countdown, start_x, start_row, score_align=2):
        self.countdown = countdown
        self.hud = (8, 4, 2, SCREEN_W - 8 - SCORE_PANEL[0], 4, score_align, 6, 4)
        self.start = (start_x, start_row - 1, 1)
        self.tiles, self.ladders, self.chutes = [], [], []
        self.enemies, self.items, self.teleporters = [], [], []
        self.fallers = []

    def floor(self, row, x0, x1, look, claimable=1, points=10):
        for x in range(x0, x1, TILE_W):
            self.tiles.append((x, row, look, look, claimable, points if claimable else 0))

    def ladder(self, x, top_row, bottom_row, look="wood"):
        self.ladders.append((x, top_row, bottom_row - top_row, look))

    def chute(self, x, row, height, direction, look, dx=8):
        self.chutes.append((x, row, height, dx, direction, look))

    def enemy(self, kind, row, x, min_x, max_x, speed, direction=1, safe_time=600, points=100,
              changes=1, state=0, falls=False):
        """falls: the patrol crosses a gap on purpose, so the enemy drops to a
        lower floor (the validator plays it through)."""
        self.fallers.append(falls)
        self.enemies.append((x, row - 1, direction, min_x, max_x, speed, changes, state, kind,
                             safe_time, points))

    def item(self, kind, x, row, points=50):
        self.items.append((x, row - ITEM_SIZE - 4, kind, points))

    def teleporter(self, look, x, row, number):
        self.teleporters.append((x, row - TELE_H, look, look, number))

    def text(self):
        h = self.hud
        out = [str(self.countdown), f"{h[0]} {h[1]} {h[2]}", f"{h[3]} {h[4]} {h[5]}",
               f"{h[6]} {h[7]}", "{} {} {}".format(*self.start)]
        for records in (self.tiles, self.ladders, self.chutes, self.enemies, self.items,
                        self.teleporters):
            out.append("")
            out.append(str(len(records)))
            for r in records:
                out.append(" ".join(fmt(v) for v in r))
        return "\n".join(out) + "\n"


def fmt(v):
    if isinstance(v, float):
        return ("%.2f" % v).rstrip("0").rstrip(".") if v != int(v) else "%.1f" % v
    return str(v)


def level_one():
    """Brickworks: a zig-zag climb that teaches the basics. The cherry beside
    the start scares the ground blob, the gap on the third floor needs a
    jump, and the gem waits on the top floor."""
    lv = Level(4000, 40, ROWS[0])
    lv.floor(ROWS[0], 0, 640, "brick")
    lv.floor(ROWS[1], 64, 576, "brick")
    lv.floor(ROWS[2], 0, 256, "brick")
    lv.floor(ROWS[2], 304, 640, "brick")             # a 48 pixel gap to jump
    lv.floor(ROWS[3], 96, 544, "brick")
    lv.floor(ROWS[4], 160, 480, "brick")
    lv.ladder(544, ROWS[1], ROWS[0])
    lv.ladder(72, ROWS[2], ROWS[1])
    lv.ladder(520, ROWS[3], ROWS[2])
    lv.ladder(176, ROWS[4], ROWS[3])
    lv.enemy("blob", ROWS[0], 420, 300, 600, 0.5, direction=0)
    lv.enemy("blob", ROWS[3], 300, 200, 460, 0.4)
    lv.item("cherry", 120, ROWS[0], 50)
    lv.item("gem", 448, ROWS[4], 100)
    return lv


def level_two():
    """Girder Towers: two towers over an open middle. A robot that no item
    tames guards the ground, a chute drops from the left tower onto the
    middle span, and the top of the left tower is reached by teleporter."""
    lv = Level(4500, 40, ROWS[0], score_align=1)
    lv.floor(ROWS[0], 0, 640, "girder")
    # left tower
    lv.floor(ROWS[1], 0, 224, "girder")
    lv.floor(ROWS[2], 0, 208, "girder")
    lv.floor(ROWS[3], 0, 224, "girder")
    lv.floor(ROWS[4], 32, 224, "girder")
    # the middle span, between two steel caps
    lv.floor(ROWS[2], 240, 256, "steel", claimable=0)
    lv.floor(ROWS[2], 256, 384, "girder")
    lv.floor(ROWS[2], 384, 400, "steel", claimable=0)
    # right tower
    lv.floor(ROWS[1], 416, 640, "girder")
    lv.floor(ROWS[2], 448, 640, "girder")
    lv.floor(ROWS[3], 416, 640, "girder")
    lv.floor(ROWS[4], 416, 608, "girder")
    lv.ladder(176, ROWS[1], ROWS[0], "metal")
    lv.ladder(24, ROWS[2], ROWS[1], "metal")
    lv.ladder(160, ROWS[3], ROWS[2], "metal")
    lv.ladder(192, ROWS[4], ROWS[3], "metal")
    lv.ladder(440, ROWS[1], ROWS[0], "metal")
    lv.ladder(600, ROWS[2], ROWS[1], "metal")
    lv.ladder(464, ROWS[3], ROWS[2], "metal")
    lv.ladder(576, ROWS[4], ROWS[3], "metal")
    lv.chute(224, ROWS[3], 80, 1, "slide_right")
    lv.enemy("robot", ROWS[0], 330, 240, 420, 0.6, direction=0, changes=0, points=150)
    lv.enemy("beetle", ROWS[1], 520, 430, 630, 0.6, direction=0)
    lv.enemy("beetle", ROWS[3], 60, 16, 200, 0.6)
    lv.enemy("beetle", ROWS[3], 540, 430, 630, 0.5)
    lv.item("coin", 620, ROWS[1], 100)
    lv.item("cherry", 540, ROWS[2], 50)
    lv.item("gem", 312, ROWS[2], 100)
    lv.item("star", 200, ROWS[4], 150)
    lv.teleporter("gate", 424, ROWS[4], 1)
    lv.teleporter("gate", 40, ROWS[4], 2)
    return lv


def level_three():
    """Stone Cavern: a blob on the top floor walks into the gap and tumbles
    from floor to floor, chutes run both ways and three pads link the
    cavern's corners."""
    lv = Level(4500, 40, ROWS[0])
    lv.floor(ROWS[0], 0, 640, "stone")
    lv.floor(ROWS[1], 0, 192, "stone")
    lv.floor(ROWS[1], 256, 400, "steel", claimable=0)
    lv.floor(ROWS[1], 464, 640, "stone")
    lv.floor(ROWS[2], 48, 592, "stone")
    lv.floor(ROWS[3], 0, 160, "stone")
    lv.floor(ROWS[3], 224, 416, "stone")
    lv.floor(ROWS[3], 480, 640, "stone")
    lv.floor(ROWS[4], 96, 112, "steel", claimable=0)  # covers the left chute's top step
    lv.floor(ROWS[4], 112, 272, "stone")
    lv.floor(ROWS[4], 320, 480, "stone")              # the gap the blob falls through
    lv.ladder(160, ROWS[1], ROWS[0])
    lv.ladder(560, ROWS[1], ROWS[0])
    lv.ladder(64, ROWS[2], ROWS[1])
    lv.ladder(320, ROWS[2], ROWS[1])
    lv.ladder(520, ROWS[2], ROWS[1])
    lv.ladder(120, ROWS[3], ROWS[2])
    lv.ladder(368, ROWS[3], ROWS[2])
    lv.ladder(544, ROWS[3], ROWS[2])
    lv.ladder(248, ROWS[4], ROWS[3])
    lv.chute(96, ROWS[4], 80, 0, "slide_left")
    lv.chute(480, ROWS[4], 80, 1, "slide_right")
    lv.enemy("robot", ROWS[0], 480, 340, 620, 0.7, direction=0, points=150)
    lv.enemy("beetle", ROWS[2], 100, 60, 300, 0.6)
    lv.enemy("blob", ROWS[4], 150, 120, 440, 0.5, falls=True)
    lv.enemy("robot", ROWS[3], 560, 490, 630, 0.5, direction=0, changes=0, points=150)
    lv.item("cherry", 40, ROWS[1], 50)
    lv.item("coin", 300, ROWS[3], 150)
    lv.item("gem", 200, ROWS[4], 100)
    lv.teleporter("pad", 300, ROWS[0], 1)
    lv.teleporter("pad", 600, ROWS[3], 2)
    lv.teleporter("pad", 136, ROWS[4], 3)
    return lv


def level_four():
    """Overgrown Garden: every trick at once. A ledge to jump up to, chutes
    both ways, three gates, a beetle that drops off its bank, and robots
    that no item tames."""
    lv = Level(4000, 80, ROWS[0], score_align=1)
    lv.floor(ROWS[0], 0, 640, "grass")
    lv.floor(ROWS[1], 0, 160, "grass")
    lv.floor(ROWS[1], 224, 416, "grass")
    lv.floor(ROWS[1], 480, 640, "grass")
    lv.floor(ROWS[2], 64, 576, "grass")
    lv.floor(ROWS[3], 0, 224, "grass")
    lv.floor(ROWS[3] - 32, 256, 384, "grass")         # a ledge reached by jumping
    lv.floor(ROWS[3], 416, 528, "grass")
    lv.floor(ROWS[3], 576, 640, "grass")              # the beetle's bank
    lv.floor(ROWS[4], 96, 112, "steel", claimable=0)  # covers the chute's top step
    lv.floor(ROWS[4], 112, 544, "grass")
    lv.ladder(120, ROWS[1], ROWS[0])
    lv.ladder(304, ROWS[1], ROWS[0], "metal")
    lv.ladder(520, ROWS[1], ROWS[0])
    lv.ladder(80, ROWS[2], ROWS[1])
    lv.ladder(360, ROWS[2], ROWS[1], "metal")
    lv.ladder(544, ROWS[2], ROWS[1])
    lv.ladder(160, ROWS[3], ROWS[2])
    lv.ladder(456, ROWS[3], ROWS[2], "metal")
    lv.ladder(112, ROWS[4], ROWS[3])
    lv.ladder(504, ROWS[4], ROWS[3])
    lv.chute(96, ROWS[4], 80, 0, "slide_left")
    lv.chute(416, ROWS[1], 80, 1, "slide_right")
    lv.enemy("blob", ROWS[0], 400, 200, 620, 0.7, direction=0)
    lv.enemy("blob", ROWS[1], 300, 236, 404, 0.5)
    lv.enemy("robot", ROWS[2], 320, 160, 480, 0.5, changes=0, points=150)
    lv.enemy("beetle", ROWS[3], 600, 480, 630, 0.6, direction=0, falls=True)
    lv.enemy("robot", ROWS[4], 300, 150, 490, 0.5, direction=0, points=150)
    lv.item("star", 340, ROWS[3] - 32, 200)
    lv.item("gem", 140, ROWS[4], 100)
    lv.item("cherry", 24, ROWS[1], 50)
    lv.item("coin", 24, ROWS[3], 100)
    lv.teleporter("gate", 20, ROWS[0], 1)
    lv.teleporter("gate", 276, ROWS[3] - 32, 2)
    lv.teleporter("gate", 600, ROWS[1], 3)
    return lv


LEVELS = [level_one, level_two, level_three, level_four]


def stands(tiles, px, row):
    """A point whose tile-top row is row stands on some tile at column px."""
    return any(t[1] == row and t[0] <= px <= t[0] + TILE_W for t in tiles)


def containing(tiles, px, py):
    for t in tiles:
        if t[1] <= py <= t[1] + TILE_H and t[0] <= px <= t[0] + TILE_W:
            return t
    return None


def enemy_rows(lv, e, ticks=20000):
    """Plays one enemy's patrol the way the game does and returns the rows it
    stands on in turn, or None when it falls off the screen."""
    x, y, direction, lo, hi, speed = float(e[0]), float(e[1]), e[2], e[3], e[4], e[5]
    falling = False
    rows = [int(y)]
    for _ in range(ticks):
        if stands(lv.tiles, int(x), int(y) + 1):
            if direction == 1:
                if x + speed <= hi:
                    x += speed
                else:
                    direction = 0
            elif x - speed >= lo:
                x -= speed
            else:
                direction = 1
        else:
            falling = True
        if falling:
            t = containing(lv.tiles, int(x), int(y))
            if t:
                y, falling = float(t[1] - 1), False
                if rows[-1] != int(y):
                    rows.append(int(y))
            else:
                y += 1.0
                if y > SCREEN_H:
                    return None
    return rows


def check_level(n, lv):
    """Refuses a layout that the game would play wrongly."""
    def fail(msg):
        raise SystemExit(f"level{n}.inf: {msg}")

    seen = set()
    for t in lv.tiles:
        if not (0 <= t[0] and t[0] + TILE_W <= SCREEN_W and 0 <= t[1] and t[1] + TILE_H <= SCREEN_H):
            fail(f"tile {t[:2]} off screen")
        if t[:2] in seen:
            fail(f"two tiles at {t[:2]}")
        seen.add(t[:2])
    sx, sy, _ = lv.start
    if not stands(lv.tiles, sx, sy + 1):
        fail("player does not start on a floor")
    for x, y, align in ((lv.hud[0], lv.hud[1], COUNTDOWN_PANEL), (lv.hud[3], lv.hud[4], SCORE_PANEL)):
        if x < 0 or y < 0 or x + align[0] > SCREEN_W or y + align[1] > SCREEN_H:
            fail("HUD panel off screen")
    for x, y, height, _ in lv.ladders:
        for px in range(x + 6, x + LADDER_W - 6 + 1):
            if not stands(lv.tiles, px, y):
                fail(f"ladder at {x} has no floor at its head")
            if not stands(lv.tiles, px, y + height):
                fail(f"ladder at {x} has no floor at its foot")
    for x, y, height, dx, direction, _ in lv.chutes:
        left_foot = x - 14 + PLAYER_W // 2
        if not (stands(lv.tiles, left_foot, y) or stands(lv.tiles, x + 2 + PLAYER_W // 2, y)):
            fail(f"chute at {x} cannot be walked into")
        px, py = float(x + 8), float(y)
        step = (dx if direction else -dx) * PLAYER["slide_factor"]
        while True:
            px += step
            py += 8 * PLAYER["slide_factor"]
            if int(py) - y > height:
                px -= step
                py -= 8 * PLAYER["slide_factor"]
                break
        if not any(t[1] <= int(py) <= t[1] + TILE_H and t[0] <= int(px) <= t[0] + TILE_W
                   for t in lv.tiles):
            fail(f"chute at {x} does not end on a floor")
        if not (PLAYER_W // 2 <= px <= SCREEN_W - PLAYER_W // 2):
            fail(f"chute at {x} ends off screen")
    for e, falls in zip(lv.enemies, lv.fallers):
        x, y, _, lo, hi = e[:5]
        if not lo <= x <= hi:
            fail(f"enemy at {x} starts outside its patrol")
        if not (stands(lv.tiles, lo, y + 1) and stands(lv.tiles, hi, y + 1)):
            fail(f"enemy at {x} has a patrol end off its floor")
        whole = all(stands(lv.tiles, px, y + 1) for px in range(lo, hi + 1))
        if not falls and not whole:
            fail(f"enemy at {x} would walk off its floor")
        if falls:
            rows = enemy_rows(lv, e)
            if rows is None:
                fail(f"enemy at {x} falls off the screen")
            if len(rows) < 2:
                fail(f"enemy at {x} never falls")
            if not all(stands(lv.tiles, px, rows[-1] + 1) for px in range(lo, hi + 1)):
                fail(f"enemy at {x} never finds a floor to patrol")
    for x, y, _, _ in lv.items:
        if not stands(lv.tiles, x + ITEM_SIZE // 2, y + ITEM_SIZE + 4):
            fail(f"item at {x} floats over no floor")
    numbers = sorted(t[4] for t in lv.teleporters)
    if numbers != list(range(1, len(numbers) + 1)):
        fail("teleporters are not numbered 1, 2, ...")
    for x, y, _, _, number in lv.teleporters:
        if not stands(lv.tiles, x + TELE_W // 2, y + TELE_H):
            fail(f"teleporter {number} does not stand on a floor")
        if y < COUNTDOWN_PANEL[1] + 4:
            fail(f"teleporter {number} reaches into the HUD")


# ---------------------------------------------------------------------------
# PNG files are written here rather than by Pillow, so that they hold exactly
# IHDR, PLTE (paletted only), IDAT and IEND: no gamma, no time, no text.
def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_bytes(img):
    if img.mode == "P":
        colour_type, bpp = 3, 1
        raw = img.tobytes()
    else:
        img = img.convert("RGBA")
        colour_type, bpp = 6, 4
        raw = img.tobytes()
    w, h = img.size
    stride = w * bpp
    rows = bytearray()
    for y in range(h):
        rows.append(0)
        rows += raw[y * stride:(y + 1) * stride]
    out = b"\x89PNG\r\n\x1a\n"
    out += png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0))
    if colour_type == 3:
        out += png_chunk(b"PLTE", bytes(img.getpalette()[:768]))
    out += png_chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    out += png_chunk(b"IEND", b"")
    return out


def save_png(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png_bytes(img))


def save_text(text, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\n") as f:
        f.write(text)


def masked(p):
    """A picture drawn with masked blits: transparent pixels exactly (255, 0, 255, 0)."""
    return p.image(empty=MAGENTA)


# ---------------------------------------------------------------------------
def build_tree():
    """Every file of the tree: relative path -> PIL image, text or sample list."""
    files = {}
    for name, (normal, cleared) in floor_tiles().items():
        files[f"gfx/static/floor tiles/normal/{name}.png"] = masked(normal)
        files[f"gfx/static/floor tiles/clear/{name}.png"] = masked(cleared)
    for name, p in ladders().items():
        files[f"gfx/static/ladders/{name}.png"] = masked(p)
    for name, p in chutes().items():
        files[f"gfx/static/chutes/{name}.png"] = masked(p)
    for name, p in items().items():
        files[f"gfx/static/items/{name}.png"] = p.image()
    for name, (normal, cooldown) in teleporters().items():
        files[f"gfx/static/transportation/teleporters/normal/{name}.png"] = normal.image()
        files[f"gfx/static/transportation/teleporters/cooldown/{name}.png"] = cooldown.image()
    files["gfx/static/back.png"] = background()
    files["gfx/static/countdown_back.png"] = masked(panel(*COUNTDOWN_PANEL, icon_hourglass))
    files["gfx/static/score_back.png"] = masked(panel(*SCORE_PANEL, icon_star))
    files["gfx/static/life_pip.png"] = masked(life_pip())

    def add_animations(base, anims):
        for name, (frames, durations) in anims.items():
            files[f"{base}{name}.anm"] = f"{name}\n{len(frames)}\n" + " ".join(map(str, durations)) + "\n"
            for i, frame in enumerate(frames):
                files[f"{base}{name}/{i}.png"] = frame.image()

    add_animations("gfx/anim/player/", player_animations())
    for kind in ENEMY_KINDS:
        anims, nme = enemy_animations(kind)
        add_animations("gfx/anim/enemy/", anims)
        files[f"gfx/anim/enemy/{kind}.nme"] = "\n".join(nme) + "\n"

    files["fonts/countdown_fnt.png"] = make_font(12, 22, 1, 3, 2, False)
    files["fonts/score_fnt.png"] = make_font(8, 12, 1, 2, 1, True)
    for name, voice in SOUNDS.items():
        files[f"audio/{name}"] = voice()
    files["pwe.cfg"] = PWE_CFG
    files["player.inf"] = player_inf()
    for n, make in enumerate(LEVELS, 1):
        lv = make()
        check_level(n, lv)
        files[f"level{n}.inf"] = lv.text()
    return files


def write_tree(files, out):
    for sub in ("gfx", "fonts", "audio"):
        shutil.rmtree(os.path.join(out, sub), ignore_errors=True)
    for rel in sorted(files):
        path = os.path.join(out, rel)
        data = files[rel]
        if isinstance(data, Image.Image):
            save_png(data, path)
        elif isinstance(data, str):
            save_text(data, path)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            write_wav(path, data)


# ---------------------------------------------------------------------------
# The contact sheet: every picture at twice its size, grouped by directory.
SHEET_W = 1400
SHEET_BG = col("ink2")
LABEL = col("grey1")
HEADING = col("yellow")


def sheet(files):
    groups = {}
    for rel in sorted(files):
        if isinstance(files[rel], Image.Image):
            d, name = rel.rsplit("/", 1)
            if rel.startswith("gfx/anim/"):
                d, sub = d.rsplit("/", 1)
                name = f"{sub}/{name}"
            groups.setdefault(d + "/", []).append((name, files[rel]))
    order = sorted(groups, key=lambda g: (g == "gfx/static/" and 1 or 0, g))
    placed = []
    y = 12
    for g in order:
        placed.append(("heading", 12, y, g))
        y += 26
        x, row_h = 12, 0
        for name, img in groups[g]:
            big = img.convert("RGBA").resize((img.width * 2, img.height * 2), Image.NEAREST)
            cell_w = max(big.width, len(name) * 6) + 14
            if x + cell_w > SHEET_W - 12:
                x, y = 12, y + row_h + 8
                row_h = 0
            placed.append(("image", x, y, (name, big)))
            x += cell_w
            row_h = max(row_h, big.height + 14)
        y += row_h + 18
    canvas = Image.new("RGBA", (SHEET_W, y), SHEET_BG)
    for kind, x, py, what in placed:
        if kind == "heading":
            draw_text(canvas, x, py, what, HEADING, scale=2)
        else:
            name, big = what
            checker = Image.new("RGBA", big.size)
            cp = checker.load()
            for j in range(big.height):
                for i in range(big.width):
                    cp[i, j] = col("grey4") if ((i // 8) + (j // 8)) % 2 else col("grey3")
            canvas.alpha_composite(Image.alpha_composite(checker, big), (x, py))
            draw_text(canvas, x, py + big.height + 3, name, LABEL)
    return canvas


# ---------------------------------------------------------------------------
# A level mock: one frame composed the way the game composes it.
def mock_level(files, lv):
    def img(rel):
        return files[rel]

    frame = img("gfx/static/back.png").copy()
    for x, y, height, look in lv.ladders:
        g = img(f"gfx/static/ladders/{look}.png")
        strip = Image.new("RGBA", (g.width, height))
        for k in range(height // g.height + 1):
            strip.paste(g, (0, k * g.height))
        frame.alpha_composite(strip, (x, y))
    for x, y, height, dx, direction, look in lv.chutes:
        g = img(f"gfx/static/chutes/{look}.png")
        n = height // g.height
        width = g.width + ((height - g.height) // g.height) * dx
        strip = Image.new("RGBA", (width, height), MAGENTA)
        for k in range(n + 1):
            cx = k * dx if direction else width - g.width - k * dx
            strip.paste(g, (cx, k * g.height))
        frame.alpha_composite(strip, (x if direction else x + g.width - width, y))
    for x, y, kind, _ in lv.items:
        frame.alpha_composite(img(f"gfx/static/items/{kind}.png"), (x, y))
    for x, y, look, _, _ in lv.teleporters:
        frame.alpha_composite(img(f"gfx/static/transportation/teleporters/normal/{look}.png"), (x, y))
    for x, y, look, _, _, _ in lv.tiles:
        frame.alpha_composite(img(f"gfx/static/floor tiles/normal/{look}.png"), (x, y))
    for e in lv.enemies:
        x, y, direction, kind, state = e[0], e[1], e[2], e[8], e[7]
        nme = files[f"gfx/anim/enemy/{kind}.nme"].split()
        f = img(f"gfx/anim/enemy/{nme[2 * state + direction]}/0.png")
        frame.alpha_composite(f, (x - f.width // 2, y - f.height + 1))
    sx, sy, anim = lv.start
    names = ["walk_left", "walk_right", "jump_left", "jump_right", "climb"]
    f = img(f"gfx/anim/player/{names[anim]}/0.png")
    frame.alpha_composite(f, (sx - f.width // 2, sy - f.height + 1))
    h = lv.hud
    for (px, py), back, text, scale, bold, adv in (
            ((h[0], h[1]), "countdown_back", str(lv.countdown), 2, False, 12),
            ((h[3], h[4]), "score_back", "1230", 1, True, 8)):
        panel_img = img(f"gfx/static/{back}.png").copy()
        tw = len(text) * adv
        cell_h = 22 if scale == 2 else 12
        oy = 3 if scale == 2 else 2
        ty = (panel_img.height - cell_h) // 2 + oy
        if back == "score_back":
            pip = img("gfx/static/life_pip.png")
            s = pip.width + h[7]
            c = (panel_img.width - s * 2 - tw - h[6]) // 2
            draw_text(panel_img, c + 1, ty, text, (0, 0, 0, 255), scale, bold, adv)
            for k in (1, 2):
                panel_img.alpha_composite(pip, (panel_img.width - c - s * 3 + s * k,
                                                (panel_img.height - pip.height) // 2))
        else:
            draw_text(panel_img, (panel_img.width - tw) // 2 + 1, ty, text, (0, 0, 0, 255),
                      scale, bold, adv)
        frame.alpha_composite(panel_img, (px, py))
    return frame


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", default=os.path.join(root, "media"), help="media directory to write")
    ap.add_argument("--sheet", default=os.path.join(root, "docs", "media-sheet.png"),
                    help="contact sheet to write")
    ap.add_argument("--mock", help="directory for one mock screenshot per level (optional)")
    args = ap.parse_args()
    files = build_tree()
    write_tree(files, args.out)
    os.makedirs(os.path.dirname(os.path.abspath(args.sheet)), exist_ok=True)
    with open(args.sheet, "wb") as f:
        f.write(png_bytes(sheet(files)))
    if args.mock:
        os.makedirs(args.mock, exist_ok=True)
        for n, make in enumerate(LEVELS, 1):
            save_png(mock_level(files, make()), os.path.join(args.mock, f"level{n}.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
