#!/bin/bash
# The window as a user meets it: the Tab order through visible and invisible
# controls, the dialect box, the colour chooser, the link label's hover
# colour and the step box's key filter.
# Usage: user_walk_test.sh BINARY CLI OUTDIR

. "$(dirname "$0")/lib.sh"
e2e_init "$@"

STARTUP_TEXT=$'Zarimo软件-免费、精彩、共享！\r\n'
TEXT1=(100 170) CONVERT=(316 185) COPY=(94 455)
STRIP_LEFT=25 STRIP_MID=124 STRIP_RIGHT=223 STRIP_Y=256
LABEL8_AREA=(192 485 72 12)

# convert_and_copy FILE: convert, copy, close the confirmation, clipboard to FILE.
convert_and_copy() {
    click_at "${CONVERT[@]}"
    click_at "${COPY[@]}"
    close_message_box || return 1
    clipboard_read >"$1"
}

# expect_code WHAT TEXT CLI-OPTIONS...: the clipboard equals what the CLI
# makes of TEXT with those options.
expect_code() {
    local what=$1 text=$2
    shift 2
    printf '%s' "$text" | "$CLI" "$@" >"$E2E_TMP/cli"
    check "$what" same_bytes "clipboard" "$E2E_TMP/cli" "$E2E_TMP/clip"
}

# Every focusable control in its turn; each one that can show it is given a
# value, so the code copied at the end tells where each key press landed.
tab_walk() {
    click_at "${TEXT1[@]}"
    keys shift+Tab                  # Picture1, the first in the order
    keys Tab                        # Text1 again: its whole text selected
    type_text 'velmorant walk'
    keys Tab                        # Command3(0), invisible: left alone
    keys Tab space                  # Check3: underline
    keys Tab                        # Check2
    keys Tab space                  # Check1: bold
    keys Tab                        # Check4
    keys Tab                        # Command2(2)
    keys Tab; type_text '3'         # Combo2: its text selected, so replaced
    keys Tab                        # Text3
    keys Tab; type_text '[/c]'      # Text2(2), invisible
    keys Tab; type_text ')'         # Text2(1), invisible
    keys Tab; type_text '(#'        # Text2(0), invisible
    keys Tab Tab Tab                # Picture2, Command1(0), Command1(1)
    keys Tab Down                   # Combo3: the next face
    keys Tab Tab Tab                # Command3(1), Command2(1), Command4
    keys Tab End BackSpace 3        # Text4, invisible: step 3
    shot tab-walk >/dev/null
    check "the program still runs (Tab passed the exit buttons)" app_running || return 1
    keys Tab space                  # Command2(0): convert
    click_at "${COPY[@]}"
    close_message_box || return 1
    clipboard_read >"$E2E_TMP/clip"
    expect_code "each value landed in its control" 'velmorant walk' \
        --underline --bold --size 3 --close '[/c]' --middle ')' --open '(#' --font 新宋体 --step 3
    # Tab from the last control wraps to the first.
    keys shift+Tab
    click_at "${TEXT1[@]}"
}

# Backwards from Text1: Picture1, then Combo1 at the end of the order.
dialect_by_arrow_keys() {
    click_at "${TEXT1[@]}"
    keys shift+Tab shift+Tab Up     # Combo1: from "UBB(论坛)" up to "Html(网页)"
    shot dialect-html >/dev/null
    convert_and_copy "$E2E_TMP/clip" || return 1
    check "HTML font tags" contains "$E2E_TMP/clip" '[font=宋体][size=1]<font color=F20DF2>Z</font>'
    expect_code "the whole code in the HTML dialect" "$STARTUP_TEXT" --dialect html
}

# choose_colour KEY HTML: opens the chooser with its access key, types the
# colour into the HTML field and confirms.
choose_colour() {
    click_at 200 4                  # the main window takes the keys again
    keys "$1"
    local dialog
    dialog=$(find_window 'Select Color|颜色' 15) || { fail "$1 opened no colour chooser"; return 1; }
    focus_on "$dialog" || return 1
    [ -n "${2:-}" ] || return 0
    keys alt+h ctrl+a
    type_text "$2"
    shot_root "chooser-dialog-${2#\#}" >/dev/null
    keys Return
    wait_closed "$dialog"
}

