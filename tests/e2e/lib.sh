# shellcheck shell=bash
# Shared helpers for the end-to-end scripts: a private X server, the real
# program on it, xdotool for input, ImageMagick for pixels, xclip to read the
# clipboard and a test owner (clipboard_owner.cpp, at $E2E_OWNER) to fill it.
# Source it, then call e2e_init "$@" with BINARY CLI OUTDIR.
#
# Every process started here is remembered by pid and ended on every exit path.

set -u

CAPTION='Velmorant        增强版'

E2E_PIDS=()      # helpers (clipboard owners) to end at the next app_stop and at exit
XVFB_PID=''
OWNER_PID='' OWNER_OUT=''
APP_PID=''
APP_WIN=''
WIN_X=0 WIN_Y=0 WIN_W=0 WIN_H=0
PASSED=0 FAILED=0
CASE_OK=1

log() { printf '%s\n' "$*"; }

# -- cleanup ------------------------------------------------------------------

stop_pid() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    local i
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

stop_helpers() {
    local pid
    owner_close
    for pid in "${E2E_PIDS[@]}"; do stop_pid "$pid"; done
    E2E_PIDS=()
}

e2e_cleanup() {
    stop_pid "${E2E_WATCHDOG:-}"
    stop_helpers
    stop_pid "$APP_PID"
    APP_PID=''
    stop_pid "$XVFB_PID"
    XVFB_PID=''
    [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}

# -- set-up -------------------------------------------------------------------

# e2e_init BINARY CLI OUTDIR: checks the tools, starts the X server.
e2e_init() {
    if [ $# -lt 3 ]; then
        log "usage: $0 BINARY CLI OUTDIR"
        exit 2
    fi
    BIN=$1 CLI=$2 OUTDIR=$3
    local tool
    for tool in Xvfb xdotool xclip convert import; do
        command -v "$tool" >/dev/null || { log "missing tool: $tool (make deps installs it)"; exit 2; }
    done
    [ -x "$BIN" ] || { log "not an executable: $BIN"; exit 2; }
    [ -x "$CLI" ] || { log "not an executable: $CLI"; exit 2; }
    mkdir -p "$OUTDIR"
    E2E_TMP=$(mktemp -d)
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM HUP
    start_watchdog "${E2E_DEADLINE:-150}"
    start_xvfb
}

# A script past its deadline ends itself through the EXIT trap, before ctest's
# TIMEOUT would kill it outright and leave its X server behind. The watchdog
# waits with the read builtin, so ending it leaves no sleeping child.
start_watchdog() {
    local fifo=$E2E_TMP/watchdog script=$$
    mkfifo "$fifo"
    (
        trap 'exit 0' TERM
        read -r -t "$1" <>"$fifo"
        echo "deadline of $1 s passed: stopping" >&2
        kill -TERM "$script"
    ) &
    E2E_WATCHDOG=$!
}

# The server picks a free display number itself (-displayfd), so scripts run
# in parallel never race for one. No -auth file: local clients need no cookie.
start_xvfb() {
    local fdfile=$E2E_TMP/display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" \
        >"$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 300); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if ! [ -s "$fdfile" ]; then
        log "Xvfb did not start:"
        cat "$E2E_TMP/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile")"
    unset WAYLAND_DISPLAY XAUTHORITY
    export QT_QPA_PLATFORM=xcb
    for i in $(seq 300); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    log "display $DISPLAY does not answer"
    exit 1
}

# -- the program ----------------------------------------------------------------

# app_start: starts the program and waits for its window; sets APP_WIN and the
# window's geometry WIN_X WIN_Y WIN_W WIN_H (root coordinates, no WM frame).
app_start() {
    "$BIN" >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    APP_WIN=$(find_window "^${CAPTION}\$" 30) || {
        log "the window \"$CAPTION\" did not appear"
        cat "$E2E_TMP/app.log" >&2
        return 1
    }
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$APP_WIN")"
    WIN_X=$X WIN_Y=$Y WIN_W=$WIDTH WIN_H=$HEIGHT
    # Keyboard input goes where the X focus is; no window manager gives it.
    click_at 200 4
    settle
}

# app_stop: ends the program if it still runs, and the helpers with it.
app_stop() {
    stop_helpers
    stop_pid "$APP_PID"
    APP_PID=''
    APP_WIN=''
}

