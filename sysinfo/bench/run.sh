#!/bin/sh
# The file search against fdfind -HI and find on a folder (default /usr).
#   run.sh SEARCH_BENCH|BUILD_DIR [FOLDER] [ROUNDS]
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
# Needs fdfind (package fd-find).
set -eu

target=${1:-}
folder=${2:-/usr}
rounds=${3:-3}
if [ -z "$target" ]; then
    echo "usage: $0 SEARCH_BENCH|BUILD_DIR [FOLDER] [ROUNDS]" >&2
    exit 2
fi
if [ -d "$target" ]; then
    bench=$(find "$target" -name search_bench -type f -perm -u+x | head -n 1)
else
    bench=$target
fi
if [ -z "$bench" ] || [ ! -x "$bench" ]; then
    echo "no search_bench in $target (configure with -DVX_BENCH=ON)" >&2
    exit 2
fi
command -v fdfind >/dev/null || { echo "fdfind is missing (package fd-find)" >&2; exit 2; }

QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" "$folder" "$rounds"
