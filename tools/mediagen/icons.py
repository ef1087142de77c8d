"""The desktop icons: the player from its first walking frame on a night-sky
plate, as a bust at the small sizes and standing on claimed bricks at the
large ones, every art pixel an exact square of screen pixels."""
from PIL import Image

from .palette import col
from .player import player_animations
from .tiles import floor_tiles


# size -> (what is shown, pixels per art pixel)
ICONS = {
    16: ("bust16", 1),
    22: ("bust", 1),
    24: ("bust", 1),
    32: ("bust16", 2),
    48: ("bust", 2),
    64: ("bust", 3),
    128: ("figure", 3),
    256: ("figure", 6),
}

# Parts of the 18 x 30 frame: left, top, right, bottom (exclusive).
CROPS = {"bust16": (2, 0, 18, 16), "bust": (0, 0, 18, 18), "figure": (0, 0, 18, 30)}


def plate(size):
    """A rounded square of sky, lighter towards the bottom, outlined in ink;
    and the mask of its inside, within the outline."""
    img = Image.new("RGBA", (size, size))
    inside = Image.new("L", (size, size))
    px, ipx = img.load(), inside.load()
    radius = max(2, size // 8)
    sky = ["night1", "night2", "night3"]
    for y in range(size):
        for x in range(size):
            dx = max(radius - x, x - (size - 1 - radius), 0)
            dy = max(radius - y, y - (size - 1 - radius), 0)
            d = (dx * dx + dy * dy) ** 0.5
            if d > radius:
                continue
            if d > radius - 1 or x in (0, size - 1) or y in (0, size - 1):
                px[x, y] = col("ink")
            else:
                px[x, y] = col(sky[y * len(sky) // size])
                ipx[x, y] = 255
    return img, inside


def scaled(img, k):
    return img.resize((img.width * k, img.height * k), Image.NEAREST)


def brick_floor(size, k, top, inside):
    """A row of claimed bricks from top down, kept inside the plate."""
    brick = scaled(floor_tiles()["brick"][1].image(), k)
    row = Image.new("RGBA", (size, size))
    for x in range(-(brick.width // 2), size, brick.width):
        row.paste(brick, (x, top))
    alpha = Image.new("L", (size, size))
    alpha.paste(row.getchannel("A"), mask=inside)
    row.putalpha(alpha)
    return row


def icon(size):
    kind, k = ICONS[size]
    img, inside = plate(size)
    frame = player_animations()["walk_right"][0][0].image().crop(CROPS[kind])
    figure = scaled(frame, k)
    x = (size - figure.width) // 2
    if kind == "figure":
        floor_top = size - size // 12 - 8 * k
        img.alpha_composite(brick_floor(size, k, floor_top, inside))
        img.alpha_composite(figure, (x, floor_top - figure.height))
    else:
        # A bust stands on the plate's lower edge, as a portrait does.
        img.alpha_composite(figure, (x, size - figure.height))
    return img


def icons():
    """size -> picture."""
    return {size: icon(size) for size in ICONS}
