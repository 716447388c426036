#!/bin/bash
# --dialect ansi on a real terminal: tmux runs the CLI in a pane, the pane is
# captured with its escapes, and the first and last characters must show the
# gradient's end colours as 24-bit foreground colours.
# Usage: ansi_terminal_test.sh CLI
# Functions run through check and the trap look unreachable to shellcheck.
# shellcheck disable=SC2317
set -u

cli=$1
title=$(mktemp)
trap 'rm -f "$title"' EXIT
# shellcheck source=tests/cli/check.sh
source "$(dirname "$0")/check.sh"

# The pane's text with its colours as tmux draws them, once the marker shows the
# run has ended; the pane's title goes to $title. Each capture has a server of
# its own: one that is still shutting down cannot take the next one with it.
capture() {
    local command=$1 pane socket=velmorant-ansi-$BASHPID
    tmux -L "$socket" -f /dev/null new-session -d -x 60 -y 6 "$command; printf '\n#done'; sleep 30"
    for _ in $(seq 300); do # up to 30 s, for a loaded machine
        pane=$(tmux -L "$socket" capture-pane -p -e -t 0)
        if [[ $pane == *'#done'* ]]; then
            printf '%s' "$pane"
            tmux -L "$socket" display-message -p -t 0 '#{pane_title}' >"$title"
            tmux -L "$socket" kill-server
            return 0
        fi
        sleep 0.1
    done
    tmux -L "$socket" kill-server
    return 1
}

contains() { [[ $1 == *"$2"* ]]; }
lacks() { [[ $1 != *"$2"* ]]; }

esc=$'\033'
# 12 characters from red to blue: the first is 1/12 of the way, the last is blue itself.
pane=$(capture "printf 'Hello, world' | '$cli' --dialect ansi --start red --end blue --bold")
check "the pane was captured" [ -n "$pane" ]
check "first character in its colour" contains "$pane" "${esc}[38;2;234;0;21mH"
check "last character in the end colour" contains "$pane" "${esc}[38;2;0;0;255md"
# shellcheck disable=SC2001 # a pattern, not a fixed text
check "the text reads as it was typed" contains "$(sed 's/\x1b\[[0-9;]*m//g' <<<"$pane")" "Hello, world"
check "no style tags on the terminal" lacks "$pane" "[B]"

# Three stops over four characters: the second lies on the middle stop.
pane=$(capture "printf 'abcd' | '$cli' --dialect ansi --colours red,lime,blue")
check "middle stop reached" contains "$pane" "${esc}[38;2;0;255;0mb"
check "last character on the last stop" contains "$pane" "${esc}[38;2;0;0;255md"

# Escapes in the input are shown, not obeyed: the title stays, nothing is cleared.
pane=$(capture "printf 'keep\033[2J\033]0;PWNED\007\033]2;PWNED\007 me' | '$cli' --dialect ansi --step 30")
check "the text before a clear screen stays" contains "$pane" "keep"
check "the escape shows as a picture" contains "$pane" "␛[2J"
check "the title is not the input's" lacks "$(cat "$title")" "PWNED"
pane=$(capture "printf 'keep\033[2J\033]0;PWNED\007 me' | '$cli' --dialect ansi --merge --start red --end red")
check "merged: the text before a clear screen stays" contains "$pane" "keep"
check "merged: the title is not the input's" lacks "$(cat "$title")" "PWNED"

exit $((failures > 0))
