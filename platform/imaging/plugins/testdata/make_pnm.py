#!/usr/bin/python3
# Writes the any-map files the plug-in tests decode, raw and plain, 8-bit and
# with a smaller largest value, and beside each one the pixels PIL reads from
# it (name.ext.ref.png). Run it from this folder; the files are kept in the
# repository.
import random

from PIL import Image

rng = random.Random(9)
W, H = 23, 9
rgb = Image.new("RGB", (W, H))
rgb.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(W * H)])


def reference(name):
    Image.open(name).convert("RGB").save(name + ".ref.png")


rgb.save("raw.ppm")
rgb.convert("L").save("raw.pgm")
rgb.convert("1").save("raw.pbm")
for name in ("raw.ppm", "raw.pgm", "raw.pbm"):
    reference(name)


def plain(name, magic, rows, maxval=None):
    with open(name, "w") as f:
        f.write("%s\n# written for the tests\n%d %d\n" % (magic, W, H))
        if maxval:
            f.write("%d\n" % maxval)
        f.write("\n".join(" ".join(str(v) for v in row) for row in rows) + "\n")
    reference(name)


pixels = list(rgb.getdata())
grey = list(rgb.convert("L").getdata())
plain("plain.ppm", "P3", [[c for p in pixels[y * W:(y + 1) * W] for c in p] for y in range(H)], 255)
plain("plain.pgm", "P2", [grey[y * W:(y + 1) * W] for y in range(H)], 255)
plain("plain.pbm", "P1", [[1 if v < 128 else 0 for v in grey[y * W:(y + 1) * W]] for y in range(H)])
# Raw samples of a smaller largest value (63), with a comment in the header.
with open("max63.pgm", "wb") as f:
    f.write(b"P5\n# largest value 63\n%d %d\n63\n" % (W, H) + bytes(v * 63 // 255 for v in grey))
reference("max63.pgm")
