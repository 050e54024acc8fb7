#!/usr/bin/python3
# Writes the GIF files the plug-in tests decode, and beside each one the
# pixels of its first frame as PIL reads them (name.png). Run it from this
# folder; the files are kept in the repository.
import io
import random
import subprocess

from PIL import Image

rng = random.Random(77)


def reference(name):
    im = Image.open(name + ".gif")
    im.seek(0)
    im.convert("RGB").save(name + ".png")


def magick(name, *args):
    subprocess.run(["/usr/bin/convert", "-size", "37x23", "plasma:fractal", "-seed", "3"] + list(args) +
                   [name + ".gif"], check=True)
    reference(name)


# Whole-screen frames: 256, 16 and 2 colours (codes of 9 to 12 bits, table
# resets), interlaced rows.
magick("im_256", "-colors", "256")
magick("im_16_interlaced", "-colors", "16", "-interlace", "GIF")
magick("im_2", "-colors", "2")
img = Image.new("RGB", (300, 40))
img.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(300 * 40)])
img.quantize(256).save("pil_noise.gif")  # long codes, full tables
reference("pil_noise")
img.quantize(7).save("pil_local.gif", interlace=False)
reference("pil_local")
# More codes than the decoder takes in at once, a chunk ending within a code
# (its reference kept with the palette, to stay small).
subprocess.run(["/usr/bin/convert", "-size", "420x250", "-seed", "5", "xc:", "+noise", "Random", "-colors", "256",
                "im_noise_long.gif"], check=True)
Image.open("im_noise_long.gif").save("im_noise_long.png")
