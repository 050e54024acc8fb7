#!/usr/bin/python3
# Writes the TGA files the plug-in tests decode, and beside each one the
# pixels another reader gives for it (name.png, RGBA): Debian's python3-pil,
# or ImageMagick's convert for the layouts PIL cannot read (32-bit map
# entries, run-length packets running on into the next row; its rows set
# upright by the orientation it reports). 15-bit pixels and map entries are
# 16-bit ones with the top bit unused: PIL reads them so labelled. Run it from this folder; the files are kept in the repository.
import io
import random
import struct
import subprocess
import sys

from PIL import Image

W, H = 13, 7
rng = random.Random(20261209)


def picture(mode):
    img = Image.new("RGBA", (W, H))
    for y in range(H):
        for x in range(W):
            # Runs of equal pixels (for run-length packets) beside noise.
            if x < 5:
                px = (200, 40 * y % 256, 10, 255 - 30 * y)
            else:
                px = tuple(rng.randrange(256) for _ in range(4))
            img.putpixel((x, y), px)
    if mode == "P":
        return img.convert("RGB").quantize(200)
    return img.convert(mode)


def header(idlen, maptype, typ, first, length, mapbits, w, h, depth, desc):
    return struct.pack("<BBBHHBHHHHBB", idlen, maptype, typ, first, length, mapbits, 0, 0, w, h, depth, desc)


def rows(h, top_down):
    return range(h) if top_down else range(h - 1, -1, -1)


def rle(pixels, size, cross_rows):
    """Run-length packets over a list of rows of `size`-byte pixels."""
    out = bytearray()
    lines = [b"".join(r) for r in pixels]
    if cross_rows:
        lines = [b"".join(lines)]
    for line in lines:
        px = [line[i:i + size] for i in range(0, len(line), size)]
        i = 0
        while i < len(px):
            n = 1
            while i + n < len(px) and n < 128 and px[i + n] == px[i]:
                n += 1
            if n > 1:
                out += bytes([0x80 | (n - 1)]) + px[i]
                i += n
                continue
            j = i
            while j < len(px) and j - i < 128 and (j + 1 >= len(px) or px[j + 1] != px[j]):
                j += 1
            out += bytes([j - i - 1]) + b"".join(px[i:j])
            i = j
    return bytes(out)


def pack555(r, g, b, a):
    return struct.pack("<H", (a >= 128) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))


def handmade(kind, depth, mapbits=0, first=0, top_down=False, right_to_left=False, compressed=False,
             cross_rows=False, idlen=0):
    img = picture("RGBA")
    desc = (0x20 if top_down else 0) | (0x10 if right_to_left else 0)
    colour_map = b""
    length = 0
    if kind == 1:
        pal = img.convert("RGB").quantize(40)
        entries = pal.getpalette()[:40 * 3]
        length = 40
        for i in range(length):
            r, g, b = entries[i * 3:i * 3 + 3]
            a = (i * 37) % 256
            colour_map += {15: pack555(r, g, b, 255), 16: pack555(r, g, b, a), 24: bytes([b, g, r]),
                           32: bytes([b, g, r, a])}[mapbits]
        px = lambda x, y: bytes([pal.getpixel((x, y)) + first])
        size = 1
    elif kind == 2:
        size = (depth + 7) // 8
        def px(x, y):
            r, g, b, a = img.getpixel((x, y))
            return {15: pack555(r, g, b, 0), 16: pack555(r, g, b, a), 24: bytes([b, g, r]),
                    32: bytes([b, g, r, a])}[depth]
    else:
        size = depth // 8
        def px(x, y):
            r, g, b, a = img.getpixel((x, y))
            return bytes([(r + g + b) // 3]) if depth == 8 else bytes([(r + g + b) // 3, a])
    pixels = []
    for y in rows(H, top_down):
        line = [px(x, y) for x in range(W)]
        pixels.append(line[::-1] if right_to_left else line)
    data = rle(pixels, size, cross_rows) if compressed else b"".join(b"".join(r) for r in pixels)
    typ = kind + (8 if compressed else 0)
    head = header(idlen, 1 if kind == 1 else 0, typ, first, length, mapbits, W, H, depth, desc)
    return head + bytes(range(idlen)) + colour_map + data


def pil_reads(data):
    try:
        im = Image.open(io.BytesIO(data))
        im.load()
        return im.convert("RGBA")
    except Exception:
        return None


def write(name, data, by_magick=False, as16=False):
    with open(name + ".tga", "wb") as f:
        f.write(data)
    if as16:
        data = bytearray(data)
        data[7] = 16 if data[7] == 15 else data[7]
        data[16] = 16 if data[16] == 15 else data[16]
        data = bytes(data)
    if by_magick:
        subprocess.run(["/usr/bin/convert", name + ".tga", "-auto-orient", "-define", "png:color-type=6", "PNG32:" + name + ".png"],
                       check=True)
        return
    im = pil_reads(data)
    if im is None:
        sys.exit(name + ": PIL cannot read it")
    im.save(name + ".png")


def saved(mode, **options):
    out = io.BytesIO()
    picture(mode).save(out, "TGA", **options)
    return out.getvalue()


# Written by PIL itself.
for mode, tag in (("1", "mono"), ("L", "grey8"), ("LA", "grey16"), ("P", "map24"), ("RGB", "rgb24"),
                  ("RGBA", "rgb32")):
    for rle_ in (False, True):
        if mode == "1" and rle_:
            continue
        for top in (False, True):
            name = "pil_%s%s%s" % (tag, "_rle" if rle_ else "", "_top" if top else "")
            write(name, saved(mode, rle=rle_, orientation=1 if top else -1))

# Made here, read back by PIL.
for depth_ in (8, 16):
    for comp in (False, True):
        write("grey%d%s_rtl" % (depth_, "_rle" if comp else ""), handmade(3, depth_, right_to_left=True,
                                                                         compressed=comp))
for comp in (False, True):
    sfx = "_rle" if comp else ""
    write("rgb16" + sfx, handmade(2, 16, compressed=comp))
    write("rgb16" + sfx + "_top_rtl", handmade(2, 16, compressed=comp, top_down=True, right_to_left=True))
    write("rgb24" + sfx + "_id", handmade(2, 24, compressed=comp, idlen=9))
    write("rgb32" + sfx + "_rtl", handmade(2, 32, compressed=comp, right_to_left=True))
    for bits in (16, 24):
        write("map%d%s" % (bits, sfx), handmade(1, 8, mapbits=bits, compressed=comp))
        write("map%d%s_first" % (bits, sfx), handmade(1, 8, mapbits=bits, first=30, compressed=comp,
                                                     top_down=True))

# Layouts PIL does not read.
for comp in (False, True):
    sfx = "_rle" if comp else ""
    write("rgb15" + sfx, handmade(2, 15, compressed=comp), as16=True)
    write("map15" + sfx, handmade(1, 8, mapbits=15, compressed=comp), as16=True)
    write("map32" + sfx, handmade(1, 8, mapbits=32, compressed=comp), by_magick=True)
write("rgb24_rle_across", handmade(2, 24, compressed=True, cross_rows=True), by_magick=True)
write("grey8_rle_across_top", handmade(3, 8, compressed=True, cross_rows=True, top_down=True), by_magick=True)
