#!/bin/sh
# Start-up race: VX2002 against a bare Qt window, 15 rounds by default, fresh
# processes on one Xvfb display with the xcb platform.
#   run.sh BUILD_DIR [ROUNDS]
# Use a Release build without sanitizers, configured with -DVX_BENCH=ON.
set -eu
build=${1:-}
rounds=${2:-15}
if [ -z "$build" ] || [ ! -x "$build/startup_bench" ] && [ ! -x "$build/app/bench/startup_bench" ]; then
    echo "usage: $0 BUILD_DIR [ROUNDS] (configure with -DVX_BENCH=ON)" >&2
    exit 2
fi
bench=$(find "$build" -name startup_bench -type f -perm -u+x | head -n 1)
bare=$(find "$build" -name bare_window -type f -perm -u+x | head -n 1)
program="$build/VX2002"
uptime
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" "$program" "$bare" "$rounds"
uptime
