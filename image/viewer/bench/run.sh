#!/bin/sh
# The first image viewer's first-picture and steady-state times on 24-megapixel JPEGs,
# each beside its floor, its memory, and opening it on a folder of 5,000 files;
# then the race from start to the first picture painted, ours against feh, on
# one Xvfb display with the xcb platform (15 rounds unless RACE_ROUNDS says).
#   run.sh VIEWER_BENCH|BUILD_DIR [COUNT] [ROUNDS]
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
# Needs ImageMagick's convert and djpeg (libjpeg-turbo-progs).
set -eu

. "$(dirname "$0")/../../benchsetup.sh"
bench_setup viewer_bench 5 convert djpeg -- "$@"
make_photos 6000 4000

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
