"""Ladders: one 24 x 8 rung section, stacked by the game; masked."""
from .canvas import Pix


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
