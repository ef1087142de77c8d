"""The background: a dim night sky over hills, kept dark and quiet so that
floors, figures and items stand out."""
import math
import random

from PIL import Image

from .palette import bayer, col


def background():
    w, h = 640, 480
    img = Image.new("RGBA", (w, h))
    px = img.load()
    sky = ["night0", "night1", "night2", "night3", "night4"]
    for y in range(h):
        f = min(y / 400.0, 1.0) * (len(sky) - 1)
        lo = int(f)
        hi = min(lo + 1, len(sky) - 1)
        frac = f - lo
        for x in range(w):
            name = sky[hi] if bayer(x, y) < frac else sky[lo]
            px[x, y] = col(name)
    rng = random.Random(7)
    for _ in range(170):
        x, y = rng.randrange(w), rng.randrange(300)
        px[x, y] = col(rng.choice(["grey3", "grey3", "grey2", "slate"]))
    for _ in range(14):
        x, y = rng.randrange(2, w - 2), rng.randrange(2, 260)
        px[x, y] = col("grey1")
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            px[x + dx, y + dy] = col("grey3")
    # moon
    for y in range(40, 110):
        for x in range(440, 520):
            d = math.hypot(x + 0.5 - 480, y + 0.5 - 76)
            if d <= 24:
                shade = math.hypot(x + 0.5 - 492, y + 0.5 - 70)
                name = "grey4" if shade <= 22 else "slate2"
                if d > 22.5:
                    name = "slate2"
                if math.hypot(x - 471, y - 84) < 4 or math.hypot(x - 486, y - 65) < 3:
                    name = "slate2"
                px[x, y] = col(name)
    # three ridges of hills, the nearest darkest
    ridges = [(318, "hill2", (0.011, 0.027, 22, 9), 1.3),
              (372, "hill1", (0.017, 0.041, 18, 7), 4.1),
              (420, "hill0", (0.023, 0.009, 14, 12), 2.2)]
    for base, name, (f1, f2, a1, a2), phase in ridges:
        for x in range(w):
            top = int(base - a1 * math.sin(x * f1 + phase) - a2 * math.sin(x * f2 + phase * 2))
            for y in range(max(top, 0), h):
                px[x, y] = col(name)
    for i in range(9):
        x = 30 + i * 71 + rng.randrange(20)
        y = 432 + rng.randrange(30)
        for dx in range(2):
            px[x + dx, y] = col("yellow2")
            px[x + dx, y + 1] = col("olive2")
    return img
