"""An icon as XPM text, the form Allegro hands an X11 window for its icon.
The text is also C++: the engine includes it to build the icon in."""

# Pixel letters: printable, and neither a quote nor a backslash, so that the
# rows read as plain string literals.
LETTERS = "".join(chr(c) for c in range(0x24, 0x7F) if chr(c) != "\\")


def xpm_text(img, name):
    """img: RGBA whose every pixel is opaque or fully transparent."""
    img = img.convert("RGBA")
    w, h = img.size
    px = img.load()
    colours = []  # in order of first use, the transparent one as None
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            if a not in (0, 255):
                raise ValueError(f"{name}: pixel {x},{y} is partly transparent")
            c = None if a == 0 else (r, g, b)
            if c not in colours:
                colours.append(c)
    if len(colours) > len(LETTERS):
        raise ValueError(f"{name}: {len(colours)} colours, more than one letter each")
    letter = {c: " " if c is None else LETTERS[i] for i, c in enumerate(colours)}
    lines = [f"{w} {h} {len(colours)} 1"]
    for c in colours:
        lines.append(f"{letter[c]} c " + ("None" if c is None else "#%02X%02X%02X" % c))
    for y in range(h):
        lines.append("".join(letter[None if px[x, y][3] == 0 else px[x, y][:3]]
                             for x in range(w)))
    body = ",\n".join(f'"{line}"' for line in lines)
    return f"/* XPM */\nstatic const char* const {name}[] = {{\n{body}}};\n"
