"""Enemies: every kind has a dangerous look and a vulnerable (pale, frightened)
one, facing right; the left-facing frames are mirrors."""
from .canvas import Pix


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
