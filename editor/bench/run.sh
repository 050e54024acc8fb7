#!/usr/bin/env bash
# Builds the editor benchmark in Release without sanitizers and runs it: each
# open beside its floors, interleaved, one process per line (its first round
# is the first use, the rest the steady state), the load beside each line.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$top/build-bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVX_BENCH=ON >/dev/null
cmake --build "$build" --target editor_bench -j4
bench="$build/editor/bench/editor_bench"
load() { uptime | sed 's/.*load average: //'; }
if [ "${1:-}" = callgrind ]; then
    # Instructions of the measured steps only, first use: a busy machine does
    # not move them. Sizes in MB as the second argument ("1 10 50"); 50 MB
    # takes a quarter of an hour per line under valgrind.
    for mb in ${2:-1 10}; do
        for run in "txt $mb ours" "txt $mb textedit" "txt $mb plaintextedit" "rtf $mb ours" "rtf $mb cursor"; do
            out="$(mktemp)"
            # shellcheck disable=SC2086
            valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" "$bench" open $run 1 >/dev/null 2>&1
            echo "$run: $(callgrind_annotate "$out" 2>/dev/null | sed -n 's/ (100.0%)  PROGRAM TOTALS//p') instructions"
            rm -f "$out"
        done
    done
    exit 0
fi
# Each line with the load it ran under: the machine may be shared.
rounds="${1:-4}"
for mb in ${2:-1 10 50}; do
    for who in ours textedit plaintextedit ours textedit plaintextedit; do
        echo "$("$bench" open txt "$mb" "$who" "$rounds")  load $(load)"
    done
    for who in ours cursor ours cursor; do
        echo "$("$bench" open rtf "$mb" "$who" "$rounds")  load $(load)"
    done
done
# The window thread in the seconds after the open: the longest stall.
for mb in ${2:-1 10 50}; do
    for who in ours plaintextedit ours plaintextedit; do
        echo "$("$bench" after "$mb" "$who" 5)  load $(load)"
    done
done
# A line without break points: the longest stall of opening 4 MB of it, and
# each key typed inside 1 MB of it.
for who in ours plaintextedit ours plaintextedit; do
    echo "$("$bench" longopen 4 "$who" "$rounds")  load $(load)"
    echo "$("$bench" longkey 1 "$who" 10)  load $(load)"
done
# JSON-like text with spaces in one line, beside the same text in ordinary
# lines: the longest stall of its open, the caret display, and keys at its
# start and its end (the first key apart from the rest).
for mb in ${2:-25 50}; do
    for shape in line lines line lines; do
        echo "$("$bench" spaced "$mb" "$shape" 10)  load $(load)"
    done
done
[ -n "${2:-}" ] && exit 0
echo "load: $(load)"
for mode in plain handler plain handler; do
    "$bench" replace 10 "$mode" "$rounds"
done
# The same on a display, without and with a screen reader's session: the
# accessibility bus, its registry and a listener registered for events.
session="$(dirname "${BASH_SOURCE[0]}")/atspi-session.sh"
for mode in plain atspi plain atspi; do
    echo "load: $(uptime | sed 's/.*load average: //')"
    if [ "$mode" = atspi ]; then with=("$session" "$bench"); else with=(); fi
    dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
        env QT_QPA_PLATFORM=xcb "${with[@]}" "$bench" replace 10 "$mode" "$rounds" 2>&1 | grep -v 'fd limit\|dconf'
done
