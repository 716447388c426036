#!/bin/bash
# Starts Velmorant. On a desktop it simply runs. Without a display it proves
# the window comes up: a private Xvfb, a screenshot, then everything ends.
# Usage: scripts/run.sh BINARY
set -u

CAPTION='Velmorant        增强版'

if [ $# -ne 1 ]; then
    echo "usage: $0 BINARY" >&2
    exit 2
fi
BIN=$1
if ! [ -x "$BIN" ]; then
    echo "run.sh: $BIN is not an executable; build it first (make build)" >&2
    exit 1
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$BIN"
fi

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "run.sh: no display, and $tool is missing to start a private one (make deps installs it)" >&2
        exit 1
    fi
done

SHOT=$(cd "$(dirname "$BIN")" && pwd)/velmorant.png
TMP=$(mktemp -d)
XVFB_PID=''
APP_PID=''

stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 30); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
cleanup() {
    stop "$APP_PID"
    stop "$XVFB_PID"
    rm -rf "$TMP"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

die() {
    echo "run.sh: $*" >&2
    if [ -s "$TMP/app.log" ]; then
        echo "--- program output ---" >&2
        cat "$TMP/app.log" >&2
    fi
    exit 1
}

# Xvfb picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$TMP/display" >"$TMP/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do
    [ -s "$TMP/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
done
[ -s "$TMP/display" ] || die "Xvfb did not start: $(cat "$TMP/xvfb.log")"
export DISPLAY=":$(head -n1 "$TMP/display")"
unset XAUTHORITY
export QT_QPA_PLATFORM=xcb

"$BIN" >"$TMP/app.log" 2>&1 &
APP_PID=$!

WIN=''
for _ in $(seq 200); do
    WIN=$(xdotool search --onlyvisible --name "^${CAPTION}\$" 2>/dev/null | head -n1)
    [ -n "$WIN" ] && break
    kill -0 "$APP_PID" 2>/dev/null || die "the program ended before its window appeared"
    sleep 0.1
done
[ -n "$WIN" ] || die "the window \"$CAPTION\" did not appear within 20 s"
# The first frame is painted just after mapping.
sleep 0.5
import -window "$WIN" "$SHOT" 2>"$TMP/import.log" || die "screenshot failed: $(cat "$TMP/import.log")"

echo "Velmorant started on a private X server (no display is set here); its window is in:"
echo "  $SHOT"
echo "On a desktop, run it with: $BIN   (or make run, with DISPLAY or WAYLAND_DISPLAY set)"
exit 0
