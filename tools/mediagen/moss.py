"""The looks of the level set in sets/moss: a mossy floor tile, a standing
stone ring for teleporters (plain and numbered 1 to 9, like pad and gate), a
vine ladder and the cavern behind it all. The looks have new names, so that
everything the set lacks still comes from the base tree; the background
takes the base's place. Sizes and mask rules are the base's own."""
import math
import random

from PIL import Image

from .canvas import Pix, masked
from .ladders import ladder_section
from .palette import bayer, col
from .teleporters import NUMBERS, TELE_H, TELE_W, digit_pixels, recolour
from .tiles import TILE_H, TILE_W

# The digit's top row on the ring's keystone: above the head of a player
# standing inside, as on the base's looks.
RING_DIGIT_Y = 1


def tile_moss(rock, rock_hi, rock_dark, moss, moss_hi, moss_lo, spore=None):
    """A cracked rock slab under round cushions of moss, threads of it hanging
    down the face: dull until claimed, lush and lit with spores afterwards."""
    p = Pix(TILE_W, TILE_H)
    p.rect(0, 0, 15, 7, rock)
    p.hline(0, 15, 7, rock_dark)
    p.vline(7, 3, 7, rock_dark)
    p.vline(15, 2, 7, rock_dark)
    p.put(3, 6, rock_hi)
    p.put(11, 5, rock_hi)
    # Three cushions, each rounded at its ends, from column a to column b.
    for a, b in ((0, 4), (5, 10), (11, 15)):
        for x in range(a, b + 1):
            end = x in (a, b)
            if not end:
                p.put(x, 0, moss_hi if x == a + 1 else moss)
            p.put(x, 1, moss)
            p.put(x, 2, moss_lo if end else moss)
            p.put(x, 3, moss_lo if not end else rock)
    for x, low in ((2, 5), (8, 6), (13, 4)):
        p.vline(x, 4, low, moss_lo)
    if spore:
        for x, y in ((2, 1), (8, 0), (13, 1), (8, 5)):
            p.put(x, y, spore)
    return p


def ring(active):
    """A ring of mossy stones on a slab, a swirl of light inside it."""
    p = Pix(TELE_W, TELE_H)
    cx, cy = 14.0, 20.0
    swirl = ("green3", "green", "teal") if active else ("olive", "olive2", "ink2")
    for y in range(6, 37):
        for x in range(4, 24):
            dx, dy = (x + 0.5 - cx) / 10.0, (y + 0.5 - cy) / 15.0
            r = math.hypot(dx, dy)
            if r > 1.0:
                continue
            turn = (math.atan2(dy, dx) / math.pi * 3 + r * 5) % 3
            c = swirl[int(turn)]
            a = (210 - int(130 * r)) if active else (130 - int(60 * r))
            p.put(x, y, col(c, a))
    stone, stone_hi, stone_lo = ("grey2", "grey1", "grey3") if active else ("grey3", "grey2", "grey4")
    mossy = ("green2", "green") if active else ("olive2", "olive")
    rng = random.Random(53)
    for y in range(TELE_H - 3):
        for x in range(TELE_W):
            dx, dy = (x + 0.5 - cx) / 14.0, (y + 0.5 - cy) / 20.0
            ix, iy = (x + 0.5 - cx) / 10.0, (y + 0.5 - cy) / 15.5
            if dx * dx + dy * dy > 1.0 or ix * ix + iy * iy <= 1.0:
                continue
            c = stone
            angle = math.atan2(dy, dx)
            if int((angle + math.pi) / (2 * math.pi) * 12) % 2 == 0:
                c = stone_lo
            if (x + 2 * y) % 13 == 0:
                c = stone_hi
            if y < cy and rng.random() < 0.35:
                c = mossy[rng.randrange(2)]
            p.put(x, y, c)
    # The keystone at the top, where a numbered ring shows its digit.
    p.rect(10, 0, 17, 8, stone)
    p.hline(10, 17, 0, stone_hi)
    p.hline(10, 17, 8, stone_lo)
    p.put(12, 4, mossy[0])
    p.put(15, 6, mossy[1])
    # The slab it stands on.
    p.rect(1, 37, 26, 39, stone_lo)
    p.hline(1, 26, 37, stone_hi)
    for x in (5, 13, 21):
        p.put(x, 38, mossy[0])
    p.outline()
    return p


