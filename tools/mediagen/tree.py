"""The generated part of the media tree: every file by its path, and writing it
to disk. The level files are not among them: they are sources, edited by hand."""
import os
import shutil

from PIL import Image

from .background import background
from .canvas import masked
from .chutes import chutes
from .enemies import ENEMY_KINDS, enemy_animations
from .glyphs import make_font
from .hud import COUNTDOWN_PANEL, SCORE_PANEL, icon_hourglass, icon_star, life_pip, panel
from .items import items
from .ladders import ladders
from .player import player_animations
from .pngfile import save_png, save_text
from .sounds import SOUNDS, write_wav
from .teleporters import teleporters
from .texts import PWE_CFG, anm_text, nme_text, player_inf
from .tiles import floor_tiles


def build_tree():
    """Every file of the tree: relative path -> PIL image, text or sample list."""
    files = {}
    for name, (normal, cleared) in floor_tiles().items():
        files[f"gfx/static/floor tiles/normal/{name}.png"] = masked(normal)
        files[f"gfx/static/floor tiles/clear/{name}.png"] = masked(cleared)
    for name, p in ladders().items():
        files[f"gfx/static/ladders/{name}.png"] = masked(p)
    for name, p in chutes().items():
        files[f"gfx/static/chutes/{name}.png"] = masked(p)
    for name, p in items().items():
        files[f"gfx/static/items/{name}.png"] = p.image()
    for name, (normal, cooldown) in teleporters().items():
        files[f"gfx/static/transportation/teleporters/normal/{name}.png"] = normal.image()
        files[f"gfx/static/transportation/teleporters/cooldown/{name}.png"] = cooldown.image()
    files["gfx/static/back.png"] = background()
    files["gfx/static/countdown_back.png"] = masked(panel(*COUNTDOWN_PANEL, icon_hourglass))
    files["gfx/static/score_back.png"] = masked(panel(*SCORE_PANEL, icon_star))
    files["gfx/static/life_pip.png"] = masked(life_pip())

    def add_animations(base, anims):
        for name, (frames, durations) in anims.items():
            files[f"{base}{name}.anm"] = anm_text(name, durations)
            for i, frame in enumerate(frames):
                files[f"{base}{name}/{i}.png"] = frame.image()

    add_animations("gfx/anim/player/", player_animations())
    for kind in ENEMY_KINDS:
        anims, nme = enemy_animations(kind)
        add_animations("gfx/anim/enemy/", anims)
        files[f"gfx/anim/enemy/{kind}.nme"] = nme_text(nme)

    files["fonts/countdown_fnt.png"] = make_font(12, 22, 1, 3, 2, False)
    files["fonts/score_fnt.png"] = make_font(8, 12, 1, 2, 1, True)
    for name, voice in SOUNDS.items():
        files[f"audio/{name}"] = voice()
    files["pwe.cfg"] = PWE_CFG
    files["player.inf"] = player_inf()
    return files


def write_tree(files, out):
    for sub in ("gfx", "fonts", "audio"):
        shutil.rmtree(os.path.join(out, sub), ignore_errors=True)
    for rel in sorted(files):
        path = os.path.join(out, rel)
        data = files[rel]
        if isinstance(data, Image.Image):
            save_png(data, path)
        elif isinstance(data, str):
            save_text(data, path)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            write_wav(path, data)


def write_set(files, out):
    """Writes a level set's own looks under out/gfx. It removes nothing: the
    set's levels, set.cfg and any picture an author added stay as they are."""
    for rel in sorted(files):
        save_png(files[rel], os.path.join(out, rel))
