#!/bin/sh
# The image plug-ins' decode times on 4000 x 3000 pictures of every format
# they serve, each beside the library under it (or that could be, for TGA
# and PCX) and PIL, all measured in this run, interleaved.
#   run.sh BUILD_DIR [ROUNDS] [DECODES]
#   run.sh BUILD_DIR instructions
# ROUNDS fresh processes per decoder and file (default 3); each decodes the
# file DECODES times (default 4): "first" is the first decode of a process
# (memory never touched before), "steady" the median of the later ones.
# Figures are medians over the rounds, in milliseconds; "MB 1st" and "MB
# stdy" are the memory the first and a later decode touched for the first
# time (plug-in / floor; page faults times 4 KB, so a 2 MB page counts as
# 4 KB), which no load changes and which costs a few milliseconds a MB in
# 4 KB pages on these machines.
# With "instructions" each plug-in and its floor decode each file once under
# valgrind's callgrind, which counts the instructions of the decode alone
# (no load changes them): the pictures are then 1000 x 750. The kernel's
# work is not counted: a decoder that has the kernel read the file straight
# into its rows, or that touches fresh memory, shows none of that here.
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
# Needs ImageMagick's convert and python3-pil (tools/packages.sh: bench).
set -eu

build=${1:-}
rounds=${2:-3}
decodes=${3:-4}
size=4000x3000
if [ "$rounds" = instructions ]; then
    command -v valgrind >/dev/null || { echo "valgrind is missing" >&2; exit 2; }
    size=1000x750
fi
if [ -z "$build" ] || [ ! -x "$build/spi_bench" ]; then
    echo "usage: $0 BUILD_DIR [ROUNDS] [DECODES] (no spi_bench there: configure with -DVX_BENCH=ON)" >&2
    exit 2
