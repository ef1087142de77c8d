"""PNG files are written here rather than by Pillow, so that they hold exactly
IHDR, PLTE (paletted only), IDAT and IEND: no gamma, no time, no text."""
import os
import struct
import zlib


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_bytes(img):
    if img.mode == "P":
        colour_type, bpp = 3, 1
        raw = img.tobytes()
    else:
        img = img.convert("RGBA")
        colour_type, bpp = 6, 4
        raw = img.tobytes()
    w, h = img.size
    stride = w * bpp
    rows = bytearray()
    for y in range(h):
        rows.append(0)
        rows += raw[y * stride:(y + 1) * stride]
    out = b"\x89PNG\r\n\x1a\n"
    out += png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0))
    if colour_type == 3:
        out += png_chunk(b"PLTE", bytes(img.getpalette()[:768]))
    out += png_chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    out += png_chunk(b"IEND", b"")
    return out


def save_png(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png_bytes(img))


def save_text(text, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\n") as f:
        f.write(text)
