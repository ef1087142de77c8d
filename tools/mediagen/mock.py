"""A level mock: one frame composed the way the game composes it."""
from PIL import Image

from .glyphs import draw_text
from .palette import MAGENTA


def mock_level(files, lv):
    def img(rel):
        return files[rel]

    frame = img("gfx/static/back.png").copy()
    for x, y, height, look in lv.ladders:
        g = img(f"gfx/static/ladders/{look}.png")
        strip = Image.new("RGBA", (g.width, height))
        for k in range(height // g.height + 1):
            strip.paste(g, (0, k * g.height))
        frame.alpha_composite(strip, (x, y))
    for x, y, height, dx, direction, look in lv.chutes:
        g = img(f"gfx/static/chutes/{look}.png")
        n = height // g.height
        width = g.width + ((height - g.height) // g.height) * dx
        strip = Image.new("RGBA", (width, height), MAGENTA)
        for k in range(n + 1):
            cx = k * dx if direction else width - g.width - k * dx
            strip.paste(g, (cx, k * g.height))
        frame.alpha_composite(strip, (x if direction else x + g.width - width, y))
    for x, y, kind, _ in lv.items:
        frame.alpha_composite(img(f"gfx/static/items/{kind}.png"), (x, y))
    for x, y, look, _, _ in lv.teleporters:
        frame.alpha_composite(img(f"gfx/static/transportation/teleporters/normal/{look}.png"), (x, y))
    for x, y, look, _, _, _ in lv.tiles:
        frame.alpha_composite(img(f"gfx/static/floor tiles/normal/{look}.png"), (x, y))
    for e in lv.enemies:
        x, y, direction, kind, state = e[0], e[1], e[2], e[8], e[7]
        nme = files[f"gfx/anim/enemy/{kind}.nme"].split()
        f = img(f"gfx/anim/enemy/{nme[2 * state + direction]}/0.png")
        frame.alpha_composite(f, (x - f.width // 2, y - f.height + 1))
    sx, sy, anim = lv.start
    names = ["walk_left", "walk_right", "jump_left", "jump_right", "climb"]
    f = img(f"gfx/anim/player/{names[anim]}/0.png")
    frame.alpha_composite(f, (sx - f.width // 2, sy - f.height + 1))
    h = lv.hud
    for (px, py), back, text, scale, bold, adv in (
            ((h[0], h[1]), "countdown_back", str(lv.countdown), 2, False, 12),
            ((h[3], h[4]), "score_back", "1230", 1, True, 8)):
        panel_img = img(f"gfx/static/{back}.png").copy()
        tw = len(text) * adv
        cell_h = 22 if scale == 2 else 12
        oy = 3 if scale == 2 else 2
        ty = (panel_img.height - cell_h) // 2 + oy
        if back == "score_back":
            pip = img("gfx/static/life_pip.png")
            s = pip.width + h[7]
            c = (panel_img.width - s * 2 - tw - h[6]) // 2
            draw_text(panel_img, c + 1, ty, text, (0, 0, 0, 255), scale, bold, adv)
            for k in (1, 2):
                panel_img.alpha_composite(pip, (panel_img.width - c - s * 3 + s * k,
                                                (panel_img.height - pip.height) // 2))
        else:
            draw_text(panel_img, (panel_img.width - tw) // 2 + 1, ty, text, (0, 0, 0, 255),
                      scale, bold, adv)
        frame.alpha_composite(panel_img, (px, py))
    return frame
