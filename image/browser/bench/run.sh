#!/bin/sh
# The thumbnail browser's build of 25 photo-like 12-megapixel JPEGs, beside the
# same files decoded reduced on 8 threads, and the longest stall of the window
# thread's event loop meanwhile; idle, then again while twice as many busy
# loops as the machine has cores run beside it (stress-ng, or shell loops).
#   run.sh BROWSER_BENCH|BUILD_DIR [COUNT] [ROUNDS]
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
# Needs ImageMagick's convert.
set -eu

. "$(dirname "$0")/../../benchsetup.sh"
bench_setup browser_bench 25 convert -- "$@"
make_photos 4000 3000

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