wait_closed() { window_gone 'Select Color|颜色' "the colour chooser"; }

colour_chooser() {
    local f
    choose_colour alt+b '#0000ff' || return 1
    f=$(shot_when chooser-start-blue pixel_near $STRIP_LEFT $STRIP_Y 0 0 255 12)
    check "start blue: left end" pixel_near "$f" $STRIP_LEFT $STRIP_Y 0 0 255 12
    check "start blue: right end still green" pixel_near "$f" $STRIP_RIGHT $STRIP_Y 0 255 0 12
    check "start blue: halfway blue-green" pixel_near "$f" $STRIP_MID $STRIP_Y 0 128 128 12

    choose_colour alt+e '#ff0000' || return 1
    f=$(shot_when chooser-end-red pixel_near $STRIP_RIGHT $STRIP_Y 255 0 0 12)
    check "end red: left end still blue" pixel_near "$f" $STRIP_LEFT $STRIP_Y 0 0 255 12
    check "end red: right end" pixel_near "$f" $STRIP_RIGHT $STRIP_Y 255 0 0 12
    check "end red: halfway purple" pixel_near "$f" $STRIP_MID $STRIP_Y 128 0 128 12

    choose_colour alt+b || return 1
    keys Escape
    wait_closed || return 1
    settle
    f=$(shot chooser-cancelled)
    check "cancel: left end unchanged" pixel_near "$f" $STRIP_LEFT $STRIP_Y 0 0 255 12
    check "cancel: right end unchanged" pixel_near "$f" $STRIP_RIGHT $STRIP_Y 255 0 0 12

    # The code follows the new pair at the next convert.
    convert_and_copy "$E2E_TMP/clip" || return 1
    expect_code "the code uses the chosen colours" "$STARTUP_TEXT" --start 0000FF --end FF0000
}

# label_is FILE COLOUR: Label8's text has pixels of COLOUR (red or blue) and
# none of the other.
label_is() {
    local red blue
    red=$(nearest "$1" "${LABEL8_AREA[@]}" 255 0 0)
    blue=$(nearest "$1" "${LABEL8_AREA[@]}" 0 0 255)
    case $2 in
    red) [ "$red" -le 40 ] && [ "$blue" -gt 60 ] ;;
    blue) [ "$blue" -le 40 ] && [ "$red" -gt 60 ] ;;
    esac || { log "      label: nearest red $red, nearest blue $blue"; return 1; }
}

# label_shows NAME COLOUR: waits for the colour on a screenshot named NAME.
label_shows() { label_is "$(shot_when "hover-$1" label_is "$2")" "$2"; }

hover() {
    move_to 200 300                 # Frame3: nothing happens to the label
    check "blue at start" label_shows start blue
    move_to 228 491
    check "red on the label" label_shows on-label red
    move_to 160 490                 # the footer frame between Label5 and Label8
    check "blue on the footer frame" label_shows on-footer blue
    move_to 228 491
    label_shows on-label-again red || fail "red again on the label"
    move_to 40 491                  # straight onto Label5
    settle                          # a wrong turn to blue would show by now
    check "still red on Label5" label_shows on-label5 red
    move_to 3 300                   # the bare window left of the frames
    check "blue on the bare window" label_shows on-window blue
    move_to 228 491
    label_shows on-label-last red || fail "red again on the label"
    pointer_to 5 5                  # out of the window
    settle
    check "still red outside the window" label_shows outside red
}

# Digits and Backspace pass; letters, "-", ".", space and Ctrl+V do not.
step_key_filter() {
    check "the owner holds digits" clipboard_put 99 || return 1
    click_at "${TEXT1[@]}"
    keys shift+Tab shift+Tab shift+Tab shift+Tab   # Picture1, Combo1, Command2(0), Text4
    keys 7 a minus period space ctrl+v              # "1" becomes "17"
    keys BackSpace 9                                # "17" becomes "19"
    convert_and_copy "$E2E_TMP/clip" || return 1
    expect_code "the step is 19" "$STARTUP_TEXT" --step 19
}

run_case "Tab walks every control in order" tab_walk
run_case "Html(网页) chosen with the arrow keys" dialect_by_arrow_keys
run_case "colour chooser: confirm, confirm, cancel" colour_chooser
run_case "link label hover colour" hover
run_case "step box key filter" step_key_filter
e2e_finish
