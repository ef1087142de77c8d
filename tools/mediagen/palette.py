"""One palette for the whole tree. Every pixel of every picture is one of these
(plus alpha on the soft edges of figures, items and teleporter beams)."""


PAL = {
    "ink": (22, 17, 35),          # outlines
    "ink2": (46, 38, 66),
    "night0": (14, 16, 38),       # background sky, top
    "night1": (22, 25, 56),
    "night2": (32, 34, 74),
    "night3": (46, 42, 92),
    "night4": (64, 50, 104),      # sky near the horizon
    "hill0": (24, 28, 54),
    "hill1": (32, 38, 68),
    "hill2": (42, 50, 84),
    "white": (246, 244, 234),
    "grey1": (196, 198, 210),
    "grey2": (142, 146, 166),
    "grey3": (96, 100, 124),
    "grey4": (62, 64, 86),
    "red": (222, 58, 58),
    "red2": (150, 32, 50),
    "rust": (146, 74, 58),
    "rust2": (104, 50, 46),
    "rust3": (176, 100, 74),
    "orange": (244, 140, 48),
    "orange2": (184, 86, 36),
    "yellow": (255, 218, 72),
    "yellow2": (206, 150, 40),
    "yellow3": (255, 246, 170),
    "green": (98, 200, 78),
    "green2": (46, 128, 60),
    "green3": (170, 236, 120),
    "olive": (120, 116, 64),
    "olive2": (84, 80, 50),
    "teal": (48, 156, 150),
    "cyan": (110, 224, 240),
    "cyan2": (48, 138, 190),
    "cyan3": (200, 248, 255),
    "blue": (66, 104, 214),
    "blue2": (40, 60, 146),
    "slate": (74, 90, 130),
    "slate2": (50, 60, 96),
    "purple": (150, 78, 196),
    "purple2": (92, 46, 132),
    "pink": (248, 136, 176),
    "skin": (250, 200, 150),
    "skin2": (212, 140, 100),
    "brown": (138, 88, 54),
    "brown2": (88, 54, 38),
    "pale": (200, 226, 255),
    "pale2": (140, 172, 232),
    "cream": (252, 240, 206),
    "cream2": (218, 198, 150),
}
MAGENTA = (255, 0, 255, 0)   # the mask colour of masked pictures
CLEAR = (0, 0, 0, 0)         # empty pixel of alpha pictures


def col(name, alpha=255):
    r, g, b = PAL[name]
    return (r, g, b, alpha)


def bayer(x, y):
    m = ((0, 8, 2, 10), (12, 4, 14, 6), (3, 11, 1, 9), (15, 7, 13, 5))
    return (m[y % 4][x % 4] + 0.5) / 16.0
