"""Heads-up display: light panels (black numbers) with exact-magenta corners."""
from .canvas import Pix


# width and height of the two panels, in pixels
COUNTDOWN_PANEL = (96, 28)
SCORE_PANEL = (208, 28)


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
