#!/usr/bin/env bash
# Builds VX2002 and Velmend (release) and starts VX2002.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$top/tools/packages.sh"
# shellcheck disable=SC2086
vx_install_packages $vx_packages_build $vx_packages_run
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build" --parallel
# Without a display (a bare server), start on a virtual one.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    # shellcheck disable=SC2086
    vx_install_packages $vx_packages_x
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$top/build/VX2002" "$@"
fi
exec "$top/build/VX2002" "$@"
