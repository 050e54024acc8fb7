#!/usr/bin/python3
# Writes the PCX files the plug-in tests decode, and beside each one the
# pixels another reader gives for it (name.png): Debian's python3-pil, or
# ImageMagick's convert where PIL cannot read the layout (2 and 4 bits a
# pixel in one plane). Both show every 1-bit picture black and white; where
# its header colours are plainly meant (two different ones, not the 16-colour
# default some writers put in every header) the reference is PIL's black
# and white given those two colours. Run it from this
# folder; the files are kept in the repository.
import io
import random
import struct
import subprocess
import sys

from PIL import Image

# PIL reads planes (w + 7) // 8 bytes apart, not the even length the header
# gives: a width where the two agree keeps its reading right.
W, H = 29, 5
rng = random.Random(1209)
EGA = [(0, 0, 0), (0, 0, 170), (0, 170, 0), (0, 170, 170), (170, 0, 0), (170, 0, 170), (170, 85, 0),
       (170, 170, 170), (85, 85, 85), (85, 85, 255), (85, 255, 85), (85, 255, 255), (255, 85, 85),
       (255, 85, 255), (255, 255, 85), (255, 255, 255)]


def indices(colours):
    # Runs of one colour (run-length packets) beside noise.
    return [[(x // 4) % colours if x < 12 else rng.randrange(colours) for x in range(W)] for y in range(H)]


def rle(line):
    out = bytearray()
    i = 0
    while i < len(line):
        n = 1
        while i + n < len(line) and n < 63 and line[i + n] == line[i]:
            n += 1
        if n > 1 or line[i] >= 0xC0:
            out += bytes([0xC0 | n, line[i]])
        else:
            out.append(line[i])
        i += n
    return bytes(out)


def handmade(bits, planes, palette, version=5):
    """A PCX of `bits` a pixel in each of `planes` planes, header colours `palette`."""
    pix = indices(1 << (bits * planes))
    bpl = (W * bits + 7) // 8
    bpl += bpl % 2
    head = struct.pack("<BBBBHHHHHH", 10, version, 1, bits, 0, 0, W - 1, H - 1, 72, 72)
    pal = b"".join(bytes(c) for c in palette) + bytes(48 - 3 * len(palette))
    head += pal + struct.pack("<BBHH", 0, planes, bpl, 1) + bytes(58)
    assert len(head) == 128
    data = b""
    for row in pix:
        line = bytearray()
        for k in range(planes):
            plane = bytearray(bpl)
            for x, v in enumerate(row):
                field = (v >> k) & 1 if planes > 1 else v
                per = 8 // bits
                plane[x // per] |= field << (8 - bits * (x % per + 1))
            line += plane
        data += rle(bytes(line))
    return head + data


def write(name, data, by_magick=False, colours=None):
    with open(name + ".pcx", "wb") as f:
        f.write(data)
    if colours:
        im = Image.open(io.BytesIO(data)).convert("L")
        out = Image.new("RGB", im.size)
        out.putdata([colours[v // 255] for v in im.getdata()])
        out.save(name + ".png")
        return
    if by_magick:
        subprocess.run(["/usr/bin/convert", name + ".pcx", "PNG24:" + name + ".png"], check=True)
        return
    im = Image.open(io.BytesIO(data))
    im.load()
    im.convert("RGB").save(name + ".png")


def picture(mode):
    img = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            img.putpixel((x, y), (200, 30 * y, 10) if x < 8 else tuple(rng.randrange(256) for _ in range(3)))
    if mode == "P":
        return img.quantize(50)
    return img.convert(mode)


def saved(mode):
    out = io.BytesIO()
    picture(mode).save(out, "PCX")
    return out.getvalue()


# Written by PIL: 1-bit (header colours left black: black and white), 8-bit
# grey and colour-mapped, 24-bit in three planes.
for mode, tag in (("1", "mono"), ("L", "grey8"), ("P", "map8"), ("RGB", "rgb24")):
    write("pil_" + tag, saved(mode))

# Written by ImageMagick, read back by PIL.
for tag, args in (("mono", ["-monochrome"]), ("map8", ["-colors", "30", "-type", "Palette"]),
                  ("rgb24", ["-type", "TrueColor"])):
    subprocess.run(["/usr/bin/convert", "-size", "%dx%d" % (W, H), "plasma:fractal", "-seed", "5"] + args +
                   ["im_%s.pcx" % tag], check=True)
    with open("im_%s.pcx" % tag, "rb") as f:
        write("im_" + tag, f.read())

# 2 and 4 bits a pixel in 2 and 4 planes with the header's colours, as PIL reads them.
write("planar2", handmade(1, 2, EGA[9:13]))
write("planar4", handmade(1, 4, EGA))
# The same in one plane of 2 and 4 bits a pixel, which PIL does not read.
write("packed2", handmade(2, 1, EGA[9:13]), by_magick=True)
write("packed4", handmade(4, 1, EGA), by_magick=True)
# 1-bit with header colours plainly meant (two different ones).
write("mono_red_yellow", handmade(1, 1, [(200, 0, 0), (255, 255, 0)]), colours=[(200, 0, 0), (255, 255, 0)])
# 1-bit with the 16-colour default in the header: black and white.
write("mono_default_colours", handmade(1, 1, EGA))
