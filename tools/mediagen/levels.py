"""Levels. Floors lie on a grid of rows 80 pixels apart; the figures stand with
their feet one row above a tile's top row."""
from .hud import SCORE_PANEL
from .teleporters import TELE_H
from .tiles import TILE_W


SCREEN_W, SCREEN_H = 640, 480
ROWS = [464, 384, 304, 224, 144, 64]   # tile top rows, ground first
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
