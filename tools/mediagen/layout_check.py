"""Refuses level layouts that the game would play wrongly."""
from .hud import COUNTDOWN_PANEL, SCORE_PANEL
from .levels import ITEM_SIZE, LADDER_W, SCREEN_H, SCREEN_W
from .player import PLAYER_W
from .teleporters import TELE_H, TELE_W
from .texts import PLAYER
from .tiles import TILE_H, TILE_W


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
