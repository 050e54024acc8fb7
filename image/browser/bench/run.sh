#!/bin/sh
# The thumbnail browser's build of 25 photo-like 12-megapixel JPEGs, beside the
# same files decoded reduced on 8 threads, and the longest stall of the window
# thread's event loop meanwhile.
#   run.sh BROWSER_BENCH|BUILD_DIR [COUNT] [ROUNDS]
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
# Needs ImageMagick's convert.
set -eu

target=${1:-}
count=${2:-25}
rounds=${3:-3}
if [ -z "$target" ]; then
    echo "usage: $0 BROWSER_BENCH|BUILD_DIR [COUNT] [ROUNDS]" >&2
    exit 2
fi
if [ -d "$target" ]; then
    bench=$(find "$target" -name browser_bench -type f -perm -u+x | head -n 1)
else
    bench=$target
fi
if [ -z "$bench" ] || [ ! -x "$bench" ]; then
    echo "no browser_bench in $target (configure with -DVX_BENCH=ON)" >&2
    exit 2
fi
command -v convert >/dev/null || { echo "convert is missing" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# Photo-like content: smooth areas with grain, 4000x3000, quality 90.
i=1
while [ "$i" -le "$count" ]; do
    convert -seed "$i" -size 1000x750 plasma:fractal -resize '4000x3000!' \
        -attenuate 0.4 +noise Gaussian -quality 90 "$work/photo$(printf %02d "$i").jpg"
    i=$((i + 1))
done

QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" "$work" "$rounds"
