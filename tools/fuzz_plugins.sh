#!/bin/bash
# Fuzzes each image plug-in and the program's bitmap converter with libFuzzer
# (Debian's clang 14), outside the CI build.
#   tools/fuzz_plugins.sh [seconds per target, default 600] [target...]
# Targets: iftiff ifjpeg ifpnm ifgif iftga ifpng dibconvert. Work files, the
# corpora and any crash inputs go to build-fuzz/.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(iftiff ifjpeg ifpnm ifgif iftga ifpng dibconvert)

source "$here/tools/packages.sh"
vx_install_packages clang libfuzzer-14-dev $vx_packages_build

out="$here/build-fuzz"
mkdir -p "$out"
spi="$here/platform/imaging/plugins/spi"
qt="$(pkg-config --cflags --libs Qt6Gui)"
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$here")
common=("$spi/localmem.cpp" "$here/platform/imaging/plugins/dibconvert.cpp")

build() {
    local name="$1"
    case "$name" in
    iftiff) clang++ "${flags[@]}" "$spi/fuzz/fuzz_plugin.cpp" "$spi/iftiff.cpp" "${common[@]}" $qt -ltiff -o "$out/fuzz_$name" ;;
    ifjpeg) clang++ "${flags[@]}" "$spi/fuzz/fuzz_plugin.cpp" "$spi/ifjpeg.cpp" "${common[@]}" $qt -ljpeg -o "$out/fuzz_$name" ;;
    ifpng) clang++ "${flags[@]}" "$spi/fuzz/fuzz_plugin.cpp" "$spi/$name.cpp" "${common[@]}" $qt -lpng -o "$out/fuzz_$name" ;;
    ifpnm | ifgif | iftga) clang++ "${flags[@]}" "$spi/fuzz/fuzz_plugin.cpp" "$spi/$name.cpp" "${common[@]}" $qt -o "$out/fuzz_$name" ;;
    dibconvert) clang++ "${flags[@]}" "$spi/fuzz/fuzz_dibconvert.cpp" "$here/platform/imaging/plugins/dibconvert.cpp" $qt -o "$out/fuzz_$name" ;;
    *) echo "unknown target $name" >&2; return 2 ;;
    esac
}

clang++ -std=c++20 -fPIC "$spi/fuzz/seeds.cpp" $qt -o "$out/seeds"
QT_QPA_PLATFORM=offscreen "$out/seeds" "$out/seeds-in"

status=0
for t in "${targets[@]}"; do
    echo "== $t: building"
    build "$t"
    mkdir -p "$out/corpus/$t" "$out/crashes/$t"
    cp -n "$out/seeds-in/$t/"* "$out/corpus/$t/" 2>/dev/null || true
    # The test pictures other programs wrote start the corpus too.
    [ "$t" = iftga ] && cp -n "$here/platform/imaging/plugins/testdata/tga/"*.tga "$out/corpus/$t/" || true
    [ "$t" = ifpng ] && cp -n "$here/platform/imaging/plugins/testdata/pcx/"*.pcx "$out/corpus/$t/" 2>/dev/null || true
    echo "== $t: fuzzing for $seconds s"
    if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 QT_QPA_PLATFORM=offscreen \
        "$out/fuzz_$t" "$out/corpus/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
            -max_len=65536 -artifact_prefix="$out/crashes/$t/" -print_final_stats=1 >"$out/$t.log" 2>&1; then
        echo "== $t: FAILED, see $out/$t.log and $out/crashes/$t/"
        status=1
    else
        echo "== $t: clean ($(grep -m1 'stat::number_of_executed_units' "$out/$t.log" || true))"
    fi
done
exit $status
