#!/bin/sh
# The thumbnail browser's build of 25 photo-like 12-megapixel JPEGs, beside the
# same files decoded reduced on 8 threads, and the longest stall of the window
# thread's event loop meanwhile; idle, then again while twice as many busy
# loops as the machine has cores run beside it (stress-ng, or shell loops).
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

echo "idle: $(uptime)"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" "$work" "$rounds"

hogs=$(( $(nproc) * 2 ))
if command -v stress-ng >/dev/null; then
    stress-ng --cpu "$hogs" --timeout 600s --quiet &
    load=$!
else
    load=""
    i=0
    while [ "$i" -lt "$hogs" ]; do
        sh -c 'while :; do :; done' &
        load="$load $!"
        i=$((i + 1))
    done
fi
trap 'kill $load 2>/dev/null; rm -rf "$work"' EXIT INT TERM
sleep 3
echo "with $hogs busy loops beside it: $(uptime)"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" "$work" "$rounds"
kill $load 2>/dev/null || true
