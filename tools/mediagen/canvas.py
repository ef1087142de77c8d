"""A small pixel canvas: None is empty; colours are palette names or RGBA tuples."""
from PIL import Image

from .palette import CLEAR, MAGENTA, col


class Pix:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.p = [[None] * w for _ in range(h)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.p[y][x]
        return None

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def hline(self, x0, x1, y, c):
        self.rect(x0, y, x1, y, c)

    def vline(self, x, y0, y1, c):
        self.rect(x, y0, x, y1, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(self.h):
            for x in range(self.w):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for t in range(thick):
                self.put(x + t, y, c)

    def ascii(self, x0, y0, rows, key):
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in key:
                    self.put(x0 + i, y0 + j, key[ch])

    def filled(self, x, y):
        return self.get(x, y) is not None

    def outline(self, c="ink", diagonal=False):
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.p[y][x] is not None:
                    continue
                near = [(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)]
                if diagonal:
                    near += [(x - 1, y - 1), (x + 1, y - 1), (x - 1, y + 1), (x + 1, y + 1)]
                if any(self.filled(a, b) for a, b in near):
                    marks.append((x, y))
        for x, y in marks:
            self.p[y][x] = c

    def soften(self, c="ink", alpha=96):
        """Gives the stair steps of a silhouette a half-transparent corner pixel."""
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.p[y][x] is not None:
                    continue
                n = sum(self.filled(a, b) for a, b in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
                if n >= 2:
                    marks.append((x, y))
        for x, y in marks:
            self.p[y][x] = col(c, alpha) if isinstance(c, str) else c

    def mirrored(self):
        m = Pix(self.w, self.h)
        for y in range(self.h):
            m.p[y] = list(reversed(self.p[y]))
        return m

    def copy(self):
        m = Pix(self.w, self.h)
        m.p = [list(r) for r in self.p]
        return m

    def recolour(self, mapping):
        m = self.copy()
        for y in range(self.h):
            for x in range(self.w):
                c = m.p[y][x]
                if isinstance(c, str) and c in mapping:
                    m.p[y][x] = mapping[c]
        return m

    def image(self, empty=CLEAR):
        img = Image.new("RGBA", (self.w, self.h))
        data = []
        for y in range(self.h):
            for x in range(self.w):
                c = self.p[y][x]
                if c is None:
                    data.append(empty)
                elif isinstance(c, str):
                    data.append(col(c))
                else:
                    data.append(c)
        img.putdata(data)
        return img


def masked(p):
    """A picture drawn with masked blits: transparent pixels exactly (255, 0, 255, 0)."""
    return p.image(empty=MAGENTA)
