"""Writes the media tree, the contact sheet and the desktop icons. From the
repository root:

    /usr/bin/python3 tools/mediagen    # rewrites media/, docs/media-sheet.png, dist/icons/
    /usr/bin/python3 tools/mediagen --out DIR --sheet PATH --icons DIR
    /usr/bin/python3 tools/mediagen --set-out sets/moss   # only the set's own looks

It leaves the level files in media/ and the sets' levels and set.cfg as they
are: they are sources. With --set-out it writes only the moss set's own
looks under DIR/gfx, replacing those files and removing none.
"""
import argparse
import os
import sys

# Run as a directory, Python puts this package's own folder first on the
# path; its parent must come first instead, so that the modules import as
# parts of the package and none of them can hide a standard module.
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[0] = os.path.dirname(HERE)

from mediagen.icons import icons  # noqa: E402
from mediagen.moss import moss_files  # noqa: E402
from mediagen.pngfile import png_bytes, save_png  # noqa: E402
from mediagen.sheet import sheet  # noqa: E402
from mediagen.tree import build_tree, write_set, write_tree  # noqa: E402
from mediagen.xpm import xpm_text  # noqa: E402

# The icon the game's and the editor's windows show, built into them.
WINDOW_ICON_SIZE = 48


def main():
    root = os.path.dirname(os.path.dirname(HERE))
    ap = argparse.ArgumentParser(prog="mediagen", description="Draws the shipped media tree.")
    ap.add_argument("--out", default=os.path.join(root, "media"), help="media directory to write")
    ap.add_argument("--sheet", default=os.path.join(root, "docs", "media-sheet.png"),
                    help="contact sheet to write")
    ap.add_argument("--icons", default=os.path.join(root, "dist", "icons"),
                    help="directory for the desktop icons, pwe-SIZE.png, and the window's")
    ap.add_argument("--set-out", metavar="DIR",
                    help="write only the moss set's own looks, under DIR/gfx, and nothing else")
    args = ap.parse_args()
    if args.set_out:
        write_set(moss_files(), args.set_out)
        return 0
    files = build_tree()
    write_tree(files, args.out)
    os.makedirs(os.path.dirname(os.path.abspath(args.sheet)), exist_ok=True)
    with open(args.sheet, "wb") as f:
        f.write(png_bytes(sheet(files)))
    pictures = icons()
    for size, picture in pictures.items():
        save_png(picture, os.path.join(args.icons, f"pwe-{size}.png"))
    name = f"pwe-{WINDOW_ICON_SIZE}.xpm"
    with open(os.path.join(args.icons, name), "w") as f:
        f.write(xpm_text(pictures[WINDOW_ICON_SIZE], "pweWindowIcon"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
