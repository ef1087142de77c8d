"""Floor tiles: 16 x 8, fully opaque. A claimable look is dull until the player
has walked on it and bright afterwards."""
from .canvas import Pix


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
