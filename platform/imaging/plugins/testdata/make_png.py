#!/usr/bin/python3
# Writes the PNG files the plug-in tests decode, and beside each one the
# pixels PIL reads from it (name.ref.png, RGBA). Run it from this folder; the
# files are kept in the repository.
import random

from PIL import Image

rng = random.Random(5)
W, H = 19, 11
base = Image.new("RGBA", (W, H))
base.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.randrange(256))
              for _ in range(W * H)])


def write(name, im, **options):
    im.save(name + ".png", **options)
    Image.open(name + ".png").convert("RGBA").save(name + ".ref.png")


for interlace in (0, 1):
    sfx = "_interlaced" if interlace else ""
    write("rgb" + sfx, base.convert("RGB"), interlace=interlace)
    write("rgba" + sfx, base, interlace=interlace)
    write("grey" + sfx, base.convert("L"), interlace=interlace)
    write("greyalpha" + sfx, base.convert("LA"), interlace=interlace)
    write("palette" + sfx, base.convert("RGB").quantize(60), interlace=interlace)
    write("mono" + sfx, base.convert("1"), interlace=interlace)
write("palette4", base.convert("RGB").quantize(16), bits=4)
write("rgb_transparent", base.convert("RGB"), transparency=base.convert("RGB").getpixel((3, 3)))