app_running() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

# wait_app_exit SECONDS: true when the program ends by itself in time.
wait_app_exit() {
    local limit=$(( $1 * 10 )) i
    for i in $(seq "$limit"); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            wait "$APP_PID" 2>/dev/null
            # shellcheck disable=SC2034 # for the scripts that source this file
            APP_EXIT=$?
            APP_PID=''
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# find_window REGEX SECONDS: the id of a visible window whose name matches.
find_window() {
    local ids
    ids=$(timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null) || return 1
    printf '%s\n' "$ids" | head -n1
}

# window_gone REGEX WHAT: waits until no visible window matches (15 s at most).
window_gone() {
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "$2 did not close"
}

# focus_on ID: waits until the window has the X input focus, so that the keys
# sent next reach it rather than the window behind it (15 s at most).
focus_on() {
    for _ in $(seq 150); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "window $1 never took the keyboard focus"
}

# close_message_box: Return, once the box titled Velmorant has the focus, closes it.
close_message_box() {
    local box
    box=$(find_window '^Velmorant$' 15) || { fail "no message box titled Velmorant"; return 1; }
    focus_on "$box" || return 1
    keys Return
    window_gone '^Velmorant$' "the message box (on Return)"
}

# window_geometry ID: prints "X Y W H".
window_geometry() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    printf '%s %s %s %s\n' "$X" "$Y" "$WIDTH" "$HEIGHT"
}

# Lets the program handle what was sent: a round trip through the X server
# and the event loop. Short, because callers poll for what they expect.
settle() { sleep "${1:-0.3}"; }

# -- input ----------------------------------------------------------------------

# pointer_to X Y (root coordinates). --sync waits for the pointer to move, so
# it would wait in vain when the pointer is already there.
pointer_to() {
    # shellcheck disable=SC2034 # xdotool sets all four
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
    timeout 15 xdotool mousemove --sync "$1" "$2"
}

# Coordinates are window-relative pixels.
click_at() {
    pointer_to $((WIN_X + $1)) $((WIN_Y + $2))
    xdotool click 1
    settle 0.2
}

move_to() {
    pointer_to $((WIN_X + $1)) $((WIN_Y + $2))
    settle 0.2
}

# keys KEY...: each key through the X server to the focused window.
keys() {
    local k
    for k in "$@"; do
        xdotool key --clearmodifiers "$k"
        sleep 0.08
    done
    settle 0.2
}

type_text() {
    xdotool type --delay 60 -- "$1"
    settle 0.2
}

# -- clipboard ----------------------------------------------------------------

clipboard_read() { xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null; }

# owner_start ARG...: the test owner (clipboard_owner.cpp, at $E2E_OWNER) takes
# the clipboard with these arguments until app_stop; sets OWNER_PID. True once
# the server has named it the owner; its later lines come through owner_says.
owner_start() {
    [ -x "${E2E_OWNER:-}" ] || { log "E2E_OWNER names no clipboard owner program"; return 1; }
    owner_close
    local fifo=$E2E_TMP/owner-out
    rm -f "$fifo"
    mkfifo "$fifo"
    "$E2E_OWNER" "$@" >"$fifo" 2>>"$E2E_TMP/owner.log" &
    OWNER_PID=$!
    E2E_PIDS+=("$OWNER_PID")
    exec {OWNER_OUT}<"$fifo"
    owner_says ready
}

# owner_says LINE: waits for the owner's next line and compares. The bound
# only keeps a lost owner from hanging the script.
owner_says() {
    local line=''
    read -r -t 60 line <&"$OWNER_OUT"
    [ "$line" = "$1" ] || { log "      the owner said \"$line\", not \"$1\""; return 1; }
}

owner_close() {
    [ -n "${OWNER_OUT:-}" ] && exec {OWNER_OUT}<&-
    OWNER_OUT=''
}

# clipboard_put TEXT: the owner serves the text.
clipboard_put() {
    printf '%s' "$1" >"$E2E_TMP/clipboard-text"
    owner_start "$E2E_TMP/clipboard-text" && [ "$(clipboard_read)" = "$1" ]
}

# clipboard_serve TARGET FILE [ARG...]: the owner offers FILE under TARGET
# alone (besides TARGETS), with the owner's further arguments.
clipboard_serve() {
    local target=$1
    shift
    owner_start --target "$target" "$@"
}

