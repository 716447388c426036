#!/bin/bash
# Start-up and the two ways out: the window as it first shows, the strip, and
# the exit buttons (the invisible one reached by Tab and Alt+A).
# Usage: startup_test.sh BINARY CLI OUTDIR

. "$(dirname "$0")/lib.sh"
e2e_init "$@"

# The strip's drawing area, window pixels (Frame3 + Frame6 + Picture2 and its border).
STRIP_LEFT=25 STRIP_RIGHT=223 STRIP_MID_Y=256

startup_window() {
    check "window is 393 x 512" [ "${WIN_W}x${WIN_H}" = 393x512 ]
    check "window is centred across the 1024-pixel screen" within 2 $((WIN_X * 2 + WIN_W)) 1024
    check "window is centred down the 768-pixel screen" within 2 $((WIN_Y * 2 + WIN_H)) 768
    local f
    # Shown is not yet painted: wait for the strip's first colour.
    f=$(shot_when startup pixel_near $STRIP_LEFT $STRIP_MID_Y 255 0 255 12)
    check "strip starts magenta" pixel_near "$f" $STRIP_LEFT $STRIP_MID_Y 255 0 255 12
    check "strip ends green" pixel_near "$f" $STRIP_RIGHT $STRIP_MID_Y 0 255 0 12
    check "strip is grey halfway" pixel_near "$f" $(((STRIP_LEFT + STRIP_RIGHT) / 2)) $STRIP_MID_Y 128 128 128 12
    check "strip is uniform from top to bottom" pixel_near "$f" $STRIP_LEFT 246 255 0 255 12
    check "strip is uniform from top to bottom" pixel_near "$f" $STRIP_RIGHT 266 0 255 0 12
    # Picture1 starts blank: no colour anywhere in it.
    check "preview is blank" [ "$(nearest "$f" 16 24 359 85 242 13 242)" -gt 100 ]

    # Text1, then Tab: the focus is on the invisible "关于(&A)", and Alt+A clicks it.
    click_at 100 170
    keys Tab alt+a
    check "Tab then Alt+A ends the program" wait_app_exit 15
    check "it ends with status 0" [ "${APP_EXIT:-x}" = 0 ]
}

# Space clicks the focused button: proof that Tab from Text1 lands on 关于.
tab_then_space() {
    click_at 100 170
    keys Tab space
    check "Tab then Space ends the program" wait_app_exit 15
}

exit_button() {
    click_at 322 455
    check "退出 ends the program" wait_app_exit 15
    check "it ends with status 0" [ "${APP_EXIT:-x}" = 0 ]
}

run_case "start-up: caption, size, strip, Tab and Alt+A" startup_window
run_case "Tab from the input box reaches the invisible 关于" tab_then_space
run_case "the 退出 button" exit_button
e2e_finish
