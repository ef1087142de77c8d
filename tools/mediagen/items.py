"""Items: 16 x 16 with a soft glow (alpha pictures)."""
import math

from .canvas import Pix
from .palette import col


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
