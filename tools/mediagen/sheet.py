"""The contact sheet: every picture at twice its size, grouped by directory."""
from PIL import Image

from .glyphs import draw_text
from .palette import col


SHEET_W = 1400
SHEET_BG = col("ink2")
LABEL = col("grey1")
HEADING = col("yellow")


def sheet(files):
    groups = {}
    for rel in sorted(files):
        if isinstance(files[rel], Image.Image):
            d, name = rel.rsplit("/", 1)
            if rel.startswith("gfx/anim/"):
                d, sub = d.rsplit("/", 1)
                name = f"{sub}/{name}"
            groups.setdefault(d + "/", []).append((name, files[rel]))
    order = sorted(groups, key=lambda g: (g == "gfx/static/" and 1 or 0, g))
    placed = []
    y = 12
    for g in order:
        placed.append(("heading", 12, y, g))
        y += 26
        x, row_h = 12, 0
        for name, img in groups[g]:
            big = img.convert("RGBA").resize((img.width * 2, img.height * 2), Image.NEAREST)
            cell_w = max(big.width, len(name) * 6) + 14
            if x + cell_w > SHEET_W - 12:
                x, y = 12, y + row_h + 8
                row_h = 0
            placed.append(("image", x, y, (name, big)))
            x += cell_w
            row_h = max(row_h, big.height + 14)
        y += row_h + 18
    canvas = Image.new("RGBA", (SHEET_W, y), SHEET_BG)
    for kind, x, py, what in placed:
        if kind == "heading":
            draw_text(canvas, x, py, what, HEADING, scale=2)
        else:
            name, big = what
            checker = Image.new("RGBA", big.size)
            cp = checker.load()
            for j in range(big.height):
                for i in range(big.width):
                    cp[i, j] = col("grey4") if ((i // 8) + (j // 8)) % 2 else col("grey3")
            canvas.alpha_composite(Image.alpha_composite(checker, big), (x, py))
            draw_text(canvas, x, py + big.height + 3, name, LABEL)
    return canvas