fi
py=/usr/bin/python3
command -v /usr/bin/convert >/dev/null || { echo "ImageMagick's convert is missing" >&2; exit 2; }
$py -c 'import PIL' 2>/dev/null || { echo "python3-pil is missing" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"

# Photo-like content: smooth areas with grain.
convert -seed 7 -size 1000x750 plasma:fractal -resize "$size!" -attenuate 0.4 +noise Gaussian -depth 8 \
    "$work/photo.ppm"
cd "$work"
convert photo.ppm -compress None photo.tif
convert photo.ppm -compress LZW photo-lzw.tif
convert photo.ppm -quality 90 photo.jpg
convert photo.ppm -colorspace Gray photo.pgm
convert photo.ppm -colorspace Gray -threshold 50% photo.pbm
convert photo.ppm photo.png
convert photo.ppm -colors 256 photo.gif
convert photo.ppm -type TrueColor photo.pcx
convert photo.ppm -colors 256 -type Palette photo-8.pcx
convert photo.ppm -compress None photo.tga
$py -c 'from PIL import Image; Image.open("photo.ppm").save("photo-rle.tga", rle=True)'
cd - >/dev/null

pil() {
    $py - "$1" "$decodes" <<'PY'
import sys, time
from PIL import Image
path, n = sys.argv[1], int(sys.argv[2])
times = []
for _ in range(n):
    t = time.perf_counter()
    im = Image.open(path)
    im.load()
    times.append((time.perf_counter() - t) * 1000)
    del im
later = sorted(times[1:]) or times
print("%.1f %.1f" % (times[0], later[len(later) // 2]))
PY
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Millions of instructions of one decode: name, then the command.
instructions() {
    name=$1
    shift
    valgrind --tool=callgrind --toggle-collect="$name" --callgrind-out-file="$work/cg.out" "$@" >/dev/null 2>&1 &&
        awk '/^totals:/ { printf "%.1f", $2 / 1e6 }' "$work/cg.out"
    rm -f "$work/cg.out"
}
if [ "$rounds" = instructions ]; then
    printf '%-14s %-11s %12s   %-8s %12s %6s\n' file plug-in "M instr" floor "M instr" ratio
    for entry in photo.tif:iftiff:libtiff photo-lzw.tif:iftiff:libtiff photo.jpg:ifjpeg:libjpeg \
        photo.ppm:ifpnm:qt photo.pgm:ifpnm:qt photo.pbm:ifpnm:qt photo.png:ifpng:qt photo.pcx:ifpng:sdl \
        photo-8.pcx:ifpng:sdl photo.gif:ifgif:qt photo.tga:iftga:sdl photo-rle.tga:iftga:sdl; do
        file=${entry%%:*}
        rest=${entry#*:}
        spi=${rest%%:*}
        floor=${rest#*:}
        case $floor in libtiff) fn=viaLibtiff ;; libjpeg) fn=viaLibjpeg ;; qt) fn=viaQt ;; sdl) fn=viaSdl ;; esac
        a=$(instructions '*viaPlugin*' "$build/spi_bench" plugin "$build/$spi.spi" "$work/$file" 1)
        b=$(instructions "*$fn*" "$build/spi_bench" "$floor" "$work/$file" 1)
        awk -v file="$file" -v spi="$spi" -v floor="$floor" -v a="${a:--1}" -v b="${b:--1}" 'BEGIN {
            printf "%-14s %-11s %12.1f   %-8s %12.1f %6.2f\n", file, spi, a, floor, b, (b > 0 ? a / b : 0) }'
    done
    exit 0
fi

echo "load: $(uptime)"
printf '%-14s %-11s %9s %9s   %-8s %9s %9s %6s %6s   %9s %9s %6s %6s   %-11s %s\n' \
    file plug-in first steady floor first steady x1st xstdy "PIL 1st" steady x1st xstdy "MB 1st" "MB stdy"
for entry in photo.tif:iftiff:libtiff photo-lzw.tif:iftiff:libtiff photo.jpg:ifjpeg:libjpeg \
    photo.ppm:ifpnm:qt photo.pgm:ifpnm:qt photo.pbm:ifpnm:qt photo.png:ifpng:qt photo.pcx:ifpng:sdl \
    photo-8.pcx:ifpng:sdl photo.gif:ifgif:qt photo.tga:iftga:sdl photo-rle.tga:iftga:sdl; do
    file=${entry%%:*}
    rest=${entry#*:}
    spi=${rest%%:*}
    floor=${rest#*:}
    : >"$work/p" && : >"$work/f" && : >"$work/y"
    i=0
    while [ "$i" -lt "$rounds" ]; do
        # Interleaved, so that a change of load falls on all three alike.
        # A reader that cannot read the file (Qt reads no TGA without the
        # footer of the format's second version) shows as n/a.
        "$build/spi_bench" plugin "$build/$spi.spi" "$work/$file" "$decodes" >>"$work/p" 2>/dev/null ||
            echo "-1 -1 -1 -1" >>"$work/p"
        "$build/spi_bench" "$floor" "$work/$file" "$decodes" >>"$work/f" 2>/dev/null || echo "-1 -1 -1 -1" >>"$work/f"
        pil "$work/$file" >>"$work/y" 2>/dev/null || echo "-1 -1" >>"$work/y"
        i=$((i + 1))
    done
    p1=$(cut -d' ' -f1 "$work/p" | median); ps=$(cut -d' ' -f2 "$work/p" | median)
    f1=$(cut -d' ' -f1 "$work/f" | median); fs=$(cut -d' ' -f2 "$work/f" | median)
    pm=$(cut -d' ' -f3 "$work/p" | median); fm=$(cut -d' ' -f3 "$work/f" | median)
    pn=$(cut -d' ' -f4 "$work/p" | median); fn=$(cut -d' ' -f4 "$work/f" | median)
    y1=$(cut -d' ' -f1 "$work/y" | median); ys=$(cut -d' ' -f2 "$work/y" | median)
    awk -v file="$file" -v spi="$spi" -v floor="$floor" -v p1="$p1" -v ps="$ps" -v f1="$f1" -v fs="$fs" \
        -v y1="$y1" -v ys="$ys" -v pm="$pm" -v fm="$fm" -v pn="$pn" -v fn="$fn" '
        function t(v) { return v < 0 ? sprintf("%9s", "n/a") : sprintf("%9.1f", v) }
        function r(a, b) { return a < 0 || b <= 0 ? sprintf("%6s", "n/a") : sprintf("%6.2f", a / b) }
        BEGIN {
        printf "%-14s %-11s %s %s   %-8s %s %s %s %s   %s %s %s %s   %5.0f/%-5.0f %5.0f/%-5.0f\n", file, spi, t(p1),
            t(ps), floor, t(f1), t(fs), r(p1, f1), r(ps, fs), t(y1), t(ys), r(p1, y1), r(ps, ys), pm, fm, pn, fn }'
done
echo "load: $(uptime)"
echo "x1st, xstdy: the plug-in's time over the floor's (first column pair) and over PIL's (second pair)."
