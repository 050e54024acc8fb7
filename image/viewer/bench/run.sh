#!/bin/sh
# The first image viewer's first-picture and steady-state times on 24-megapixel JPEGs,
# each beside its floor, its memory, and opening it on a folder of 5,000 files;
# then the race from start to the first picture painted, ours against feh, on
# one Xvfb display with the xcb platform (15 rounds unless RACE_ROUNDS says).
#   run.sh VIEWER_BENCH|BUILD_DIR [COUNT] [ROUNDS]
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
# Needs ImageMagick's convert and djpeg (libjpeg-turbo-progs).
set -eu

target=${1:-}
count=${2:-5}
rounds=${3:-3}
if [ -z "$target" ]; then
    echo "usage: $0 VIEWER_BENCH|BUILD_DIR [COUNT] [ROUNDS]" >&2
    exit 2
fi
if [ -d "$target" ]; then
    bench=$(find "$target" -name viewer_bench -type f -perm -u+x | head -n 1)
else
    bench=$target
fi
if [ -z "$bench" ] || [ ! -x "$bench" ]; then
    echo "no viewer_bench in $target (configure with -DVX_BENCH=ON)" >&2
    exit 2
fi
for tool in convert djpeg; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# Photo-like content: smooth areas with grain, 6000x4000, quality 90.
i=1
while [ "$i" -le "$count" ]; do
    convert -seed "$i" -size 1500x1000 plasma:fractal -resize '6000x4000!' \
        -attenuate 0.4 +noise Gaussian -quality 90 "$work/photo$i.jpg"
    i=$((i + 1))
done

uptime
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" "$work" "$rounds"

dir=$(dirname "$bench")
app=$(find "$dir" "$dir/../../.." -maxdepth 3 -name first_picture_app -type f -perm -u+x 2>/dev/null | head -n 1)
race=$(find "$dir" "$dir/../../.." -maxdepth 3 -name first_picture_race -type f -perm -u+x 2>/dev/null | head -n 1)
if [ -z "$app" ] || [ -z "$race" ] || ! command -v feh >/dev/null || ! command -v xvfb-run >/dev/null; then
    echo "no race to the first picture (needs first_picture_app, first_picture_race, feh, xvfb-run)" >&2
    exit 0
fi
uptime
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$race" "$app" "$work" "${RACE_ROUNDS:-15}"
uptime
