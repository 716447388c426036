#!/bin/bash
# Start-up of the program beside two floors, bare Qt windows of the same size
# built the same way: one empty, one showing a Chinese label in the window's
# font (Qt sets up the CJK fonts for it, as for the program). The three take
# turns on a private Xvfb; the time from starting each until its window is
# mapped, medians, and the program's ratio to each floor. The fair floor is the
# one with the label.
# Usage: startup_vs_bare.sh BUILD_DIR [RUNS]

set -eu
BUILD=${1:?usage: $0 BUILD_DIR [RUNS]}
RUNS=${2:-21}
PROGRAM=$BUILD/velmorant BARE=$BUILD/bench/bare_window TIMER=$BUILD/bench/map_timer
for f in "$PROGRAM" "$BARE" "$TIMER"; do
    [ -x "$f" ] || { echo "$0: $f is missing; build the bench targets first" >&2; exit 2; }
done

XVFB_PID='' TMP=$(mktemp -d)
cleanup() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$TMP"
}
trap cleanup EXIT INT TERM

# The server picks a free display number itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$TMP/display" >"$TMP/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$TMP/display" ] && break; sleep 0.1; done
[ -s "$TMP/display" ] || { echo "$0: Xvfb did not start" >&2; cat "$TMP/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$TMP/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XAUTHORITY

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One untimed start of each, so both find their files in the page cache.
"$TIMER" "$PROGRAM" >/dev/null 2>"$TMP/log" || { cat "$TMP/log" >&2; exit 1; }
"$TIMER" "$BARE" >/dev/null 2>"$TMP/log" || { cat "$TMP/log" >&2; exit 1; }
"$TIMER" "$BARE" label >/dev/null 2>"$TMP/log" || { cat "$TMP/log" >&2; exit 1; }
# The milliseconds until BINARY's window is mapped; the error, if any, on stderr.
time_to_map() {
    "$TIMER" "$@" 2>"$TMP/log" && return 0
    grep '^map_timer' "$TMP/log" >&2
    return 1
}
program_times='' bare_times='' label_times=''
for _ in $(seq "$RUNS"); do
    program_times+="$(time_to_map "$PROGRAM")"$'\n'
    bare_times+="$(time_to_map "$BARE")"$'\n'
    label_times+="$(time_to_map "$BARE" label)"$'\n'
done
program=$(printf '%s' "$program_times" | median)
bare=$(printf '%s' "$bare_times" | median)
label=$(printf '%s' "$label_times" | median)
ratio() { awk -v p="$program" -v b="$1" 'BEGIN { printf "%.2f", p / b }'; }
printf 'start-up until the window is mapped (median of %d, ms): velmorant %s\n' "$RUNS" "$program"
printf '  floor, bare window with a Chinese label in the window font: %s (ratio %s)\n' "$label" "$(ratio "$label")"
printf '  floor, empty bare window: %s (ratio %s)\n' "$bare" "$(ratio "$bare")"
