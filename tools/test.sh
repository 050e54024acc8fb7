#!/usr/bin/env bash
# Builds everything with the sanitizers and runs every test through CTest.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$top/tools/packages.sh"
# shellcheck disable=SC2086
vx_install_packages $vx_packages_build $vx_packages_run $vx_packages_x $vx_packages_test
build="$top/build-test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX_TESTS=ON -DVX_SANITIZE=ON >/dev/null
cmake --build "$build" --parallel
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
# GCC 12's leak checker crashes walking the thread-local storage of unloaded
# plug-ins; it does not scan thread-local storage, and what the system
# libraries keep there is listed in lsan.supp.
export LSAN_OPTIONS="use_tls=0:suppressions=$top/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
# Each test runs once: a test that fails under load has a race to mend.
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
