#!/bin/sh
# Run inside a fresh session bus (dbus-run-session): starts the accessibility
# bus and its registry as a desktop session does, and the bench's listener
# registered for the events a screen reader follows, then runs the command.
#   atspi-session.sh EDITOR_BENCH COMMAND...
set -eu
bench=$1
shift
# A folder of our own: the bus launcher's socket otherwise goes to a path
# every session of this user shares.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
pids=""
trap 'kill $pids 2>/dev/null; wait; rm -rf "$XDG_RUNTIME_DIR"' EXIT INT TERM
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids="$pids $!"
address=""
tries=0
while [ -z "$address" ] && [ "$tries" -lt 50 ]; do
    sleep 0.1
    address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') || true
    tries=$((tries + 1))
done
[ -n "$address" ] || { echo "no accessibility bus" >&2; exit 1; }
# Started by hand: its activation on the accessibility bus waits for a
# desktop session that is not there.
AT_SPI_BUS_ADDRESS=$address /usr/libexec/at-spi2-registryd >/dev/null 2>&1 &
pids="$pids $!"
log="$XDG_RUNTIME_DIR/listener.log"
QT_QPA_PLATFORM=offscreen "$bench" listen >"$log" 2>&1 &
listener=$!
pids="$pids $listener"
tries=0
until grep -q listening "$log"; do
    sleep 0.1
    tries=$((tries + 1))
    if [ "$tries" -ge 100 ] || ! kill -0 "$listener" 2>/dev/null; then
        cat "$log" >&2
        exit 1
    fi
done
"$@"
kill "$listener"
wait "$listener" || true
grep -v listening "$log" || true
