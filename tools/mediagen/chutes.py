"""Chutes: one 16 x 8 step of a 45 degree slide (the game shifts each step by
8 columns); one graphic for each running direction; masked."""
from .canvas import Pix


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