# -- pictures -----------------------------------------------------------------

# shot NAME: the program's window saved as OUTDIR/NAME.png; prints the path.
shot() {
    local file=$OUTDIR/$1.png
    import -window root -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$file" 2>/dev/null
    printf '%s\n' "$file"
}

# shot_when NAME PREDICATE ARGS...: screenshots until PREDICATE FILE ARGS...
# holds, for 15 s at most, since the program paints in its own time; prints
# the file. The checks that follow look at that file.
shot_when() {
    local name=$1 predicate=$2 f
    shift 2
    for _ in $(seq 75); do
        f=$(shot "$name")
        "$predicate" "$f" "$@" >/dev/null 2>&1 && break
        sleep 0.2
    done
    printf '%s\n' "$f"
}

# shot_root NAME: the whole screen (dialogs are windows of their own).
shot_root() {
    local file=$OUTDIR/$1.png
    import -window root "$file" 2>/dev/null
    printf '%s\n' "$file"
}

# pixel FILE X Y: prints "R G B" (0..255).
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -n1
}

# region FILE X Y W H: prints one "X Y R G B" line per pixel.
region() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}

# nearest FILE X Y W H R G B: the largest channel difference of the pixel in
# the region that comes closest to (R G B). Antialiased glyphs have a few
# pixels at full colour and many blended ones; the nearest one tells.
nearest() {
    region "$1" "$2" "$3" "$4" "$5" | awk -v r="$6" -v g="$7" -v b="$8" '
        function abs(v) { return v < 0 ? -v : v }
        BEGIN { best = 999 }
        { d = abs($3 - r); if (abs($4 - g) > d) d = abs($4 - g); if (abs($5 - b) > d) d = abs($5 - b)
          if (d < best) best = d }
        END { print best }'
}

# -- checks -------------------------------------------------------------------

fail() {
    log "    FAIL: $*"
    CASE_OK=0
    return 1
}

# check DESCRIPTION COMMAND...: runs the command; a failure marks the case.
check() {
    local what=$1
    shift
    if "$@"; then
        log "    ok: $what"
    else
        fail "$what"
    fi
}

# close_to "R G B" R G B TOLERANCE
close_to() {
    local -a got
    read -r -a got <<<"$1"
    [ ${#got[@]} -eq 3 ] || return 1
    local i want=("$2" "$3" "$4") d
    for i in 0 1 2; do
        d=$(( got[i] - want[i] ))
        [ ${d#-} -le "$5" ] || return 1
    done
}

# pixel_near FILE X Y R G B TOLERANCE: one pixel within the tolerance.
pixel_near() {
    local p
    p=$(pixel "$1" "$2" "$3")
    close_to "$p" "$4" "$5" "$6" "$7" || { log "      pixel ($2,$3) is ($p), wanted ($4 $5 $6) ± $7"; return 1; }
}

# same_bytes WHAT EXPECTED_FILE ACTUAL_FILE
same_bytes() {
    cmp -s "$2" "$3" && return 0
    log "      $1 differs:"
    log "      expected: $(od -An -c "$2" | head -c 600)"
    log "      actual:   $(od -An -c "$3" | head -c 600)"
    return 1
}

# contains FILE TEXT / not_contains FILE TEXT
contains() { [[ "$(cat "$1")" == *"$2"* ]]; }
not_contains() { ! contains "$1" "$2"; }

# run_case NAME FUNCTION: a fresh program for every case.
run_case() {
    CASE_OK=1
    local started=$SECONDS
    log "case: $1"
    if app_start; then
        "$2" || CASE_OK=0
    else
        CASE_OK=0
    fi
    app_stop
    if [ "$CASE_OK" = 1 ]; then
        PASSED=$((PASSED + 1))
        log "  PASS: $1 ($((SECONDS - started)) s)"
    else
        FAILED=$((FAILED + 1))
        log "  FAIL: $1 ($((SECONDS - started)) s)"
    fi
}

e2e_finish() {
    printf '%d passed, %d failed\n' "$PASSED" "$FAILED"
    [ "$FAILED" -eq 0 ]
}

# within N A B: |A - B| <= N
within() {
    local d=$(( $2 - $3 ))
    [ ${d#-} -le "$1" ] || { log "      $2 and $3 differ by more than $1"; return 1; }
}
