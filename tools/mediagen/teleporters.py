"""Teleporters: 28 x 40, the player (18 x 30) stands inside the beam. Each
look also comes numbered, pad1 to pad9 and gate1 to gate9, so a player can
see which digit reaches which teleporter."""
import math
import random

from .canvas import Pix
from .glyphs import glyph_bits
from .palette import col


TELE_W, TELE_H = 28, 40
NUMBERS = range(1, 10)
# The digit's left column and top row: above the head of a player standing inside.
DIGIT_X = 11
PAD_DIGIT_Y, GATE_DIGIT_Y = 0, 4


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


def alpha_of(c):
    if c is None:
        return 0
    return 255 if isinstance(c, str) else c[3]


def recolour(p, x, y, name):
    """Paints a pixel the look already has, keeping its alpha: a numbered look
    covers exactly the pixels of its plain one, as opaque as they were."""
    a = alpha_of(p.get(x, y))
    if a:
        p.put(x, y, name if a == 255 else col(name, a))


def digit_pixels(n, y0):
    return {(DIGIT_X + x, y0 + y) for x, y in glyph_bits(str(n))}


def numbered_pad(p, n, active):
    # A dark display in the emitter, where the lamp was, lit in the beam's colour.
    for y in range(0, 7):
        for x in range(10, 18):
            recolour(p, x, y, "ink")
    for x, y in digit_pixels(n, PAD_DIGIT_Y):
        recolour(p, x, y, "cyan3" if active else "red")
    return p


def numbered_gate(p, n, active):
    # A dark plate in the top of the portal, whose own alpha the digit keeps;
    # the cooldown's red matches its dark gem.
    digit = digit_pixels(n, GATE_DIGIT_Y)
    for y in range(GATE_DIGIT_Y - 1, GATE_DIGIT_Y + 8):
        for x in range(DIGIT_X - 1, DIGIT_X + 6):
            if alpha_of(p.get(x, y)) < 255:
                recolour(p, x, y, "ink")
    for x, y in digit:
        recolour(p, x, y, "white" if active else "red")
    return p


def teleporters():
    looks = {"pad": (teleporter_pad, numbered_pad), "gate": (teleporter_gate, numbered_gate)}
    files = {}
    for name, (draw, number) in looks.items():
        files[name] = (draw(True), draw(False))
        for n in NUMBERS:
            files[f"{name}{n}"] = (number(draw(True), n, True), number(draw(False), n, False))
    return files