def numbered_ring(p, n, active):
    # A dark plate in the keystone, the digit lit in the swirl's colour.
    for y in range(RING_DIGIT_Y - 1, RING_DIGIT_Y + 8):
        for x in range(10, 18):
            recolour(p, x, y, "ink")
    for x, y in digit_pixels(n, RING_DIGIT_Y):
        recolour(p, x, y, "green3" if active else "orange")
    return p


def vine_section():
    """The base's ladder frame in green, a leaf on each rail."""
    p = ladder_section("green", "green2", "olive2")
    p.put(4, 0, "green3")
    p.put(5, 1, "green")
    p.put(19, 6, "green3")
    p.put(18, 7, "green")
    return p


def cavern():
    """Dark rock, stalactites and stalagmites fringed with moss, a few
    glowing spores: quiet, so that floors, figures and items stand out."""
    w, h = 640, 480
    img = Image.new("RGBA", (w, h))
    px = img.load()
    depth = ["ink", "ink2", "hill0", "hill1"]
    for y in range(h):
        f = abs(y - 250) / 250.0 * (len(depth) - 1)
        lo = min(int(f), len(depth) - 1)
        hi = min(lo + 1, len(depth) - 1)
        for x in range(w):
            px[x, y] = col(depth[hi] if bayer(x, y) < f - lo else depth[lo])
    rng = random.Random(61)
    for _ in range(26):
        rock_spike(px, rng.randrange(w), rng.randrange(18, 46), rng.randrange(40, 150), True, w, h)
    for _ in range(18):
        rock_spike(px, rng.randrange(w), rng.randrange(20, 50), rng.randrange(24, 90), False, w, h)
    for _ in range(60):
        x, y = rng.randrange(2, w - 2), rng.randrange(40, h - 40)
        px[x, y] = col(rng.choice(("teal", "green2", "cyan2")))
    for _ in range(8):
        x, y = rng.randrange(2, w - 2), rng.randrange(60, h - 60)
        px[x, y] = col("green3")
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            px[x + dx, y + dy] = col("teal")
    return img


def rock_spike(px, cx, half, length, from_top, w, h):
    """A stalactite (from_top) or a stalagmite: rock narrowing to a point,
    lit on its left, moss along its root."""
    for i in range(length):
        y = i if from_top else h - 1 - i
        reach = half * (1.0 - i / length) ** 1.4
        for x in range(int(cx - reach), int(cx + reach) + 1):
            if 0 <= x < w:
                lit = x < cx - reach * 0.4
                c = "hill2" if lit else "hill1"
                if i < 10 and bayer(x, y) < 0.5 - i / 20.0:
                    c = "green2"
                px[x, y] = col(c)


def moss_files():
    """Every file of the set's own looks: path within the set -> image."""
    files = {}
    normal = tile_moss("slate2", "slate", "ink2", "green2", "olive", "olive2")
    clear = tile_moss("slate", "grey3", "slate2", "green", "green3", "teal", spore="yellow3")
    files["gfx/static/floor tiles/normal/moss.png"] = masked(normal)
    files["gfx/static/floor tiles/clear/moss.png"] = masked(clear)
    files["gfx/static/ladders/vine.png"] = masked(vine_section())
    files["gfx/static/back.png"] = cavern()
    tele = "gfx/static/transportation/teleporters/"
    files[f"{tele}normal/ring.png"] = ring(True).image()
    files[f"{tele}cooldown/ring.png"] = ring(False).image()
    for n in NUMBERS:
        files[f"{tele}normal/ring{n}.png"] = numbered_ring(ring(True), n, True).image()
        files[f"{tele}cooldown/ring{n}.png"] = numbered_ring(ring(False), n, False).image()
    return files
