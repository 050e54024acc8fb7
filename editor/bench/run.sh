#!/usr/bin/env bash
# Builds the editor benchmark in Release without sanitizers and runs it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$top/build-bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVX_BENCH=ON >/dev/null
cmake --build "$build" --target editor_bench -j4
"$build/editor/bench/editor_bench" "${1:-3}"
